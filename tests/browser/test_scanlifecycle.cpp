#include "browser/categorylistmodel.h"
#include "browsertesthelpers.h"

#include <QAbstractItemModelTester>

using Cat = HardwareCategory;

TEST(ScanLifecycle, RefreshWhileScanningMakesOneScan)
{
    auto source = std::make_shared<FakeScanSource>();
    BrowserModel model(source);
    QSignalSpy finished(&model, &BrowserModel::scanFinished);

    model.refresh();
    model.refresh();
    EXPECT_EQ(source->scanCount(), 1);
    EXPECT_TRUE(model.isScanning());

    source->complete(resultOf({item(Cat::memory, "DIMM")}));
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(model.isScanning());
    EXPECT_EQ(model.items().size(), 1);

    model.refresh();
    EXPECT_EQ(source->scanCount(), 2);
}

TEST(ScanLifecycle, ResultIsAppliedOnlyThroughTheEventLoop)
{
    auto source = std::make_shared<FakeScanSource>();
    BrowserModel model(source);
    model.refresh();
    source->complete(resultOf({item(Cat::memory, "DIMM")}));
    // Still scanning until the UI thread gets to the result.
    EXPECT_TRUE(model.isScanning());
    EXPECT_TRUE(model.items().isEmpty());
    QSignalSpy finished(&model, &BrowserModel::scanFinished);
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_EQ(model.items().size(), 1);
}

TEST(ScanLifecycle, RescanKeepsCategoryAndSearchAndResetsThePage)
{
    QList<HardwareItem> first = numberedItems(Cat::memory, 200, "Bank");
    first.append(item(Cat::cpu, "Item cpu"));
    ScannedModel s(first);
    s.model->setSelectedCategory(Cat::memory);
    s.settleSearch(QStringLiteral("item 1"));
    // "Item 1", "Item 10".."Item 19", "Item 100".."Item 199".
    ASSERT_EQ(s.model->filteredCount(), 111);
    s.model->loadMoreItems();
    ASSERT_EQ(s.model->visibleLimit(), 111);

    QList<HardwareItem> second = numberedItems(Cat::memory, 150);
    second.append(item(Cat::memory, "Other thing"));
    s.rescan(second);

    EXPECT_EQ(s.model->selectedCategory(), Cat::memory);
    EXPECT_EQ(s.model->searchText(), QStringLiteral("item 1"));
    EXPECT_EQ(s.model->debouncedSearchText(), QStringLiteral("item 1"));
    EXPECT_EQ(s.model->visibleLimit(), 80);
    // "Item 1", "Item 10".."Item 19", "Item 100".."Item 149".
    EXPECT_EQ(s.model->filteredCount(), 1 + 10 + 50);
    for (const HardwareItem &entry : s.model->filteredItemsCache()) {
        EXPECT_TRUE(entry.title.startsWith(QStringLiteral("Item 1")));
    }
}

TEST(ScanLifecycle, RescanThatEmptiesTheSelectedCategoryKeepsTheSelection)
{
    ScannedModel s({item(Cat::summary, "Memory"), item(Cat::gpu, "Card")});
    s.model->setSelectedCategory(Cat::gpu);
    ASSERT_EQ(s.model->filteredCount(), 1);

    s.rescan({item(Cat::summary, "Memory"), item(Cat::cpu, "Core")});

    EXPECT_EQ(s.model->selectedCategory(), Cat::gpu);
    EXPECT_EQ(s.model->selectedCategoryTitle(), QStringLiteral("GPU"));
    EXPECT_EQ(s.model->filteredCount(), 0);
    EXPECT_TRUE(s.model->groupedVisibleItems().isEmpty());
    EXPECT_EQ(s.model->visibleCategories(), (QList<Cat>{Cat::summary, Cat::cpu}));
    // No sidebar row is selected, since the selected category is not listed.
    auto *categories = qobject_cast<CategoryListModel *>(s.model->categoryModel());
    for (int row = 0; row < categories->rowCount(); ++row) {
        EXPECT_FALSE(categories->index(row).data(CategoryListModel::SelectedRole).toBool());
    }
}

