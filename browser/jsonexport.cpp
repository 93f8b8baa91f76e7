#include "browser/jsonexport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace JsonExport {

QByteArray document(const QList<HardwareItem> &items, const QStringList &warnings,
                    const QString &rawOutput, const ReportFormat::Header &header)
{
    QJsonArray array;
    for (const HardwareItem &item : items) {
        array.append(ReportFormat::itemObject(item));
    }
    QJsonObject root{
        {QStringLiteral("items"), array},
        {QStringLiteral("warnings"), QJsonArray::fromStringList(warnings)},
        {QStringLiteral("rawOutput"), rawOutput},
    };
    ReportFormat::writeHeader(header, root);
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace JsonExport
