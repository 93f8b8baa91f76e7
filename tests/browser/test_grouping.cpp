#include "browser/sectioneditemsmodel.h"
#include "browsertesthelpers.h"

#include <QAbstractItemModelTester>

using Cat = HardwareCategory;

namespace {

// Section titles with the item titles in display order.
using Layout = std::vector<std::pair<QString, QStringList>>;

Layout layoutOf(const QList<ItemSection> &sections)
{
    Layout layout;
    for (const ItemSection &section : sections) {
        layout.emplace_back(section.title, titlesOf(section.items));
    }
    return layout;
}

Layout layoutOf(const SectionedItemsModel &model)
{
    Layout layout;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        const bool first = index.data(SectionedItemsModel::FirstInSectionRole).toBool();
        const QString section = index.data(SectionedItemsModel::SectionTitleRole).toString();
        if (first) {
            layout.emplace_back(section, QStringList{});
        }
        EXPECT_FALSE(layout.empty()) << "row " << row << " has no section start";
        if (layout.empty()) {
            return layout;
        }
        EXPECT_EQ(layout.back().first, section) << "row " << row;
        layout.back().second.append(index.data(SectionedItemsModel::TitleRole).toString());
        const bool last = index.data(SectionedItemsModel::LastInSectionRole).toBool();
        const bool nextStartsSection =
            row + 1 == model.rowCount() ||
            model.index(row + 1).data(SectionedItemsModel::FirstInSectionRole).toBool();
        EXPECT_EQ(last, nextStartsSection) << "row " << row;
    }
    return layout;
}

SectionedItemsModel *sectionModelOf(const BrowserModel &model)
{
    return qobject_cast<SectionedItemsModel *>(model.sectionModel());
}

} // namespace

TEST(Grouping, SummaryIsOneOverviewSectionInScanOrder)
{
    ScannedModel s({item(Cat::summary, "Zeta", "1", "B"), item(Cat::summary, "alpha", "2", "A"),
                    item(Cat::memory, "DIMM"), item(Cat::summary, "Mid", "3", "")});
    const Layout expected = {{u"Overview"_qs, {u"Zeta"_qs, u"alpha"_qs, u"Mid"_qs}}};
    EXPECT_EQ(layoutOf(s.model->groupedVisibleItems()), expected);
    EXPECT_EQ(layoutOf(*sectionModelOf(*s.model)), expected);
}

TEST(Grouping, SummaryWithAnEmptyPageIsOneEmptyOverview)
{
    ScannedModel s({item(Cat::memory, "DIMM")});
    EXPECT_EQ(layoutOf(s.model->groupedVisibleItems()), (Layout{{u"Overview"_qs, {}}}));
    EXPECT_EQ(sectionModelOf(*s.model)->rowCount(), 0);
}

TEST(Grouping, OtherCategoriesAreGroupedByTrimmedDetailAndSorted)
{
    ScannedModel s({
        item(Cat::memory, "Speed", "v", "Bank 10"),
        item(Cat::memory, "Size", "v", " Bank 2\t"),
        item(Cat::memory, "slot 10", "v", "Bank 2"),
        item(Cat::memory, "Slot 2", "v", "Bank 2\n"),
        item(Cat::memory, "Loose", "v", "  "),
        item(Cat::memory, "Another", "v", ""),
        item(Cat::memory, "alpha", "v", "Bank 2"),
        item(Cat::memory, "Size", "v", "Bank 2"),
        item(Cat::memory, "X", "v", "apple"),
        item(Cat::cpu, "Not here", "v", "Bank 2"),
    });
    s.model->setSelectedCategory(Cat::memory);
    // Keys and titles: case ignored first, numbers by value, equal titles keep
    // their page order.
    const Layout expected = {
        {u"apple"_qs, {u"X"_qs}},
        {u"Bank 2"_qs, {u"alpha"_qs, u"Size"_qs, u"Size"_qs, u"Slot 2"_qs, u"slot 10"_qs}},
        {u"Bank 10"_qs, {u"Speed"_qs}},
        {u"Memory"_qs, {u"Another"_qs, u"Loose"_qs}},
    };
    EXPECT_EQ(layoutOf(s.model->groupedVisibleItems()), expected);
    EXPECT_EQ(layoutOf(*sectionModelOf(*s.model)), expected);
    // The two "Size" items of "Bank 2" keep their page order.
    const QList<ItemSection> sections = s.model->groupedVisibleItems();
    EXPECT_EQ(sections[1].items[1].detail, QStringLiteral(" Bank 2\t"));
    EXPECT_EQ(sections[1].items[2].detail, QStringLiteral("Bank 2"));
}

