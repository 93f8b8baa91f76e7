#pragma once

#include "model/hardwareitem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

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
    // By item id: the device a fact belongs to, as a listing names it
    // ("ChannelB-DIMM1, BANK 2"), for facts whose title does not say it.
    QHash<QUuid, QString> labels;

    [[nodiscard]] bool isEmpty() const
    {
        return added.isEmpty() && removed.isEmpty() && changed.isEmpty();
    }
};

// What matching knows of every item of one whole report, by item id. A
// record's identity comes from its other facts (a memory device's locator),
// so take these before filtering the report.
struct Keys {
    QHash<QUuid, QString> key;
    QHash<QUuid, QString> label;
};

// The identity of every fact across two reports: category, the record's type
// (the firmware table, or the kind of device), the record's identity among
// its type, and the fact's own title. This is the only place that rule lives.
[[nodiscard]] Keys keysOf(const QList<HardwareItem> &report);

// The key of one item taken as a report of its own.
[[nodiscard]] QString matchKey(const HardwareItem &item);

// The item's detail without the volatile parts (the firmware's table handle
// numbers); what a listing of differences shows where a fact has no label.
[[nodiscard]] QString stableDetail(const HardwareItem &item);

// The fact's label in the result, otherwise its stable detail.
[[nodiscard]] QString shownDetail(const Result &result, const HardwareItem &item);

// Items match by key, never by position, so devices listed in another order
// compare as equal. Among items sharing a key, equal values pair first; the
// rest pair in order as changed, and what is left over is added or removed.
// The summary's counts are left out: they follow from the facts counted.
[[nodiscard]] Result compare(const QList<HardwareItem> &before, const QList<HardwareItem> &after);

// The same, for parts of two reports whose keys were taken on the whole.
[[nodiscard]] Result compare(const QList<HardwareItem> &before, const QList<HardwareItem> &after,
                             const Keys &beforeKeys, const Keys &afterKeys);

} // namespace ReportDiff
