#include "model/hardwarecategory.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

struct CategoryRow {
    HardwareCategory category;
    const char16_t *title;
    const char16_t *symbol;
};

const CategoryRow rows[] = {
    {HardwareCategory::summary, u"Summary", u"list.bullet.rectangle"},
    {HardwareCategory::platform, u"Platform", u"desktopcomputer"},
    {HardwareCategory::bios, u"BIOS", u"cpu"},
    {HardwareCategory::baseboard, u"Baseboard", u"memorychip"},
    {HardwareCategory::cpu, u"CPU", u"cpu.fill"},
    {HardwareCategory::memory, u"Memory", u"square.stack.3d.up"},
    {HardwareCategory::pci, u"PCI", u"pc"},
    {HardwareCategory::gpu, u"GPU", u"display"},
    {HardwareCategory::network, u"Network", u"network"},
    {HardwareCategory::storage, u"Storage", u"internaldrive"},
    {HardwareCategory::audio, u"Audio", u"speaker.wave.2"},
    {HardwareCategory::usb, u"USB", u"cable.connector"},
    {HardwareCategory::battery, u"Battery", u"battery.100"},
    {HardwareCategory::firmware, u"Firmware", u"gearshape.2"},
    {HardwareCategory::raw, u"Other", u"doc.text"},
};

TEST(HardwareCategory, TitlesSymbolsAndOrder)
{
    ASSERT_EQ(std::size(rows), allCategories.size());
    for (std::size_t i = 0; i < allCategories.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(allCategories[i], rows[i].category);
        EXPECT_EQ(rawValue(rows[i].category), QString::fromUtf16(rows[i].title));
        EXPECT_EQ(symbol(rows[i].category), QString::fromUtf16(rows[i].symbol));
        EXPECT_EQ(categoryFromRawValue(QString::fromUtf16(rows[i].title)), rows[i].category);
    }
}

TEST(HardwareCategory, ConstructionFromTitleIsExact)
{
    for (const char16_t *title :
         {u"other", u"Raw", u"raw", u"", u"BIOS ", u" BIOS", u"bios", u"summary", u"Gpu"}) {
        EXPECT_FALSE(categoryFromRawValue(QString::fromUtf16(title)).has_value())
            << QString::fromUtf16(title).toStdString();
    }
}

TEST(HardwareCategory, HashesLikeItsTitle)
{
    for (const CategoryRow &row : rows) {
        EXPECT_EQ(qHash(row.category, 7), qHash(QString::fromUtf16(row.title), 7));
    }
    QHash<HardwareCategory, int> counts;
    counts[HardwareCategory::gpu] = 3;
    EXPECT_EQ(counts.value(HardwareCategory::gpu), 3);
    EXPECT_FALSE(counts.contains(HardwareCategory::cpu));
}

} // namespace
