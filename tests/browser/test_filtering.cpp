// Which items the page shows, how many, and in which sections.
#include "browsertesthelpers.h"

#include <QAbstractItemModelTester>

namespace {

QList<HardwareItem> searchCorpus()
{
    return {item(Cat::summary, "Memory", "16 GB"),
            item(Cat::memory, "DIMM Size", "8 GB", "Bank 0"),
            item(Cat::memory, "Speed", "3200 MT/s", "Bank 0"),
            item(Cat::memory, "DIMM Size", "8 GB", "Bank 1"),
            item(Cat::cpu, "Version", "Dimmer CPU"),
            item(Cat::network, "MAC", "aa:bb", "", "dimm-source")};
}

// Each case: the "value@detail" of each match in scan order, joined by '|'.
TEST(Search, FiltersTheSelectedCategory)
{
    const struct {
        Cat category;
        const char *search, *expected;
    } cases[] = {
        {Cat::memory, "\t\n \r\u2028", "8 GB@Bank 0|3200 MT/s@Bank 0|8 GB@Bank 1"}, // blank: all
        {Cat::memory, "  DIMM \t", "8 GB@Bank 0|8 GB@Bank 1"}, // case and outer spaces ignored
        {Cat::memory, "dimm  size", ""},                       // inner spaces are kept
        {Cat::memory, "memory speed", "3200 MT/s@Bank 0"},     // category title and title
        {Cat::memory, "gb bank 1", "8 GB@Bank 1"},             // value and detail
        {Cat::summary, "dimm", ""},                            // never other categories
        {Cat::network, "dimm-src", ""},                        // fields match only contiguously
        {Cat::network, "dimm-source", "aa:bb@"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.search);
        ScannedModel s(searchCorpus());
        s.model->setSelectedCategory(c.category);
        s.settleSearch(u8(c.search));
        QStringList values;
        for (const HardwareItem &entry : s.model->filteredItemsCache()) {
            EXPECT_EQ(entry.category, c.category);
            values.append(entry.value + u'@' + entry.detail);
        }
        EXPECT_EQ(values.join(u'|'), u8(c.expected));
    }
}

// A category change filters at once, with the text settled so far, from one
// page; the pending text follows after the delay, again from one page.
TEST(Debounce, CategoryChangeFiltersAtOnceWithTheSettledText)
{
    QList<HardwareItem> items = numberedItems(Cat::memory, 200);
    items.append(numberedItems(Cat::cpu, 200));
    ScannedModel s(items);
    s.model->setSelectedCategory(Cat::memory);
    s.settleSearch(QStringLiteral("item 1")); // Item 1, 10-19, 100-199
    s.model->loadMoreItems();
    QSignalSpy passes(s.model.get(), &BrowserModel::filterPassCompleted);

    s.model->setSearchText(QStringLiteral("item 7"));
    s.model->setSelectedCategory(Cat::cpu);
    ASSERT_EQ(passes.count(), 1);
    EXPECT_EQ(s.model->debouncedSearchText(), QStringLiteral("item 1"));
    EXPECT_EQ(s.model->filteredCount(), 111);
    EXPECT_EQ(s.model->visibleLimit(), 80);
    EXPECT_TRUE(s.model->hasPendingSearch());

    s.model->loadMoreItems();
    ASSERT_TRUE(passes.wait(2000));
    EXPECT_EQ(s.model->debouncedSearchText(), QStringLiteral("item 7"));
    EXPECT_EQ(s.model->filteredCount(), 11); // fewer than a page holds
    EXPECT_EQ(s.model->visibleLimit(), 80);
    EXPECT_EQ(s.model->pagedCount(), 11);
}

// One past a page: the rest comes with the next step, then nothing more.
TEST(LoadMore, GrowsByOnePageUpToTheFilteredCount)
{
    // The filtered count, then the shown count before each step.
    const std::pair<int, std::vector<int>> cases[] = {
        {200, {80, 160, 200, 200}}, {80, {80, 80}}, {0, {0, 0}}, {81, {80, 81, 81}}};
    for (const auto &[filtered, steps] : cases) {
        ScannedModel s(numberedItems(Cat::summary, filtered));
        for (const int shown : steps) {
            SCOPED_TRACE(testing::Message() << filtered << " items, " << shown << " shown");
            const QList<HardwareItem> page = s.model->pagedFilteredItems();
            ASSERT_EQ(page.size(), shown);
            EXPECT_EQ(s.model->pagedCount(), shown);
            EXPECT_EQ(s.model->canLoadMore(), shown < filtered);
            if (shown > 0) {
                EXPECT_EQ(page.last().title, u"Item %1"_qs.arg(shown - 1));
            }
            s.model->loadMoreItems();
        }
    }
}

// Section titles with the item titles in display order ("title=value" where the
// value is not the default "v").
using Layout = std::vector<std::pair<QString, QStringList>>;

// The flat rows read back into sections, checking the first/last flags.
Layout layoutOf(const SectionedItemsModel &model)
{
    using Roles = SectionedItemsModel;
    const auto data = [&](int row, int role) { return model.index(row).data(role).toString(); };
    const auto section = [&](int row) { return data(row, Roles::SectionTitleRole); };
    Layout layout;
    for (int row = 0; row < model.rowCount(); ++row) {
        const bool first = row == 0 || section(row - 1) != section(row);
        const bool last = row + 1 == model.rowCount() || section(row + 1) != section(row);
        EXPECT_EQ(data(row, Roles::FirstInSectionRole), first ? u"true" : u"false") << row;
        EXPECT_EQ(data(row, Roles::LastInSectionRole), last ? u"true" : u"false") << row;
        if (first) {
            layout.emplace_back(section(row), QStringList{});
        }
        const QString value = data(row, Roles::ValueRole);
        layout.back().second.append(data(row, Roles::TitleRole) +
                                    (value == u"v" ? QString() : u'=' + value));
    }
    return layout;
}

TEST(Grouping, SectionsThePage)
{
    const struct {
        Cat category;
        QList<HardwareItem> items;
        Layout expected;
    } cases[] = {
        // The summary is one overview section in scan order.
        {Cat::summary,
         {item(Cat::summary, "Zeta", "v", "B"), item(Cat::summary, "alpha", "v", "A"),
          item(Cat::memory, "DIMM"), item(Cat::summary, "Mid")},
         {{u"Overview"_qs, {u"Zeta"_qs, u"alpha"_qs, u"Mid"_qs}}}},
        // Other categories by trimmed detail, sorted. Keys and titles in the
        // standard order, equal titles keep their page order; blank keys fall
        // back to the category's title.
        {Cat::memory,
         {item(Cat::memory, "Speed", "v", "Bank 10"), item(Cat::memory, "Size", "1", " Bank 2\t"),
          item(Cat::memory, "slot 10", "v", "Bank 2"), item(Cat::memory, "Slot 2", "v", "Bank 2\n"),
          item(Cat::memory, "Loose", "v", "  "), item(Cat::memory, "Size", "2", "Bank 2"),
          item(Cat::cpu, "Not here", "v", "Bank 2")},
         {{u"Bank 2"_qs, {u"Size=1"_qs, u"Size=2"_qs, u"Slot 2"_qs, u"slot 10"_qs}},
          {u"Bank 10"_qs, {u"Speed"_qs}},
          {u"Memory"_qs, {u"Loose"_qs}}}},
    };
    for (const auto &c : cases) {
        ScannedModel s(c.items);
        s.model->setSelectedCategory(c.category);
        EXPECT_EQ(layoutOf(s.rows()), c.expected);
    }
}

// Few keys and titles with digits, case variants and repeats, in an order that
// keeps bringing new keys and titles between the loaded ones: every step
// inserts rows in place (no reset) and updates the neighbours' section flags,
// and the rows then equal a fresh build of the same page. Summary appends.
TEST(Grouping, LoadMoreInsertsRowsInPlaceLikeAFreshBuild)
{
    const QStringList details = {u"Bank 1"_qs, u" bank 1"_qs, u"Bank 10"_qs, u"Bank 2"_qs,
                                 u""_qs,       u"\t"_qs,      u"DIMM"_qs,    u"dimm"_qs,
                                 u"Ärger"_qs,  u"Zeta 3"_qs,  u"zeta 20"_qs};
    const QStringList titles = {u"Size"_qs,  u"size"_qs,  u"Slot 2"_qs, u"Slot 10"_qs,
                                u"Speed"_qs, u"Äpfel"_qs, u"apfel"_qs,  u"Type"_qs};
    QList<HardwareItem> items;
    for (int i = 0; i < 600; ++i) { // every title and detail comes back in changing company
        items.append(HardwareItem(i % 3 == 0 ? Cat::summary : Cat::pci, titles[(i * 5) % 8],
                                  u"v"_qs, details[(i * 7 + i / 13) % 11], u"s"_qs));
    }
    ScannedModel s(items);
    SectionedItemsModel &model = s.rows();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const auto &[category, count] : {std::pair{Cat::pci, 400}, std::pair{Cat::summary, 200}}) {
        s.model->setSelectedCategory(category);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
        for (bool more = true; more; more = s.model->canLoadMore()) {
            s.model->loadMoreItems();
            SectionedItemsModel fresh;
            fresh.setPage(category, s.model->pagedFilteredItems());
            ASSERT_EQ(fresh.rowCount(), model.rowCount());
            for (int row = 0; row < model.rowCount(); ++row) {
                for (int role : model.roleNames().keys()) {
                    ASSERT_EQ(model.index(row).data(role), fresh.index(row).data(role))
                        << "row " << row << " role " << model.roleNames().value(role).toStdString();
                }
            }
        }
        EXPECT_EQ(model.rowCount(), count);
        EXPECT_EQ(resets.count(), 0);
        EXPECT_GE(inserts.count(), category == Cat::pci ? 10 : 2);
        EXPECT_GT(changes.count(), 0);
    }
}

} // namespace
