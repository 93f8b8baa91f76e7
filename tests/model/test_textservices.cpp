#include "model/textservices.h"

#include <QStringList>

#include <gtest/gtest.h>

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

QStringList lines(const QString &text)
{
    QStringList result;
    for (QStringView line : Text::splitLines(text)) {
        result.append(line.toString());
    }
    return result;
}

TEST(TextServices, SplitsAtEveryNewlineClassCharacter)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", ""}, {"a\nb", "a|b"}, {"a\r\nb", "a||b"}, {"a\rb\n", "a|b|"}, {"\n\n", "||"},
    };
    for (const auto &[text, expected] : cases) {
        EXPECT_EQ(lines(q(text)), list(expected)) << text;
    }
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
        {"\t x \n", "x"},
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
        {"", 0},     {"a", 1},        {"\U0001F1E9\U0001F1EA", 1},
        {"\r\n", 1}, {"e\u0301x", 2}, {"abcdef", 2}};
    for (const auto &[text, expected] : counts) {
        EXPECT_EQ(Text::graphemeCountUpTo(q(text), 2), expected) << text;
    }
}

TEST(TextServices, StrictUtf8Decoding)
{
    bool valid = false;
    EXPECT_EQ(Text::decodeUtf8Strict("h\xc3\xa9", &valid), q("hé"));
    EXPECT_TRUE(valid);
    EXPECT_EQ(Text::decodeUtf8Strict(QByteArray("a\0b", 3), &valid),
              q("a") + QChar(u'\0') + q("b"));
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
    for (const char *order : {"Slot 1|Slot 2|Slot 10|Slot 100", "eth2|eth9|eth10",
                              "apple|Banana|cherry", "DIMM A|dimm b|DIMM C"}) {
        const QStringList titles = list(order);
        for (qsizetype i = 0; i + 1 < titles.size(); ++i) {
            EXPECT_LT(comparator.compare(titles[i], titles[i + 1]), 0) << order << " at " << i;
            EXPECT_GT(comparator.compare(titles[i + 1], titles[i]), 0) << order << " at " << i;
        }
    }
    // A total order (case and leading zeros decide last): only equal strings
    // compare equal, so every sort gives one order.
    const QStringList near = list("size|Size|SIZE|ｓｉｚｅ|size |s 1|s 01|s 001");
    for (const QString &a : near) {
        for (const QString &b : near) {
            const int ab = comparator.compare(a, b);
            EXPECT_EQ(ab == 0, a == b);
            EXPECT_EQ(ab<0, comparator.compare(b, a)> 0);
        }
    }
    EXPECT_NE(Text::collationLocale().language(), QLocale::C);
}

} // namespace
