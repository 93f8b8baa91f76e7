#pragma once

#include "tool/sections/section.h"

namespace devices {

// The machine itself: maker, model, chassis, architecture and hypervisor.
// Always lists the machine, named "This computer" when nothing says more.
class PlatformSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Platform"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