TEST(Grouping, BlankDetailsFallBackToTheCategoryTitle)
{
    ScannedModel s({item(Cat::raw, "b", "v", " "), item(Cat::raw, "a", "v", "")});
    s.model->setSelectedCategory(Cat::raw);
    EXPECT_EQ(layoutOf(s.model->groupedVisibleItems()),
              (Layout{{u"Other"_qs, {u"a"_qs, u"b"_qs}}}));
}

TEST(Grouping, CategoryRolesOfTheFlatModel)
{
    ScannedModel s({item(Cat::gpu, "Vendor", "Acme", " Card 1 ", "lspci")});
    s.model->setSelectedCategory(Cat::gpu);
    const SectionedItemsModel &model = *sectionModelOf(*s.model);
    ASSERT_EQ(model.rowCount(), 1);
    const QHash<int, QByteArray> names = model.roleNames();
    const auto role = [&](const char *name) {
        return model.index(0).data(names.key(QByteArray(name))).toString();
    };
    EXPECT_EQ(role("title"), u"Vendor"_qs);
    EXPECT_EQ(role("value"), u"Acme"_qs);
    EXPECT_EQ(role("detail"), u" Card 1 "_qs);
    EXPECT_EQ(role("source"), u"lspci"_qs);
    EXPECT_EQ(role("symbol"), u"display"_qs);
    EXPECT_EQ(role("categoryTitle"), u"GPU"_qs);
    EXPECT_EQ(role("sectionTitle"), u"Card 1"_qs);
    EXPECT_EQ(role("firstInSection"), u"true"_qs);
    EXPECT_EQ(role("lastInSection"), u"true"_qs);
}

TEST(Grouping, LoadMoreInsertsRowsAndNewSectionsInPlace)
{
    // Page 1: keys "Bank 1" and "Bank 3" only; page 2 brings "Bank 2" and more
    // "Bank 1"/"Bank 3" items whose titles sort between the old ones.
    QList<HardwareItem> items;
    for (int i = 0; i < 80; ++i) {
        items.append(HardwareItem(
            Cat::memory, QStringLiteral("T%1").arg(2 * i), QStringLiteral("v"),
            i % 2 == 0 ? QStringLiteral("Bank 1") : QStringLiteral("Bank 3"), QStringLiteral("s")));
    }
    for (int i = 0; i < 80; ++i) {
        const QString detail = i % 3 == 0   ? QStringLiteral("Bank 2")
                               : i % 3 == 1 ? QStringLiteral("Bank 1")
                                            : QStringLiteral("Bank 3");
        items.append(HardwareItem(Cat::memory, QStringLiteral("T%1").arg(2 * i + 1),
                                  QStringLiteral("v"), detail, QStringLiteral("s")));
    }
    ScannedModel s(items);
    s.model->setSelectedCategory(Cat::memory);
    SectionedItemsModel &model = *sectionModelOf(*s.model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model.rowCount(), 80);

    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    s.model->loadMoreItems();

    EXPECT_EQ(resets.count(), 0);
    EXPECT_GT(inserts.count(), 1);
    EXPECT_GT(changes.count(), 0);
    ASSERT_EQ(model.rowCount(), 160);

    const QList<ItemSection> sections = s.model->groupedVisibleItems();
    ASSERT_EQ(sections.size(), 3);
    EXPECT_EQ(sections[0].title, u"Bank 1"_qs);
    EXPECT_EQ(sections[1].title, u"Bank 2"_qs);
    EXPECT_EQ(sections[2].title, u"Bank 3"_qs);
    // Titles T0..T319 in numeric order within each section.
    for (const ItemSection &section : sections) {
        for (qsizetype i = 1; i < section.items.size(); ++i) {
            EXPECT_LT(section.items[i - 1].title.mid(1).toInt(),
                      section.items[i].title.mid(1).toInt())
                << section.title.toStdString();
        }
    }
    EXPECT_EQ(sections[0].items.size() + sections[1].items.size() + sections[2].items.size(), 160);
    EXPECT_EQ(sections[1].items.size(), 27);

    // The incrementally updated model equals a fresh build of the same page.
    SectionedItemsModel fresh;
    fresh.setPage(Cat::memory, s.model->pagedFilteredItems());
    ASSERT_EQ(fresh.rowCount(), model.rowCount());
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int role : model.roleNames().keys()) {
            EXPECT_EQ(model.index(row).data(role), fresh.index(row).data(role))
                << "row " << row << " role " << model.roleNames().value(role).toStdString();
        }
    }
    EXPECT_EQ(layoutOf(model), layoutOf(sections));
}

