#pragma once

#include "model/hardwareitem.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// The search and category rules of the item list, shared by the window's model
// and the command-line front end.
namespace ItemFilter {

// Surrounding whitespace and line breaks removed, lower-cased like searchableText.
[[nodiscard]] QString normalizedQuery(QStringView searchText);

// `query` must already be normalized. An empty query matches everything.
[[nodiscard]] bool matchesSearch(const HardwareItem &item, const QString &query);

// The same test against an item's searchableText() computed earlier, for
// callers that filter the same items many times.
[[nodiscard]] inline bool matchesSearchText(QStringView searchableText, QStringView query)
{
    return query.isEmpty() || searchableText.contains(query, Qt::CaseSensitive);
}

// Items of `category` (all categories when absent) whose searchable text holds
// the query, in input order.
[[nodiscard]] QList<HardwareItem> filterItems(const QList<HardwareItem> &items,
                                              std::optional<HardwareCategory> category,
                                              QStringView searchText);

} // namespace ItemFilter
