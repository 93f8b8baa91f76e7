#include "itemtesthelpers.h"
#include "scanner/cleaner.h"
#include "scanner/hardwarescanner.h"

#include <gtest/gtest.h>

namespace {

HardwareItem item(HardwareCategory category, const char *title, const char *value,
                  const char *detail = "D", const char *source = "S")
{
    return HardwareItem(category, q(title), q(value), q(detail), q(source));
}

QList<HardwareItem> clean(const QList<HardwareItem> &items)
{
    return HardwareScanner().cleanAndDeduplicate(items);
}

TEST(Cleaner, BadValuesTableHas16Entries)
{
    EXPECT_EQ(HardwareScanner().badValues().size(), 16);
}

TEST(Cleaner, KeepsOrDropsValues)
{
    struct Case {
        QString value;
        const char *kept; // nullptr: dropped
    };
    const QString nul(QChar(u'\0'));
    const Case cases[] = {
        {q("Not Specified"), nullptr},
        {q("  not specified\t"), nullptr},
        {q("NOT SPECIFIED"), nullptr},
        {q("Not Specified Yet"), "Not Specified Yet"},
        {q("  Intel\tCore   i7 "), "Intel Core  i7"},
        {q("a    b"), "a  b"},
        {q("a\t\tb"), "a b"},
        {q("0"), nullptr},
        {q("x"), nullptr},
        {q(""), nullptr},
        {q("   "), nullptr},
        {q("-"), nullptr},
        {q("00"), nullptr},
        {q("0X00"), nullptr},
        {q("x0x0"), nullptr},
        {q("0x1F"), "0x1F"},
        {q("10"), "10"},
        {q("--"), "--"},
        {q("00000000-0000-0000-0000-000000000000"), nullptr},
        {q("FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"), nullptr},
        {q("FFFFFFFFFFFF"), nullptr},
        {q("To Be Filled By O.E.M."), nullptr},
        {q("Default string"), nullptr},
        {q("System Product Name"), nullptr},
        {q("Chassis"), nullptr},
        {q("Base Board"), nullptr},
        {q("O.E.M."), nullptr},
        {q("None"), nullptr},
        {q("Unknown"), nullptr},
        {q("Unknown device"), "Unknown device"},
        {q("e\xcc\x81"), nullptr},        // one user-perceived character
        {q("\xf0\x9f\x98\x80"), nullptr}, // one emoji (surrogate pair)
        {q("e\xcc\x81\xcc\x81x"), "e\xcc\x81\xcc\x81x"},
        {q("N") + nul, nullptr},
        {q("A") + nul + q("B"), "AB"},
        {q("\xc2\xa0 ab \xe3\x80\x80"), "ab"}, // non-breaking and ideographic spaces trimmed
    };
    for (const Case &c : cases) {
        const QList<HardwareItem> out =
            clean({HardwareItem(HardwareCategory::cpu, q("T"), c.value, q("D"), q("S"))});
        if (c.kept == nullptr) {
            EXPECT_TRUE(out.isEmpty()) << c.value.toStdString();
        } else {
            ASSERT_EQ(out.size(), 1) << c.value.toStdString();
            EXPECT_EQ(out[0].value, q(c.kept)) << c.value.toStdString();
        }
    }
}

TEST(Cleaner, TitlesAreTrimmedAndEmptyTitlesDropped)
{
    const auto out = texts(clean({item(HardwareCategory::cpu, "  Family \t", "Core"),
                                  item(HardwareCategory::cpu, " \u2028", "Core")}));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].title, q("Family"));
}

TEST(Cleaner, DeduplicatesOnCategoryTitleValueAndDetail)
{
    const auto out = texts(clean({
        item(HardwareCategory::memory, "Size", "8 GB", "DIMM 0", "dmidecode -q"),
        item(HardwareCategory::memory, "SIZE", "8 gb", "DIMM 0", "--mac-hardware"),
        item(HardwareCategory::memory, "Size", "8 GB", "dimm 0"),
        item(HardwareCategory::memory, "Size", "8 GB", "DIMM 1"),
        item(HardwareCategory::memory, "Size", "8  GB", "DIMM 1"),
        item(HardwareCategory::cpu, "Size", "8 GB", "DIMM 1"),
    }));
    const std::vector<ItemText> expected = {
        {HardwareCategory::cpu, q("Size"), q("8 GB"), q("DIMM 1"), q("S")},
        {HardwareCategory::memory, q("Size"), q("8 GB"), q("DIMM 0"), q("dmidecode -q")},
        {HardwareCategory::memory, q("Size"), q("8 GB"), q("DIMM 1"), q("S")},
    };
    EXPECT_EQ(out, expected);
}

TEST(Cleaner, SortsByCategoryThenTitleStably)
{
    const auto out = texts(clean({
        item(HardwareCategory::raw, "A", "v1"),
        item(HardwareCategory::gpu, "Model", "v2"),
        item(HardwareCategory::firmware, "Z", "v3"),
        item(HardwareCategory::cpu, "Version", "v4"),
        item(HardwareCategory::memory, "Size", "first", "DIMM 0"),
        item(HardwareCategory::memory, "Locator", "v5"),
        item(HardwareCategory::memory, "Size", "second", "DIMM 1"),
        item(HardwareCategory::memory, "Slot 10", "v6"),
        item(HardwareCategory::memory, "slot 2", "v7"),
        item(HardwareCategory::memory, "Size", "third", "DIMM 2"),
        item(HardwareCategory::cpu, "core count", "v8"),
    }));
    std::vector<QString> order;
    for (const ItemText &t : out) {
        order.push_back(t.title + QLatin1Char('=') + t.value);
    }
    const std::vector<QString> expected = {
        q("core count=v8"), q("Version=v4"), q("Locator=v5"), q("Size=first"),
        q("Size=second"),   q("Size=third"), q("slot 2=v7"),  q("Slot 10=v6"),
        q("Model=v2"),      q("Z=v3"),       q("A=v1"),
    };
    EXPECT_EQ(order, expected);
}

TEST(Cleaner, EmitsNewItemsKeepingDetailAndSource)
{
    const HardwareItem input = item(HardwareCategory::usb, "Name", " Hub ", " detail ", "src");
    const QList<HardwareItem> out = clean({input});
    ASSERT_EQ(out.size(), 1);
    EXPECT_NE(out[0].id, input.id);
    EXPECT_EQ(out[0].value, q("Hub"));
    EXPECT_EQ(out[0].detail, q(" detail "));
    EXPECT_EQ(out[0].source, q("src"));
    EXPECT_TRUE(clean({}).isEmpty());
}

} // namespace
