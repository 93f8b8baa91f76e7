// The Help window's text, the About panel's credits and version.
#include "ui/appinfo.h"
#include "ui/helptext.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Word for word: Help's 36 lines joined by line feeds (none after the last),
// and the credits. The version and build number each default on their own.
TEST(AppTextsTest, HelpAboutAndVersionAreFixed)
{
    const auto digest = [](const QString &text) {
        return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex();
    };
    EXPECT_EQ(digest(helpText()),
              "ec8b9e1161679b679bb1c3333711350682bf4c05246eff776772eccd034415ee");
    EXPECT_EQ(digest(aboutDmidecodeCredits()),
              "ecfa573fdd1d0207f44d76fbc1586ffd5d16a2de56d17f14cc4595620c3e8e73");
    const AppVersion both = appVersionFromInfo(
        QVariantMap{{u"ShortVersionString"_s, u"2.3.1"_s}, {u"BuildNumber"_s, u"417"_s}});
    EXPECT_EQ(both.version + u'/' + both.build, u"2.3.1/417"_s);
    const AppVersion buildOnly = appVersionFromInfo(QVariantMap{{u"BuildNumber"_s, u"9"_s}});
    EXPECT_EQ(buildOnly.version + u'/' + buildOnly.build, u"1.0/9"_s);
}

} // namespace
