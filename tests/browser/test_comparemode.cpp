// The window while comparing with a saved report: marks, badges, heading,
// Show Unchanged, copy and save of the differences, and what ends it.
#include "browser/categorylistmodel.h"
#include "browser/jsonexport.h"
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
        const auto *sidebar = qobject_cast<CategoryListModel *>(s.model->categoryModel());
        for (const CategoryListModel::Row &row : sidebar->rows()) {
            if (row.category == category) {
                return row.count;
            }
        }
        return -1;
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

TEST(CompareMode, HeadingAndBadgesCountDifferences)
{
    Comparing cmp;
    EXPECT_TRUE(cmp.s.model->isComparing());
    EXPECT_EQ(cmp.s.model->comparedReportName(), u"before.json");
    EXPECT_EQ(cmp.s.model->comparisonHeading(), u8("1 added \u2022 1 removed \u2022 2 changed"));
    EXPECT_EQ(cmp.badge(Cat::memory), 3);
    EXPECT_EQ(cmp.badge(Cat::usb), 1); // only the report has it, still listed
    EXPECT_EQ(cmp.badge(Cat::cpu), 0);

    cmp.s.settleSearch(QStringLiteral("speed"));
    EXPECT_EQ(cmp.s.model->comparisonHeading(), u8("1 added \u2022 0 removed \u2022 0 changed"));
    EXPECT_EQ(cmp.badge(Cat::memory), 1);
}

TEST(CompareMode, CopyAndSaveWriteTheDifferences)
{
    Comparing cmp;
    FakeClipboard clipboard;
    FakeSaveDialog dialog;
    cmp.s.model->setClipboardService(&clipboard);
    cmp.s.model->setSaveLocationProvider(&dialog);
    cmp.s.model->setSelectedCategory(Cat::memory);
    cmp.s.model->copyVisibleReport();
    ASSERT_EQ(clipboard.texts.size(), 1);
    EXPECT_EQ(clipboard.texts[0], u8("+ [Memory] Speed: 2400\n"
                                     "~ [Memory] Size: 4 GB \u2192 8 GB\n"
                                     "~ [Memory] Serial Number: SN-OLD-1234 \u2192 SN-NEW-5678\n"));

    cmp.s.model->saveReport();
    EXPECT_EQ(dialog.suggested, u"Kestrin-comparison.txt");
    const QString path = cmp.dir.filePath(QStringLiteral("diff.json"));
    dialog.close(path, BrowserModel::jsonFilterIndex);
    const QJsonObject saved = readJson(path);
    EXPECT_EQ(saved.value(u"added").toArray().size(), 1);
    EXPECT_EQ(saved.value(u"changed").toArray().size(), 2);
    EXPECT_EQ(saved.value(u"removed").toArray().size(), 0);
}

TEST(CompareMode, FollowsTheNextScanUntilEnded)
{
    Comparing cmp;
    // The module goes back to 4 GB with its old serial; only the speed stays new.
    QList<HardwareItem> again = savedItems();
    again.removeLast();
    again.append(item(Cat::memory, "Speed", "2400"));
    cmp.s.rescan(again);
    EXPECT_EQ(cmp.s.model->comparisonHeading(), u8("1 added \u2022 1 removed \u2022 0 changed"));

    QSignalSpy ended(cmp.s.model.get(), &BrowserModel::comparisonChanged);
    cmp.s.model->endComparison();
    EXPECT_EQ(ended.size(), 1);
    EXPECT_FALSE(cmp.s.model->isComparing());
    EXPECT_EQ(cmp.badge(Cat::memory), 3);
    EXPECT_EQ(cmp.badge(Cat::usb), -1);
    cmp.s.model->setSelectedCategory(Cat::memory);
    EXPECT_EQ(cmp.marks(), (QStringList{u8(":2400"), u8(":4 GB"), u8(":SN-OLD-1234")}));

    // An unreadable file starts no comparison.
    EXPECT_FALSE(cmp.s.model->compareWithReport(putFile(cmp.dir, "bad.json", R"({"items": [)")));
    EXPECT_EQ(cmp.alerts.messages.size(), 1);
    EXPECT_FALSE(cmp.s.model->isComparing());
    EXPECT_TRUE(cmp.s.model->comparisonHeading().isEmpty());
}

} // namespace
