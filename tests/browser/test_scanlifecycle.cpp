#include "browser/categorylistmodel.h"
#include "browsertesthelpers.h"
#include "scanner/activeprocessregistry.h"
#include "tests/scanner/scripttesthelpers.h"

// Toggling the mask keeps what the user loaded; a new scan keeps the
// category and the search but starts from one page again.
TEST(ScanLifecycle, MaskToggleKeepsThePageRescanKeepsCategoryAndSearch)
{
    ScannedModel s(numberedItems(Cat::memory, 200, "Bank"));
    s.model->setSelectedCategory(Cat::memory);
    s.settleSearch(u"item 1"_qs); // Item 1, 10-19, 100-199
    s.model->loadMoreItems();
    ASSERT_EQ(s.model->visibleLimit(), 111);
    QSignalSpy raw(s.model.get(), &BrowserModel::rawOutputChanged);
    s.model->setHideIdentifiers(false);
    s.model->setHideIdentifiers(false); // no change, no signal
    EXPECT_EQ(raw.size(), 1);
    EXPECT_EQ(s.model->pagedCount(), 111);

    s.rescan(numberedItems(Cat::memory, 150)); // Item 1, 10-19, 100-149
    EXPECT_EQ(s.model->selectedCategory(), Cat::memory);
    EXPECT_EQ(s.model->debouncedSearchText(), u"item 1");
    EXPECT_EQ(s.model->visibleLimit(), 80);
    EXPECT_EQ(s.model->filteredCount(), 61);
}

TEST(ScanLifecycle, RescanThatEmptiesTheSelectedCategoryKeepsTheSelection)
{
    ScannedModel s({item(Cat::summary, "Memory"), item(Cat::gpu, "Card")});
    s.model->setSelectedCategory(Cat::gpu);
    s.rescan({item(Cat::summary, "Memory"), item(Cat::cpu, "Core")});
    EXPECT_EQ(s.model->selectedCategory(), Cat::gpu);
    EXPECT_EQ(s.model->filteredCount(), 0);
    EXPECT_EQ(s.model->visibleCategories(), (QList<Cat>{Cat::summary, Cat::cpu}));
    // No sidebar row is selected, since the selected category is not listed.
    auto *categories = s.model->categoryModel();
    for (int row = 0; row < categories->rowCount(); ++row) {
        EXPECT_FALSE(categories->index(row, 0).data(CategoryListModel::SelectedRole).toBool());
    }
}

TEST(ScanLifecycle, FailedOrAbandonedScans)
{
    ScannedModel s({item(Cat::memory, "DIMM")});
    s.finishScan(HardwareScanResult{{}, RawOutput(), {u"Tool failed"_qs}});
    EXPECT_TRUE(s.model->items().isEmpty());
    EXPECT_EQ(s.model->rawOutput(), QString());
    EXPECT_EQ(s.model->warnings(), QStringList{u"Tool failed"_qs});

    // A scan that ends without a result keeps the items and says so.
    s.rescan({item(Cat::summary, "Memory")});
    s.finishScan(std::nullopt);
    EXPECT_FALSE(s.model->isScanning());
    EXPECT_EQ(s.model->items().size(), 1);
    EXPECT_EQ(s.model->warnings(), QStringList{u"The scan ended without a result."_qs});
    s.rescan({}); // and does not block the next one
    EXPECT_TRUE(s.model->items().isEmpty());

    // A model gone before its scan finishes ignores the result.
    s.model->refresh();
    s.model.reset();
    s.source->complete(HardwareScanResult{{item(Cat::memory, "DIMM")}, RawOutput(), {}});
    QTest::qWait(20);
}

