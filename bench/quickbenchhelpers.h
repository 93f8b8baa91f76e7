#pragma once

#include <QQuickItem>
#include <QString>

#include <vector>

// Shared by the benchmarks that drive the real window.
namespace QuickBench {

// The first item named `name` in the tree below (and including) `item`.
inline QQuickItem *findByName(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name) {
        return item;
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children) {
        if (QQuickItem *found = findByName(child, name)) {
            return found;
        }
    }
    return nullptr;
}

// Nearest-rank percentile of an ascending list; 0 for an empty one.
inline double percentile(const std::vector<double> &sorted, double p)
{
    if (sorted.empty()) {
        return 0;
    }
    return sorted[static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1))];
}

} // namespace QuickBench
