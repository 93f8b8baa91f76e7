#pragma once

#include "tool/sections/section.h"

namespace devices {

// The machine's own batteries and its AC adapters; peripherals' batteries
// are left out.
class PowerSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Battery"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
