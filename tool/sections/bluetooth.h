#pragma once

#include "tool/sections/section.h"

namespace devices {

// Bluetooth controllers, named after the USB, PCI or UART device they are.
class BluetoothSection final : public Section {
public:
    // Bluetooth is a network link: the exact title files every line there,
    // though the controllers' own names mostly say "USB".
    [[nodiscard]] std::string_view title() const override { return "Network"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
