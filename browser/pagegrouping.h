#pragma once

#include "model/hardwareitem.h"
#include "model/textservices.h"

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

// One titled section of the visible page.
struct ItemSection {
    QString title;
    QList<HardwareItem> items;

    friend bool operator==(const ItemSection &, const ItemSection &) = default;
};

// The visible page cut into titled sections, kept up to date as the page
// grows. "Load More" only ever appends items to the page, so new items are
// placed by binary search instead of regrouping and resorting the whole page:
// a step costs a few collations per new item however large the page already is.
class PageGrouping {
public:
    // Empties the page. With `summary` every item goes into one "Overview"
    // section in page order; otherwise items are grouped by trimmed detail
    // (falling back to the category title) and sorted by title.
    void reset(HardwareCategory category);

    // Appends items to the end of the page.
    void append(const QList<HardwareItem> &items);

    [[nodiscard]] const QList<HardwareItem> &pageItems() const { return m_items; }
    [[nodiscard]] qsizetype itemCount() const { return m_items.size(); }

    // Positions in pageItems(), in display order (sections in key order, then
    // the items of each section in title order).
    [[nodiscard]] QList<int> displayOrder() const;

    // The section of the item at `position`. Section ids never change while the
    // page only grows; they are not display positions.
    [[nodiscard]] int sectionOf(int position) const { return m_sectionOfItem[position]; }
    [[nodiscard]] const QString &sectionTitle(int sectionId) const
    {
        return m_sections[static_cast<std::size_t>(sectionId)].title;
    }

    [[nodiscard]] QList<ItemSection> sections() const;

    static const QString &overviewTitle();

private:
    struct Section {
        QString title;
        std::vector<int> positions; // sorted for display
    };

    [[nodiscard]] int sectionFor(const QString &key);

    Text::StandardComparator m_comparator;
    bool m_summary = true;
    QString m_fallbackKey;
    QList<HardwareItem> m_items;
    QList<int> m_sectionOfItem;
    std::vector<Section> m_sections; // by id (creation order)
    std::vector<int> m_sectionOrder; // ids in key order
    QHash<QString, int> m_sectionByKey;
};
