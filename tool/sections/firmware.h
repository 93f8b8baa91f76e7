#pragma once

#include "tool/sections/section.h"

namespace devices {

// How the machine boots and which firmware tables it exposes. Always lists
// the boot mode.
class FirmwareSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Firmware"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
