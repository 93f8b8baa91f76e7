// Help's and About's texts; the raw output sheet, Help, About, the application
// commands and Save Report (to a fake save location) in the real main window.
#include "tests/ui/uitesthelpers.h"
#include "ui/appinfo.h"
#include "ui/helptext.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

// Receives the links the window opens instead of the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class ShellWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        // No version information: the About panel must fall back to 1.0 and 1.
        AppInfo::setInfoDictionaryOverride(std::nullopt);
        ASSERT_TRUE(m_loaded.start());
    }

    void TearDown() override
    {
        for (QQuickWindow *help : helpWindows())
            help->close();
        m_loaded.host.reset();
        AppInfo::clearInfoDictionaryOverride();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QQuickWindow *window() const { return m_loaded.window(); }
    BrowserModel &model() { return m_loaded.host->model(); }
    QQuickItem *item(const char *name) { return m_loaded.item(name); }
    // Waits until the popup is fully open, or closed.
    bool waitOpen(const char *name, bool open = true)
    {
        return waitFor([=, this] {
            QObject *found = m_loaded.named(name);
            return found && found->property(open ? "opened" : "visible").toBool() == open;
        });
    }
    void finishScan(const QString &rawOutput) { ASSERT_TRUE(m_loaded.finish({{}, rawOutput, {}})); }
    QList<QQuickWindow *> helpWindows()
    {
        QList<QQuickWindow *> found;
        for (QWindow *top : QGuiApplication::topLevelWindows())
            if (top->objectName() == u"helpWindow"_s)
                found.append(qobject_cast<QQuickWindow *>(top));
        return found;
    }
    QQuickWindow *openHelp()
    {
        QTest::keyClick(window(), Qt::Key_F1);
        return waitFor([this] { return helpWindows().size() == 1; }) ? helpWindows().constFirst()
                                                                     : nullptr;
    }

    LoadedWindow m_loaded;
};

// The raw output buttons share one sheet: the tool's output as plain,
// read-only, selectable text. The key equivalents keep working with the
// pointer in it (a focused read-only text would swallow them).
TEST_F(ShellWindowTest, SheetShowsTheOutputAsItIs)
{
    clickItem(item("toolbarRawOutput"));
    ASSERT_TRUE(waitOpen("rawOutputSheet"));
    QTest::keyClick(window(), Qt::Key_Escape);
    ASSERT_TRUE(waitOpen("rawOutputSheet", false));
    EXPECT_FALSE(model().showRawOutput());
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitOpen("rawOutputSheet"));
    QQuickItem *text = item("rawOutputText");
    EXPECT_EQ(textOf(text), u"No raw output available."_s);
    const QString output = u"Handle 0x0001\nProcessor Information\n\tVersion: <b>Acme</b>\n"_s;
    finishScan(output);
    EXPECT_EQ(textOf(text), output);
    EXPECT_EQ(text->property("textFormat").toInt(), 0 /* PlainText */);
    QMetaObject::invokeMethod(text, "select", Q_ARG(int, 14), Q_ARG(int, 35));
    QTest::keyClick(window(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Processor Information"_s);
    clickItem(text);
    QTest::keyClick(window(), Qt::Key_X);
    EXPECT_EQ(textOf(text), output);
    QSignalSpy quits(&m_loaded.host->engine(), &QQmlEngine::quit);
    QTest::keyClick(window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1);
    model().setSearchText(u"memory"_s);
    EXPECT_EQ(accessibleName(item("rawOutputCloseButton")), u"Close"_s);
    ASSERT_TRUE(pressForScreenReader(item("rawOutputCloseButton")));
    ASSERT_TRUE(waitOpen("rawOutputSheet", false));
    EXPECT_FALSE(model().showRawOutput());
    EXPECT_EQ(model().searchText(), u"memory"_s);
}

// One Help window, whichever way it is asked for; closed and asked for
// again, a new one. Quit works from it too.
TEST_F(ShellWindowTest, HelpIsOneWindowWithTheReadOnlyHelpText)
{
    QPointer<QQuickWindow> first = openHelp();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->title(), u"Kestrin Help"_s);
    QObject *text = findNamed(first, u"helpText"_s);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(textOf(text), helpText());
    EXPECT_TRUE(text->property("readOnly").toBool());
    EXPECT_EQ(text->property("textFormat").toInt(), 0 /* PlainText */);
    window()->requestActivate();
    QTest::keyClick(window(), Qt::Key_Question, Qt::ControlModifier);
    QQuickItem *command = openMenuItem(window(), "helpMenuTitle", "helpMenuItem");
    EXPECT_EQ(textOf(command), u"Kestrin Help"_s);
    clickItem(command);
    QCoreApplication::processEvents();
    EXPECT_EQ(helpWindows(), QList<QQuickWindow *>{first});
    first->requestActivate();
    ASSERT_TRUE(waitFor([&] { return first->isActive(); }));
    QSignalSpy quits(&m_loaded.host->engine(), &QQmlEngine::quit);
    QTest::keyClick(first, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1);
    const QKeyCombination closeKey = QKeySequence(QKeySequence::Close)[0];
    QTest::keyClick(first, closeKey.key(), closeKey.keyboardModifiers());
    ASSERT_TRUE(waitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return first.isNull();
    }));
    EXPECT_NE(openHelp(), nullptr);
}

