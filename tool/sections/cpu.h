#pragma once

#include "tool/sections/section.h"

namespace devices {

// One device per processor package, from /proc/cpuinfo and the cpu sysfs
// tree: name, cores and threads, signature, frequencies, caches.
class CpuSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "CPU"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