// The offer to read as administrator follows the latest scan. Refresh keeps
// reading as administrator until the password dialog is dismissed once. The
// note says so for a live scan that did, and nothing else; not even a saved
// report of such a scan.
TEST(ScanLifecycle, OfferAndReadingAsAdministratorFollowTheScans)
{
    HardwareScanResult refused{{item(Cat::cpu, "Core")}, u"raw"_qs, {}};
    refused.canReadAsAdministrator = true;
    ScannedModel s(refused);
    EXPECT_TRUE(s.model->canReadAsAdministrator());
    QSignalSpy offer(s.model.get(), &BrowserModel::canReadAsAdministratorChanged);
    QSignalSpy note(s.model.get(), &BrowserModel::administratorReadNoteChanged);
    s.finishScan(refused);
    EXPECT_EQ(offer.size(), 0);
    EXPECT_TRUE(s.model->administratorReadNote().isEmpty());

    QSignalSpy finished(s.model.get(), &BrowserModel::scanFinished);
    s.model->readAsAdministrator();
    EXPECT_TRUE(s.source->readAsAdministrator);
    HardwareScanResult elevated{{item(Cat::memory, "DIMM")}, u"raw"_qs, {}};
    elevated.readAsAdministrator = true;
    s.source->complete(elevated);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(s.model->canReadAsAdministrator());
    EXPECT_EQ(offer.size(), 1);
    EXPECT_TRUE(s.model->administratorReadNote().contains(u"read as administrator"));
    s.finishScan(elevated);
    EXPECT_TRUE(s.source->readAsAdministrator);
    EXPECT_EQ(note.size(), 1);

    QTemporaryDir dir;
    ASSERT_TRUE(
        s.model->openReport(putFile(dir, "tool.txt",
                                    "# dmidecode 3.5\n(read as administrator)\n\nHandle 0x0000, "
                                    "DMI type 0, 26 bytes\nBIOS Information\n\tVendor: Acme\n")));
    EXPECT_TRUE(s.model->administratorReadNote().isEmpty());
    EXPECT_EQ(note.size(), 2);

    HardwareScanResult dismissed = refused;
    dismissed.canReadAsAdministrator = false;
    dismissed.administratorReadDismissed = true;
    s.finishScan(dismissed);
    EXPECT_FALSE(s.source->readAsAdministrator);
}

// Cancel while pkexec waits for a password that never comes: the pkexec that
// shrugs off SIGTERM is killed well before its own two-minute limit, the
// window keeps its list and warnings, and refresh no longer asks.
TEST(ScanLifecycle, CancellingTheReadAsAdministratorKeepsTheListAndStopsAsking)
{
    QTemporaryDir dir;
    const QString runs = dir.filePath(u"pkexec-runs"_qs);
    const auto script = [&](const char *name, const QByteArray &body) {
        return scripttest::writeScript(dir, u8(name), body);
    };
    auto scanner = std::make_shared<HardwareScanner>();
    scanner->setToolOverride(script(
        "dmidecode", "[ \"$1\" = -q ] && printf 'Memory Device\\n\\tSize: 8 GB\\n'; exit 0"));
    scanner->setRunTimeout(10);
    scanner->setFirmwareTablesPath(dir.filePath(u"no-tables"_qs));
    scanner->setAdministratorCommand(
        {script("pkexec", "echo run >> '" + runs.toUtf8() + "'\ntrap '' TERM\nexec sleep 60"),
         script("kestrin-read-firmware", "exit 0"), 120});
    BrowserModel model(scanner);
    QSignalSpy finished(&model, &BrowserModel::scanFinished);
    QSignalSpy pending(&model, &BrowserModel::administratorReadPendingChanged);
    model.refresh();
    ASSERT_TRUE(finished.wait(15000));
    model.setSelectedCategory(Cat::memory);
    ASSERT_EQ(valuesOf(model.sectionModel()), QStringList{u8("8 GB")});
    const QStringList warnings = model.warnings();

    model.readAsAdministrator();
    EXPECT_EQ(pending.size(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(runs); }, 15000));
    model.cancelAdministratorRead();
    EXPECT_TRUE(model.administratorReadPending()); // until the scan has ended
    ASSERT_TRUE(finished.wait(15000));
    EXPECT_FALSE(model.administratorReadPending());
    EXPECT_EQ(pending.size(), 2);
    EXPECT_EQ(HardwareScanner::activeProcesses().count(), 0);
    EXPECT_EQ(valuesOf(model.sectionModel()), QStringList{u8("8 GB")});
    EXPECT_EQ(model.warnings(), warnings);

    model.refresh();
    ASSERT_TRUE(finished.wait(15000));
    EXPECT_EQ(readAll(runs), QByteArray("run\n"));
    EXPECT_EQ(pending.size(), 2);
}
