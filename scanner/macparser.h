#pragma once

#include "model/hardwareitem.h"

#include <QList>
#include <QStringView>

// Items of the device listing printed by `dmidecode --mac-hardware`: section
// headers, "[id] name" device lines and "key: value" properties. Every property
// with a key and a value is kept; device properties are titled "device • key".
[[nodiscard]] QList<HardwareItem> parseMacHardware(QStringView output);

// The header test of that listing, exposed so the tool that writes such
// listings can check its own lines against it.
[[nodiscard]] bool isMacSectionHeader(QStringView trimmedLine);
