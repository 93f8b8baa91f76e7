#include "browser/jsonexport.h"

#include "browser/jsonwriter.h"

namespace JsonExport {

QByteArray document(const QList<HardwareItem> &items, const QStringList &warnings,
                    const QString &rawOutput, const ReportFormat::Header &header)
{
    QByteArray out;
    // The raw output is most of a large report; growing once for it, rather
    // than doubling past it, keeps the peak near the final size.
    out.reserve(rawOutput.size() + items.size() * 160 + 1024);
    JsonWriter writer(out);
    // Keys in sorted order, as the reports written before this writer had them.
    writer.beginObject();
    if (header.category) {
        writer.member(u"category", *header.category);
    }
    writer.member(u"format", ReportFormat::formatName());
    writer.member(u"formatVersion", qint64(ReportFormat::formatVersion));
    writer.member(u"generated", ReportFormat::isoTime(header.generated));
    writer.member(u"hideIdentifiers", header.hideIdentifiers);
    writer.key(u"items");
    writer.beginArray();
    for (const HardwareItem &item : items) {
        ReportFormat::writeItem(writer, item);
    }
    writer.endArray();
    writer.member(u"kestrinVersion", header.kestrinVersion);
    writer.member(u"rawOutput", rawOutput);
    if (header.scanItemCount) {
        writer.member(u"scanItemCount", qint64(*header.scanItemCount));
    }
    if (header.category) {
        writer.member(u"search", header.search);
    }
    writer.key(u"warnings");
    writer.beginArray();
    for (const QString &warning : warnings) {
        writer.value(warning);
    }
    writer.endArray();
    writer.endObject();
    out.append('\n');
    return out;
}

} // namespace JsonExport
