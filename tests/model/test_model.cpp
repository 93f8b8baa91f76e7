// The model's data types (categories, items, the framed raw output), its text
// services, and the identifier mask. Expected texts are written out by hand.
#include "model/hardwarecategory.h"
#include "model/hardwareitem.h"
#include "model/identifiermask.h"
#include "model/rawoutput.h"
#include "model/textservices.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// "a|b|c" as a list.
QStringList list(const char *utf8)
{
    return q(utf8).split(u'|');
}

// The titles themselves are pinned by the command line's digests.
TEST(HardwareCategory, TitlesReadBackExactly)
{
    for (const HardwareCategory category : allCategories)
        EXPECT_EQ(categoryFromRawValue(rawValue(category)), category);
    for (const char *title : {"other", "Raw", "BIOS ", ""})
        EXPECT_FALSE(categoryFromRawValue(q(title)).has_value()) << title;
}

TEST(HardwareItem, EveryConstructionDrawsAFreshVersion4Id)
{
    QSet<QUuid> ids;
    for (int i = 0; i < 2000; ++i)
        ids.insert(HardwareItem(HardwareCategory::cpu, q("T"), q("V"), QString(), q("S")).id);
    EXPECT_EQ(ids.size(), 2000);
    EXPECT_EQ(ids.begin()->version(), QUuid::Random);
}

TEST(RawOutput, FramesRunsLikeTheScan)
{
    struct Case {
        const char *verbatim;
        std::vector<std::pair<const char *, QString>> runs; // header, output
        QString expected;
    };
    const QString loneHigh(QChar(0xD83D));
    const std::vector<Case> cases = {
        {"", {}, QString()},
        {"", {{"h", QString()}}, q("===== h =====\n\n")},
        // Blocks are separated by one more line feed.
        {"", {{"A", q("x")}, {"B", q("y\n")}}, q("===== A =====\nx\n\n===== B =====\ny\n\n")},
        {"raw", {{"h", q("x")}}, q("raw\n===== h =====\nx\n")},
        {"", {{"h", q("a") + loneHigh}}, q("===== h =====\na") + loneHigh + q("\n")},
    };
    for (const Case &c : cases) {
        RawOutput raw(q(c.verbatim));
        for (const auto &[header, output] : c.runs)
            raw.appendRun(q(header), output);
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(raw.text(), c.expected);
        EXPECT_EQ(raw.isEmpty(), c.expected.isEmpty());
        EXPECT_TRUE(raw == c.expected);
        EXPECT_TRUE(c.expected.isEmpty() || !(raw == QStringView(c.expected).chopped(1)));
    }
}

QStringList lines(const QString &text)
{
    QStringList result;
    for (QStringView line : Text::splitLines(text))
        result.append(line.toString());
    return result;
}

TEST(TextServices, SplitsAtEveryNewlineClassCharacter)
{
    EXPECT_EQ(lines(q("")), QStringList({QString()}));
    EXPECT_EQ(lines(q("a\r\nb\n")), list("a||b|")); // CR LF is two breaks
    // Every line break and some lookalikes (U+2027, U+00A0 are none), at every
    // place of a text long enough for the search that reads several code units at a time.
    const char16_t separators[] = {u'\n', u'\v', u'\f', u'\r', 0x85, 0x2028, 0x2029};
    const char16_t others[] = {u'\t', 0x0E, 0x00, 0x84, 0x86, 0xA0, 0x2027, 0xFFFF};
    const QString base(21, QLatin1Char('a'));
    for (qsizetype at = 0; at < base.size(); ++at) {
        QString text = base;
        for (char16_t c : separators) {
            text[at] = QChar(c);
            EXPECT_EQ(lines(text), QStringList({base.left(at), base.mid(at + 1)}))
                << "U+" << std::hex << int(c) << " at " << std::dec << at;
        }
        for (char16_t c : others) {
            text[at] = QChar(c);
            EXPECT_EQ(lines(text), QStringList({text})) << "U+" << std::hex << int(c);
        }
    }
}

TEST(TextServices, TrimsAndCountsCharacters)
{
    const std::pair<const char *, const char *> trims[] = {
        {"\u00a0\u3000\u2028x y\u2029\u0085\u2009", "x y"},
        // Zero-width space and the byte order mark are not white space.
        {"\u200bx\ufeff", "\u200bx\ufeff"},
        {"   ", ""},
    };
    for (const auto &[text, expected] : trims) {
        EXPECT_EQ(Text::trimmed(q(text)).toString(), q(expected)) << text;
    }
    // A flag (two regional indicators) counts one, counting stops at the limit;
    // one combining mark or one emoji alone: Cleaner.KeepsOrDropsValues.
    const std::pair<const char *, qsizetype> counts[] = {
        {"", 0}, {"\U0001F1E9\U0001F1EA", 1}, {"\r\n", 1}, {"e\u0301x", 2}, {"abcdef", 2}};
    for (const auto &[text, expected] : counts) {
        EXPECT_EQ(Text::graphemeCountUpTo(q(text), 2), expected) << text;
    }
}

