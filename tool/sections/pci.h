#pragma once

#include "tool/sections/section.h"

namespace devices {

// The PCI functions no other section lists: bridges, controllers of other
// classes.
class PciSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "PCI Devices"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
