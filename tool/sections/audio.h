#pragma once

#include "tool/sections/section.h"

namespace devices {

// Audio controllers (PCI class 04, audio and HD Audio) and the sound cards
// with their codecs.
class AudioSection final : public Section {
public:
    [[nodiscard]] std::string_view title() const override { return "Audio"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
