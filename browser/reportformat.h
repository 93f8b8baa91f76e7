#pragma once

#include "model/hardwareitem.h"

#include <QDateTime>
#include <QString>

#include <optional>

class JsonWriter;

// The keys that make a JSON document a Kestrin report, shared by the writer
// (kestrin-cli --json, the window's JSON save) and the reader.
namespace ReportFormat {

inline constexpr int formatVersion = 1;
[[nodiscard]] QString formatName(); // "kestrin-report"

// What a report says about itself besides its items.
struct Header {
    QDateTime generated;
    QString kestrinVersion;
    bool hideIdentifiers = false;
    // Set for a report of one page: the category shown (by title), the search
    // text and how many items the whole scan had.
    std::optional<QString> category;
    QString search;
    std::optional<qsizetype> scanItemCount;
};

// A header stamped now with this build's version. The time comes from the
// environment variable KESTRIN_REPORT_TIME (ISO 8601) when it is set: only
// tests and the digest pinning script set it, so their output stays
// byte-identical from run to run.
[[nodiscard]] Header currentHeader(bool hideIdentifiers);

// "2026-12-07T10:12:00Z": seconds precision, always UTC.
[[nodiscard]] QString isoTime(const QDateTime &time);

// One item as an object: {"category","detail","id","source","title","value"},
// the keys in the sorted order readers of earlier reports saw.
void writeItem(JsonWriter &writer, const HardwareItem &item);

} // namespace ReportFormat
