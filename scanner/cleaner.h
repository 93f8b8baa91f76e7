#pragma once

#include "model/hardwareitem.h"
#include "scanner/runfacts.h"

#include <QList>
#include <QStringList>

#include <vector>

// Normalises whitespace, drops empty, one-character and placeholder values and
// exact repeats, then orders by category and title (stable for equal titles).
[[nodiscard]] QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items,
                                                      const QStringList &badValues);

// The same cleaning and order for the facts of several runs, taken in the order
// given, made into items only for the facts that survive. With `withSummary`
// the summary items (see makeSummaryItems) come first, in the same list.
[[nodiscard]] QList<HardwareItem> cleanFacts(const std::vector<const RunFacts *> &runs,
                                             const QStringList &badValues, bool withSummary);

