#include "itemtesthelpers.h"
#include "scanner/classicparser.h"
#include "scanner/hardwarescanner.h"

#include <gtest/gtest.h>

namespace {

const QString classic = QStringLiteral("dmidecode -q");

std::vector<ItemText> parse(const QString &text)
{
    return texts(HardwareScanner().parseClassicDMIDecode(text));
}

TEST(ClassicParser, UsefulKeysTableHas59Keys)
{
    const HardwareScanner scanner;
    EXPECT_EQ(scanner.usefulKeys().size(), 59);
    for (const char *key : {"manufacturer", "ioservice path", "revision", "up", "running",
                            "subsystem-vendor-id", "board-id", "configured memory speed"}) {
        EXPECT_TRUE(scanner.usefulKeys().contains(q(key))) << key;
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
        {"list entries and list headers are skipped",
         "BIOS Information\n\tVendor: Apple Inc.\n\tCharacteristics:\n\t\tPCI is supported\n",
         {{HardwareCategory::bios, q("Vendor"), q("Apple Inc."), q("BIOS Information"), classic}}},
        {"key/value before any section",
         "\tManufacturer: Acme\n",
         {{HardwareCategory::raw, q("Manufacturer"), q("Acme"), q(""), classic}}},
        {"empty value skipped, placeholder kept",
         "System Information\n\tSerial Number: \n\tSerial Number: 0\n",
         {{HardwareCategory::platform, q("Serial Number"), q("0"), q("System Information"),
           classic}}},
        {"speed keys pass by substring",
         "Processor Information\n\tCurrent Speed: 3200 MHz\n\tConfigured Clock Speed: 1 MHz\n"
         "\tError Correction Type: None\n\tNumber Of Devices: 2\n\tFirmware Version: 9\n",
         {{HardwareCategory::cpu, q("Current Speed"), q("3200 MHz"), q("Processor Information"),
           classic},
          {HardwareCategory::cpu, q("Configured Clock Speed"), q("1 MHz"),
           q("Processor Information"), classic},
          {HardwareCategory::cpu, q("Firmware Version"), q("9"), q("Processor Information"),
           classic}}},
        {"unindented line with a colon is a key/value of the current section",
         "Memory Device\nSize: 8 GB\n",
         {{HardwareCategory::memory, q("Size"), q("8 GB"), q("Memory Device"), classic}}},
        {"handle line joins the detail and persists across records",
         "Handle 0x0001, DMI type 1, 27 bytes\nSystem Information\n\tFamily: Mac\n\n"
         "Chassis Information\n\tType: Laptop\n",
         {{HardwareCategory::platform, q("Family"), q("Mac"),
           q("System Information • Handle 0x0001, DMI type 1, 27 bytes"), classic},
          {HardwareCategory::raw, q("Type"), q("Laptop"),
           q("Chassis Information • Handle 0x0001, DMI type 1, 27 bytes"), classic}}},
        {"keys match after lower-casing, titles keep their case",
         "System Information\n\tPRODUCT NAME: X\n\tProduct Name: X\n",
         {{HardwareCategory::platform, q("PRODUCT NAME"), q("X"), q("System Information"), classic},
          {HardwareCategory::platform, q("Product Name"), q("X"), q("System Information"),
           classic}}},
        {"space-indented line without a colon is a section",
         "    Memory Device\n\tSize: 4 GB\n",
         {{HardwareCategory::memory, q("Size"), q("4 GB"), q("Memory Device"), classic}}},
        {"further colons stay in the value; key and value are trimmed",
         "Onboard\n\tMAC Address :  00:11:22:33:44:55 \n",
         {{HardwareCategory::network, q("MAC Address"), q("00:11:22:33:44:55"), q("Onboard"),
           classic}}},
        {"CR LF line ends",
         "BIOS Information\r\n\tVendor: X\r\n",
         {{HardwareCategory::bios, q("Vendor"), q("X"), q("BIOS Information"), classic}}},
        {"lone CR and Unicode separators end lines too",
         "BIOS Information\r\tVendor: A\u2028\tVersion: B\u0085\tRelease Date: C",
         {{HardwareCategory::bios, q("Vendor"), q("A"), q("BIOS Information"), classic},
          {HardwareCategory::bios, q("Version"), q("B"), q("BIOS Information"), classic},
          {HardwareCategory::bios, q("Release Date"), q("C"), q("BIOS Information"), classic}}},
        {"'Handle' needs its capital and trailing space",
         "handle 0x1\nHandles\n\tType: X\n",
         {{HardwareCategory::raw, q("Type"), q("X"), q("Handles"), classic}}},
        {"tab-indented line without colon is skipped, not a section",
         "BIOS Information\n\tSome flag\n\tVendor: Y\n",
         {{HardwareCategory::bios, q("Vendor"), q("Y"), q("BIOS Information"), classic}}},
        {"empty and unrecognised text", "", {}},
        {"only newlines", "\n\n\r\n\u2029", {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(parse(QString::fromUtf8(c.text)), c.expected) << c.name;
    }
}

TEST(ClassicParser, SetsSourceAndFreshIds)
{
    const QList<HardwareItem> items =
        HardwareScanner().parseClassicDMIDecode(u"S\n\tVendor: A\n\tVendor: A\n");
    ASSERT_EQ(items.size(), 2);
    EXPECT_NE(items[0].id, items[1].id);
}

} // namespace