TEST(ScanLifecycle, EmptyResultWithAWarning)
{
    ScannedModel s({item(Cat::memory, "DIMM")});
    s.rescan({}, {QStringLiteral("Tool failed")});
    EXPECT_TRUE(s.model->items().isEmpty());
    EXPECT_EQ(s.model->warnings(), QStringList{QStringLiteral("Tool failed")});
    EXPECT_FALSE(s.model->isScanning());
    EXPECT_EQ(s.model->filteredCount(), 0);
}

TEST(ScanLifecycle, ScanWithoutAResultEndsScanningAndKeepsTheItems)
{
    ScannedModel s({item(Cat::summary, "Memory")});
    QSignalSpy finished(s.model.get(), &BrowserModel::scanFinished);
    s.model->refresh();
    s.source->abandon();
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(s.model->isScanning());
    EXPECT_EQ(s.model->items().size(), 1);
    EXPECT_EQ(s.model->warnings().size(), 1);
    // A later refresh is not blocked.
    s.rescan({});
    EXPECT_TRUE(s.model->items().isEmpty());
}

TEST(ScanLifecycle, ModelDestroyedDuringAScanIgnoresTheResult)
{
    auto source = std::make_shared<FakeScanSource>();
    auto model = std::make_unique<BrowserModel>(source);
    model->refresh();
    model.reset();
    source->complete(resultOf({item(Cat::memory, "DIMM")}));
    QCoreApplication::processEvents();
    QTest::qWait(20);
    SUCCEED();
}

TEST(DerivedValues, BeforeTheFirstScan)
{
    BrowserModel model(std::make_shared<FakeScanSource>());
    EXPECT_EQ(model.visibleCategories(), QList<Cat>{Cat::summary});
    EXPECT_TRUE(model.categoryCounts().isEmpty());
    EXPECT_EQ(model.totalUsefulItems(), 0);
    EXPECT_EQ(model.pagedCount(), 0);
    auto *categories = qobject_cast<CategoryListModel *>(model.categoryModel());
    ASSERT_EQ(categories->rowCount(), 1);
    EXPECT_EQ(categories->index(0).data(CategoryListModel::TitleRole), QStringLiteral("Summary"));
    EXPECT_EQ(categories->index(0).data(CategoryListModel::CountRole), 0);
    EXPECT_TRUE(categories->index(0).data(CategoryListModel::SelectedRole).toBool());
}

