#pragma once

#include "tool/listing.h"
#include "tool/sysroot.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace devices {

// One hwmon value as the driver writes it: a signed integer (milli-units for
// temperatures and voltages). Empty, "-1" (some drivers' "no value"), anything
// unparsable or oversized give nothing.
[[nodiscard]] std::optional<long long> hwmonValue(const SysRoot &root, const std::string &path);

// Millidegrees as a user reads them: one decimal, rounded half away from zero,
// "40.3 °C" for 40250.
[[nodiscard]] std::string celsius(long long millidegrees);

// The first temperature of the hwmon chips under a device ("<device>/hwmon/hwmonN"),
// only chips named `chip` when it is not empty.
[[nodiscard]] std::optional<std::string>
hwmonTemperature(const SysRoot &root, const std::string &devicePath, std::string_view chip = {});

// The /sys/class/hwmon entries whose chip `name` is one of `names`; a name
// ending in '*' stands for every name it begins.
[[nodiscard]] std::vector<std::string> hwmonChips(const SysRoot &root,
                                                  std::initializer_list<std::string_view> names);

// The chip's name and one reading of each of its sensors, as properties of the
// device being listed.
void sensorReadings(const SysRoot &root, Listing &out, const std::string &chip);

} // namespace devices
