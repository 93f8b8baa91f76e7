#include "browser/itemfilter.h"

namespace ItemFilter {

QString normalizedQuery(QStringView searchText)
{
    return searchText.trimmed().toString().toLower();
}

bool matchesSearch(const HardwareItem &item, const QString &query)
{
    return query.isEmpty() || matchesSearchText(item.searchableText(), query);
}

QList<HardwareItem> filterItems(const QList<HardwareItem> &items,
                                std::optional<HardwareCategory> category, QStringView searchText)
{
    const QString query = normalizedQuery(searchText);
    if (!category && query.isEmpty()) {
        // Shared, not copied item by item: a large scan's list is tens of MB.
        return items;
    }
    QList<HardwareItem> result;
    for (const HardwareItem &item : items) {
        if (category && item.category != *category) {
            continue;
        }
        if (matchesSearch(item, query)) {
            result.append(item);
        }
    }
    return result;
}

} // namespace ItemFilter
