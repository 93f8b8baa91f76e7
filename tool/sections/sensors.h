#pragma once

#include "tool/listing.h"
#include "tool/sysroot.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace devices {

// The /sys/class/hwmon entries whose chip `name` is one of `names`.
[[nodiscard]] std::vector<std::string> hwmonChips(const SysRoot &root,
                                                  std::initializer_list<std::string_view> names);

// The chip's name and one reading of each of its sensors, as properties of the
// device being listed.
void sensorReadings(const SysRoot &root, Listing &out, const std::string &chip);

} // namespace devices
