#include "scanner/cleaner.h"

#include "model/textservices.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <vector>

QString normalizedValue(const QString &value)
{
    QString result = value;
    result.remove(QChar(u'\0'));
    result.replace(QLatin1Char('\t'), QLatin1Char(' '));
    result.replace(QStringLiteral("  "), QStringLiteral(" "));
    return result.trimmed();
}

namespace {

bool onlyZerosAndXs(QStringView probe)
{
    return std::all_of(probe.begin(), probe.end(),
                       [](QChar c) { return c == u'0' || c == u'x'; });
}

} // namespace

QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items,
                                        const QStringList &badValues)
{
    const QSet<QString> bad(badValues.cbegin(), badValues.cend());
    QSet<QString> seenKeys;
    QList<HardwareItem> kept;
    kept.reserve(items.size());
    QString key;

    for (const HardwareItem &item : items) {
        const QString title = item.title.trimmed();
        const QString value = normalizedValue(item.value);
        if (title.isEmpty() || value.isEmpty()) {
            continue;
        }
        const QString probe = value.toLower().trimmed();
        if (Text::graphemeCountUpTo(probe, 2) < 2) {
            continue;
        }
        if (bad.contains(probe) || onlyZerosAndXs(probe)) {
            continue;
        }
        key.clear();
        key += rawValue(item.category);
        key += QLatin1Char('|');
        key += title.toLower();
        key += QLatin1Char('|');
        key += value.toLower();
        key += QLatin1Char('|');
        key += item.detail.toLower();
        if (seenKeys.contains(key)) {
            continue;
        }
        seenKeys.insert(key);
        kept.append(HardwareItem(item.category, title, value, item.detail, item.source));
    }

    // Collate each distinct title once, then sort by integer ranks.
    QList<QString> titles;
    titles.reserve(kept.size());
    for (const HardwareItem &item : kept) {
        titles.append(item.title);
    }
    const QHash<QString, int> rank = Text::StandardComparator().ranks(std::move(titles));
    std::vector<std::pair<int, int>> sortKeys;
    sortKeys.reserve(static_cast<std::size_t>(kept.size()));
    for (const HardwareItem &item : kept) {
        sortKeys.emplace_back(categoryOrder(item.category), rank.value(item.title));
    }
    std::vector<qsizetype> order(static_cast<std::size_t>(kept.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&sortKeys](qsizetype a, qsizetype b) {
        return sortKeys[static_cast<std::size_t>(a)] < sortKeys[static_cast<std::size_t>(b)];
    });

    QList<HardwareItem> sorted;
    sorted.reserve(kept.size());
    for (qsizetype index : order) {
        sorted.append(std::move(kept[index]));
    }
    return sorted;
}
