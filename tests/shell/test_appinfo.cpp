#include "tests/shell/expectedhelptext.h"
#include "ui/appinfo.h"
#include "ui/helptext.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

struct VersionCase {
    const char *name;
    std::optional<QVariantMap> info;
    QString version;
    QString build;
};

class AppVersionTest : public testing::TestWithParam<VersionCase> {};

TEST_P(AppVersionTest, TakesStringsAndDefaultsTheRest)
{
    const VersionCase &c = GetParam();
    const AppVersion v = appVersionFromInfo(c.info);
    EXPECT_EQ(v.version, c.version);
    EXPECT_EQ(v.build, c.build);
}

QVariantMap dictionary(const QVariant &version, const QVariant &build)
{
    QVariantMap map;
    if (version.isValid())
        map.insert(QStringLiteral("ShortVersionString"), version);
    if (build.isValid())
        map.insert(QStringLiteral("BuildNumber"), build);
    return map;
}

INSTANTIATE_TEST_SUITE_P(
    Dictionaries, AppVersionTest,
    testing::Values(
        VersionCase{"NoDictionary", std::nullopt, QStringLiteral("1.0"), QStringLiteral("1")},
        VersionCase{"EmptyDictionary", QVariantMap{}, QStringLiteral("1.0"), QStringLiteral("1")},
        VersionCase{"BothStrings", dictionary(QStringLiteral("2.3.1"), QStringLiteral("417")),
                    QStringLiteral("2.3.1"), QStringLiteral("417")},
        VersionCase{"OnlyVersion", dictionary(QStringLiteral("2.3"), {}), QStringLiteral("2.3"),
                    QStringLiteral("1")},
        VersionCase{"OnlyBuild", dictionary({}, QStringLiteral("9")), QStringLiteral("1.0"),
                    QStringLiteral("9")},
        // Present but not strings: the defaults, not a conversion.
        VersionCase{"Numbers", dictionary(2.5, 42), QStringLiteral("1.0"), QStringLiteral("1")},
        VersionCase{"List", dictionary(QStringList{QStringLiteral("3.0")}, QVariant(true)),
                    QStringLiteral("1.0"), QStringLiteral("1")},
        VersionCase{"ByteArray", dictionary(QByteArray("3.0"), QByteArray("7")),
                    QStringLiteral("1.0"), QStringLiteral("1")},
        VersionCase{"EmptyStringIsAString", dictionary(QString(), QStringLiteral("")), QString(),
                    QString()}),
    [](const testing::TestParamInfo<VersionCase> &param) { return std::string(param.param.name); });

TEST(AppInfoTest, ObjectUsesTheGivenDictionary)
{
    const AppInfo none{std::optional<QVariantMap>()};
    EXPECT_EQ(none.version(), QStringLiteral("1.0"));
    EXPECT_EQ(none.build(), QStringLiteral("1"));
    EXPECT_EQ(none.name(), QStringLiteral("Kestrin"));

    const AppInfo given{dictionary(QStringLiteral("4.0"), QStringLiteral("12"))};
    EXPECT_EQ(given.version(), QStringLiteral("4.0"));
    EXPECT_EQ(given.build(), QStringLiteral("12"));
}

TEST(AppInfoTest, ContactLinkIsAMailtoOfTheAddress)
{
    const AppInfo appInfo{std::optional<QVariantMap>()};
    EXPECT_EQ(appInfo.contactUrl().scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(appInfo.contactUrl().path(), appInfo.contactAddress());
    EXPECT_TRUE(appInfo.contactAddress().contains(QLatin1Char('@')));
}

TEST(HelpTextTest, IsTheThirtySixLinesJoinedByLineFeeds)
{
    ASSERT_EQ(expectedHelpLines.size(), 36);
    const QString text = helpText();
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), expectedHelpLines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines.at(i), expectedHelpLines.at(i)) << "line " << (i + 1);
    }
}

TEST(HelpTextTest, BulletsAreU2022AndOneSpace)
{
    for (const QString &line : helpTextLines()) {
        if (line.startsWith(QChar(0x2022))) {
            EXPECT_EQ(line.at(1), QLatin1Char(' '));
            EXPECT_NE(line.at(2), QLatin1Char(' '));
        }
    }
}

TEST(AboutCreditsTest, ComeInTheirOrder)
{
    EXPECT_EQ(aboutDmidecodeCredits(),
              u"\n\nBundled dmidecode credits:\n"
              u"dmidecode is developed and maintained by Jean Delvare.\n"
              u"Original authors: Alan Cox and Jean Delvare.\n"
              u"macOS/Apple-specific dmidecode support: Acidanthera dmidecode fork.\n"
              u"License: GNU GPL version 2. See ThirdPartyNotices.txt, dmidecode-AUTHORS.txt, and "
              u"dmidecode-GPLv2-LICENSE.txt in the app resources/source.\n"_s);
}

} // namespace
