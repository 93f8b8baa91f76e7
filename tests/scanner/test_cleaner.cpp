#include "itemtesthelpers.h"
#include "scanner/summarybuilder.h"
#include "scanneritemhelpers.h"

#include <gtest/gtest.h>

namespace {

using enum HardwareCategory;

HardwareItem item(HardwareCategory category, const char *title, const char *value,
                  const char *detail = "D", const char *source = "S")
{
    return HardwareItem(category, q(title), q(value), q(detail), q(source));
}

QList<HardwareItem> cleanValue(const QString &value)
{
    return cleanAndDeduplicate({HardwareItem(cpu, q("T"), value, q("D"), q("S"))});
}

TEST(Cleaner, KeepsOrDropsValues)
{
    const QString nul(QChar(u'\0'));
    // Placeholders in any case and spacing, one user-perceived character,
    // all zeros or all F, nothing.
    const QStringList dropped =
        q("Not Specified|  not specified\t|NOT SPECIFIED|0|x|   |-|00|0X00|x0x0|Chassis|Base Board|"
          "O.E.M.|00000000-0000-0000-0000-000000000000|FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF|"
          "FFFFFFFFFFFF|e\xcc\x81|\xf0\x9f\x98\x80")
            .split(u'|');
    for (const QString &value : dropped) {
        EXPECT_TRUE(cleanValue(value).isEmpty()) << value.toStdString();
    }
    EXPECT_TRUE(cleanValue(q("N") + nul).isEmpty());
    const std::pair<QString, const char *> kept[] = {
        {q("Not Specified Yet"), "Not Specified Yet"},
        {q("  Intel\tCore   i7 "), "Intel Core  i7"},
        {q("a    b"), "a  b"},
        {q("a\t\tb"), "a b"},
        {q("0x1F"), "0x1F"},
        {q("10"), "10"},
        {q("--"), "--"},
        {q("Unknown device"), "Unknown device"},
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
    const QList<HardwareItem> out = cleanAndDeduplicate({input, item(cpu, " \u2028", "Core")});
    ASSERT_EQ(out.size(), 1);
    EXPECT_NE(out[0].id, input.id);
    EXPECT_EQ(texts(out)[0], (ItemText{usb, q("Family"), q("Hub"), q(" detail "), q("src")}));
}

TEST(Cleaner, DeduplicatesOnCategoryTitleValueAndDetail)
{
    const auto out = texts(cleanAndDeduplicate({
        item(memory, "Size", "8 GB", "DIMM 0", "dmidecode -q"),
        item(memory, "SIZE", "8 gb", "DIMM 0", "--mac-hardware"),
        item(memory, "Size", "8 GB", "dimm 0"),
        item(memory, "Size", "8 GB", "DIMM 1"),
        item(memory, "Size", "8  GB", "DIMM 1"),
        item(cpu, "Size", "8 GB", "DIMM 1"),
    }));
    const std::vector<ItemText> expected = {
        {cpu, q("Size"), q("8 GB"), q("DIMM 1"), q("S")},
        {memory, q("Size"), q("8 GB"), q("DIMM 0"), q("dmidecode -q")},
        {memory, q("Size"), q("8 GB"), q("DIMM 1"), q("S")},
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

} // namespace
