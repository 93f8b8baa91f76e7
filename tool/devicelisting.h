#pragma once

#include "tool/iddatabase.h"
#include "tool/sections/section.h"
#include "tool/sysroot.h"

#include <string>
#include <vector>

// The --mac-hardware listing of this machine, read from /proc and /sys without
// privileges. Sections are named so that every fact is filed under the category
// it belongs to by a reader that classifies by keywords: each section title
// contains its category's word ("Graphics", "Network", "Storage", ...), and
// PCI functions are listed in the section of their device class, the rest under
// "PCI Devices".
[[nodiscard]] std::string deviceListing(const SysRoot &root, IdDatabase &ids);

// The sections of the listing, in the order they are printed.
[[nodiscard]] const std::vector<const devices::Section *> &deviceSections();
