// The scan's steps (the two parsers, the classifier, the cleaner, the summary)
// and the whole pipeline on hand-made lines, items and texts whose results are
// worked out by hand: the quirks the real outputs of the corpus do not hold
// (those are pinned by the CLI digests), and hostile input.
#include "itemtesthelpers.h"
#include "scanner/categoryclassifier.h"
#include "scanner/macparser.h"
#include "scanner/summarybuilder.h"

#include <gtest/gtest.h>

namespace {

using enum HardwareCategory;

TEST(CategoryFor, RuleTable)
{
    const struct {
        const char *section;
        const char *line;
        HardwareCategory expected;
    } cases[] = {
        // The value takes part, and the first rule of the table wins.
        {"System Information", "Serial Number: XRAM12", memory},
        {"PCI Devices", "[00:02.0] Intel Graphics • vendor-id: 0x8086", gpu},
        {"PCI Devices", "vendor-id: 0x8086", pci},
        {"", "", raw},
        // Keywords with a space may span the space between section and line.
        {"Memory Mac", "Address", network},
        {"Mac ", "Address", raw}, // two spaces: no keyword
        {"PROCESSOR İNFO", "", cpu},
        {"", "ＣＰＵ", raw}, // full-width letters are other characters
        // The summary is made, never classified into.
        {"Summary", "Overview", raw},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(categoryFor(q(c.section), q(c.line)), c.expected) << c.section << " / " << c.line;
    }
}

struct Case {
    const char *name;
    const char *text;
    std::vector<ItemText> expected;
};

TEST(ClassicParser, Lines)
{
    const std::vector<Case> cases = {
        {"key/value before any section",
         "\tManufacturer: Acme\n",
         {classic(raw, "Manufacturer", "Acme", "")}},
        {"empty value skipped, placeholder kept",
         "System Information\n\tSerial Number: \n\tSerial Number: 0\n",
         {classic(platform, "Serial Number", "0", "System Information")}},
        {"keys pass by substring",
         "Processor Information\n\tConfigured Clock Speed: 1 MHz\n\tNumber Of Devices: 2\n",
         {classic(cpu, "Configured Clock Speed", "1 MHz", "Processor Information")}},
        {"unindented line with a colon is a key/value of the current section",
         "Memory Device\nSize: 8 GB\n",
         {classic(memory, "Size", "8 GB", "Memory Device")}},
        {"keys match after lower-casing, titles keep their case",
         "System Information\n\tPRODUCT NAME: X\n\tProduct Name: X\n",
         {classic(platform, "PRODUCT NAME", "X", "System Information"),
          classic(platform, "Product Name", "X", "System Information")}},
        {"further colons stay in the value; key and value are trimmed",
         "Onboard\n\tMAC Address :  00:11:22:33:44:55 \n",
         {classic(network, "MAC Address", "00:11:22:33:44:55", "Onboard")}},
        {"'Handle' needs its capital and trailing space",
         "handle 0x1\nHandles\n\tType: X\n",
         {classic(raw, "Type", "X", "Handles")}},
        {"tab-indented line without colon is skipped, not a section",
         "BIOS Information\n\tSome flag\n\tVendor: Y\n",
         {classic(bios, "Vendor", "Y", "BIOS Information")}},
        {"only newlines", "\n\n\r\n\u2029", {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(texts(parseClassicDMIDecode(q(c.text), tables().usefulKeys())), c.expected)
            << c.name;
    }
}

TEST(MacParser, Lines)
{
    const std::vector<Case> cases = {
        {"property before any header; a '[' without ']' is a property line",
         "Model: Mac14,2\n[broken: value\n",
         {mac(raw, "Model", "Mac14,2", ""), mac(raw, "[broken", "value", "")}},
        {"category word without colon is a header; with colon a property",
         "Memory\nMemory: 16 GB\n",
         {mac(memory, "Memory", "16 GB", "Memory")}},
        {"bracketed header word wins over the device test",
         "[Audio Output]\n[dev: 1] Speaker\n",
         {mac(audio, "Device", "[dev: 1] Speaker", "[Audio Output]")}},
        {"a header empties the current device",
         "USB:\n[usb: 1-2] Mouse\nProperties:\nspeed: 12\n",
         {mac(usb, "Device", "[usb: 1-2] Mouse", "USB"), mac(raw, "speed", "12", "Properties")}},
        {"all colons leave the header; an empty value makes a header",
         "Slot: A:\nx: y\nname: \nkey: v\n",
         {mac(raw, "x", "y", "Slot A"), mac(raw, "key", "v", "name")}},
        {"header test is case-insensitive and matches inside words",
         "CPUs\nb: 2\n",
         {mac(cpu, "b", "2", "CPUs")}},
        {"other colon-free lines do nothing",
         "Graphics:\n[gpu: 0] X\nThunderbolt Bus\nk: v\n",
         {mac(gpu, "Device", "[gpu: 0] X", "Graphics"),
          mac(gpu, "[gpu: 0] X • k", "v", "Graphics")}},
        {"indentation carries no meaning; header line's own spaces stay",
         "   Network :\n\t\t[net: eth0] Ethernet\n",
         {mac(network, "Device", "[net: eth0] Ethernet", "Network ")}},
        {"device line without colon naming a category word is a header",
         "[pci 00-1f.3] Audio device\nk: v\n",
         {mac(audio, "k", "v", "[pci 00-1f.3] Audio device")}},
        // An exact category header overrides the keywords of its devices.
        {"CPU with integrated graphics stays CPU",
         "CPU:\n[cpu: 0] AMD Ryzen 7 5800H with Radeon Graphics\n",
         {mac(cpu, "Device", "[cpu: 0] AMD Ryzen 7 5800H with Radeon Graphics", "CPU")}},
        {"PCI Devices keeps the keyword rule",
         "PCI Devices:\n[pci: 00:1f.3] Audio device\n",
         {mac(audio, "Device", "[pci: 00:1f.3] Audio device", "PCI Devices")}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(texts(parseMacHardware(q(c.text))), c.expected) << c.name;
    }
}

HardwareItem item(HardwareCategory category, const char *title, const char *value,
                  const char *detail = "D", const char *source = "S")
{
    return HardwareItem(category, q(title), q(value), q(detail), q(source));
}

QList<HardwareItem> cleanValue(const QString &value)
{
    return cleanAndDeduplicate({HardwareItem(cpu, q("T"), value, q("D"), q("S"))},
                               tables().badValues());
}

TEST(Cleaner, KeepsOrDropsValues)
{
    const QString nul(QChar(u'\0'));
    // A placeholder in any case and spacing, one user-perceived character,
    // only zeros and x's, nothing.
    const QStringList dropped =
        q("  NOT specified\t|e\xcc\x81|\xf0\x9f\x98\x80|0X00|   ").split(u'|');
    for (const QString &value : dropped) {
        EXPECT_TRUE(cleanValue(value).isEmpty()) << value.toStdString();
    }
    EXPECT_TRUE(cleanValue(q("N") + nul).isEmpty());
    const std::pair<QString, const char *> kept[] = {
        {q("Not Specified Yet"), "Not Specified Yet"},
        {q("  Intel\tCore   i7 "), "Intel Core  i7"},
        {q("0x1F"), "0x1F"},
        {q("e\xcc\x81\xcc\x81x"), "e\xcc\x81\xcc\x81x"},
        {q("A") + nul + q("B"), "AB"},
        {q("\xc2\xa0 ab \xe3\x80\x80"), "ab"}, // non-breaking and ideographic spaces trimmed
    };
    for (const auto &[value, expected] : kept) {
        const QList<HardwareItem> out = cleanValue(value);
        ASSERT_EQ(out.size(), 1) << value.toStdString();
        EXPECT_EQ(out[0].value, q(expected)) << value.toStdString();
    }
}

TEST(Cleaner, TrimsTitlesAndValuesButNotDetails)
{
    const HardwareItem input = item(usb, "  Family \t", " Hub ", " detail ", "src");
    const QList<HardwareItem> out =
        cleanAndDeduplicate({input, item(cpu, " \u2028", "Core")}, tables().badValues());
    ASSERT_EQ(out.size(), 1);
    EXPECT_NE(out[0].id, input.id);
    EXPECT_EQ(texts(out)[0], ItemText(usb, "Family", "Hub", " detail ", "src"));
}

TEST(Cleaner, DeduplicatesOnCategoryTitleValueAndDetail)
{
    const auto out = texts(cleanAndDeduplicate(
        {
            item(memory, "Size", "8 GB", "DIMM 0", "dmidecode -q"),
            item(memory, "SIZE", "8 gb", "DIMM 0", "--mac-hardware"),
            item(memory, "Size", "8 GB", "dimm 0"),
            item(memory, "Size", "8 GB", "DIMM 1"),
            item(memory, "Size", "8  GB", "DIMM 1"),
            item(cpu, "Size", "8 GB", "DIMM 1"),
        },
        tables().badValues()));
    const std::vector<ItemText> expected = {
        {cpu, "Size", "8 GB", "DIMM 1", "S"},
        {memory, "Size", "8 GB", "DIMM 0", "dmidecode -q"},
        {memory, "Size", "8 GB", "DIMM 1", "S"},
    };
    EXPECT_EQ(out, expected);
}

TEST(Summary, CountsPerCategoryInDeclarationOrder)
{
    EXPECT_TRUE(makeSummaryItems({item(summary, "t", "v"), item(summary, "u", "w")}).isEmpty());
    QList<HardwareItem> items(1234, item(pci, "t", "v"));
    items.append(item(cpu, "t", "v"));
    const std::vector<ItemText> expected = {summaryLine("CPU", "1 useful item"),
                                            summaryLine("PCI", "1234 useful items")};
    EXPECT_EQ(texts(makeSummaryItems(items)), expected);
}

// The pipeline: facts over the runs' texts, cleaning, order, summary.
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
        // Which characters end a line is TextServices'; here the parser uses them.
        {"a newline-class character ends a line",
         {},
         q("BIOS Information\r\n\tVendor: Acme\u2028"),
         {summaryLine("BIOS", "1 useful item"),
          classic(bios, "Vendor", "Acme", "BIOS Information")}},
        {"titles that differ only in case: repeats go, the rest by code unit",
         {},
         q("Memory Device\n\tSize: 8 GB\n\tSIZE: 16 GB\n\tsize: 8 gb\n"),
         {summaryLine("Memory", "2 useful items"),
          classic(memory, "SIZE", "16 GB", "Memory Device"),
          classic(memory, "Size", "8 GB", "Memory Device")}},
        {"devices that differ only in case: their properties interleave by key",
         q("Ports:\n[p 1] Hub\nb: v1\nd: v2\n[p 1] HUB\na: v3\nc: v4\n"),
         {},
         {summaryLine("Other", "5 useful items"), mac(raw, "[p 1] HUB • a", "v3", "Ports"),
          mac(raw, "[p 1] Hub • b", "v1", "Ports"), mac(raw, "[p 1] HUB • c", "v4", "Ports"),
          mac(raw, "[p 1] Hub • d", "v2", "Ports"), mac(raw, "Device", "[p 1] Hub", "Ports")}},
        {"non-ASCII device names sort with their letters",
         q("Disks:\n[d] f\nk: v1\n[d] \u00e9\nk: v2\n"),
         {},
         {summaryLine("Storage", "4 useful items"), mac(storage, "[d] \u00e9 • k", "v2", "Disks"),
          mac(storage, "[d] f • k", "v1", "Disks"), mac(storage, "Device", "[d] f", "Disks"),
          mac(storage, "Device", "[d] \u00e9", "Disks")}},
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
    // Null text; NUL as key and value; empty keys and brackets; lone surrogates.
    const QString texts[] = {
        QString(),
        nul + nul + q("\n\t") + nul + q(": ") + nul,
        q(":::::\n\t:\n[\n]\n[]\n[:]\n"),
        QString(QChar(0xD800)) + q(": ") + QString(QChar(0xDC00)) + q("x"),
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
