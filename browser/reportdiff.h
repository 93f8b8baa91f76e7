#pragma once

#include "model/hardwareitem.h"

#include <QList>
#include <QString>

// Differences between two lists of items, e.g. two saved reports or a saved
// report and a live scan.
namespace ReportDiff {

struct Change {
    HardwareItem before;
    HardwareItem after;
};

struct Result {
    QList<HardwareItem> added;
    QList<HardwareItem> removed;
    QList<Change> changed;

    [[nodiscard]] bool isEmpty() const
    {
        return added.isEmpty() && removed.isEmpty() && changed.isEmpty();
    }
};

// The identity of a fact across two reports: category, title and the detail
// without the parts that shift between scans of the same hardware (the
// firmware's table handle numbers). This is the only place that rule lives.
[[nodiscard]] QString matchKey(const HardwareItem &item);

// The item's detail as matchKey sees it, without the volatile parts; also
// what a listing of differences shows.
[[nodiscard]] QString stableDetail(const HardwareItem &item);

// Items match by matchKey, never by position, so devices listed in another
// order compare as equal. Among items sharing a key, equal values pair first;
// the rest pair in order as changed, and what is left over is added or removed.
[[nodiscard]] Result compare(const QList<HardwareItem> &before, const QList<HardwareItem> &after);

} // namespace ReportDiff
