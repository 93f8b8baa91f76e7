// The window while a saved report is shown: what the banner says, going back
// to this computer, and a report saved with identifiers hidden staying hidden.
#include "browser/jsonexport.h"
#include "browsertesthelpers.h"

#include <QLocale>

namespace {

QList<HardwareItem> machine()
{
    return {item(Cat::summary, "Memory", "2 useful items"), item(Cat::bios, "Version", "1.2"),
            item(Cat::memory, "Size", "8 GB", "DIMM A"),
            item(Cat::memory, "Size", "8 GB", "DIMM B"), item(Cat::usb, "Device", "Keyboard")};
}

// Saved on 2026-12-07 10:12 UTC by Kestrin 1.4.0; of one page when `category` is given.
QByteArray saved(bool hidden, const char *category = nullptr, const char *search = "")
{
    ReportFormat::Header h;
    h.generated = QDateTime(QDate(2026, 12, 7), QTime(10, 12), Qt::UTC);
    h.kestrinVersion = u"1.4.0"_qs;
    h.hideIdentifiers = hidden;
    if (category) {
        h.category = u8(category);
        h.scanItemCount = 576;
        h.search = u8(search);
    }
    return JsonExport::document(machine().mid(2, 2), {}, u"raw"_qs, h);
}

TEST(OpenedReport, BannerSaysWhatIsShown)
{
    // German dates in UTC: the expected text does not depend on the machine.
    qputenv("TZ", "UTC");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const struct {
        QByteArray file;
        const char *generated;
        bool identifiersHidden;
        const char *pageNote;
    } cases[] = {
        {saved(true), "07.12.26 10:12", true, ""},
        {saved(false, "Memory"), "07.12.26 10:12", false, "Memory, 2 of 576 items"},
        {saved(false, "Memory", "dimm"), "07.12.26 10:12", false,
         "Memory matching \u201cdimm\u201d, 2 of 576 items"},
        // Written before reports said when and by what: only the name is known.
        {R"({"items":[{"category":"BIOS","title":"Version","value":"1.2"}]})", "", false, ""},
        {"# dmidecode 3.4\n\nHandle 0x0000, DMI type 0, 26 bytes\nBIOS Information\n\tVersion: "
         "1.2\n",
         "", false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.left(60).toStdString());
        ScannedModel s({item(Cat::cpu, "Model", "This CPU")});
        QTemporaryDir dir;
        QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
        ASSERT_TRUE(s.model->openReport(putFile(dir, "saved report.json", c.file)));
        EXPECT_EQ(changed.size(), 1);
        EXPECT_TRUE(s.model->isShowingReport());
        EXPECT_EQ(s.model->reportFileName(), u"saved report.json");
        EXPECT_EQ(s.model->reportGenerated(), u8(c.generated));
        EXPECT_EQ(s.model->reportKestrinVersion(), u8(*c.generated ? "1.4.0" : ""));
        EXPECT_EQ(s.model->reportIdentifiersHidden(), c.identifiersHidden);
        EXPECT_EQ(s.model->reportPageNote(), u8(c.pageNote));
    }
    QLocale::setDefault(QLocale::c());
}

TEST(OpenedReport, OpensAsAScanAndABadFileChangesNothing)
{
    ScannedModel s({item(Cat::cpu, "Model", "Old CPU")});
    FakeAlerts alerts;
    s.model->setAlertPresenter(&alerts);
    QTemporaryDir dir;
    const QUrl bad = putFile(dir, "bad.json", R"({"format":"kestrin-report","items":[{"cat)");
    EXPECT_FALSE(s.model->openReport(bad));
    EXPECT_EQ(alerts.messages, QStringList{u8("The report is incomplete: its JSON ends early, "
                                              "probably cut off while it was copied or saved.")});
    ASSERT_EQ(s.model->itemCount(), 1);

    ReportFormat::Header header;
    header.hideIdentifiers = true;
    ASSERT_TRUE(s.model->openReport(
        putFile(dir, "good.json", JsonExport::document(machine(), {}, u"raw"_qs, header))));
    EXPECT_EQ(s.model->itemCount(), 5);
    EXPECT_EQ(s.model->totalUsefulItems(), 4);
    EXPECT_EQ(s.model->categoryCounts().value(Cat::memory), 2);
    EXPECT_EQ(s.model->rawOutput(), u"raw");

    // With a report shown, the banner stays too.
    QSignalSpy changed(s.model.get(), &BrowserModel::reportChanged);
    EXPECT_FALSE(s.model->openReport(bad));
    EXPECT_EQ(alerts.messages.size(), 2);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_EQ(s.model->reportFileName(), u"good.json");
    EXPECT_EQ(s.model->itemCount(), 5);

    // Back to this computer: the report stays until the scan replaces it.
    QSignalSpy finished(s.model.get(), &BrowserModel::scanFinished);
    s.model->backToThisComputer();
    EXPECT_TRUE(s.model->isScanning());
    EXPECT_TRUE(s.model->isShowingReport());
    s.source->complete(HardwareScanResult{{item(Cat::cpu, "Model", "This CPU")}, {}, {}});
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_FALSE(s.model->isShowingReport());
    EXPECT_EQ(s.model->reportFileName(), u"");
    EXPECT_FALSE(s.model->reportIdentifiersHidden());
}

TEST(FullReport, ExportsEveryCategoryWhateverThePageShows)
{
    ScannedModel s(HardwareScanResult{machine(), u"raw text"_qs, {u"dmidecode -q: denied"_qs}});
    s.model->setSelectedCategory(Cat::memory);
    s.settleSearch(u"dimm a"_qs);
    FakeSaveDialog dialog;
    s.model->setSaveLocationProvider(&dialog);
    QTemporaryDir dir;
    s.model->exportFullReport();
    dialog.close(dir.filePath(u"full.json"_qs));

    const QJsonObject root = readJson(dir.filePath(u"full.json"_qs));
    EXPECT_EQ(root.value(u"items").toArray().size(), 5);
    EXPECT_FALSE(root.contains(u"category")) << "a full report is no page";
    EXPECT_EQ(root.value(u"warnings").toArray(), QJsonArray{u"dmidecode -q: denied"_qs});
    EXPECT_EQ(root.value(u"rawOutput").toString(), u"raw text");
    EXPECT_TRUE(root.value(u"hideIdentifiers").toBool());
}

// Saved with identifiers hidden, a report shows what the file holds, never
// less, with the mask off; with it on, what the file holds in clear is hidden.
TEST(OpenedReport, SavedMaskedShowsWhatTheFileHolds)
{
    ReportFormat::Header header;
    header.hideIdentifiers = true;
    const char *const rawOutput = "Serial Number: " DOTS "EF\n";
    ScannedModel s;
    QTemporaryDir dir;
    ASSERT_TRUE(s.model->openReport(
        putFile(dir, "m.json",
                JsonExport::document(
                    {item(Cat::platform, "Serial Number", DOTS "EF"),
                     item(Cat::platform, "Note", "board 4c4c4544-0042-3510-8052-b4c04f4e3332")},
                    {u8("disk " DOTS "EF: no SMART data")}, u8(rawOutput), header))));
    s.model->setSelectedCategory(Cat::platform);
    for (const bool hide : {false, true}) {
        s.model->setHideIdentifiers(hide);
        EXPECT_EQ(s.shownValues(),
                  QStringList({hide ? u8("board " DOTS "32")
                                    : u8("board 4c4c4544-0042-3510-8052-b4c04f4e3332"),
                               u8(DOTS "EF")}));
        EXPECT_EQ(s.model->rawOutput(), u8(rawOutput));
        EXPECT_EQ(s.model->warnings(), QStringList{u8("disk " DOTS "EF: no SMART data")});
    }
}

} // namespace