TEST(DerivedValues, CountsAndVisibleCategoriesFollowTheScan)
{
    ScannedModel s({item(Cat::summary, "A"), item(Cat::summary, "B"), item(Cat::raw, "x"),
                    item(Cat::memory, "m1"), item(Cat::raw, "y"), item(Cat::memory, "m2"),
                    item(Cat::raw, "z")});
    EXPECT_EQ(s.model->visibleCategories(), (QList<Cat>{Cat::summary, Cat::memory, Cat::raw}));
    EXPECT_EQ(s.model->categoryCounts(), (QHash<Cat, int>{{Cat::memory, 2}, {Cat::raw, 3}}));
    EXPECT_EQ(s.model->totalUsefulItems(), 5);
    EXPECT_EQ(s.model->summaryItemCount(), 2);

    auto *categories = qobject_cast<CategoryListModel *>(s.model->categoryModel());
    QAbstractItemModelTester tester(categories,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const std::vector<std::tuple<QString, QString, int>> expected = {
        {QStringLiteral("Summary"), QStringLiteral("list.bullet.rectangle"), 2},
        {QStringLiteral("Memory"), QStringLiteral("square.stack.3d.up"), 2},
        {QStringLiteral("Other"), QStringLiteral("doc.text"), 3},
    };
    ASSERT_EQ(categories->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        const QModelIndex index = categories->index(row);
        EXPECT_EQ(index.data(CategoryListModel::TitleRole), std::get<0>(expected[row]));
        EXPECT_EQ(index.data(CategoryListModel::SymbolRole), std::get<1>(expected[row]));
        EXPECT_EQ(index.data(CategoryListModel::CountRole), std::get<2>(expected[row]));
    }

    s.model->setSelectedCategoryTitle(QStringLiteral("Other"));
    EXPECT_FALSE(categories->index(0).data(CategoryListModel::SelectedRole).toBool());
    EXPECT_TRUE(categories->index(2).data(CategoryListModel::SelectedRole).toBool());

    // A category that only the old scan had disappears; summary never does.
    s.rescan({item(Cat::cpu, "c")});
    EXPECT_EQ(s.model->visibleCategories(), (QList<Cat>{Cat::summary, Cat::cpu}));
    EXPECT_EQ(categories->rowCount(), 2);
    EXPECT_EQ(categories->index(0).data(CategoryListModel::CountRole), 0);
}

TEST(DerivedValues, SummaryOnlyScanHasNoCounts)
{
    ScannedModel s({item(Cat::summary, "A")});
    EXPECT_TRUE(s.model->categoryCounts().isEmpty());
    EXPECT_EQ(s.model->totalUsefulItems(), 0);
}

TEST(Selection, SameCategoryAgainOrUnknownTitleTriggersNothing)
{
    ScannedModel s(numberedItems(Cat::memory, 200));
    s.model->setSelectedCategory(Cat::memory);
    s.model->loadMoreItems();
    QSignalSpy passes(s.model.get(), &BrowserModel::filterPassCompleted);
    QSignalSpy changed(s.model.get(), &BrowserModel::selectedCategoryChanged);

    s.model->setSelectedCategory(Cat::memory);
    s.model->setSelectedCategoryTitle(QStringLiteral("Memory"));
    s.model->setSelectedCategoryTitle(QStringLiteral("memory"));
    s.model->setSelectedCategoryTitle(QStringLiteral("Nonsense"));

    EXPECT_EQ(passes.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(s.model->visibleLimit(), 160);
}

TEST(ScanLifecycle, EveryNotificationSeesTheWholeResult)
{
    ScannedModel s({item(Cat::summary, "Old"), item(Cat::summary, "Older")});
    BrowserModel *model = s.model.get();
    struct Seen {
        qsizetype items;
        QStringList warnings;
        QString raw;
        bool scanning;
        int filtered;
        bool operator==(const Seen &) const = default;
    };
    std::vector<Seen> seen;
    const auto record = [&] {
        seen.push_back({model->items().size(), model->warnings(), model->rawOutput(),
                        model->isScanning(), model->filteredCount()});
    };
    s.model->refresh();
    for (auto signal : {&BrowserModel::itemsChanged, &BrowserModel::warningsChanged,
                        &BrowserModel::rawOutputChanged, &BrowserModel::isScanningChanged,
                        &BrowserModel::filteredChanged, &BrowserModel::pageChanged}) {
        QObject::connect(model, signal, model, record);
    }
    s.source->complete(HardwareScanResult{
        {item(Cat::summary, "New")}, QStringLiteral("new raw"), {QStringLiteral("w")}});
    QSignalSpy finished(model, &BrowserModel::scanFinished);
    ASSERT_TRUE(finished.wait(2000));
    const Seen final{1, {QStringLiteral("w")}, QStringLiteral("new raw"), false, 1};
    ASSERT_FALSE(seen.empty());
    for (const Seen &each : seen) {
        EXPECT_EQ(each, final);
    }
}

TEST(ScanLifecycle, RawOutputIsTheLatestScansFramedText)
{
    auto source = std::make_shared<FakeScanSource>();
    BrowserModel model(source);
    QSignalSpy finished(&model, &BrowserModel::scanFinished);
    EXPECT_EQ(model.rawOutput(), QString());

    RawOutput first;
    first.appendRun(QStringLiteral("dmidecode --mac-hardware"), QString());
    first.appendRun(QStringLiteral("dmidecode -q"), QStringLiteral("Handle 0x0001"));
    RawOutput second;
    second.appendRun(QStringLiteral("dmidecode -q"), QStringLiteral("second"));
    const struct {
        RawOutput raw;
        QString expected;
    } scans[] = {
        {first, QStringLiteral("===== dmidecode --mac-hardware =====\n\n\n"
                               "===== dmidecode -q =====\nHandle 0x0001\n")},
        {second, QStringLiteral("===== dmidecode -q =====\nsecond\n")},
        {RawOutput(), QString()},
    };
    for (const auto &scan : scans) {
        model.refresh();
        source->complete(HardwareScanResult{{item(Cat::cpu, "CPU")}, scan.raw, {}});
        ASSERT_TRUE(finished.wait(2000));
        EXPECT_EQ(model.rawOutput(), scan.expected);
        EXPECT_EQ(model.rawOutput(), scan.expected) << "read again";
    }
}
