// The scan's pipeline (facts over the runs' texts, cleaning, order, items) on
// small texts whose results are worked out by hand, for the edges of reading
// facts out of the text: every kind of line end, values that cleaning changes,
// titles that differ only in case, and device titles ordered by their parts.
#include "itemtesthelpers.h"
#include "scanner/hardwarescanner.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *name;
    QString mac;
    QString classic;
    std::vector<ItemText> expected;
};

ItemText summary(const char *title, const char *value)
{
    return {HardwareCategory::summary, q(title), q(value), q("Filtered dmidecode data"),
            q("App parser")};
}

ItemText classic(HardwareCategory category, const char *title, const char *value,
                 const char *detail)
{
    return {category, q(title), q(value), q(detail), q("dmidecode -q")};
}

ItemText mac(HardwareCategory category, const char *title, const char *value, const char *detail)
{
    return {category, q(title), q(value), q(detail), q("--mac-hardware")};
}

bool terminated(const QString &text)
{
    return text.utf16()[text.size()] == 0;
}

TEST(Facts, PipelineEdges)
{
    const QString nul(QChar(u'\0'));
    const std::vector<Case> cases = {
        {"every newline-class character ends a line",
         {},
         q("BIOS Information\r\n\tVendor: Acme\r\tVersion: 1.0\u2028\tRelease Date: 2020\u0085"),
         {summary("BIOS", "3 useful items"),
          classic(HardwareCategory::bios, "Release Date", "2020", "BIOS Information"),
          classic(HardwareCategory::bios, "Vendor", "Acme", "BIOS Information"),
          classic(HardwareCategory::bios, "Version", "1.0", "BIOS Information")}},
        {"values that cleaning changes get their cleaned text",
         {},
         q("System Information\n\tFamily: a\tb  c\n\tSKU Number: x") + nul + q("y \n"),
         {summary("Platform", "2 useful items"),
          classic(HardwareCategory::platform, "Family", "a b c", "System Information"),
          classic(HardwareCategory::platform, "SKU Number", "xy", "System Information")}},
        {"titles that differ only in case: repeats go, the rest by code unit",
         {},
         q("Memory Device\n\tSize: 8 GB\n\tSIZE: 16 GB\n\tsize: 8 gb\n"),
         {summary("Memory", "2 useful items"),
          classic(HardwareCategory::memory, "SIZE", "16 GB", "Memory Device"),
          classic(HardwareCategory::memory, "Size", "8 GB", "Memory Device")}},
        {"devices that differ only in case: their properties interleave by key",
         q("Ports:\n[p 1] Hub\nb: v1\nd: v2\n[p 1] HUB\na: v3\nc: v4\n"),
         {},
         {summary("Other", "5 useful items"),
          mac(HardwareCategory::raw, "[p 1] HUB \u2022 a", "v3", "Ports"),
          mac(HardwareCategory::raw, "[p 1] Hub \u2022 b", "v1", "Ports"),
          mac(HardwareCategory::raw, "[p 1] HUB \u2022 c", "v4", "Ports"),
          mac(HardwareCategory::raw, "[p 1] Hub \u2022 d", "v2", "Ports"),
          mac(HardwareCategory::raw, "Device", "[p 1] Hub", "Ports")}},
        {"... unless their keys too differ only in case: the code units decide",
         q("Ports:\n[p 1] Hub\nType: v1\n[p 1] HUB\ntype: v2\n"),
         {},
         {summary("Other", "3 useful items"),
          mac(HardwareCategory::raw, "[p 1] HUB \u2022 type", "v2", "Ports"),
          mac(HardwareCategory::raw, "[p 1] Hub \u2022 Type", "v1", "Ports"),
          mac(HardwareCategory::raw, "Device", "[p 1] Hub", "Ports")}},
        {"devices equal but for leading zeros: the code units decide",
         q("Slots:\n[s 1] Card\nname: v2\n[s 01] Card\nname: v1\n"),
         {},
         {summary("Other", "4 useful items"),
          mac(HardwareCategory::raw, "[s 01] Card \u2022 name", "v1", "Slots"),
          mac(HardwareCategory::raw, "[s 1] Card \u2022 name", "v2", "Slots"),
          mac(HardwareCategory::raw, "Device", "[s 1] Card", "Slots"),
          mac(HardwareCategory::raw, "Device", "[s 01] Card", "Slots")}},
        {"non-ASCII device names sort with their letters",
         q("Disks:\n[d] f\nk: v1\n[d] \u00e9\nk: v2\n"),
         {},
         {summary("Storage", "4 useful items"),
          mac(HardwareCategory::storage, "[d] \u00e9 \u2022 k", "v2", "Disks"),
          mac(HardwareCategory::storage, "[d] f \u2022 k", "v1", "Disks"),
          mac(HardwareCategory::storage, "Device", "[d] f", "Disks"),
          mac(HardwareCategory::storage, "Device", "[d] \u00e9", "Disks")}},
        {"a property before any device or section",
         q("Serial: ABC\n"),
         q("\tVersion: 2\u00b7x\n"),
         {summary("Other", "2 useful items"), mac(HardwareCategory::raw, "Serial", "ABC", ""),
          classic(HardwareCategory::raw, "Version", "2\u00b7x", "")}},
    };
    const HardwareScanner scanner;
    for (const Case &c : cases) {
        const HardwareScanResult result = scanner.assemble(
            {HardwareScanner::macHardwarePart(c.mac), scanner.classicPart(c.classic)});
        EXPECT_EQ(texts(result.items), c.expected) << c.name;
        // Items hold complete strings: utf16() is '\0'-terminated.
        for (const HardwareItem &item : result.items) {
            EXPECT_TRUE(terminated(item.title) && terminated(item.value) &&
                        terminated(item.detail) && terminated(item.source))
                << c.name << ": " << item.title.toStdString();
        }
    }
}

TEST(Facts, ParsersMakeItemsOfEveryFactWithCompleteStrings)
{
    const HardwareScanner scanner;
    const QString text = q("Memory Device\n\tSize: 8 GB\n[x] y\nk: v\n");
    for (const QList<HardwareItem> &items :
         {scanner.parseClassicDMIDecode(text), HardwareScanner::parseMacHardware(text)}) {
        ASSERT_FALSE(items.isEmpty());
        for (const HardwareItem &item : items) {
            EXPECT_TRUE(terminated(item.title) && terminated(item.value) && terminated(item.detail))
                << item.title.toStdString();
        }
    }
}

} // namespace
