#pragma once

#include "tool/sections/section.h"

#include <string>
#include <string_view>
#include <vector>

namespace devices {

// What a person uses an input device as; `none` for the machine's own buttons
// and switches (power button, lid, jacks, hotkeys), which are not listed.
enum class InputKind {
    none,
    keyboard,
    mouse,
    pointingStick,
    touchpad,
    touchscreen,
    pen,
    gameController
};

// An input device worth listing, read from /proc/bus/input/devices.
struct InputDevice {
    InputKind kind = InputKind::none;
    std::string name;
    std::string bus;    // "USB", "Bluetooth", "I2C", "PS/2"...
    std::string node;   // "event3", or the sysfs name when it has no event node
    std::string sysfs;  // "/devices/platform/i8042/serio0/input/input3"
    std::string unique; // the kernel's "Uniq": a serial number or a Bluetooth address
    unsigned busNumber = 0;
    unsigned vendor = 0;
    unsigned product = 0;
};

[[nodiscard]] std::string_view inputKindName(InputKind kind);

// The keyboards, pointers, pens and game controllers in the text of
// /proc/bus/input/devices, one per physical device and kind, in file order.
[[nodiscard]] std::vector<InputDevice> parseInputDevices(std::string_view text);

// Keyboards, mice, touchpads, touchscreens, pens and game controllers.
class InputSection final : public Section {
public:
    // No category is about input devices; they are filed with USB, the home of
    // peripherals, because the HID protocol they speak over USB, Bluetooth and
    // I2C alike comes from USB, and most external ones plug in there. Only an
    // exact category title keeps every line there whatever its words.
    [[nodiscard]] std::string_view title() const override { return "USB"; }
    void list(const Context &context, Listing &out) const override;
};

} // namespace devices
