#pragma once

#include "model/hardwareitem.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The plain-text report of the visible page, as copied and saved.
namespace ReportText {

// "yyyy-MM-dd HH:mm:ss +0000", always in UTC.
[[nodiscard]] QString generatedStamp(const QDateTime &when);

// Heading lines, then one block per item in the given order; lines joined by a
// single line feed, and the text always ends with exactly one line feed.
[[nodiscard]] QString render(HardwareCategory category, const QList<HardwareItem> &items,
                             const QDateTime &generatedAt);

} // namespace ReportText
