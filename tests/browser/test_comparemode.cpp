// Matching facts up, and the window while comparing with a saved report.
#include "browser/categorylistmodel.h"
#include "browser/jsonexport.h"
#include "browser/reportdiff.h"
#include "browsertesthelpers.h"

namespace {

// The compared report ("before"): the module had 4 GB, a USB stick was plugged in.
QList<HardwareItem> savedItems()
{
    return {item(Cat::cpu, "Model", "Core i5"), item(Cat::memory, "Size", "4 GB"),
            item(Cat::memory, "Serial Number", "SN-OLD-1234"), item(Cat::usb, "Device", "Stick")};
}

// This computer now ("after"): 8 GB, a new serial, a speed now listed, no stick.
QList<HardwareItem> scannedItems()
{
    return {item(Cat::cpu, "Model", "Core i5"), item(Cat::memory, "Size", "8 GB"),
            item(Cat::memory, "Serial Number", "SN-NEW-5678"), item(Cat::memory, "Speed", "2400")};
}

struct Comparing {
    ScannedModel s{scannedItems()};
    FakeAlerts alerts;
    QTemporaryDir dir;

    Comparing()
    {
        s.model->setAlertPresenter(&alerts);
        s.model->setHideIdentifiers(false);
        EXPECT_TRUE(s.model->compareWithReport(putFile(
            dir, "before.json",
            JsonExport::document(savedItems(), {}, {}, ReportFormat::currentHeader(false)))));
    }

