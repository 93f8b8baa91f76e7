#include "scanner/macparser.h"

#include "model/textservices.h"
#include "scanner/categoryclassifier.h"

#include <array>

namespace {

const QString &macSource()
{
    static const QString source = QStringLiteral("--mac-hardware");
    return source;
}

constexpr std::array<const char16_t *, 10> sectionWords = {
    u"CPU", u"Memory", u"Platform", u"PCI", u"Network",
    u"Storage", u"Audio", u"USB", u"BIOS", u"Baseboard",
};

} // namespace

bool isMacSectionHeader(QStringView line)
{
    if (line.endsWith(u':')) {
        return true;
    }
    if (line.contains(u':')) {
        return false;
    }
    for (const char16_t *word : sectionWords) {
        if (line.contains(QStringView(word), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

QList<HardwareItem> parseMacHardware(QStringView output)
{
    QList<HardwareItem> items;
    QString section;
    QString device;

    Text::forEachLine(output, [&](QStringView raw) {
        const QStringView line = Text::trimmed(raw);
        if (line.isEmpty()) {
            return;
        }
        if (isMacSectionHeader(line)) {
            section = line.toString().remove(u':');
            device.clear();
            return;
        }
        if (line.startsWith(u'[') && line.contains(u']')) {
            items.append(HardwareItem(categoryFor(section, line), QStringLiteral("Device"),
                                      line.toString(), section, macSource()));
            device = line.toString();
            return;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) {
            return;
        }
        const QStringView key = Text::trimmed(line.left(colon));
        const QStringView value = Text::trimmed(line.mid(colon + 1));
        if (key.isEmpty() || value.isEmpty()) {
            return;
        }
        QString title = device.isEmpty() ? key.toString() : Text::joined(device, key);
        items.append(HardwareItem(categoryFor(section, line), std::move(title), value.toString(),
                                  section, macSource()));
    });
    return items;
}
