#pragma once

#include "browser/reportdiff.h"
#include "model/hardwarecategory.h"
#include "model/hardwarescanresult.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Two scans (saved or live) compared under the list's filters and the
// identifier mask, and the two plain forms of the differences.
namespace ReportCompare {

struct Side {
    HardwareScanResult scan;
    // The file was saved with identifiers hidden: its items are masked already.
    bool savedMasked = false;
};

struct Filters {
    std::optional<HardwareCategory> category;
    QString search;
    bool hideIdentifiers = false;
};

// The differences between what the list would show of each side. Facts are
// compared as found, so a changed serial number is a change even when both
// masks read alike; the result holds them as shown (masked while identifiers
// are hidden). A side saved masked can only be compared masked, so then the
// other side is masked for the comparison as well, and both are shown masked.
[[nodiscard]] ReportDiff::Result compare(const Side &before, const Side &after,
                                         const Filters &filters);

// One line per difference: "+ [Memory] Size: 8 GB (DIMM B)", "- [...] ...",
// "~ [BIOS] Version: 1.2 → 1.5 (...)"; removed first, then added, then
// changed, each in list order. In parentheses the device a fact belongs to
// where its title does not say it, otherwise the detail without table handles.
[[nodiscard]] QByteArray text(const ReportDiff::Result &result);

// {"added":[item...],"removed":[item...],"changed":[{"before":item,"after":item}...]}
// with the report format's items, compact, on one line with a line feed.
[[nodiscard]] QByteArray json(const ReportDiff::Result &result);

} // namespace ReportCompare