TEST(Grouping, LoadMoreOnSummaryAppendsAtTheEnd)
{
    ScannedModel s(numberedItems(Cat::summary, 200));
    SectionedItemsModel &model = *sectionModelOf(*s.model);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
    s.model->loadMoreItems();
    ASSERT_EQ(inserts.count(), 1);
    EXPECT_EQ(inserts[0][1].toInt(), 80);
    EXPECT_EQ(inserts[0][2].toInt(), 159);
    EXPECT_EQ(layoutOf(model), layoutOf(s.model->groupedVisibleItems()));
    EXPECT_EQ(titlesOf(s.model->groupedVisibleItems().front().items),
              titlesOf(numberedItems(Cat::summary, 160)));
}

// The page's sections computed the plain way: group by trimmed detail, sort the
// keys, then stable-sort each group by title.
Layout referenceLayout(const QList<HardwareItem> &page, Cat category)
{
    const Text::StandardComparator comparator;
    QStringList keys;
    QHash<QString, QList<HardwareItem>> groups;
    for (const HardwareItem &entry : page) {
        QString key = entry.detail.trimmed();
        if (key.isEmpty()) {
            key = rawValue(category);
        }
        if (!groups.contains(key)) {
            keys.append(key);
        }
        groups[key].append(entry);
    }
    std::sort(keys.begin(), keys.end(),
              [&](const QString &a, const QString &b) { return comparator.lessThan(a, b); });
    Layout layout;
    for (const QString &key : keys) {
        QList<HardwareItem> group = groups.value(key);
        std::stable_sort(group.begin(), group.end(), [&](const auto &a, const auto &b) {
            return comparator.lessThan(a.title, b.title);
        });
        layout.emplace_back(key, titlesOf(group));
    }
    return layout;
}

TEST(Grouping, EveryLoadMoreStepMatchesAPlainRegrouping)
{
    // Few keys and titles with digits, case variants and repeats, in an order
    // that keeps bringing new keys and titles between the loaded ones.
    const QStringList details = {u"Bank 1"_qs, u" bank 1"_qs, u"Bank 10"_qs, u"Bank 2"_qs,
                                 u""_qs,       u"\t"_qs,      u"DIMM"_qs,    u"dimm"_qs,
                                 u"Ärger"_qs,  u"Zeta 3"_qs,  u"zeta 20"_qs};
    const QStringList titles = {u"Size"_qs,  u"size"_qs,  u"Slot 2"_qs, u"Slot 10"_qs,
                                u"Speed"_qs, u"Äpfel"_qs, u"apfel"_qs,  u"Type"_qs};
    QList<HardwareItem> items;
    quint32 state = 12345;
    const auto next = [&state](qsizetype bound) {
        state = state * 1103515245u + 12345u;
        return static_cast<qsizetype>((state >> 16) % static_cast<quint32>(bound));
    };
    for (int i = 0; i < 500; ++i) {
        items.append(HardwareItem(Cat::pci, titles[next(titles.size())], QStringLiteral("v"),
                                  details[next(details.size())], QStringLiteral("s")));
    }
    ScannedModel s(items);
    s.model->setSelectedCategory(Cat::pci);
    SectionedItemsModel &model = *sectionModelOf(*s.model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    do {
        const Layout expected = referenceLayout(s.model->pagedFilteredItems(), Cat::pci);
        ASSERT_EQ(layoutOf(s.model->groupedVisibleItems()), expected)
            << "page " << s.model->pagedCount();
        ASSERT_EQ(layoutOf(model), expected) << "page " << s.model->pagedCount();
        s.model->loadMoreItems();
    } while (s.model->pagedCount() < 500 || s.model->canLoadMore());
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(layoutOf(model), referenceLayout(items, Cat::pci));
}
