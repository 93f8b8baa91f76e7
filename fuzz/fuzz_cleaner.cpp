// Items made from arbitrary text go through cleaning; the result must hold no
// duplicate keys and no placeholder or one-character values.
#include "model/textservices.h"
#include "scanner/cleaner.h"
#include "scanner/hardwarescanner.h"
#include "scanner/summarybuilder.h"

#include <QSet>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const HardwareScanner scanner;
    const QString text = Text::decodeUtf8Strict(
        QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    // Build items directly from the lines, so the cleaner sees values the parsers
    // would never hand it (empty titles, NULs, tabs, lone marks).
    QList<HardwareItem> items;
    const QList<QStringView> lines = Text::splitLines(text);
    for (qsizetype i = 0; i + 2 < lines.size(); i += 3) {
        const auto category =
            allCategories[static_cast<std::size_t>(lines[i].size()) % allCategories.size()];
        items.append(HardwareItem(category, lines[i].toString(), lines[i + 1].toString(),
                                  lines[i + 2].toString(), QStringLiteral("fuzz")));
    }
    const QList<HardwareItem> cleaned = cleanAndDeduplicate(items, scanner.badValues());
    QSet<QString> keys;
    const QSet<QString> bad(scanner.badValues().cbegin(), scanner.badValues().cend());
    for (const HardwareItem &item : cleaned) {
        const QString probe = item.value.toLower().trimmed();
        const QString key = rawValue(item.category) + QLatin1Char('|') + item.title.toLower() +
                            QLatin1Char('|') + item.value.toLower() + QLatin1Char('|') +
                            item.detail.toLower();
        if (keys.contains(key) || bad.contains(probe) || Text::graphemeCountUpTo(probe, 2) < 2 ||
            item.value.contains(QChar(u'\0'))) {
            __builtin_trap();
        }
        keys.insert(key);
    }
    const QList<HardwareItem> summary = makeSummaryItems(cleaned);
    if (summary.size() > 14) {
        __builtin_trap();
    }
    return 0;
}
