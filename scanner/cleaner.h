#pragma once

#include "model/hardwareitem.h"

#include <QList>
#include <QStringList>

// Normalises whitespace, drops empty, one-character and placeholder values and
// exact repeats, then orders by category and title (stable for equal titles).
[[nodiscard]] QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items,
                                                      const QStringList &badValues);

// The value as the cleaner normalises it: NULs removed, tabs to spaces, one
// left-to-right pass turning each pair of spaces into one, then trimmed.
[[nodiscard]] QString normalizedValue(const QString &value);
