#include "browser/jsonexport.h"

#include "browser/jsonwriter.h"
#include "model/rawoutput.h"

namespace JsonExport {

namespace {

// The document for both destinations; writeRaw emits the "rawOutput" value.
template <typename RawWriter>
void writeDocument(JsonWriter &writer, const QList<HardwareItem> &items,
                   const QStringList &warnings, const ReportFormat::Header &header,
                   RawWriter &&writeRaw)
{
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
    writer.key(u"rawOutput");
    writeRaw();
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
}

} // namespace

QByteArray document(const QList<HardwareItem> &items, const QStringList &warnings,
                    const QString &rawOutput, const ReportFormat::Header &header)
{
    QByteArray out;
    // The raw output is most of a large report; growing once for it, rather
    // than doubling past it, keeps the peak near the final size. The writer
    // makes room for one slice beyond what it writes.
    out.reserve(rawOutput.size() + items.size() * 160 +
                JsonWriter::sliceUnits * JsonWriter::maxBytesPerUnit + 1024);
    JsonWriter writer(out);
    writeDocument(writer, items, warnings, header, [&] { writer.value(rawOutput); });
    writer.endLine();
    return out;
}

bool write(QIODevice &device, const QList<HardwareItem> &items, const QStringList &warnings,
           const RawOutput &rawOutput, const ReportFormat::Header &header)
{
    JsonWriter writer(device);
    // The raw output goes out piece by piece: the framing between the pieces
    // is ASCII, so no boundary splits a surrogate pair, and the joined text,
    // as large as the tool's output, is never built.
    writeDocument(writer, items, warnings, header, [&] {
        writer.beginString();
        rawOutput.forEachPiece([&](QStringView piece) { writer.appendToString(piece); });
        writer.endString();
    });
    writer.endLine();
    return writer.flush();
}

} // namespace JsonExport
