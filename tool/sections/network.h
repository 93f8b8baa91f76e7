#pragma once

#include "tool/sections/section.h"

namespace devices {

// Network interfaces backed by a device, named after the device, and
// network controllers (PCI class 02) that have no interface.
class NetworkSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Network"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
