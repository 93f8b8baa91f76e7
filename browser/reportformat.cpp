#include "browser/reportformat.h"

#include "browser/jsonwriter.h"

#include <QTimeZone>
#include <QUuid>

namespace ReportFormat {

QString formatName()
{
    return QStringLiteral("kestrin-report");
}

Header currentHeader(bool hideIdentifiers)
{
    Header header;
    const QByteArray fixed = qgetenv("KESTRIN_REPORT_TIME");
    header.generated = fixed.isEmpty()
                           ? QDateTime::currentDateTimeUtc()
                           : QDateTime::fromString(QString::fromLatin1(fixed), Qt::ISODate);
    if (!header.generated.isValid()) {
        header.generated = QDateTime::currentDateTimeUtc();
    }
    header.kestrinVersion = QStringLiteral(KESTRIN_REPORT_VERSION);
    header.hideIdentifiers = hideIdentifiers;
    return header;
}

QString isoTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

void writeItem(JsonWriter &writer, const HardwareItem &item)
{
    writer.beginObject();
    writer.member(u"category", rawValue(item.category));
    writer.member(u"detail", item.detail);
    writer.member(u"id", item.id.toString(QUuid::WithoutBraces));
    writer.member(u"source", item.source);
    writer.member(u"title", item.title);
    writer.member(u"value", item.value);
    writer.endObject();
}

} // namespace ReportFormat
