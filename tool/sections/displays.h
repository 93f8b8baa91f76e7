#pragma once

#include "tool/sections/section.h"

namespace devices {

// Monitors on the connected display outputs, from the EDID each one sends.
class DisplaysSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Displays"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
