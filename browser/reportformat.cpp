#include "browser/reportformat.h"

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

void writeHeader(const Header &header, QJsonObject &root)
{
    root.insert(QStringLiteral("format"), formatName());
    root.insert(QStringLiteral("formatVersion"), formatVersion);
    root.insert(QStringLiteral("generated"), isoTime(header.generated));
    root.insert(QStringLiteral("kestrinVersion"), header.kestrinVersion);
    root.insert(QStringLiteral("hideIdentifiers"), header.hideIdentifiers);
    if (header.category) {
        root.insert(QStringLiteral("category"), *header.category);
        root.insert(QStringLiteral("search"), header.search);
    }
    if (header.scanItemCount) {
        root.insert(QStringLiteral("scanItemCount"), static_cast<qint64>(*header.scanItemCount));
    }
}

QJsonObject itemObject(const HardwareItem &item)
{
    return QJsonObject{
        {QStringLiteral("id"), item.id.toString(QUuid::WithoutBraces)},
        {QStringLiteral("category"), rawValue(item.category)},
        {QStringLiteral("title"), item.title},
        {QStringLiteral("value"), item.value},
        {QStringLiteral("detail"), item.detail},
        {QStringLiteral("source"), item.source},
    };
}

} // namespace ReportFormat