TEST(TextServices, StrictUtf8Decoding)
{
    bool valid = false;
    EXPECT_EQ(Text::decodeUtf8Strict(QByteArray("\xc3\xa9\0", 3), &valid), q("é") + QChar(u'\0'));
    EXPECT_TRUE(valid);
    for (const QByteArray &bad : {QByteArray("abc\xff"), QByteArray("\xc3"),
                                  QByteArray("\xed\xa0\x80"), QByteArray("\xc0\xaf")}) {
        EXPECT_EQ(Text::decodeUtf8Strict(bad, &valid), QString());
        EXPECT_FALSE(valid) << bad.toHex().toStdString();
    }
    EXPECT_EQ(Text::decodeUtf8Strict(QByteArray(), &valid), QString());
    EXPECT_TRUE(valid);
}

TEST(TextServices, StandardComparisonOrdersLikeAFileBrowser)
{
    const Text::StandardComparator comparator;
    // Each list is in ascending order.
    for (const char *order : {"Slot 2|Slot 10", "DIMM A|dimm b|DIMM C"}) {
        const QStringList titles = list(order);
        for (qsizetype i = 0; i + 1 < titles.size(); ++i) {
            EXPECT_LT(comparator.compare(titles[i], titles[i + 1]), 0) << order << " at " << i;
        }
    }
    // A total order (case and leading zeros decide last): only equal strings
    // compare equal, so every sort gives one order.
    const QStringList near = list("size|Size|ｓｉｚｅ|size |s 1|s 01");
    for (const QString &a : near) {
        for (const QString &b : near) {
            const int ab = comparator.compare(a, b);
            EXPECT_EQ(ab == 0, a == b);
            EXPECT_EQ(ab<0, comparator.compare(b, a)> 0);
        }
    }
    EXPECT_NE(Text::collationLocale().language(), QLocale::C);
}

// Five U+2022 in UTF-8.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"
#define BULLET "\xe2\x80\xa2"

using TextCase = std::pair<const char *, const char *>; // input, expected

