#pragma once

#include "model/hardwareitem.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// The outcome of one tool run, in the shape the scan assembles.
struct ScanPart {
    std::int64_t order = 0;
    QString header;
    QString output;
    QList<HardwareItem> items;
    std::optional<QString> warning;
};
