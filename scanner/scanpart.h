#pragma once

#include "scanner/runfacts.h"

#include <QString>

#include <cstdint>
#include <optional>

// The outcome of one tool run, in the shape the scan assembles: the run's text
// and the facts its parser found in it (made into items only after cleaning).
struct ScanPart {
    std::int64_t order = 0;
    QString header;
    QString output;
    RunFacts facts;
    std::optional<QString> warning;
};
