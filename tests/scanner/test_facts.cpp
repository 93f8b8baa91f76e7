// The scan's pipeline (facts over the runs' texts, cleaning, order, summary)
// on small texts whose results are worked out by hand, for the edges the real
// outputs of the corpus do not reach, and on hostile input.
#include "itemtesthelpers.h"
#include "scanner/hardwarescanner.h"

#include <gtest/gtest.h>

namespace {

using H = HardwareCategory;

// The runs as a scan hands them over: the classic run may finish first.
HardwareScanResult run(const QString &macText, const QString &classicText)
{
    const HardwareScanner scanner;
    return scanner.assemble(
        {scanner.classicPart(classicText), HardwareScanner::macHardwarePart(macText)});
}

bool terminated(const QString &text)
{
    return text.utf16()[text.size()] == 0;
}

TEST(Facts, PipelineEdges)
{
    struct Case {
        const char *name;
        QString mac;
        QString classic;
        std::vector<ItemText> expected;
    };
    const std::vector<Case> cases = {
        {"every newline-class character ends a line",
         {},
         q("BIOS Information\r\n\tVendor: Acme\r\tVersion: 1.0\u2028\tRelease Date: 2020\u0085"),
         {summaryLine("BIOS", "3 useful items"),
          classic(H::bios, "Release Date", "2020", "BIOS Information"),
          classic(H::bios, "Vendor", "Acme", "BIOS Information"),
          classic(H::bios, "Version", "1.0", "BIOS Information")}},
        {"titles that differ only in case: repeats go, the rest by code unit",
         {},
         q("Memory Device\n\tSize: 8 GB\n\tSIZE: 16 GB\n\tsize: 8 gb\n"),
         {summaryLine("Memory", "2 useful items"),
          classic(H::memory, "SIZE", "16 GB", "Memory Device"),
          classic(H::memory, "Size", "8 GB", "Memory Device")}},
        {"devices that differ only in case: their properties interleave by key",
         q("Ports:\n[p 1] Hub\nb: v1\nd: v2\n[p 1] HUB\na: v3\nc: v4\n"),
         {},
         {summaryLine("Other", "5 useful items"), mac(H::raw, "[p 1] HUB • a", "v3", "Ports"),
          mac(H::raw, "[p 1] Hub • b", "v1", "Ports"), mac(H::raw, "[p 1] HUB • c", "v4", "Ports"),
          mac(H::raw, "[p 1] Hub • d", "v2", "Ports"),
          mac(H::raw, "Device", "[p 1] Hub", "Ports")}},
        {"non-ASCII device names sort with their letters",
         q("Disks:\n[d] f\nk: v1\n[d] \u00e9\nk: v2\n"),
         {},
         {summaryLine("Storage", "4 useful items"),
          mac(H::storage, "[d] \u00e9 • k", "v2", "Disks"),
          mac(H::storage, "[d] f • k", "v1", "Disks"), mac(H::storage, "Device", "[d] f", "Disks"),
          mac(H::storage, "Device", "[d] \u00e9", "Disks")}},
    };
    for (const Case &c : cases) {
        const HardwareScanResult result = run(c.mac, c.classic);
        EXPECT_EQ(texts(result.items), c.expected) << c.name;
        // Items hold complete strings: utf16() is '\0'-terminated.
        for (const HardwareItem &item : result.items) {
            EXPECT_TRUE(terminated(item.title) && terminated(item.value) &&
                        terminated(item.detail) && terminated(item.source))
                << c.name << ": " << item.title.toStdString();
        }
    }
}

// Hostile and degenerate input: no crash, bounded time, no NUL in a value.
TEST(InputAbuse, DegenerateTexts)
{
    const QString nul(QChar(u'\0'));
    const QString texts[] = {
        QString(),
        q("\r\r\r"),
        nul + nul + q("\n\t") + nul + q(": ") + nul,
        q(":::::\n\t:\n[\n]\n[]\n[:]\n"),
        q("\tVendor: ") + nul + q("A") + nul + q("B\n"),
        QString(QChar(0xD800)) + q(": ") + QString(QChar(0xDC00)) + q("x"), // lone surrogates
    };
    for (const QString &text : texts) {
        for (const HardwareItem &item : run(text, text).items) {
            EXPECT_FALSE(item.value.contains(QChar(u'\0')));
        }
    }
}

TEST(InputAbuse, OneMegabyteLineAndOneMillionLines)
{
    const QString line =
        q("System Information\n\tSerial Number: ") + QString(1024 * 1024, QLatin1Char('A'));
    const HardwareScanResult result = run(line, line);
    // One classic item and one mac property survive, plus two summary lines
    // (the mac side has no section, so its property lands in Other).
    ASSERT_EQ(result.items.size(), 4);
    EXPECT_EQ(result.items[2].value.size(), 1024 * 1024);

    QString text = q("Memory Device\n");
    text.reserve(1'000'000 * 16);
    for (int i = 0; i < 1'000'000; ++i) {
        text += (i % 2 == 0) ? q("\tSize: 8 GB\n") : q("\tLocator: DIMM\n");
    }
    // Everything repeats, and both parsers agree on every key: the Memory
    // summary line plus "Locator" and "Size".
    EXPECT_EQ(run(text, text).items.size(), 3);
}

} // namespace
