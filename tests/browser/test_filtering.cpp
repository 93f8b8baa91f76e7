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

} // namespace

struct SearchCase {
    friend void PrintTo(const SearchCase &c, std::ostream *os) { *os << c.name; }
    const char *name;
    Cat category;
    const char *search;
    const char *expected; // "value@detail" of each match in scan order, joined by '|'
};

class SearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTest, FiltersTheSelectedCategory)
{
    const SearchCase &c = GetParam();
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

INSTANTIATE_TEST_SUITE_P(
    Browser, SearchTest,
    ::testing::Values(SearchCase{"SpacesOnlyMatchEverything", Cat::memory, "   ",
                                 "8 GB@Bank 0|3200 MT/s@Bank 0|8 GB@Bank 1"},
                      SearchCase{"TabsAndLineBreaksOnlyMatchEverything", Cat::memory,
                                 "\t\n \r\u2028", "8 GB@Bank 0|3200 MT/s@Bank 0|8 GB@Bank 1"},
                      SearchCase{"CapitalsAndSurroundingSpacesDoNotMatter", Cat::memory,
                                 "  DIMM \t", "8 GB@Bank 0|8 GB@Bank 1"},
                      SearchCase{"InnerSpacesAreKept", Cat::memory, "dimm  size", ""},
                      SearchCase{"QuerySpansCategoryTitleAndTitle", Cat::memory, "memory speed",
                                 "3200 MT/s@Bank 0"},
                      SearchCase{"QuerySpansValueAndDetail", Cat::memory, "gb bank 1",
                                 "8 GB@Bank 1"},
                      SearchCase{"SummaryNeverShowsOtherCategories", Cat::summary, "dimm", ""},
                      SearchCase{"SummaryFindsItsOwnItems", Cat::summary, "MEMORY", "16 GB@"},
                      SearchCase{"FieldsMatchOnlyContiguously", Cat::network, "dimm-src", ""},
                      SearchCase{"SourceIsSearchedToo", Cat::network, "dimm-source", "aa:bb@"}),
    rowName);

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

struct LoadMoreCase {
    friend void PrintTo(const LoadMoreCase &c, std::ostream *os) { *os << c.filtered; }
    int filtered;
    std::vector<int> shownAfterEachStep; // first entry: before any step
};

class LoadMoreTest : public ::testing::TestWithParam<LoadMoreCase> {};

TEST_P(LoadMoreTest, GrowsByOnePageUpToTheFilteredCount)
{
    const LoadMoreCase &c = GetParam();
    ScannedModel s(numberedItems(Cat::summary, c.filtered));
    for (std::size_t step = 0; step < c.shownAfterEachStep.size(); ++step) {
        const int shown = c.shownAfterEachStep[step];
        const QList<HardwareItem> page = s.model->pagedFilteredItems();
        EXPECT_EQ(s.model->pagedCount(), shown) << "step " << step;
        ASSERT_EQ(page.size(), shown);
        EXPECT_EQ(s.model->canLoadMore(), shown < c.filtered);
        for (int i = 0; i < shown; ++i) { // the first items of the filtered list
            ASSERT_EQ(page[i].title, QStringLiteral("Item %1").arg(i));
        }
        s.model->loadMoreItems();
    }
}

INSTANTIATE_TEST_SUITE_P(Browser, LoadMoreTest,
                         ::testing::Values(LoadMoreCase{200, {80, 160, 200, 200}},
                                           LoadMoreCase{80, {80, 80}}, LoadMoreCase{0, {0, 0}},
                                           LoadMoreCase{81, {80, 81, 81}}));
