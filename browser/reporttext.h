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

// Appends the block of one item, each line ended by a line feed:
// "[Category] Title: value", "  Detail: detail" (only when the detail is not
// empty) and "  Source: source".
void appendItemBlock(QString &text, const HardwareItem &item);

// The items' blocks as the report lists them, separated by one empty line,
// without the heading: the text ends with the last block's line feed and is
// empty without items. What "Copy Section" puts on the clipboard.
[[nodiscard]] QString renderItems(const QList<HardwareItem> &items);

} // namespace ReportText
