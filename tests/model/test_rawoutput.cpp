#include "model/rawoutput.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct Case {
    const char *name;
    const char *verbatim;
    std::vector<std::pair<const char *, QString>> runs; // header, output
    QString expected;
};

TEST(RawOutput, FramesRunsLikeTheScan)
{
    const QString loneHigh(QChar(0xD83D));
    const std::vector<Case> cases = {
        {"nothing", "", {}, QString()},
        {"one run", "", {{"dmidecode -q", q("a\nb")}}, q("===== dmidecode -q =====\na\nb\n")},
        {"a run with empty output keeps its block", "", {{"h", QString()}}, q("===== h =====\n\n")},
        {"blocks are separated by one more line feed",
         "",
         {{"A", q("x")}, {"B", q("y\n")}},
         q("===== A =====\nx\n\n===== B =====\ny\n\n")},
        {"two failed runs",
         "",
         {{"A", QString()}, {"B", QString()}},
         q("===== A =====\n\n\n===== B =====\n\n")},
        {"a joined text stays as it is", "raw", {}, q("raw")},
        {"a run after a joined text", "raw", {{"h", q("x")}}, q("raw\n===== h =====\nx\n")},
        {"non-ASCII text",
         "",
         {{"h", q("\u00e9\U0001F600")}},
         q("===== h =====\n\u00e9\U0001F600\n")},
        {"a lone surrogate at the end of an output",
         "",
         {{"h", q("a") + loneHigh}},
         q("===== h =====\na") + loneHigh + q("\n")},
    };
    for (const Case &c : cases) {
        RawOutput raw(q(c.verbatim));
        for (const auto &[header, output] : c.runs) {
            raw.appendRun(q(header), output);
        }
        EXPECT_EQ(raw.text(), c.expected) << c.name;
        EXPECT_EQ(raw.size(), c.expected.size()) << c.name;
        EXPECT_EQ(raw.isEmpty(), c.expected.isEmpty()) << c.name;
        EXPECT_EQ(raw.toUtf8(), c.expected.toUtf8()) << c.name;
        EXPECT_TRUE(raw == c.expected) << c.name;
        EXPECT_TRUE(raw == RawOutput(c.expected)) << c.name;
        EXPECT_FALSE(raw == c.expected + QLatin1Char('x')) << c.name;
        if (!c.expected.isEmpty()) {
            EXPECT_FALSE(raw == QStringView(c.expected).chopped(1)) << c.name;
        }
    }
}

} // namespace
