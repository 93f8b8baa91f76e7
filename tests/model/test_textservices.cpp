#include "model/textservices.h"

#include <QStringList>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

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
    struct Case {
        QString text;
        QStringList expected;
    };
    const Case cases[] = {
        {QString(), {QString()}},
        {QStringLiteral("a"), {QStringLiteral("a")}},
        {QStringLiteral("a\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\r\nb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("a\rb\n"), {QStringLiteral("a"), QStringLiteral("b"), QString()}},
        {QStringLiteral("a\u2028b\u2029c\u0085d\vE\fF"),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"),
          QStringLiteral("E"), QStringLiteral("F")}},
        {QStringLiteral("\n\n"), {QString(), QString(), QString()}},
        // U+2027 and U+00A0 are not line breaks.
        {QStringLiteral("a\u2027b\u00a0c"), {QStringLiteral("a\u2027b\u00a0c")}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(lines(c.text), c.expected) << c.text.toStdString();
    }
}

TEST(TextServices, FindsLineEndsAtEveryPlaceOfALongText)
{
    // Long enough for the search that looks at several code units at a time,
    // with the character tried at every place.
    const char16_t separators[] = {u'\n', u'\v', u'\f', u'\r', 0x85, 0x2028, 0x2029};
    const char16_t others[] = {u'\t', 0x0E, 0x00, 0x84, 0x86, 0xA0, 0x2027, 0xFFFF};
    const QString base(21, QLatin1Char('a'));
    for (qsizetype at = 0; at < base.size(); ++at) {
        for (char16_t c : separators) {
            QString text = base;
            text[at] = QChar(c);
            EXPECT_EQ(lines(text), QStringList({base.left(at), base.mid(at + 1)}))
                << "U+" << std::hex << int(c) << " at " << std::dec << at;
        }
        for (char16_t c : others) {
            QString text = base;
            text[at] = QChar(c);
            EXPECT_EQ(lines(text), QStringList({text})) << "U+" << std::hex << int(c);
        }
    }
}

TEST(TextServices, TrimsTheWhitespaceAndNewlineClass)
{
    struct Case {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("\t x \n"), QStringLiteral("x")},
        {QStringLiteral("\u00a0\u3000\u2028x y\u2029\u0085\u2009"), QStringLiteral("x y")},
        // Zero-width space and the byte order mark are not white space.
        {QStringLiteral("\u200bx\ufeff"), QStringLiteral("\u200bx\ufeff")},
        {QStringLiteral("   "), QString()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Text::trimmed(c.text).toString(), c.expected);
    }
}

TEST(TextServices, CountsUserPerceivedCharacters)
{
    struct Case {
        QString text;
        qsizetype expected;
    };
    const Case cases[] = {
        {QString(), 0},
        {QStringLiteral("a"), 1},
        {QStringLiteral("ab"), 2},
        {QStringLiteral("e\u0301"), 1},              // e + combining acute
        {QStringLiteral("\U0001F600"), 1},           // surrogate pair
        {QStringLiteral("\U0001F1E9\U0001F1EA"), 1}, // regional indicator pair (flag)
        {QStringLiteral("\r\n"), 1},
        {QStringLiteral("e\u0301x"), 2},
        {QStringLiteral("abcdef"), 2}, // counting stops at the limit
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Text::graphemeCountUpTo(c.text, 2), c.expected) << c.text.toStdString();
    }
}

