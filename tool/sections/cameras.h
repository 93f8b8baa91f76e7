#pragma once

#include "tool/sections/section.h"

namespace devices {

// Cameras and other video capture devices, one per device (a USB webcam's
// colour and infrared cameras are two interfaces, so two devices).
class CamerasSection final : public Section {
public:
    // Nearly every camera a person has, the laptop's built-in one included,
    // is a USB video class device; the few on PCI (capture cards) are filed
    // with them rather than split by bus, so that cameras stay in one place.
    [[nodiscard]] std::string_view title() const override { return "USB"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
