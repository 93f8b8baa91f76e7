#include "model/hardwareitem.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(HardwareItem, EveryConstructionDrawsAFreshVersion4Id)
{
    QSet<QUuid> ids;
    for (int i = 0; i < 2000; ++i) {
        const HardwareItem item(HardwareCategory::cpu, QStringLiteral("T"), QStringLiteral("V"),
                                QString(), QStringLiteral("S"));
        EXPECT_FALSE(item.id.isNull());
        EXPECT_EQ(item.id.version(), QUuid::Random);
        EXPECT_EQ(item.id.variant(), QUuid::DCE);
        ids.insert(item.id);
    }
    EXPECT_EQ(ids.size(), 2000);
}

TEST(HardwareItem, EqualityCoversAllSixFields)
{
    const HardwareItem a(HardwareCategory::cpu, QStringLiteral("T"), QStringLiteral("V"),
                         QStringLiteral("D"), QStringLiteral("S"));
    const HardwareItem b(HardwareCategory::cpu, QStringLiteral("T"), QStringLiteral("V"),
                         QStringLiteral("D"), QStringLiteral("S"));
    EXPECT_NE(a, b); // identical text, different ids
    HardwareItem copy = a;
    EXPECT_EQ(copy, a);
    EXPECT_EQ(qHash(copy, 1), qHash(a, 1));
    copy.source = QStringLiteral("s");
    EXPECT_NE(copy, a);
    copy = a;
    copy.category = HardwareCategory::gpu;
    EXPECT_NE(copy, a);
}

TEST(HardwareItem, SearchableText)
{
    struct Case {
        HardwareItem item;
        QString expected;
    };
    const Case cases[] = {
        {HardwareItem(HardwareCategory::raw, QStringLiteral("Name"), QStringLiteral("X"), QString(),
                      QStringLiteral("dmidecode -q")),
         QStringLiteral("other name x  dmidecode -q")},
        {HardwareItem(HardwareCategory::summary, QStringLiteral("CPU"),
                      QStringLiteral("3 useful items"), QStringLiteral("Filtered dmidecode data"),
                      QStringLiteral("App parser")),
         QStringLiteral("summary cpu 3 useful items filtered dmidecode data app parser")},
        {HardwareItem(HardwareCategory::memory, QStringLiteral(" Size "), QStringLiteral("16 GB"),
                      QStringLiteral(" "), QStringLiteral("S")),
         QStringLiteral("memory  size  16 gb   s")},
        {HardwareItem(HardwareCategory::platform, QStringLiteral("Ä"), QStringLiteral("ÉTÉ"),
                      QStringLiteral("Δ"), QStringLiteral("X")),
         QStringLiteral("platform ä été δ x")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.item.searchableText(), c.expected);
    }
}

} // namespace
