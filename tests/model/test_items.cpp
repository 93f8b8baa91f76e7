// The data types of a scan: categories, items and the framed raw output.
#include "model/hardwarecategory.h"
#include "model/hardwareitem.h"
#include "model/rawoutput.h"

#include <QSet>

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// The titles, in the order the summary and the category list use. Each has
// an icon (test_symbolicons); the command line reads them back exactly.
TEST(HardwareCategory, TitlesAndOrder)
{
    const QStringList titles = q("Summary|Platform|BIOS|Baseboard|CPU|Memory|PCI|GPU|Network|"
                                 "Storage|Audio|USB|Battery|Firmware|Other")
                                   .split(u'|');
    ASSERT_EQ(std::size_t(titles.size()), allCategories.size());
    for (std::size_t i = 0; i < allCategories.size(); ++i) {
        EXPECT_EQ(rawValue(allCategories[i]), titles[qsizetype(i)]);
        EXPECT_EQ(categoryFromRawValue(titles[qsizetype(i)]), allCategories[i]);
    }
    for (const char *title : {"other", "Raw", "", "BIOS ", " BIOS", "bios", "summary", "Gpu"}) {
        EXPECT_FALSE(categoryFromRawValue(q(title)).has_value()) << title;
    }
}

TEST(HardwareItem, EveryConstructionDrawsAFreshVersion4Id)
{
    QSet<QUuid> ids;
    for (int i = 0; i < 2000; ++i) {
        const HardwareItem item(HardwareCategory::cpu, q("T"), q("V"), QString(), q("S"));
        EXPECT_EQ(item.id.version(), QUuid::Random);
        EXPECT_EQ(item.id.variant(), QUuid::DCE);
        ids.insert(item.id);
    }
    EXPECT_EQ(ids.size(), 2000);
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
        {"raw", {}, q("raw")},
        {"raw", {{"h", q("x")}}, q("raw\n===== h =====\nx\n")},
        {"", {{"h", q("a") + loneHigh}}, q("===== h =====\na") + loneHigh + q("\n")},
    };
    for (const Case &c : cases) {
        RawOutput raw(q(c.verbatim));
        for (const auto &[header, output] : c.runs) {
            raw.appendRun(q(header), output);
        }
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(raw.text(), c.expected);
        EXPECT_EQ(raw.size(), c.expected.size());
        EXPECT_EQ(raw.isEmpty(), c.expected.isEmpty());
        EXPECT_EQ(raw.toUtf8(), c.expected.toUtf8());
        EXPECT_TRUE(raw == c.expected);
        EXPECT_TRUE(raw == RawOutput(c.expected));
        EXPECT_FALSE(raw == c.expected + QLatin1Char('x'));
        EXPECT_TRUE(c.expected.isEmpty() || !(raw == QStringView(c.expected).chopped(1)));
    }
}

} // namespace
