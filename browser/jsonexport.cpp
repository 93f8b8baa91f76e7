#include "browser/jsonexport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace JsonExport {

QByteArray document(const QList<HardwareItem> &items, const QStringList &warnings,
                    const QString &rawOutput)
{
    QJsonArray array;
    for (const HardwareItem &item : items) {
        array.append(QJsonObject{
            {QStringLiteral("id"), item.id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("category"), rawValue(item.category)},
            {QStringLiteral("title"), item.title},
            {QStringLiteral("value"), item.value},
            {QStringLiteral("detail"), item.detail},
            {QStringLiteral("source"), item.source},
        });
    }
    const QJsonObject root{
        {QStringLiteral("items"), array},
        {QStringLiteral("warnings"), QJsonArray::fromStringList(warnings)},
        {QStringLiteral("rawOutput"), rawOutput},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace JsonExport