TEST(TextServices, StrictUtf8Decoding)
{
    bool valid = false;
    EXPECT_EQ(Text::decodeUtf8Strict("h\xc3\xa9", &valid), QStringLiteral("hé"));
    EXPECT_TRUE(valid);
    EXPECT_EQ(Text::decodeUtf8Strict(QByteArray("a\0b", 3), &valid),
              QString(QStringLiteral("a")) + QChar(u'\0') + QStringLiteral("b"));
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
    // Each list is in the expected ascending order.
    const QStringList orders[] = {
        {QStringLiteral("Slot 1"), QStringLiteral("Slot 2"), QStringLiteral("Slot 10"),
         QStringLiteral("Slot 100")},
        {QStringLiteral("eth2"), QStringLiteral("eth9"), QStringLiteral("eth10")},
        {QStringLiteral("apple"), QStringLiteral("Banana"), QStringLiteral("cherry")},
        {QStringLiteral("DIMM A"), QStringLiteral("dimm b"), QStringLiteral("DIMM C")},
    };
    const Text::StandardComparator comparator;
    for (const QStringList &order : orders) {
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            EXPECT_LT(comparator.compare(order[i], order[i + 1]), 0)
                << order[i].toStdString() << " vs " << order[i + 1].toStdString();
            EXPECT_GT(comparator.compare(order[i + 1], order[i]), 0);
        }
    }
}

TEST(TextServices, StandardComparisonIsATotalOrder)
{
    const Text::StandardComparator comparator;
    const QStringList near = {QStringLiteral("size"), QStringLiteral("Size"),
                              QStringLiteral("SIZE"), QStringLiteral("ｓｉｚｅ"),
                              QStringLiteral("size ")};
    for (const QString &a : near) {
        for (const QString &b : near) {
            const int ab = comparator.compare(a, b);
            EXPECT_EQ(ab == 0, a == b);
            EXPECT_EQ(ab<0, comparator.compare(b, a)> 0);
        }
    }
}

TEST(TextServices, RanksAgreeWithTheComparison)
{
    const QStringList titles = {QStringLiteral("Slot 10"), QStringLiteral("slot 2"),
                                QStringLiteral("Slot 2"),  QStringLiteral("Asset Tag"),
                                QStringLiteral("Slot 10"), QStringLiteral("Bank Locator")};
    const Text::StandardComparator comparator;
    const QHash<QString, int> ranks = comparator.ranks(titles);
    EXPECT_EQ(ranks.size(), 5);
    EXPECT_LT(ranks[QStringLiteral("Asset Tag")], ranks[QStringLiteral("Bank Locator")]);
    EXPECT_LT(ranks[QStringLiteral("Bank Locator")], ranks[QStringLiteral("Slot 2")]);
    EXPECT_LT(ranks[QStringLiteral("Slot 2")], ranks[QStringLiteral("Slot 10")]);
    EXPECT_LT(ranks[QStringLiteral("slot 2")], ranks[QStringLiteral("Slot 10")]);
    EXPECT_NE(ranks[QStringLiteral("slot 2")], ranks[QStringLiteral("Slot 2")]);
}

TEST(TextServices, ArenaStringsAreCompleteAndOutliveTheArena)
{
    struct Row {
        QString first;
        QString second;
        QString third;
    };
    // Sizes around a block's: empty, short, many short ones, larger than a block.
    std::vector<Row> rows = {
        {QString(), {}, {}},
        {QStringLiteral("a"), {}, {}},
        {QStringLiteral("[pci] GPU"), QStringLiteral(" \u2022 "), QStringLiteral("vendor-id")},
        {QString(40000, QLatin1Char('x')), QStringLiteral("y"), {}}};
    for (int i = 0; i < 5000; ++i) {
        rows.push_back(
            {QString::number(i), QStringLiteral(" "), QString(i % 13, QLatin1Char('z'))});
    }
    QStringList made;
    {
        Text::StringArena arena;
        for (const Row &row : rows) {
            made.append(arena.add(row.first, row.second, row.third));
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString &text = made[static_cast<qsizetype>(i)];
        EXPECT_EQ(text, rows[i].first + rows[i].second + rows[i].third) << i;
        EXPECT_EQ(text.utf16()[text.size()], 0) << i;
    }
    // A string of the arena changes on its own: its neighbours keep their text.
    made[4] += QLatin1Char('!');
    EXPECT_EQ(made[4], QStringLiteral("0 !"));
    EXPECT_EQ(made[5], QStringLiteral("1 z"));
}

TEST(TextServices, CollationLocaleAvoidsTheCLocale)
{
    EXPECT_NE(Text::collationLocale().language(), QLocale::C);
}

} // namespace
