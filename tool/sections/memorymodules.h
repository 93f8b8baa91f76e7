#pragma once

#include "tool/listing.h"
#include "tool/sysroot.h"

#include <string>
#include <vector>

namespace devices {

// A module's SPD EEPROM as the kernel exposes it.
struct SpdDevice {
    std::string id;   // i2c device name, "0-0050"
    std::string path; // "/sys/bus/i2c/drivers/ee1004/0-0050"
    std::string bytes;
};

// Every SPD EEPROM readable by this user: ee1004 (DDR4), spd5118 (DDR5) and
// at24 devices named "spd" (older types, usually root-only).
[[nodiscard]] std::vector<SpdDevice> readSpdDevices(const SysRoot &root);

// One "[dimm: 0-0050] maker part" device per module, with its decoded facts.
void listMemoryModules(const SysRoot &root, const std::vector<SpdDevice> &modules, Listing &out);

} // namespace devices
