#pragma once

#include "browser/reportformat.h"
#include "model/hardwarescanresult.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads a saved report back as a scan result: a Kestrin JSON report (also one
// written before the report keys existed), or a saved tool output (dmidecode's
// full or -q output, a --mac-hardware listing), told apart by what the file
// holds, never by its name. Tool outputs go through the scan's own parsers and
// cleaning, so they show what a scan printing that output would show.
namespace ReportReader {

enum class Kind { kestrinReport, dmidecodeFull, dmidecodeQuiet, macHardware };

// Larger than any real report; the size is checked before anything is read.
inline constexpr qint64 maxFileSize = qint64(64) * 1024 * 1024;

struct Report {
    Kind kind = Kind::kestrinReport;
    HardwareScanResult scan;
    // What a Kestrin report says about itself. A tool output, and a report
    // older than these keys, has no time or version. hideIdentifiers tells
    // whether the file was saved masked: the caller keeps it masked.
    ReportFormat::Header header;
    // For a report of one page, which page: "Memory, 80 of 576 items".
    std::optional<QString> pageNote;
};

struct Outcome {
    std::optional<Report> report;
    // One plain sentence when report is absent.
    QString error;
};

[[nodiscard]] Outcome readFile(const QString &path);
[[nodiscard]] Outcome readBytes(const QByteArray &bytes);

// "Kestrin report", "dmidecode output", "dmidecode -q output", "--mac-hardware listing".
[[nodiscard]] QString kindName(Kind kind);

} // namespace ReportReader
