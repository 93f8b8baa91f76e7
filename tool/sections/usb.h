#pragma once

#include "tool/sections/section.h"

namespace devices {

// USB controllers (PCI class 0c03) and every USB device, hubs included.
class UsbSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "USB"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
