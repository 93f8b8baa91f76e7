#pragma once

#include "tool/sections/section.h"

namespace devices {

// Storage controllers (PCI class 01) and the disks behind a device.
class StorageSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Storage"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
