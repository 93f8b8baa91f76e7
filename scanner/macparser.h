#pragma once

#include "model/hardwareitem.h"
#include "scanner/runfacts.h"

#include <QList>
#include <QString>
#include <QStringView>

// The facts of the device listing printed by `dmidecode --mac-hardware`:
// section headers, "[id] name" device lines and "key: value" properties. Every
// property with a key and a value is kept; device properties are titled
// "device • key".
[[nodiscard]] RunFacts parseMacFacts(QString output);

// The same facts as items, filed by category, in the order of their lines.
[[nodiscard]] QList<HardwareItem> parseMacHardware(QStringView output);

// The header test of that listing, exposed so the tool that writes such
// listings can check its own lines against it.
[[nodiscard]] bool isMacSectionHeader(QStringView trimmedLine);
