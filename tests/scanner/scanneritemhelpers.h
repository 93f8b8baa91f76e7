#pragma once

// The item steps of a scan with the scanner's own tables, for tests that check
// one step on hand-made items. A scan itself goes through the runs' facts.
#include "scanner/classicparser.h"
#include "scanner/cleaner.h"
#include "scanner/hardwarescanner.h"

#include <QList>
#include <QStringView>

inline const HardwareScanner &tablesScanner()
{
    static const HardwareScanner scanner;
    return scanner;
}

[[nodiscard]] inline QList<HardwareItem> parseClassicDMIDecode(QStringView output)
{
    return parseClassicDMIDecode(output, tablesScanner().usefulKeys());
}

[[nodiscard]] inline QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items)
{
    return cleanAndDeduplicate(items, tablesScanner().badValues());
}
