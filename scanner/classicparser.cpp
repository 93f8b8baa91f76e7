#include "scanner/classicparser.h"

#include "model/textservices.h"
#include "scanner/categoryclassifier.h"

namespace {

const QString &classicSource()
{
    static const QString source = QStringLiteral("dmidecode -q");
    return source;
}

bool isUsefulKey(const QString &lowerKey, const QSet<QString> &usefulKeys)
{
    return usefulKeys.contains(lowerKey) || lowerKey.contains(u"speed") ||
           lowerKey.contains(u"serial") || lowerKey.contains(u"version");
}

} // namespace

QList<HardwareItem> parseClassicDMIDecode(QStringView output, const QSet<QString> &usefulKeys)
{
    QList<HardwareItem> items;
    QString section;
    QString handleLine;
    // The detail only changes with the section or handle line; build it once per change.
    QString detail;
    bool detailDirty = false;

    Text::forEachLine(output, [&](QStringView raw) {
        const QStringView line = Text::trimmed(raw);
        if (line.isEmpty()) {
            return;
        }
        if (line.startsWith(u"Handle ")) {
            handleLine = line.toString();
            detailDirty = true;
            return;
        }
        if (!raw.startsWith(u'\t') && !line.contains(u':')) {
            section = line.toString();
            detailDirty = true;
            return;
        }
        const std::optional<Text::KeyValue> pair = Text::splitKeyValue(line);
        if (!pair) {
            return;
        }
        const QStringView key = pair->key;
        const QStringView value = pair->value;
        if (!isUsefulKey(Text::lowered(key.toString()), usefulKeys)) {
            return;
        }
        if (detailDirty) {
            detail = handleLine.isEmpty() ? section : Text::joined(section, handleLine);
            detailDirty = false;
        }
        items.append(HardwareItem(categoryFor(section, line), key.toString(), value.toString(),
                                  detail, classicSource()));
    });
    return items;
}
