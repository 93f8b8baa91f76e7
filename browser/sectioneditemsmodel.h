#pragma once

#include "browser/pagegrouping.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QUuid>

#include <utility>

// How a fact of a comparison differs from the report it is compared with.
enum class ItemChange { none, added, removed, changed };

struct ItemMark {
    ItemChange change = ItemChange::none;
    // The value in the other report, for a changed fact.
    QString previousValue;
};

// The visible page as a flat list for the item view: one row per item, in
// display order (sections in key order, items sorted within them). Section
// headers and card corners come from the sectionTitle / firstInSection /
// lastInSection roles, so the view needs no grouping logic of its own.
class SectionedItemsModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        TitleRole = Qt::UserRole + 1,
        ValueRole,
        DetailRole,
        SourceRole,
        SymbolRole,
        CategoryTitleRole,
        SectionTitleRole,
        FirstInSectionRole,
        LastInSectionRole,
        // "added", "removed", "changed", or empty outside a comparison and
        // for unchanged facts.
        ChangeRole,
        PreviousValueRole,
    };

    explicit SectionedItemsModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // A new page (a filter pass): the model is reset.
    void setPage(HardwareCategory category, const QList<HardwareItem> &items);
    // The same page with other texts (the identifier mask was switched): when
    // the items, their sections and their display order are those shown, the
    // rows are updated in place, so that views keep their position and their
    // current row; otherwise the model is reset as by setPage().
    void replacePage(HardwareCategory category, const QList<HardwareItem> &items);
    // Items appended to the page ("Load More"): the existing rows keep their
    // relative order, so the new rows are inserted where they belong and the
    // neighbours whose section edges moved get dataChanged.
    void appendToPage(const QList<HardwareItem> &items);

    // The marks of a comparison, by item id; applies from the next page on.
    void setMarks(QHash<QUuid, ItemMark> marks) { m_marks = std::move(marks); }
    [[nodiscard]] ItemMark markOf(const HardwareItem &item) const { return m_marks.value(item.id); }

    [[nodiscard]] const PageGrouping &grouping() const { return m_grouping; }
    [[nodiscard]] const HardwareItem &itemAt(int row) const;
    [[nodiscard]] bool isFirstInSection(int row) const;
    [[nodiscard]] bool isLastInSection(int row) const;
    // The items of the section that `row` belongs to, in display order; empty
    // for a row that does not exist.
    [[nodiscard]] QList<HardwareItem> sectionItemsAt(int row) const;

private:
    PageGrouping m_grouping;
    HardwareCategory m_category = HardwareCategory::summary;
    QList<int> m_rows; // page positions in display order
    QHash<QUuid, ItemMark> m_marks;
};
