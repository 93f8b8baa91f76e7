#include "itemtesthelpers.h"
#include "scanner/summarybuilder.h"

#include <gtest/gtest.h>

namespace {

HardwareItem of(HardwareCategory category)
{
    return HardwareItem(category, q("t"), q("v"), q("d"), q("s"));
}

ItemText line(const char *title, const char *value)
{
    return {HardwareCategory::summary, q(title), q(value), q("Filtered dmidecode data"),
            q("App parser")};
}

TEST(Summary, CountsPerCategoryInDeclarationOrder)
{
    struct Case {
        const char *name;
        QList<HardwareItem> input;
        std::vector<ItemText> expected;
    };
    QList<HardwareItem> many;
    for (int i = 0; i < 1234; ++i) {
        many.append(of(HardwareCategory::pci));
    }
    const std::vector<Case> cases = {
        {"three CPU and one other",
         {of(HardwareCategory::raw), of(HardwareCategory::cpu), of(HardwareCategory::cpu),
          of(HardwareCategory::cpu)},
         {line("CPU", "3 useful items"), line("Other", "1 useful item")}},
        {"existing summary items are not counted",
         {of(HardwareCategory::summary), of(HardwareCategory::summary)},
         {}},
        {"declaration order, not input order or size",
         {of(HardwareCategory::battery), of(HardwareCategory::battery), of(HardwareCategory::bios),
          of(HardwareCategory::platform), of(HardwareCategory::summary)},
         {line("Platform", "1 useful item"), line("BIOS", "1 useful item"),
          line("Battery", "2 useful items")}},
        {"no grouping separators", many, {line("PCI", "1234 useful items")}},
        {"empty", {}, {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(texts(makeSummaryItems(c.input)), c.expected) << c.name;
    }
}

TEST(Summary, AllFourteenCategories)
{
    QList<HardwareItem> input;
    for (HardwareCategory category : allCategories) {
        input.append(of(category));
    }
    const QList<HardwareItem> out = makeSummaryItems(input);
    ASSERT_EQ(out.size(), 14);
    EXPECT_EQ(out.front().title, q("Platform"));
    EXPECT_EQ(out.back().title, q("Other"));
}

} // namespace
