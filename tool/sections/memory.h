#pragma once

#include "tool/sections/section.h"

namespace devices {

// The system memory's total and the memory modules the error-detection
// drivers see.
class MemorySection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Memory"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
