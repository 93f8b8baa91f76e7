// The About panel's version, build and credits (the panel itself and its
// name and contact link: test_shellwindows), and the Help window's text.
#include "ui/appinfo.h"
#include "ui/helptext.h"

#include <QCryptographicHash>
#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QVariantMap dictionary(const QVariant &version, const QVariant &build)
{
    QVariantMap map;
    if (version.isValid())
        map.insert(u"ShortVersionString"_s, version);
    if (build.isValid())
        map.insert(u"BuildNumber"_s, build);
    return map;
}

TEST(AppVersionTest, TakesStringsAndDefaultsTheRest)
{
    const struct {
        std::optional<QVariantMap> info;
        QString version;
        QString build;
    } rows[] = {
        {std::nullopt, u"1.0"_s, u"1"_s},
        {QVariantMap{}, u"1.0"_s, u"1"_s},
        {dictionary(u"2.3.1"_s, u"417"_s), u"2.3.1"_s, u"417"_s},
        {dictionary(u"2.3"_s, {}), u"2.3"_s, u"1"_s},
        {dictionary({}, u"9"_s), u"1.0"_s, u"9"_s},
        // Present but not strings: the defaults, not a conversion.
        {dictionary(2.5, 42), u"1.0"_s, u"1"_s},
        {dictionary(QStringList{u"3.0"_s}, QVariant(true)), u"1.0"_s, u"1"_s},
        {dictionary(QByteArray("3.0"), QByteArray("7")), u"1.0"_s, u"1"_s},
        {dictionary(QString(), u""_s), QString(), QString()},
    };
    for (const auto &row : rows) {
        const AppVersion v = appVersionFromInfo(row.info);
        EXPECT_EQ(v.version, row.version) << row.version.toStdString();
        EXPECT_EQ(v.build, row.build) << row.version.toStdString();
        const AppInfo object{row.info};
        EXPECT_EQ(object.version(), row.version);
        EXPECT_EQ(object.build(), row.build);
    }
}

// The help text is fixed word for word (the digest): 36 lines joined by line
// feeds, no line feed after the last one, bullets as U+2022 and one space.
TEST(HelpTextTest, IsTheFixedThirtySixLines)
{
    const QString text = helpText();
    const QStringList lines = text.split(u'\n');
    ASSERT_EQ(lines, helpTextLines());
    ASSERT_EQ(lines.size(), 36);
    EXPECT_EQ(lines.constFirst(), u"Kestrin Help"_s);
    EXPECT_EQ(lines.constLast(), u"kestrin@example.org"_s);
    for (const QString &line : lines) {
        EXPECT_TRUE(!line.startsWith(u'•') || (line.at(1) == u' ' && line.at(2) != u' '))
            << line.toStdString();
    }
    EXPECT_FALSE(text.contains(u'\r'));
    EXPECT_EQ(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex(),
              "ec8b9e1161679b679bb1c3333711350682bf4c05246eff776772eccd034415ee");
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
