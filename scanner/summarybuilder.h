#pragma once

#include "model/hardwareitem.h"

#include <QList>

#include <array>

// Items per category, in declaration order.
using CategoryCounts = std::array<qsizetype, allCategories.size()>;

// One "N useful item(s)" line per non-summary category that has items, in
// declaration order.
[[nodiscard]] QList<HardwareItem> makeSummaryItems(const QList<HardwareItem> &items);
[[nodiscard]] QList<HardwareItem> makeSummaryItems(const CategoryCounts &counts);
