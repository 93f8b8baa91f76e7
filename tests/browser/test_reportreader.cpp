#include "browser/jsonexport.h"
#include "browser/reportreader.h"
#include "browsertesthelpers.h"

#include <QTimeZone>

namespace {

using ReportReader::Kind;

QByteArray realReport()
{
    return readAll(QStringLiteral(KESTRIN_TEST_DATA_DIR "/classic-thinkpad-t480-q.txt"));
}

// Each gives its one message (here a part of it). A missing file is the
// command line's compare tests' case.
TEST(ReportReader, RejectsWithItsOneMessage)
{
    const char *const neither = "neither a Kestrin report nor";
    const struct {
        QByteArray bytes;
        const char *message;
    } cases[] = {
        {"", neither},
        {"Dear support,\nmy fan is loud.\n", neither},
        {"Kestrin report\n\nMemory\n  Size: 8 GB\n", neither}, // a saved text report
        {"[1,2]", neither},
        {R"({"name":"x","version":3})", neither},
        {R"({"format":"other-report","items":[]})", neither},
        {R"({"items":[1]})", neither},
        {R"({"items":[{"category":"BIOS","value":"1"}]})", neither}, // no title
        {R"({"format":"kestrin-report","items":[{"category":"BI)", "incomplete"},
        {R"({"items":[{"category":"BIOS","title":"Version"},)", "incomplete"},
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

TEST(ReportReader, TruncatedRealReportIsIncomplete)
{
    HardwareScanner scanner;
    const HardwareScanResult scan = scanner.assemble({scanner.classicPart(u8(realReport()))});
    const QByteArray json = JsonExport::document(scan.items, scan.warnings, scan.rawOutput.text(),
                                                 ReportFormat::currentHeader(false));
    const ReportReader::Outcome outcome = ReportReader::readBytes(json.left(json.size() / 2));
    EXPECT_FALSE(outcome.report);
    EXPECT_TRUE(outcome.error.contains(u"incomplete")) << outcome.error.toStdString();
}

TEST(ReportReader, FileOverTheLimitIsRefusedBeforeReading)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("huge.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Sparse: the reader must refuse it by its size, not by reading 64 MiB.
    ASSERT_TRUE(file.resize(ReportReader::maxFileSize + 1));
    file.close();
    const ReportReader::Outcome outcome = ReportReader::readFile(file.fileName());
    EXPECT_FALSE(outcome.report);
    EXPECT_TRUE(outcome.error.contains(u"larger than 64 MiB")) << outcome.error.toStdString();
}

TEST(ReportReader, FullReportRoundTripKeepsEveryItemAndTheMask)
{
    HardwareScanner scanner;
    const HardwareScanResult scan =
        scanner.assemble({HardwareScanner::macHardwarePart(u8(readAll(QStringLiteral(
                              KESTRIN_TEST_DATA_DIR "/sysroot-laptop/expected/mac-hardware.txt")))),
                          scanner.classicPart(u8(realReport()))});
    ASSERT_GT(scan.items.size(), 100);
    ReportFormat::Header header = ReportFormat::currentHeader(true);
    header.generated = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), QTimeZone::utc());
    const QStringList warnings{QStringLiteral("dmidecode -q: permission denied")};
    const QByteArray json =
        JsonExport::document(scan.items, warnings, scan.rawOutput.text(), header);
    EXPECT_TRUE(json.contains(R"("generated":"2026-03-04T05:06:07Z")"));

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
    EXPECT_TRUE(report.header.hideIdentifiers);
    EXPECT_EQ(report.header.generated, header.generated);
    EXPECT_EQ(report.header.kestrinVersion, header.kestrinVersion);
    EXPECT_FALSE(report.pageNote);
}

TEST(ReportReader, ReportFromBeforeTheFormatKeysOpens)
{
    const ReportReader::Outcome outcome = ReportReader::readBytes(
        R"({"items":[{"category":"Memory","detail":"DIMM A","id":"x","source":"dmidecode -q",)"
        R"("title":"Size","value":"8 GB"},{"category":"Tape","title":"Drive","value":"DAT"}],)"
        R"("rawOutput":"raw","warnings":[]})");
    ASSERT_TRUE(outcome.report) << outcome.error.toStdString();
    const QList<HardwareItem> &items = outcome.report->scan.items;
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].category, Cat::memory);
    EXPECT_EQ(items[0].detail, u"DIMM A");
    // A category from a later version lands in the catch-all instead of being dropped.
    EXPECT_EQ(items[1].category, Cat::raw);
    EXPECT_FALSE(outcome.report->header.generated.isValid());
    EXPECT_FALSE(outcome.report->header.hideIdentifiers);
}

// Under a name that says nothing, so only the content can tell; cleaned as a
// scan is, with the summary first.
TEST(ReportReader, ToolOutputIsKnownByItsContent)
{
    const struct {
        const char *file; // in tests/data
        Kind kind;
        Cat category;
        const char *title;
        const char *value;
    } cases[] = {
        {"classic-asus-ux307la-full.txt", Kind::dmidecodeFull, Cat::bios, "Version", "UX305LA.206"},
        {"classic-thinkpad-t480-q.txt", Kind::dmidecodeQuiet, Cat::bios, "Release Date",
         "01/16/2019"},
        {"sysroot-laptop/expected/mac-hardware.txt", Kind::macHardware, Cat::platform,
         "[platform: machine] LENOVO 20XW003FUS \u2022 chassis", "Notebook"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir dir;
        const QString path = writeFile(dir.filePath(u"report.json"_qs),
                                       readAll(u8(KESTRIN_TEST_DATA_DIR "/") + u8(c.file)));
        const ReportReader::Outcome outcome = ReportReader::readFile(path);
        ASSERT_TRUE(outcome.report) << outcome.error.toStdString();
        EXPECT_EQ(outcome.report->kind, c.kind);
        EXPECT_FALSE(outcome.report->header.hideIdentifiers);
        const QList<HardwareItem> &items = outcome.report->scan.items;
        EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                                [&](const HardwareItem &i) {
                                    return i.category == c.category && i.title == u8(c.title) &&
                                           i.value == u8(c.value);
                                }))
            << "no " << c.title << ": " << c.value;
        ASSERT_FALSE(items.isEmpty());
        EXPECT_EQ(items.first().category, Cat::summary);
    }
}

} // namespace
