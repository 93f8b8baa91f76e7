// What counts as an identifier, how it is masked, and how the mask of one scan
// treats items and tool output. Expected texts are written out by hand.
#include "model/identifiermask.h"
#include "model/rawoutput.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

QString u8(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"
#define BULLET "\xe2\x80\xa2"

using TextCase = std::pair<const char *, const char *>; // input, expected

TEST(MaskValue, HidesAllButTheLastTwoCharactersOfLongValuesOnce)
{
    const TextCase cases[] = {
        {"", ""},
        {"A", DOTS},
        {"ABCDEFGH", DOTS},       // exactly 8: nothing kept
        {"ABCDEFGHI", DOTS "HI"}, // 9: the last two kept
        // Counted in user-perceived characters, not code units.
        {"\xc3\x84\xc3\x96\xc3\x9c\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f\xc3\xa9", DOTS}, // 8 letters
        {"abcdefge\xcc\x81", DOTS},               // 8: e + combining acute is one
        {"abcdefghe\xcc\x81", DOTS "he\xcc\x81"}, // 9: keeps h and e-acute whole
        {"1234567\xf0\x9f\x98\x80\xf0\x9f\x98\x80", DOTS "\xf0\x9f\x98\x80\xf0\x9f\x98\x80"},
        // A value that is a mask already (a report saved with identifiers
        // hidden) stays: the masks of "ABCD1234EF", of the MAC address
        // 00:1a:2b:3c:4d:5e, and of a short serial.
        {DOTS "EF", DOTS "EF"},
        {DOTS "5e", DOTS "5e"},
        {DOTS, DOTS},
        {DOTS "ðð", DOTS "ðð"},
        // Fewer dots is no mask: a value that happens to start with a bullet.
        {BULLET "ABCDEFGHIJ", DOTS "IJ"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(IdentifierMask::maskValue(u8(input)), u8(expected)) << input;
    }
}

TEST(IdentifierTitle, Classifies)
{
    // The keys in any case and with stray spaces, keys of the fixtures
    // and of the mac-hardware output, and its "device • key" titles.
    const QStringList identifiers =
        u8("Serial Number|  SERIAL NUMBER |UUID|Asset Tag|Service Tag|MAC address|"
           "Permanent address|serial|wwn|eui|nguid|Chassis Serial|Base Board Serial|"
           "SBDS Serial Number|Service UUID|SAS Expander WWID|Enclosure Serial|platform uuid|"
           "Redfish Service Hostname|serial_number|Serial-Number|Bluetooth Address|"
           "[bluetooth: hci0] Intel AX201 Bluetooth " BULLET " bluetooth address|"
           "[net: enp44s0] Realtek RTL8111 " BULLET " mac address")
            .split(u'|');
    for (const QString &title : identifiers) {
        EXPECT_TRUE(IdentifierMask::isIdentifierTitle(title)) << title.toStdString();
    }
    // Model names and keys that only mention a word stay visible.
    const QStringList others =
        u8("[disk: sda] Serial ATA disk " BULLET " model|Serial Number " BULLET " vendor-id|"
           "Part Number|SKU Number|DIMM Manufacturer Part Number|Serial Port A|UUID Format|"
           "Bus Address|Physical Address|IPv4 Address|ID|Signature|Version|Tag|Number||"
           " " BULLET " ")
            .split(u'|');
    for (const QString &title : others) {
        EXPECT_FALSE(IdentifierMask::isIdentifierTitle(title)) << title.toStdString();
    }
}

TEST(Patterns, MaskMacAddressesAndUuidsStandingAlone)
{
    const IdentifierMasker masker; // knows no values: patterns only
    const TextCase cases[] = {
        {"00:1b:21:0a:5c:3e", DOTS "3e"},
        {"00-1B-21-0A-5C-3E", DOTS "3E"},
        {"Aa:bB:cc:DD:ee:Ff", DOTS "Ff"},
        {"[net: eth0] Intel 8c:c6:81:2a:5b:17 adapter", "[net: eth0] Intel " DOTS "17 adapter"},
        {"MAC:00:11:22:33:44:55", "MAC:" DOTS "55"},
        {"(00:11:22:33:44:55), 66:77:88:99:aa:bb.", "(" DOTS "55), " DOTS "bb."},
        {"4C4C4544-0042-3510-8052-B4C04F4E4E32", DOTS "32"},
        {"{123e4567-e89b-12d3-a456-426614174000}", "{" DOTS "00}"},
        {"VMware-123e4567-e89b-12d3-a456-426614174000", "VMware-" DOTS "00"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(masker.maskText(u8(input)), u8(expected)) << input;
    }
    // Lookalikes and longer runs stay whole.
    for (const char *text :
         {"00:11:22:33:44:55:66", "0000:00:11:22:33:44:55", "x00:11:22:33:44:55",
          "00:11:22:33:44:55g", "00:11-22:33:44:55", "00:11:22:33:44", "001122334455",
          "0000:00:1f.6 at 12:30:45", "ID: A9 06 03 00 FF FB EB BF",
          "123e4567-e89b-12d3-a456-4266141740001", "0000-123e4567-e89b-12d3-a456-426614174000",
          "123e4567-e89b-12d3-a456-426614174000-01", "123g4567-e89b-12d3-a456-426614174000"}) {
        EXPECT_EQ(masker.maskText(u8(text)), u8(text));
    }
}

TEST(DistinctiveValue, Classifies)
{
    for (const char *value :
         {"336EE786", "S4AEM104", "ABC123", "9000116105", "VMware-56 4d e2 c3", "Battery 0"}) {
        EXPECT_TRUE(IdentifierMask::isDistinctiveValue(u8(value))) << value;
    }
    for (const char *value :
         {"AB123", "  1234 5  ", "Default string", "To Be Filled By O.E.M.", "System Serial Number",
          "00000000", "0000-0000-0000", "FFFFFFFFFFFF", "1.0", ""}) {
        EXPECT_FALSE(IdentifierMask::isDistinctiveValue(u8(value))) << value;
    }
    // No serial is longer than 128 code units.
    const QString serial = QStringLiteral("SN") + QString(125, QLatin1Char('7')) + u'X';
    EXPECT_TRUE(IdentifierMask::isDistinctiveValue(serial));
    EXPECT_FALSE(IdentifierMask::isDistinctiveValue(serial + u'Y'));
}

HardwareItem fact(const char *title, const char *value, const char *detail = "")
{
    return HardwareItem(HardwareCategory::memory, u8(title), u8(value), u8(detail),
                        QStringLiteral("dmidecode -q"));
}

TEST(IdentifierMasker, MasksAnIdentifierValueWhereverItIsRepeated)
{
    // The serial is learned from an item, the asset tag from the raw text only.
    const IdentifierMasker masker({fact("Serial Number", "336EE786")},
                                  RawOutput(u8("\tAsset Tag: ATN-0042-XY\n")));
    EXPECT_EQ(masker.knownValues(), QStringList({u8("336EE786"), u8("ATN-0042-XY")}));
    const TextCase cases[] = {
        {"DSN:16KTF1G64HZ-1G6E2 336EE786", "DSN:16KTF1G64HZ-1G6E2 " DOTS},
        {"Samsung SSD (336ee786)", "Samsung SSD (" DOTS ")"}, // case ignored
        {"tag ATN-0042-XY.", "tag " DOTS "XY."},
        // Only whole words: longer serials that contain it are other serials.
        {"X336EE786 336EE7861 336EE786_", "X336EE786 336EE7861 336EE786_"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(masker.maskText(u8(input)), u8(expected)) << input;
    }
    // Placeholders are not searched for elsewhere.
    const IdentifierMasker placeholders(
        {fact("Serial Number", "To Be Filled By O.E.M."), fact("Asset Tag", "1.0")},
        RawOutput(u8("\tSerial Number: Default string\n\tUUID: 00000000\n")));
    EXPECT_TRUE(placeholders.knownValues().isEmpty());
    const QString text = u8("Version 1.0, Default string, To Be Filled By O.E.M.");
    EXPECT_EQ(placeholders.maskText(text), text);
}

TEST(IdentifierMasker, MasksRawTextInPlaceKeepingEveryLinesShape)
{
    const TextCase lines[] = {
        {"# dmidecode 3.4\n", "# dmidecode 3.4\n"},
        {"System Information\r\n", "System Information\r\n"},
        {"\tSerial Number: FCN0CJ03468352B     \n", "\tSerial Number: " DOTS "2B     \n"},
        {"\tSerial Number: \n", "\tSerial Number: \n"},
        {"\tAsset Tag: Not Specified\r\n", "\tAsset Tag: " DOTS "ed\r\n"},
        {"\tUUID: 4c4c4544-0042-3510-8052-b4c04f4e4e32\n", "\tUUID: " DOTS "32\n"},
        {"\tPart Number: 16KTF1G64HZ-1G6E2 \n", "\tPart Number: 16KTF1G64HZ-1G6E2 \n"},
        {"\tOption 3: DSN:16KTF1G64HZ-1G6E2 FCN0CJ03468352B  \n",
         "\tOption 3: DSN:16KTF1G64HZ-1G6E2 " DOTS "2B  \n"},
        {"\tNIC 1: PCI device 01:00.3, MAC address 00:07:00:5C:50:00\n",
         "\tNIC 1: PCI device 01:00.3, MAC address " DOTS "00\n"},
        {"  [net: eth0] Intel\xe2\x80\xa8    mac address: 00:2b:67:4e:91:c0\n",
         "  [net: eth0] Intel\xe2\x80\xa8    mac address: " DOTS "c0\n"},
        {"\tSerial Port A: Enabled\n", "\tSerial Port A: Enabled\n"},
        {"Serial Number:X1\n", "Serial Number:" DOTS "\n"},
        {"no colon here", "no colon here"},
    };
    QString raw;
    QString expected;
    for (const auto &[line, maskedLine] : lines) {
        raw += u8(line);
        expected += u8(maskedLine);
    }
    EXPECT_EQ(IdentifierMasker({}, RawOutput(raw)).maskRawText(raw), expected);
}

} // namespace
