#include "browsertesthelpers.h"

namespace {

QList<HardwareItem> searchCorpus()
{
    return {
        item(Cat::summary, "Memory", "16 GB"),
        item(Cat::memory, "DIMM Size", "8 GB", "Bank 0"),
        item(Cat::memory, "Speed", "3200 MT/s", "Bank 0"),
        item(Cat::memory, "DIMM Size", "8 GB", "Bank 1"),
        item(Cat::cpu, "Version", "Dimmer CPU"),
        item(Cat::network, "MAC", "aa:bb", "", "dimm-source"),
    };
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
    ASSERT_EQ(s.model->visibleLimit(), 111);
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
    EXPECT_EQ(passes.count(), 2);
    EXPECT_EQ(s.model->debouncedSearchText(), QStringLiteral("item 7"));
    EXPECT_EQ(s.model->filteredCount(), 11); // fewer than a page holds
    EXPECT_EQ(s.model->visibleLimit(), 80);
    EXPECT_EQ(s.model->pagedCount(), 11);
}

TEST(LoadMore, GrowsByOnePageUpToTheFilteredCount)
{
    const std::pair<int, std::vector<int>> cases[] = {
        // The filtered count, then the shown count before each step.
        {200, {80, 160, 200, 200}},
        {0, {0, 0}},
        {81, {80, 81, 81}}};
    for (const auto &[filtered, shownAfterEachStep] : cases) {
        ScannedModel s(numberedItems(Cat::summary, filtered));
        for (std::size_t step = 0; step < shownAfterEachStep.size(); ++step) {
            SCOPED_TRACE(testing::Message() << filtered << " step " << step);
            const int shown = shownAfterEachStep[step];
            const QList<HardwareItem> page = s.model->pagedFilteredItems();
            EXPECT_EQ(s.model->pagedCount(), shown);
            ASSERT_EQ(page.size(), shown);
            EXPECT_EQ(s.model->canLoadMore(), shown < filtered);
            for (int i = 0; i < shown; ++i) { // the first items of the filtered list
                ASSERT_EQ(page[i].title, QStringLiteral("Item %1").arg(i));
            }
            s.model->loadMoreItems();
        }
    }
}

} // namespace
