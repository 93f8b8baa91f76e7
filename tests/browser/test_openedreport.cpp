// Reading saved reports and tool outputs, and the window while one is shown.
#include "browser/jsonexport.h"
#include "browser/reportreader.h"
#include "browsertesthelpers.h"

#include <QLocale>
#include <QTimeZone>

namespace {

using ReportReader::Kind;

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
        {saved(false, "Memory", "dimm"), "07.12.26 10:12", false,
         "Memory matching \u201cdimm\u201d, 2 of 576 items"},
        // A tool's output says not when nor by what: only the name is known.
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

    const QJsonObject root =
        QJsonDocument::fromJson(readAll(dir.filePath(u"full.json"_qs))).object();
    EXPECT_EQ(root.value(u"items").toArray().size(), 5);
    EXPECT_FALSE(root.contains(u"category")) << "a full report is no page";
    EXPECT_EQ(root.value(u"rawOutput").toString(), u"raw text");
    EXPECT_TRUE(root.value(u"hideIdentifiers").toBool());
}

// Saved with identifiers hidden, a report shows what the file holds, never
// less, with the mask off; with it on, what the file holds in clear is hidden
// and its masks, in the rows and the raw output, stay as saved.
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
                    {}, u8(rawOutput), header))));
    s.model->setSelectedCategory(Cat::platform);
    for (const bool hide : {false, true}) {
        s.model->setHideIdentifiers(hide);
        EXPECT_EQ(s.shownValues(),
                  QStringList({hide ? u8("board " DOTS "32")
                                    : u8("board 4c4c4544-0042-3510-8052-b4c04f4e3332"),
                               u8(DOTS "EF")}));
        EXPECT_EQ(s.model->rawOutput(), u8(rawOutput));
    }
}

// One input per way out, each with its one message (here a part of it).
TEST(ReportReader, RejectsWithItsOneMessage)
{
    const char *const neither = "neither a Kestrin report nor";
    const struct {
        QByteArray bytes;
        const char *message;
    } cases[] = {
        {"Kestrin report\n\nMemory\n  Size: 8 GB\n", neither}, // a saved text report
        {R"({"name":"x","version":3})", neither},
        {R"({"format":"other-report","items":[]})", neither},
        {R"({"items":[{"category":"BIOS","value":"1"}]})", neither}, // no title
        {R"({"format":"kestrin-report","formatVersion":2,"items":[]})",
         "newer version of Kestrin (report format 2)"},
        {QByteArray("BIOS Information\n\tVersion: 1\0\0\0", 30), "binary data"},
        {"BIOS Information\n\tVendor: \xff\xfe\n", "binary data"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const ReportReader::Outcome outcome = ReportReader::readBytes(c.bytes);
        EXPECT_FALSE(outcome.report);
        EXPECT_TRUE(outcome.error.contains(u8(c.message))) << outcome.error.toStdString();
    }
}

TEST(ReportReader, FileOverTheLimitIsRefusedBeforeReading)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(u"huge.json"_qs));
    // Sparse: the reader must refuse it by its size, not by reading 64 MiB.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(ReportReader::maxFileSize + 1));
    file.close();
    const ReportReader::Outcome outcome = ReportReader::readFile(file.fileName());
    EXPECT_FALSE(outcome.report);
    EXPECT_TRUE(outcome.error.contains(u"larger than 64 MiB")) << outcome.error.toStdString();
}

// Cut in half, the same report is incomplete.
TEST(ReportReader, FullReportRoundTripKeepsEveryItemAndTheMask)
{
    HardwareScanner scanner;
    const HardwareScanResult scan = scanner.assemble(
        {HardwareScanner::macHardwarePart(
             u8(readAll(u8(KESTRIN_TEST_DATA_DIR "/sysroot-laptop/expected/mac-hardware.txt")))),
         scanner.classicPart(
             u8(readAll(u8(KESTRIN_TEST_DATA_DIR "/classic-thinkpad-t480-q.txt"))))});
    ASSERT_GT(scan.items.size(), 100);
    ReportFormat::Header header = ReportFormat::currentHeader(true);
    header.generated = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), QTimeZone::utc());
    const QStringList warnings{u"dmidecode -q: permission denied"_qs};
    const QByteArray json =
        JsonExport::document(scan.items, warnings, scan.rawOutput.text(), header);
    EXPECT_TRUE(json.contains(R"("generated":"2026-03-04T05:06:07Z")"));
    EXPECT_TRUE(ReportReader::readBytes(json.left(json.size() / 2)).error.contains(u"incomplete"));

    const ReportReader::Outcome outcome = ReportReader::readBytes(json);
    ASSERT_TRUE(outcome.report) << outcome.error.toStdString();
    const ReportReader::Report &report = *outcome.report;
    EXPECT_EQ(report.kind, Kind::kestrinReport);
    ASSERT_EQ(report.scan.items.size(), scan.items.size());
    for (qsizetype i = 0; i < scan.items.size(); ++i) {
        const HardwareItem &a = scan.items[i];
        const HardwareItem &b = report.scan.items[i];
        EXPECT_EQ(std::tie(a.category, a.title, a.value, a.detail, a.source),
                  std::tie(b.category, b.title, b.value, b.detail, b.source))
            << "item " << i;
    }
    EXPECT_EQ(report.scan.warnings, warnings);
    EXPECT_EQ(report.scan.rawOutput, scan.rawOutput);
    EXPECT_EQ(std::tie(report.header.hideIdentifiers, report.header.generated,
                       report.header.kestrinVersion),
              std::tie(header.hideIdentifiers, header.generated, header.kestrinVersion));
    EXPECT_FALSE(report.pageNote);
}

TEST(ReportReader, ReportFromBeforeTheFormatKeysOpens)
{
    const ReportReader::Outcome outcome = ReportReader::readBytes(
        R"({"items":[{"category":"Memory","detail":"DIMM A","title":"Size","value":"8 GB"},)"
        R"({"category":"Tape","title":"Drive","value":"DAT"}],"rawOutput":"raw"})");
    ASSERT_TRUE(outcome.report) << outcome.error.toStdString();
    const QList<HardwareItem> &items = outcome.report->scan.items;
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].detail, u"DIMM A");
    // A category from a later version lands in the catch-all instead of being dropped.
    EXPECT_EQ(items[1].category, Cat::raw);
    EXPECT_FALSE(outcome.report->header.generated.isValid());
    EXPECT_FALSE(outcome.report->header.hideIdentifiers);
}

// Only the content can tell which tool wrote it.
TEST(ReportReader, ToolOutputIsKnownByItsContent)
{
    const std::pair<const char *, Kind> cases[] = {
        {"classic-asus-ux307la-full.txt", Kind::dmidecodeFull},
        {"classic-thinkpad-t480-q.txt", Kind::dmidecodeQuiet},
        {"sysroot-laptop/expected/mac-hardware.txt", Kind::macHardware},
    };
    for (const auto &[file, kind] : cases) {
        SCOPED_TRACE(file);
        const ReportReader::Outcome outcome =
            ReportReader::readBytes(readAll(u8(KESTRIN_TEST_DATA_DIR "/") + u8(file)));
        ASSERT_TRUE(outcome.report) << outcome.error.toStdString();
        EXPECT_EQ(outcome.report->kind, kind);
        EXPECT_GT(outcome.report->scan.items.size(), 10);
    }
}

} // namespace
