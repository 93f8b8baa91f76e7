#pragma once

#include <QString>

// Whether this user may read the firmware tables dmidecode -q needs. On a
// normal desktop the table file is readable by root only, and dmidecode then
// falls back to what every user may read, quietly losing the memory devices,
// slots and serial numbers.
enum class FirmwareTablesAccess {
    Readable,
    Missing,      // no tables at all (many virtual machines): nothing to offer
    NotPermitted, // the tables exist but only an administrator may read them
    Unreadable,   // any other failure to open them
};

[[nodiscard]] FirmwareTablesAccess firmwareTablesAccess(const QString &path);

[[nodiscard]] const QString &defaultFirmwareTablesPath();

// The one sentence the window shows beside its "Read as Administrator…" action.
[[nodiscard]] const QString &firmwareTablesNotPermittedWarning();
