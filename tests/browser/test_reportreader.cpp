#include "browser/jsonexport.h"
#include "browser/reportreader.h"
#include "browsertesthelpers.h"

#include <QTimeZone>

namespace {

using ReportReader::Kind;

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

// Only the content can tell; cleaned as a scan is, with the summary first.
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
        ASSERT_GT(outcome.report->scan.items.size(), 10);
        EXPECT_EQ(outcome.report->scan.items.first().category, Cat::summary);
    }
}

} // namespace
