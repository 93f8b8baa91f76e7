#pragma once

#include "tool/sections/section.h"

namespace devices {

// Display controllers (PCI class 03) with the state of their outputs.
class GraphicsSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Graphics"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
