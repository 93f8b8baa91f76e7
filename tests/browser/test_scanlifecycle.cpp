#include "browser/categorylistmodel.h"
#include "browsertesthelpers.h"

#include <QAbstractItemModelTester>

TEST(ScanLifecycle, RefreshWhileScanningMakesOneScanAppliedThroughTheEventLoop)
{
    auto source = std::make_shared<FakeScanSource>();
    BrowserModel model(source);
    QSignalSpy finished(&model, &BrowserModel::scanFinished);
    model.refresh();
    model.refresh();
    EXPECT_EQ(source->scanCount(), 1);
    source->complete(resultOf({item(Cat::memory, "DIMM")}));
    // Still scanning until the UI thread gets to the result.
    EXPECT_TRUE(model.isScanning());
    EXPECT_TRUE(model.items().isEmpty());
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(model.isScanning());
    EXPECT_EQ(model.items().size(), 1);
    model.refresh();
    EXPECT_EQ(source->scanCount(), 2);
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

TEST(ScanLifecycle, FailedOrAbandonedScans)
{
    ScannedModel s({item(Cat::memory, "DIMM")});
    ASSERT_EQ(s.model->rawOutput(), QStringLiteral("raw"));
    s.finishScan(HardwareScanResult{{}, RawOutput(), {QStringLiteral("Tool failed")}});
    EXPECT_TRUE(s.model->items().isEmpty());
    EXPECT_EQ(s.model->rawOutput(), QString());
    EXPECT_EQ(s.model->warnings(), QStringList{QStringLiteral("Tool failed")});
    EXPECT_EQ(s.model->filteredCount(), 0);

    // A scan that ends without a result keeps the items and says so.
    s.rescan({item(Cat::summary, "Memory")});
    s.finishScan(std::nullopt);
    EXPECT_FALSE(s.model->isScanning());
    EXPECT_EQ(s.model->items().size(), 1);
    EXPECT_EQ(s.model->warnings().size(), 1);
    s.rescan({}); // and does not block the next one
    EXPECT_TRUE(s.model->items().isEmpty());

    // A model gone before its scan finishes ignores the result.
    s.model->refresh();
    s.model.reset();
    s.source->complete(resultOf({item(Cat::memory, "DIMM")}));
    QTest::qWait(20);
}

TEST(DerivedValues, CountsAndVisibleCategoriesFollowTheScan)
{
    BrowserModel empty(std::make_shared<FakeScanSource>());
    auto *emptyCategories = qobject_cast<CategoryListModel *>(empty.categoryModel());
    EXPECT_EQ(empty.visibleCategories(), QList<Cat>{Cat::summary});
    ASSERT_EQ(emptyCategories->rowCount(), 1);
    EXPECT_TRUE(emptyCategories->index(0).data(CategoryListModel::SelectedRole).toBool());
    EXPECT_EQ(empty.pagedCount(), 0);

    ScannedModel s({item(Cat::summary, "A"), item(Cat::summary, "B"), item(Cat::raw, "x"),
                    item(Cat::memory, "m1"), item(Cat::raw, "y"), item(Cat::memory, "m2"),
                    item(Cat::raw, "z")});
    EXPECT_EQ(s.model->visibleCategories(), (QList<Cat>{Cat::summary, Cat::memory, Cat::raw}));
    // Summary items count for none of them.
    EXPECT_EQ(s.model->categoryCounts(), (QHash<Cat, int>{{Cat::memory, 2}, {Cat::raw, 3}}));
    EXPECT_EQ(s.model->totalUsefulItems(), 5);
    EXPECT_EQ(s.model->summaryItemCount(), 2);

    auto *categories = qobject_cast<CategoryListModel *>(s.model->categoryModel());
    QAbstractItemModelTester tester(categories,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const auto sidebar = [&] {
        QStringList rows;
        for (int row = 0; row < categories->rowCount(); ++row) {
            const QModelIndex index = categories->index(row);
            rows.append(QStringLiteral("%1 %2 %3%4")
                            .arg(index.data(CategoryListModel::TitleRole).toString(),
                                 index.data(CategoryListModel::SymbolRole).toString())
                            .arg(index.data(CategoryListModel::CountRole).toInt())
                            .arg(index.data(CategoryListModel::SelectedRole).toBool() ? u"*"_qs
                                                                                      : QString()));
        }
        return rows;
    };
    EXPECT_EQ(sidebar(), QStringList({u"Summary list.bullet.rectangle 2*"_qs,
                                      u"Memory square.stack.3d.up 2"_qs, u"Other doc.text 3"_qs}));
    s.model->setSelectedCategoryTitle(QStringLiteral("Other"));
    EXPECT_EQ(sidebar(), QStringList({u"Summary list.bullet.rectangle 2"_qs,
                                      u"Memory square.stack.3d.up 2"_qs, u"Other doc.text 3*"_qs}));

    // A category that only the old scan had disappears; summary never does.
    s.rescan({item(Cat::cpu, "c")});
    EXPECT_EQ(s.model->visibleCategories(), (QList<Cat>{Cat::summary, Cat::cpu}));
    EXPECT_EQ(sidebar(),
              QStringList({u"Summary list.bullet.rectangle 0"_qs, u"CPU cpu.fill 1"_qs}));
}

TEST(Selection, SameCategoryAgainOrUnknownTitleTriggersNothing)
{
    ScannedModel s(numberedItems(Cat::memory, 200));
    s.model->setSelectedCategory(Cat::memory);
    s.model->loadMoreItems();
    QSignalSpy passes(s.model.get(), &BrowserModel::filterPassCompleted);
    QSignalSpy changed(s.model.get(), &BrowserModel::selectedCategoryChanged);
    s.model->setSelectedCategory(Cat::memory);
    for (const char *title : {"Memory", "memory", "Nonsense"}) {
        s.model->setSelectedCategoryTitle(u8(title));
    }
    EXPECT_EQ(passes.count(), 0);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(s.model->visibleLimit(), 160);
}

TEST(ScanLifecycle, EveryNotificationSeesTheWholeResult)
{
    ScannedModel s({item(Cat::summary, "Old"), item(Cat::summary, "Older")});
    BrowserModel *model = s.model.get();
    QStringList seen;
    const auto record = [&] {
        seen.append(QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(model->items().size())
                        .arg(model->warnings().join(u'|'), model->rawOutput())
                        .arg(model->isScanning() ? 1 : 0)
                        .arg(model->filteredCount()));
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
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen, QStringList(seen.size(), QStringLiteral("1 w new raw 0 1")));
}