// Without version information About shows the defaults; its contact link
// starts an email.
TEST_F(ShellWindowTest, MenuCommandsQuitAndAbout)
{
    QSignalSpy quits(&m_loaded.host->engine(), &QQmlEngine::quit);
    QQuickItem *quit = openMenuItem(window(), "fileMenuTitle", "quitMenuItem");
    EXPECT_EQ(textOf(quit), u"Quit Kestrin"_s);
    clickItem(quit);
    EXPECT_TRUE(waitFor([&] { return quits.count() == 1; }));
    QQuickItem *about = openMenuItem(window(), "helpMenuTitle", "aboutMenuItem");
    EXPECT_EQ(textOf(about), u"About Kestrin"_s);
    clickItem(about);
    ASSERT_TRUE(waitOpen("aboutPanel"));
    EXPECT_EQ(textOf(item("aboutName")), u"Kestrin"_s);
    EXPECT_EQ(textOf(item("aboutVersion")), u"Version 1.0 (1)"_s);
    EXPECT_EQ(textOf(item("aboutCredits")), aboutDmidecodeCredits().trimmed());
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(u"mailto"_s, &recorder, "open");
    clickItem(item("aboutContactLink"));
    QDesktopServices::unsetUrlHandler(u"mailto"_s);
    EXPECT_EQ(recorder.urls, QList<QUrl>{QUrl(u"mailto:kestrin@example.org"_s)});
}

// Answers each save question with the next of its paths, saved as plain text.
struct FakeSaveLocationProvider : SaveLocationProvider {
    void askSaveLocation(const QString &, const QStringList &,
                         std::function<void(std::optional<SaveLocation>)> done) override
    {
        done(SaveLocation{answers.value(calls++), 0});
    }
    QStringList answers;
    int calls = 0;
};

// The save rules are the browser tests'; here both buttons reach them and a
// failed write shows the window's modal alert until OK.
TEST(SaveWiringTest, SavesOrShowsTheErrorInAnAlert)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.txt"_s);
    LoadedWindow loaded;
    auto *provider = new FakeSaveLocationProvider;
    provider->answers = {path, dir.filePath(u"missing/folder/report.txt"_s)};
    loaded.host->setSaveLocationProvider(std::unique_ptr<SaveLocationProvider>(provider));
    ASSERT_TRUE(loaded.start());
    // The alert is built the first time it is needed.
    const auto alert = [&] { return loaded.named("errorAlert"); };
    clickItem(loaded.item("sidebarSaveReport"));
    EXPECT_TRUE(QFile::exists(path));
    clickItem(loaded.item("footerSaveReport"));
    ASSERT_TRUE(waitFor([&] { return alert() && alert()->property("opened").toBool(); }));
    EXPECT_FALSE(loaded.host->alerts().lastError().isEmpty());
    EXPECT_EQ(textOf(loaded.item("errorAlertMessage")), loaded.host->alerts().lastError());
    clickItem(loaded.item("errorAlertOkButton"));
    EXPECT_TRUE(waitFor([&] { return !alert()->property("visible").toBool(); }));
}

} // namespace

#include "test_shellwindows.moc"