TEST(MaskValue, HidesAllButTheLastTwoCharactersOfLongValuesOnce)
{
    const TextCase cases[] = {
        {"", ""},
        {"ABCDEFGH", DOTS},       // exactly 8: nothing kept
        {"ABCDEFGHI", DOTS "HI"}, // 9: the last two kept
        // Counted in user-perceived characters, not code units.
        {"abcdefge\xcc\x81", DOTS},               // 8: e + combining acute is one
        {"abcdefghe\xcc\x81", DOTS "he\xcc\x81"}, // 9: keeps h and e-acute whole
        {"1234567\xf0\x9f\x98\x80\xf0\x9f\x98\x80", DOTS "\xf0\x9f\x98\x80\xf0\x9f\x98\x80"},
        // A mask already (a report saved with identifiers hidden) stays.
        {DOTS "EF", DOTS "EF"},
        // Fewer dots is no mask: a value that happens to start with a bullet.
        {BULLET "ABCDEFGHIJ", DOTS "IJ"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(IdentifierMask::maskValue(q(input)), q(expected)) << input;
    }
}

TEST(IdentifierTitle, Classifies)
{
    // The last word, or the last two, in any case, spacing and word joint;
    // of a "device • key" title only the key counts.
    for (const char *title : {"  SERIAL NUMBER ", "UUID", "Asset Tag", "serial_number",
                              "Serial-Number", "[net: enp44s0] Realtek " BULLET " mac address"}) {
        EXPECT_TRUE(IdentifierMask::isIdentifierTitle(q(title))) << title;
    }
    // Model names and keys that only mention a word stay visible.
    for (const char *title : {"[disk: sda] Serial ATA disk " BULLET " model",
                              "Serial Number " BULLET " vendor-id", "Part Number", "Serial Port A",
                              "UUID Format", "Physical Address", "Tag", "", " " BULLET " "}) {
        EXPECT_FALSE(IdentifierMask::isIdentifierTitle(q(title))) << title;
    }
}

TEST(Patterns, MaskMacAddressesAndUuidsStandingAlone)
{
    const IdentifierMasker masker; // knows no values: patterns only
    const TextCase cases[] = {
        {"00-1B-21-0A-5C-3E", DOTS "3E"},
        {"MAC:00:11:22:33:44:55", "MAC:" DOTS "55"},
        {"(00:11:22:33:44:55), 66:77:88:99:aa:bb.", "(" DOTS "55), " DOTS "bb."},
        {"4C4C4544-0042-3510-8052-B4C04F4E4E32", DOTS "32"},
        {"VMware-123e4567-e89b-12d3-a456-426614174000", "VMware-" DOTS "00"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(masker.maskText(q(input)), q(expected)) << input;
    }
    // Lookalikes and longer runs stay whole.
    for (const char *text : {"00:11:22:33:44:55:66", "0000:00:11:22:33:44:55", "00:11:22:33:44:55g",
                             "00:11-22:33:44:55", "123e4567-e89b-12d3-a456-4266141740001",
                             "0000-123e4567-e89b-12d3-a456-426614174000"}) {
        EXPECT_EQ(masker.maskText(q(text)), q(text));
    }
}

TEST(DistinctiveValue, Classifies)
{
    for (const char *value : {"336EE786", "ABC123", "VMware-56 4d e2 c3"}) {
        EXPECT_TRUE(IdentifierMask::isDistinctiveValue(q(value))) << value;
    }
    for (const char *value : {"AB123", "  1234 5  ", "Default string", "0000-0000-0000", ""}) {
        EXPECT_FALSE(IdentifierMask::isDistinctiveValue(q(value))) << value;
    }
    // No serial is longer than 128 code units.
    const QString serial = QStringLiteral("SN") + QString(125, QLatin1Char('7')) + u'X';
    EXPECT_TRUE(IdentifierMask::isDistinctiveValue(serial));
    EXPECT_FALSE(IdentifierMask::isDistinctiveValue(serial + u'Y'));
}

HardwareItem fact(const char *title, const char *value, const char *detail = "")
{
    return HardwareItem(HardwareCategory::memory, q(title), q(value), q(detail),
                        QStringLiteral("dmidecode -q"));
}

TEST(IdentifierMasker, MasksAnIdentifierValueWhereverItIsRepeated)
{
    // The serial is learned from an item, the asset tag from the raw text only.
    const IdentifierMasker masker({fact("Serial Number", "336EE786")},
                                  RawOutput(q("\tAsset Tag: ATN-0042-XY\n")));
    EXPECT_EQ(masker.knownValues(), QStringList({q("336EE786"), q("ATN-0042-XY")}));
    const TextCase cases[] = {
        {"DSN:16KTF1G64HZ-1G6E2 336EE786", "DSN:16KTF1G64HZ-1G6E2 " DOTS},
        {"Samsung SSD (336ee786)", "Samsung SSD (" DOTS ")"}, // case ignored
        {"tag ATN-0042-XY.", "tag " DOTS "XY."},
        // Only whole words: longer serials that contain it are other serials.
        {"X336EE786 336EE7861 336EE786_", "X336EE786 336EE7861 336EE786_"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(masker.maskText(q(input)), q(expected)) << input;
    }
    // Which values are distinctive is DistinctiveValue's; here the masker asks.
    const IdentifierMasker placeholders({fact("Serial Number", "To Be Filled By O.E.M.")},
                                        RawOutput(q("\tSerial Number: Default string\n")));
    EXPECT_TRUE(placeholders.knownValues().isEmpty());
}

TEST(IdentifierMasker, MasksRawTextInPlaceKeepingEveryLinesShape)
{
    const TextCase lines[] = {
        {"\tSerial Number: FCN0CJ03468352B     \n", "\tSerial Number: " DOTS "2B     \n"},
        {"\tSerial Number: \n", "\tSerial Number: \n"},
        {"\tAsset Tag: Not Specified\r\n", "\tAsset Tag: " DOTS "ed\r\n"},
        {"\tOption 3: DSN:16KTF1G64HZ-1G6E2 FCN0CJ03468352B  \n",
         "\tOption 3: DSN:16KTF1G64HZ-1G6E2 " DOTS "2B  \n"},
        {"  [net: eth0] Intel\xe2\x80\xa8    mac address: 00:2b:67:4e:91:c0\n",
         "  [net: eth0] Intel\xe2\x80\xa8    mac address: " DOTS "c0\n"},
        {"Serial Number:X1\n", "Serial Number:" DOTS "\n"},
        {"no colon", "no colon"},
    };
    QString raw;
    QString expected;
    for (const auto &[line, maskedLine] : lines) {
        raw += q(line);
        expected += q(maskedLine);
    }
    EXPECT_EQ(IdentifierMasker({}, RawOutput(raw)).maskRawText(raw), expected);
}

} // namespace
