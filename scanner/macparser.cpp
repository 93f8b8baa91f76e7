#include "scanner/macparser.h"

#include "model/textservices.h"
#include "scanner/categoryclassifier.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

const QString &macSource()
{
    static const QString source = QStringLiteral("--mac-hardware");
    return source;
}

constexpr std::array<const char16_t *, 10> sectionWords = {
    u"CPU",     u"Memory", u"Platform", u"PCI",  u"Network",
    u"Storage", u"Audio",  u"USB",      u"BIOS", u"Baseboard",
};

bool containsAsciiWordIgnoringCase(QStringView line, std::u16string_view lowerWord)
{
    const qsizetype length = static_cast<qsizetype>(lowerWord.size());
    for (qsizetype start = 0; start + length <= line.size(); ++start) {
        qsizetype i = 0;
        while (i < length) {
            char16_t c = line[start + i].unicode();
            if (c >= u'A' && c <= u'Z') {
                c = static_cast<char16_t>(c + 32);
            }
            if (c != lowerWord[static_cast<std::size_t>(i)]) {
                break;
            }
            ++i;
        }
        if (i == length) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isMacSectionHeader(QStringView line)
{
    if (line.endsWith(u':')) {
        return true;
    }
    if (line.contains(u':')) {
        return false;
    }
    const bool ascii =
        std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii) {
        // Same answer as the case-insensitive search below, without case folding
        // every character of every line.
        static constexpr std::array<std::u16string_view, 10> lowerWords = {
            u"cpu",     u"memory", u"platform", u"pci",  u"network",
            u"storage", u"audio",  u"usb",      u"bios", u"baseboard",
        };
        return std::any_of(lowerWords.begin(), lowerWords.end(), [line](std::u16string_view word) {
            return containsAsciiWordIgnoringCase(line, word);
        });
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
        const std::optional<Text::KeyValue> pair = Text::splitKeyValue(line);
        if (!pair) {
            return;
        }
        QString title = device.isEmpty() ? pair->key.toString() : Text::joined(device, pair->key);
        items.append(HardwareItem(categoryFor(section, line), std::move(title),
                                  pair->value.toString(), section, macSource()));
    });
    return items;
}
