#pragma once

#include "browser/reportformat.h"
#include "model/hardwareitem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;
class RawOutput;

// The machine-readable export, one format for kestrin-cli --json and the
// window's JSON save.
namespace JsonExport {

// {"items":[{"id","category","title","value","detail","source"}, ...],
//  "warnings":[...],"rawOutput":"..."} plus the header's keys ("format",
// "formatVersion", "generated", "kestrinVersion", "hideIdentifiers", and for a
// page "category", "search", "scanItemCount") as compact UTF-8 on one line,
// followed by a line feed. Ids without braces, categories by title ("Other"
// for the catch-all), items in the given order.
[[nodiscard]] QByteArray document(const QList<HardwareItem> &items, const QStringList &warnings,
                                  const QString &rawOutput, const ReportFormat::Header &header);

// The same bytes written to `device` as they are made, in chunks, without the
// whole document or the joined raw text in memory. False when a write failed;
// what was written before the failure stays written.
[[nodiscard]] bool write(QIODevice &device, const QList<HardwareItem> &items,
                         const QStringList &warnings, const RawOutput &rawOutput,
                         const ReportFormat::Header &header);

} // namespace JsonExport