    // "change:value" of every row, sorted; changed rows show "old>new".
    [[nodiscard]] QStringList marks() const
    {
        QStringList out;
        for (int row = 0; row < s.rows().rowCount(); ++row) {
            const auto data = [&](int role) { return s.rows().index(row).data(role).toString(); };
            const QString previous = data(SectionedItemsModel::PreviousValueRole);
            out.append(data(SectionedItemsModel::ChangeRole) + u':' +
                       (previous.isEmpty() ? previous : previous + u'>') +
                       data(SectionedItemsModel::ValueRole));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    [[nodiscard]] int badge(Cat category) const
    {
        const auto &rows = qobject_cast<CategoryListModel *>(s.model->categoryModel())->rows();
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const auto &r) { return r.category == category; });
        return row == rows.end() ? -1 : row->count;
    }
};

TEST(CompareMode, MarksEachFact)
{
    const struct {
        Cat category;
        bool showUnchanged, hide;
        const char *marks; // '|'-joined
    } cases[] = {
        {Cat::memory, false, false, "added:2400|changed:4 GB>8 GB|changed:SN-OLD-1234>SN-NEW-5678"},
        // Masks that read alike still hide two different serial numbers.
        {Cat::memory, false, true, "added:2400|changed:4 GB>8 GB|changed:" DOTS "34>" DOTS "78"},
        {Cat::usb, false, false, "removed:Stick"},
        {Cat::cpu, false, false, ""},
        {Cat::cpu, true, false, ":Core i5"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.marks);
        Comparing cmp;
        cmp.s.model->setShowUnchanged(c.showUnchanged);
        cmp.s.model->setHideIdentifiers(c.hide);
        cmp.s.model->setSelectedCategory(c.category);
        EXPECT_EQ(cmp.marks().join(u'|'), u8(c.marks));
    }
}

// The heading and badges count, copy and save write, the differences shown.
TEST(CompareMode, HeadingBadgesCopyAndSaveFollowThePage)
{
    Comparing cmp;
    EXPECT_EQ(cmp.s.model->comparedReportName(), u"before.json");
    EXPECT_EQ(cmp.s.model->comparisonHeading(), u8("1 added \u2022 1 removed \u2022 2 changed"));
    EXPECT_EQ(cmp.badge(Cat::memory), 3);
    EXPECT_EQ(cmp.badge(Cat::usb), 1); // only the report has it, still listed
    EXPECT_EQ(cmp.badge(Cat::cpu), 0);

    FakeClipboard clipboard;
    FakeSaveDialog dialog;
    cmp.s.model->setClipboardService(&clipboard);
    cmp.s.model->setSaveLocationProvider(&dialog);
    cmp.s.model->setSelectedCategory(Cat::memory);
    cmp.s.model->copyVisibleReport();
    EXPECT_EQ(clipboard.texts,
              QStringList{u8("+ [Memory] Speed: 2400\n"
                             "~ [Memory] Size: 4 GB \u2192 8 GB\n"
                             "~ [Memory] Serial Number: SN-OLD-1234 \u2192 SN-NEW-5678\n")});
    cmp.s.model->saveReport();
    EXPECT_EQ(dialog.suggested, u"Kestrin-comparison.txt");
    dialog.close(cmp.dir.filePath(u"diff.json"_qs), BrowserModel::jsonFilterIndex);
    const QJsonObject saved =
        QJsonDocument::fromJson(readAll(cmp.dir.filePath(u"diff.json"_qs))).object();
    EXPECT_EQ((std::array{saved[u"added"].toArray().size(), saved[u"removed"].toArray().size(),
                          saved[u"changed"].toArray().size()}),
              (std::array<qsizetype, 3>{1, 0, 2}));

    cmp.s.settleSearch(u"speed"_qs);
    EXPECT_EQ(cmp.s.model->comparisonHeading(), u8("1 added \u2022 0 removed \u2022 0 changed"));
    EXPECT_EQ(cmp.badge(Cat::memory), 1);
}

TEST(CompareMode, FollowsTheNextScanUntilEnded)
{
    Comparing cmp;
    // The module goes back to 4 GB with its old serial; only the speed stays new.
    cmp.s.rescan(savedItems().first(3) << item(Cat::memory, "Speed", "2400"));
    EXPECT_EQ(cmp.s.model->comparisonHeading(), u8("1 added \u2022 1 removed \u2022 0 changed"));

    cmp.s.model->endComparison();
    EXPECT_FALSE(cmp.s.model->isComparing());
    EXPECT_EQ(cmp.badge(Cat::memory), 3);
    EXPECT_EQ(cmp.badge(Cat::usb), -1);
    cmp.s.model->setSelectedCategory(Cat::memory);
    EXPECT_EQ(cmp.marks(), (QStringList{u8(":2400"), u8(":4 GB"), u8(":SN-OLD-1234")}));

    // An unreadable file starts no comparison.
    EXPECT_FALSE(cmp.s.model->compareWithReport(putFile(cmp.dir, "bad.json", R"({"items": [)")));
    EXPECT_EQ(cmp.alerts.messages.size(), 1);
    EXPECT_TRUE(cmp.s.model->comparisonHeading().isEmpty());
}

const char *const cacheA = "Cache Information \xe2\x80\xa2 Handle 0x0005, DMI type 7, 27 bytes";
const char *const cacheB = "Cache Information \xe2\x80\xa2 Handle 0x0006, DMI type 7, 27 bytes";
const char *const cacheC = "Cache Information \xe2\x80\xa2 Handle 0x0041, DMI type 7, 27 bytes";

// Plain additions, removals and changes are the compare mode's and the
// command line's cases; here the rules that match facts up, first that the
// order of devices does not count.
TEST(ReportDiff, CountsAddedRemovedChanged)
{
    const struct {
        QList<HardwareItem> before, after;
        std::array<qsizetype, 3> addedRemovedChanged;
    } cases[] = {
        {{item(Cat::usb, "Device", "Mouse"), item(Cat::usb, "Device", "Keyboard")},
         {item(Cat::usb, "Device", "Keyboard"), item(Cat::usb, "Device", "Mouse")},
         {0, 0, 0}},
        // Two processors' "L1 Cache" tables tell apart only by their order.
        {{item(Cat::cpu, "Socket Designation", "L1 Cache", cacheA),
          item(Cat::cpu, "Installed Size", "32 kB", cacheA),
          item(Cat::cpu, "Socket Designation", "L1 Cache", cacheB),
          item(Cat::cpu, "Installed Size", "64 kB", cacheB)},
         {item(Cat::cpu, "Socket Designation", "L1 Cache", cacheC),
          item(Cat::cpu, "Installed Size", "32 kB", cacheC),
          item(Cat::cpu, "Socket Designation", "L1 Cache", cacheA),
          item(Cat::cpu, "Installed Size", "128 kB", cacheA)},
         {0, 0, 1}},
        // A disk is known by model and serial, not by the name the kernel gave it.
        {{item(Cat::storage, "[disk: sda] X1 \xe2\x80\xa2 model", "X1"),
          item(Cat::storage, "[disk: sda] X1 \xe2\x80\xa2 serial number", "S1")},
         {item(Cat::storage, "[disk: sdb] X1 \xe2\x80\xa2 model", "X1"),
          item(Cat::storage, "[disk: sdb] X1 \xe2\x80\xa2 serial number", "S1")},
         {0, 0, 0}},
        // The summary counts facts already compared one by one.
        {{item(Cat::summary, "USB", "4 useful items")},
         {item(Cat::summary, "USB", "8 useful items")},
         {0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.before.first().title.toStdString());
        const ReportDiff::Result r = ReportDiff::compare(c.before, c.after);
        EXPECT_EQ((std::array{r.added.size(), r.removed.size(), r.changed.size()}),
                  c.addedRemovedChanged);
    }
}

// Details as the classic parser writes them for a full output and for a -q
// output of the same record (a -q output has no handle lines); the table type counts.
TEST(ReportDiff, FullAndQuietOutputsOfOneRecordMatch)
{
    EXPECT_NE(ReportDiff::matchKey(item(Cat::bios, "Version", "1", "Handle 0x0001, DMI type 0")),
              ReportDiff::matchKey(item(Cat::bios, "Version", "1", "Handle 0x0001, DMI type 13")));
    const char *const full = "Memory Device \xe2\x80\xa2 Handle 0x0012, DMI type 17, 40 bytes";
    EXPECT_EQ(ReportDiff::stableDetail(item(Cat::memory, "Size", "8 GB", full)), u"Memory Device");
    EXPECT_TRUE(ReportDiff::compare({item(Cat::memory, "Size", "8 GB", full)},
                                    {item(Cat::memory, "Size", "8 GB", "Memory Device")})
                    .isEmpty());
}

} // namespace
