// Hostile and degenerate input must parse without crashing, in bounded time,
// and still respect the pipeline's invariants.
#include "itemtesthelpers.h"
#include "scanner/hardwarescanner.h"

#include <gtest/gtest.h>

namespace {

HardwareScanResult run(const QString &text)
{
    HardwareScanner scanner;
    return scanner.assemble({
        ScanPart{0, q("dmidecode --mac-hardware"), text, scanner.parseMacHardware(text), {}},
        ScanPart{1, q("dmidecode -q"), text, scanner.parseClassicDMIDecode(text), {}},
    });
}

TEST(InputAbuse, DegenerateTexts)
{
    const QString nul(QChar(u'\0'));
    const QString texts[] = {
        QString(),
        q("\n\n\n\n"),
        q("\r\n\r\n"),
        q("\r\r\r"),
        q("\u2028\u2029\u0085"),
        nul + nul + q("\n\t") + nul + q(": ") + nul,
        q(":::::\n\t:\n[\n]\n[]\n[:]\n"),
        q("\tVendor: ") + nul + q("A") + nul + q("B\n"),
        QString(QChar(0xD800)) + q(": ") + QString(QChar(0xDC00)) + q("x"), // lone surrogates
    };
    for (const QString &text : texts) {
        const HardwareScanResult result = run(text);
        for (const HardwareItem &item : result.items) {
            EXPECT_FALSE(item.value.contains(QChar(u'\0')));
        }
    }
    const HardwareScanResult nulValue = run(q("Memory Device\n\tSize: 8") + nul + q("GB\n"));
    // The mac property and the classic item collapse into one (same key).
    ASSERT_EQ(nulValue.items.size(), 2);
    EXPECT_EQ(nulValue.items[1].value, q("8GB"));
}

TEST(InputAbuse, OneMegabyteSingleLine)
{
    const QString line = q("\tSerial Number: ") + QString(1024 * 1024, QLatin1Char('A'));
    const HardwareScanResult result = run(q("System Information\n") + line);
    // One classic item and one mac property survive, plus two summary lines
    // (the mac side has no section, so its property lands in Other).
    ASSERT_EQ(result.items.size(), 4);
    EXPECT_EQ(result.items[2].value.size(), 1024 * 1024);
}

TEST(InputAbuse, OneMillionLines)
{
    QString text = q("Memory Device\n");
    text.reserve(1'000'000 * 16);
    for (int i = 0; i < 1'000'000; ++i) {
        text += (i % 2 == 0) ? q("\tSize: 8 GB\n") : q("\tLocator: DIMM\n");
    }
    const HardwareScanResult result = run(text);
    // Everything repeats, and both parsers agree on every key: the Memory
    // summary line plus "Locator" and "Size".
    EXPECT_EQ(texts(result.items).size(), 3u);
}

} // namespace
