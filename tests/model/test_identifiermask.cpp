// What counts as an identifier, how it is masked, and how the mask of one scan
// treats items and tool output. Expected texts are written out by hand.
#include "model/identifiermask.h"
#include "model/rawoutput.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QString u8(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"

struct TextCase {
    const char *input;
    const char *expected;
};

std::ostream &operator<<(std::ostream &out, const TextCase &c)
{
    return out << '"' << c.input << '"';
}

// ---- Mask format ---------------------------------------------------------------

class MaskValueTest : public testing::TestWithParam<TextCase> {};

TEST_P(MaskValueTest, HidesAllButTheLastTwoCharactersOfLongValues)
{
    EXPECT_EQ(IdentifierMask::maskValue(u8(GetParam().input)), u8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, MaskValueTest,
    testing::Values(TextCase{"", ""}, TextCase{"A", DOTS}, TextCase{"0E08", DOTS},
                    TextCase{"ABCDEFGH", DOTS},       // exactly 8: nothing kept
                    TextCase{"ABCDEFGHI", DOTS "HI"}, // 9: the last two kept
                    TextCase{"FCN0CJ03468352B", DOTS "2B"},
                    TextCase{"VMware-56 4d e2 c3", DOTS "c3"},
                    // Counted in user-perceived characters, not code units.
                    TextCase{"\xc3\x84\xc3\x96\xc3\x9c\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f\xc3\xa9",
                             DOTS}, // 8 precomposed letters
                    TextCase{"\xe4\xb8\x96\xe6\x81\x92"
                             "D80F3ABCD",
                             DOTS "CD"},                // 11, two of them CJK
                    TextCase{"abcdefge\xcc\x81", DOTS}, // 8: e + combining acute is one
                    TextCase{"abcdefghe\xcc\x81",
                             DOTS "he\xcc\x81"}, // 9: keeps h and e-acute whole
                    TextCase{"\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80"
                             "\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80\xf0\x9f\x98\x80",
                             DOTS},                                     // 8 emoji, 16 code units
                    TextCase{"1234567\xf0\x9f\x98\x80\xf0\x9f\x98\x80", // 9, two of them emoji
                             DOTS "\xf0\x9f\x98\x80\xf0\x9f\x98\x80"}));

TEST(MaskValue, IsAPureFunctionOfTheText)
{
    // Same input, same mask; different inputs that differ in their last two
    // characters stay apart.
    EXPECT_EQ(IdentifierMask::maskValue(u8("S4AEM104XY")),
              IdentifierMask::maskValue(u8("S4AEM104XY")));
    EXPECT_NE(IdentifierMask::maskValue(u8("S4AEM104XY")),
              IdentifierMask::maskValue(u8("S4AEM104XZ")));
}

// ---- Identifier keys -------------------------------------------------------------

struct KeyCase {
    const char *title;
    bool identifier;
};

std::ostream &operator<<(std::ostream &out, const KeyCase &c)
{
    return out << '"' << c.title << '"';
}

class IdentifierTitleTest : public testing::TestWithParam<KeyCase> {};

TEST_P(IdentifierTitleTest, Classifies)
{
    EXPECT_EQ(IdentifierMask::isIdentifierTitle(u8(GetParam().title)), GetParam().identifier);
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, IdentifierTitleTest,
    testing::Values(
        // The keys, in any case and with stray spaces.
        KeyCase{"Serial Number", true}, KeyCase{"serial number", true},
        KeyCase{"  SERIAL NUMBER ", true}, KeyCase{"UUID", true}, KeyCase{"Asset Tag", true},
        KeyCase{"Service Tag", true}, KeyCase{"MAC address", true}, KeyCase{"mac address", true},
        KeyCase{"Permanent address", true}, KeyCase{"serial", true}, KeyCase{"wwn", true},
        KeyCase{"eui", true}, KeyCase{"nguid", true}, KeyCase{"Chassis Serial", true},
        KeyCase{"Base Board Serial", true},
        // Keys of the fixtures and of the mac-hardware output.
        KeyCase{"DIMM Vendor Serial Number", true}, KeyCase{"SBDS Serial Number", true},
        KeyCase{"Service UUID", true}, KeyCase{"SAS Expander WWID", true},
        KeyCase{"Enclosure Serial", true}, KeyCase{"platform serial", true},
        KeyCase{"platform uuid", true}, KeyCase{"Redfish Service Hostname", true},
        KeyCase{"serial_number", true}, KeyCase{"Serial-Number", true},
        // The "device • key" titles of the mac-hardware parser.
        KeyCase{"[net: enp44s0] Realtek RTL8111 \xe2\x80\xa2 mac address", true},
        KeyCase{"[disk: nvme0n1] Samsung SSD 980 \xe2\x80\xa2 serial", true},
        KeyCase{"[disk: sda] Serial ATA disk \xe2\x80\xa2 model", false},
        KeyCase{"Serial Number \xe2\x80\xa2 vendor-id", false},
        // Model names and keys that only mention a word stay visible.
        KeyCase{"Part Number", false}, KeyCase{"SKU Number", false},
        KeyCase{"Model Part Number", false}, KeyCase{"DIMM Manufacturer Part Number", false},
        KeyCase{"Serial Port A", false}, KeyCase{"Virtual Serial Port", false},
        KeyCase{"UUID Format", false}, KeyCase{"Bus Address", false},
        KeyCase{"Physical Address", false}, KeyCase{"IPv4 Address", false}, KeyCase{"ID", false},
        KeyCase{"Signature", false}, KeyCase{"Version", false}, KeyCase{"Product Name", false},
        KeyCase{"Tag", false}, KeyCase{"Number", false}, KeyCase{"", false},
        KeyCase{" \xe2\x80\xa2 ", false}));

// ---- Patterns --------------------------------------------------------------------

class PatternTest : public testing::TestWithParam<TextCase> {};

TEST_P(PatternTest, MasksMacAddressesAndUuidsStandingAlone)
{
    const IdentifierMasker masker; // knows no values: patterns only
    EXPECT_EQ(masker.maskText(u8(GetParam().input)), u8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, PatternTest,
    testing::Values(
        TextCase{"00:1b:21:0a:5c:3e", DOTS "3e"}, TextCase{"00-1B-21-0A-5C-3E", DOTS "3E"},
        TextCase{"Aa:bB:cc:DD:ee:Ff", DOTS "Ff"},
        TextCase{"[net: eth0] Intel 8c:c6:81:2a:5b:17 adapter",
                 "[net: eth0] Intel " DOTS "17 adapter"},
        TextCase{"NIC 1: PCI device 01:00.3, MAC address 00:07:00:5C:50:00",
                 "NIC 1: PCI device 01:00.3, MAC address " DOTS "00"},
        TextCase{"MAC:00:11:22:33:44:55", "MAC:" DOTS "55"},
        TextCase{"(00:11:22:33:44:55), 66:77:88:99:aa:bb.", "(" DOTS "55), " DOTS "bb."},
        TextCase{"123e4567-e89b-12d3-a456-426614174000", DOTS "00"},
        TextCase{"4C4C4544-0042-3510-8052-B4C04F4E4E32", DOTS "32"},
        TextCase{"String 3: Complex UUID:03000200-0400-0500-0006-000700080009",
                 "String 3: Complex UUID:" DOTS "09"},
        TextCase{"{123e4567-e89b-12d3-a456-426614174000}", "{" DOTS "00}"},
        TextCase{"VMware-123e4567-e89b-12d3-a456-426614174000", "VMware-" DOTS "00"},
        // Lookalikes and longer runs stay whole.
        TextCase{"00:11:22:33:44:55:66", "00:11:22:33:44:55:66"},
        TextCase{"0000:00:11:22:33:44:55", "0000:00:11:22:33:44:55"},
        TextCase{"x00:11:22:33:44:55", "x00:11:22:33:44:55"},
        TextCase{"00:11:22:33:44:55g", "00:11:22:33:44:55g"},
        TextCase{"00:11-22:33:44:55", "00:11-22:33:44:55"},
        TextCase{"00:11:22:33:44", "00:11:22:33:44"}, TextCase{"001122334455", "001122334455"},
        TextCase{"0000:00:1f.6 at 12:30:45", "0000:00:1f.6 at 12:30:45"},
        TextCase{"ID: A9 06 03 00 FF FB EB BF", "ID: A9 06 03 00 FF FB EB BF"},
        TextCase{"123e4567-e89b-12d3-a456-4266141740001", "123e4567-e89b-12d3-a456-4266141740001"},
        TextCase{"0000-123e4567-e89b-12d3-a456-426614174000",
                 "0000-123e4567-e89b-12d3-a456-426614174000"},
        TextCase{"123e4567-e89b-12d3-a456-426614174000-01",
                 "123e4567-e89b-12d3-a456-426614174000-01"},
        TextCase{"123g4567-e89b-12d3-a456-426614174000", "123g4567-e89b-12d3-a456-426614174000"},
        TextCase{"", ""}));

// ---- Values masked wherever they occur ---------------------------------------------

struct DistinctCase {
    const char *value;
    bool distinctive;
};

std::ostream &operator<<(std::ostream &out, const DistinctCase &c)
{
    return out << '"' << c.value << '"';
}

class DistinctiveValueTest : public testing::TestWithParam<DistinctCase> {};

TEST_P(DistinctiveValueTest, Classifies)
{
    EXPECT_EQ(IdentifierMask::isDistinctiveValue(u8(GetParam().value)), GetParam().distinctive);
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, DistinctiveValueTest,
    testing::Values(DistinctCase{"336EE786", true}, DistinctCase{"S4AEM104", true},
                    DistinctCase{"ABC123", true}, DistinctCase{"9000116105", true},
                    DistinctCase{"VMware-56 4d e2 c3", true}, DistinctCase{"Battery 0", true},
                    DistinctCase{"AB123", false}, DistinctCase{"  1234 5  ", false},
                    DistinctCase{"Default string", false},
                    DistinctCase{"To Be Filled By O.E.M.", false},
                    DistinctCase{"System Serial Number", false}, DistinctCase{"00000000", false},
                    DistinctCase{"0000-0000-0000", false}, DistinctCase{"FFFFFFFFFFFF", false},
                    DistinctCase{"1.0", false}, DistinctCase{"", false}));

TEST(DistinctiveValue, NoSerialIsLongerThan128CodeUnits)
{
    const QString serial = QStringLiteral("SN") + QString(125, QLatin1Char('7')) + u'X';
    ASSERT_EQ(serial.size(), 128);
    EXPECT_TRUE(IdentifierMask::isDistinctiveValue(serial));
    EXPECT_FALSE(IdentifierMask::isDistinctiveValue(serial + u'Y'));
}

IdentifierMasker maskerOf(const QList<HardwareItem> &items, const char *raw)
{
    return IdentifierMasker(items, RawOutput(u8(raw)));
}

HardwareItem fact(const char *title, const char *value, const char *detail = "")
{
    return HardwareItem(HardwareCategory::memory, u8(title), u8(value), u8(detail),
                        QStringLiteral("dmidecode -q"));
}

TEST(IdentifierMasker, MasksAnIdentifierValueWhereverItIsRepeated)
{
    // The serial is learned from an item, the asset tag from the raw text only.
    const IdentifierMasker masker =
        maskerOf({fact("Serial Number", "336EE786")}, "\tAsset Tag: ATN-0042-XY\n");
    EXPECT_EQ(masker.knownValues(), QStringList({u8("336EE786"), u8("ATN-0042-XY")}));
    struct Case {
        const char *input;
        const char *expected;
    };
    const Case cases[] = {
        {"DSN:16KTF1G64HZ-1G6E2 336EE786", "DSN:16KTF1G64HZ-1G6E2 " DOTS},
        {"Samsung SSD (336ee786)", "Samsung SSD (" DOTS ")"}, // case ignored
        {"tag ATN-0042-XY.", "tag " DOTS "XY."},
        // Only whole words: longer serials that contain it are other serials.
        {"X336EE786 336EE7861 336EE786_", "X336EE786 336EE7861 336EE786_"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(masker.maskText(u8(c.input)), u8(c.expected)) << c.input;
    }
}

TEST(IdentifierMasker, PlaceholdersAreNotSearchedForElsewhere)
{
    const IdentifierMasker masker =
        maskerOf({fact("Serial Number", "To Be Filled By O.E.M."), fact("Asset Tag", "1.0")},
                 "\tSerial Number: Default string\n\tUUID: 00000000\n");
    EXPECT_TRUE(masker.knownValues().isEmpty());
    EXPECT_EQ(masker.maskText(u8("Version 1.0, Default string, To Be Filled By O.E.M.")),
              u8("Version 1.0, Default string, To Be Filled By O.E.M."));
}

TEST(IdentifierMasker, MasksItemsAsAViewOfTheSameItems)
{
    const QList<HardwareItem> items = {
        fact("Serial Number", "0E08", "Memory Device \xe2\x80\xa2 Handle 0x0011"),
        fact("Part Number", "HMAA51S6AMR6N-UH"),
        HardwareItem(HardwareCategory::network,
                     u8("[net: eth0] Intel 8c:c6:81:2a:5b:17 \xe2\x80\xa2 mac address"),
                     u8("8c:c6:81:2a:5b:17"), u8("Network"), u8("--mac-hardware")),
        fact("Locator", "DIMM A", "Board 336EE786"),
        fact("Serial Number", "336EE786"),
    };
    const IdentifierMasker masker(items, RawOutput());
    const QList<HardwareItem> masked = masker.maskItems(items);
    ASSERT_EQ(masked.size(), items.size());
    const char *const expected[][3] = {
        {"Serial Number", DOTS, "Memory Device \xe2\x80\xa2 Handle 0x0011"},
        {"Part Number", "HMAA51S6AMR6N-UH", ""},
        {"[net: eth0] Intel " DOTS "17 \xe2\x80\xa2 mac address", DOTS "17", "Network"},
        {"Locator", "DIMM A", "Board " DOTS},
        {"Serial Number", DOTS, ""},
    };
    for (qsizetype i = 0; i < items.size(); ++i) {
        EXPECT_EQ(masked[i].title, u8(expected[i][0])) << i;
        EXPECT_EQ(masked[i].value, u8(expected[i][1])) << i;
        EXPECT_EQ(masked[i].detail, u8(expected[i][2])) << i;
        EXPECT_EQ(masked[i].id, items[i].id);
        EXPECT_EQ(masked[i].category, items[i].category);
        EXPECT_EQ(masked[i].source, items[i].source);
    }
}

TEST(IdentifierMasker, MasksRawTextInPlaceKeepingEveryLinesShape)
{
    const char *raw = "# dmidecode 3.4\n"
                      "System Information\r\n"
                      "\tSerial Number: FCN0CJ03468352B     \n"
                      "\tSerial Number: \n"
                      "\tAsset Tag: Not Specified\r\n"
                      "\tUUID: 4c4c4544-0042-3510-8052-b4c04f4e4e32\n"
                      "\tPart Number: 16KTF1G64HZ-1G6E2 \n"
                      "\tOption 3: DSN:16KTF1G64HZ-1G6E2 FCN0CJ03468352B  \n"
                      "\tNIC 1: PCI device 01:00.3, MAC address 00:07:00:5C:50:00\n"
                      "  [net: eth0] Intel\xe2\x80\xa8"
                      "    mac address: 00:2b:67:4e:91:c0\n"
                      "\tSerial Port A: Enabled\n"
                      "Serial Number:X1\n"
                      "no colon here";
    const char *expected = "# dmidecode 3.4\n"
                           "System Information\r\n"
                           "\tSerial Number: " DOTS "2B     \n"
                           "\tSerial Number: \n"
                           "\tAsset Tag: " DOTS "ed\r\n"
                           "\tUUID: " DOTS "32\n"
                           "\tPart Number: 16KTF1G64HZ-1G6E2 \n"
                           "\tOption 3: DSN:16KTF1G64HZ-1G6E2 " DOTS "2B  \n"
                           "\tNIC 1: PCI device 01:00.3, MAC address " DOTS "00\n"
                           "  [net: eth0] Intel\xe2\x80\xa8"
                           "    mac address: " DOTS "c0\n"
                           "\tSerial Port A: Enabled\n"
                           "Serial Number:" DOTS "\n"
                           "no colon here";
    const IdentifierMasker masker = maskerOf({}, raw);
    EXPECT_EQ(masker.maskRawText(u8(raw)), u8(expected));
}

} // namespace
