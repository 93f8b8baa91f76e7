#pragma once

#include "model/hardwareitem.h"

#include <QList>

// One "N useful item(s)" line per non-summary category that has items, in
// declaration order.
[[nodiscard]] QList<HardwareItem> makeSummaryItems(const QList<HardwareItem> &items);
