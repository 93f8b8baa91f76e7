#pragma once

#include "tool/sysroot.h"

#include <cstddef>
#include <string>

// Records in the text form of `dmidecode -q` ("BIOS Information", then
// tab-indented "Key: Value" lines in dmidecode's own key names), made from the
// part of the firmware tables that /sys/class/dmi/id shows to every user.
// Unreadable attributes (serial numbers and UUIDs are root's) are left out, and
// so is a record with nothing readable. Empty when nothing at all is readable.
// `unreadable`, when given, receives how many attributes exist but could not be
// read.
[[nodiscard]] std::string firmwareRecords(const SysRoot &root, std::size_t *unreadable = nullptr);

// The name dmidecode gives an SMBIOS chassis type code ("Notebook" for 10).
[[nodiscard]] std::string chassisTypeName(unsigned code);
