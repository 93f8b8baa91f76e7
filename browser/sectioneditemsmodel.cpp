#include "browser/sectioneditemsmodel.h"

#include <algorithm>
#include <vector>

SectionedItemsModel::SectionedItemsModel(QObject *parent) : QAbstractListModel(parent)
{
    m_grouping.reset(HardwareCategory::summary);
}

int SectionedItemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

const HardwareItem &SectionedItemsModel::itemAt(int row) const
{
    return m_grouping.pageItems()[m_rows[row]];
}

bool SectionedItemsModel::isFirstInSection(int row) const
{
    return row == 0 || m_grouping.sectionOf(m_rows[row - 1]) != m_grouping.sectionOf(m_rows[row]);
}

bool SectionedItemsModel::isLastInSection(int row) const
{
    return row + 1 == m_rows.size() ||
           m_grouping.sectionOf(m_rows[row + 1]) != m_grouping.sectionOf(m_rows[row]);
}

QList<HardwareItem> SectionedItemsModel::sectionItemsAt(int row) const
{
    if (row < 0 || row >= m_rows.size()) {
        return {};
    }
    // A section's rows are contiguous in display order.
    int first = row;
    while (!isFirstInSection(first)) {
        --first;
    }
    int last = row;
    while (!isLastInSection(last)) {
        ++last;
    }
    QList<HardwareItem> items;
    items.reserve(last - first + 1);
    for (int at = first; at <= last; ++at) {
        items.append(itemAt(at));
    }
    return items;
}

QVariant SectionedItemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= m_rows.size()) {
        return {};
    }
    const int row = index.row();
    const HardwareItem &item = itemAt(row);
    switch (role) {
    case TitleRole:
    case Qt::DisplayRole:
        return item.title;
    case ValueRole:
        return item.value;
    case DetailRole:
        return item.detail;
    case SourceRole:
        return item.source;
    case SymbolRole:
        return symbol(item.category);
    case CategoryTitleRole:
        return rawValue(item.category);
    case SectionTitleRole:
        return m_grouping.sectionTitle(m_grouping.sectionOf(m_rows[row]));
    case FirstInSectionRole:
        return isFirstInSection(row);
    case LastInSectionRole:
        return isLastInSection(row);
    case ChangeRole:
        switch (markOf(item).change) {
        case ItemChange::none:
            return QString();
        case ItemChange::added:
            return QStringLiteral("added");
        case ItemChange::removed:
            return QStringLiteral("removed");
        case ItemChange::changed:
            return QStringLiteral("changed");
        }
        return QString();
    case PreviousValueRole:
        return markOf(item).previousValue;
    default:
        return {};
    }
}

QHash<int, QByteArray> SectionedItemsModel::roleNames() const
{
    return {
        {TitleRole, QByteArrayLiteral("title")},
        {ValueRole, QByteArrayLiteral("value")},
        {DetailRole, QByteArrayLiteral("detail")},
        {SourceRole, QByteArrayLiteral("source")},
        {SymbolRole, QByteArrayLiteral("symbol")},
        {CategoryTitleRole, QByteArrayLiteral("categoryTitle")},
        {SectionTitleRole, QByteArrayLiteral("sectionTitle")},
        {FirstInSectionRole, QByteArrayLiteral("firstInSection")},
        {LastInSectionRole, QByteArrayLiteral("lastInSection")},
        {ChangeRole, QByteArrayLiteral("change")},
        {PreviousValueRole, QByteArrayLiteral("previousValue")},
    };
}

void SectionedItemsModel::setPage(HardwareCategory category, const QList<HardwareItem> &items)
{
    beginResetModel();
    m_category = category;
    m_grouping.reset(category);
    m_grouping.append(items);
    m_rows = m_grouping.displayOrder();
    endResetModel();
}

void SectionedItemsModel::replacePage(HardwareCategory category, const QList<HardwareItem> &items)
{
    const QList<HardwareItem> &shown = m_grouping.pageItems();
    bool same =
        category == m_category && items.size() == shown.size() &&
        std::equal(items.cbegin(), items.cend(), shown.cbegin(),
                   [](const HardwareItem &a, const HardwareItem &b) { return a.id == b.id; });
    PageGrouping grouping;
    if (same) {
        grouping.reset(category);
        grouping.append(items);
        same = grouping.displayOrder() == m_rows;
        for (qsizetype row = 0; same && row < m_rows.size(); ++row) {
            const int position = m_rows[row];
            same = grouping.sectionTitle(grouping.sectionOf(position)) ==
                   m_grouping.sectionTitle(m_grouping.sectionOf(position));
        }
    }
    if (!same) {
        setPage(category, items);
        return;
    }
    // Same rows in the same sections: section edges stay, only texts change.
    m_grouping = std::move(grouping);
    if (!m_rows.isEmpty()) {
        Q_EMIT dataChanged(index(0), index(static_cast<int>(m_rows.size()) - 1));
    }
}

void SectionedItemsModel::appendToPage(const QList<HardwareItem> &items)
{
    if (items.isEmpty()) {
        return;
    }
    const int oldItemCount = static_cast<int>(m_grouping.itemCount());
    const int oldRowCount = static_cast<int>(m_rows.size());
    // Only appended items are new, and they never displace an old item's
    // section, so the old rows stay in the same relative order: the new display
    // order is the old one with runs of new rows inserted.
    m_grouping.append(items);
    const QList<int> order = m_grouping.displayOrder();

    struct Run {
        int start; // row in the final order
        int count;
        int oldBefore; // old rows that precede it
    };
    std::vector<Run> runs;
    int oldSeen = 0;
    for (int row = 0; row < order.size(); ++row) {
        if (order[row] < oldItemCount) {
            ++oldSeen;
        } else if (!runs.empty() && runs.back().start + runs.back().count == row) {
            ++runs.back().count;
        } else {
            runs.push_back(Run{row, 1, oldSeen});
        }
    }

    // Old rows next to an insertion may lose their first/last edge.
    struct Edge {
        int oldRow;
        bool first;
        bool last;
    };
    std::vector<Edge> edges;
    for (const Run &run : runs) {
        for (int oldRow : {run.oldBefore - 1, run.oldBefore}) {
            if (oldRow >= 0 && oldRow < oldRowCount &&
                (edges.empty() || edges.back().oldRow < oldRow)) {
                edges.push_back(Edge{oldRow, isFirstInSection(oldRow), isLastInSection(oldRow)});
            }
        }
    }

    for (const Run &run : runs) {
        beginInsertRows({}, run.start, run.start + run.count - 1);
        m_rows.insert(run.start, run.count, 0);
        std::copy(order.begin() + run.start, order.begin() + run.start + run.count,
                  m_rows.begin() + run.start);
        endInsertRows();
    }
    Q_ASSERT(m_rows == order);

    auto run = runs.cbegin();
    int insertedBefore = 0;
    for (const Edge &edge : edges) {
        while (run != runs.cend() && run->oldBefore <= edge.oldRow) {
            insertedBefore += run->count;
            ++run;
        }
        const int row = edge.oldRow + insertedBefore;
        if (isFirstInSection(row) != edge.first || isLastInSection(row) != edge.last) {
            const QModelIndex changed = index(row);
            Q_EMIT dataChanged(changed, changed, {FirstInSectionRole, LastInSectionRole});
        }
    }
}
