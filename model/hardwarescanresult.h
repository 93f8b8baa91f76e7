#pragma once

#include "model/hardwareitem.h"
#include "model/rawoutput.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one scan hands to the window; made whole on a background thread and
// never changed afterwards.
struct HardwareScanResult {
    QList<HardwareItem> items;
    RawOutput rawOutput;
    QStringList warnings;
    // The firmware tables exist but this user may not read them, so reading
    // them as administrator would add what the fallback lacks.
    bool canReadAsAdministrator = false;
    // The user dismissed the password dialog of this scan's elevated reading.
    bool administratorReadDismissed = false;
    // The classic run's facts came from the firmware tables read as administrator.
    bool readAsAdministrator = false;
};
