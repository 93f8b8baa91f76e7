#include "browser/categorylistmodel.h"

#include <algorithm>

CategoryListModel::CategoryListModel(QObject *parent) : QAbstractListModel(parent) {}

int CategoryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CategoryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= m_rows.size()) {
        return {};
    }
    const Row &row = m_rows[index.row()];
    switch (role) {
    case TitleRole:
    case Qt::DisplayRole:
        return rawValue(row.category);
    case SymbolRole:
        return symbol(row.category);
    case CountRole:
        return row.count;
    case SelectedRole:
        return row.category == m_selected;
    default:
        return {};
    }
}

QHash<int, QByteArray> CategoryListModel::roleNames() const
{
    return {
        {TitleRole, QByteArrayLiteral("title")},
        {SymbolRole, QByteArrayLiteral("symbol")},
        {CountRole, QByteArrayLiteral("count")},
        {SelectedRole, QByteArrayLiteral("selected")},
    };
}

int CategoryListModel::rowOf(HardwareCategory category) const
{
    const auto found = std::find_if(m_rows.cbegin(), m_rows.cend(), [category](const Row &row) {
        return row.category == category;
    });
    return found == m_rows.cend() ? -1 : static_cast<int>(found - m_rows.cbegin());
}

void CategoryListModel::setRows(const QList<Row> &rows)
{
    const bool sameCategories =
        std::equal(rows.cbegin(), rows.cend(), m_rows.cbegin(), m_rows.cend(),
                   [](const Row &a, const Row &b) { return a.category == b.category; });
    if (!sameCategories) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (m_rows[i].count != rows[i].count) {
            m_rows[i].count = rows[i].count;
            const QModelIndex changed = index(i);
            Q_EMIT dataChanged(changed, changed, {CountRole});
        }
    }
}

void CategoryListModel::setSelected(HardwareCategory category)
{
    if (category == m_selected) {
        return;
    }
    const int oldRow = rowOf(m_selected);
    m_selected = category;
    const int newRow = rowOf(category);
    for (int row : {oldRow, newRow}) {
        if (row >= 0) {
            const QModelIndex changed = index(row);
            Q_EMIT dataChanged(changed, changed, {SelectedRole});
        }
    }
}
