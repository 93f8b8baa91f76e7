// The raw output sheet, the Help window, the About panel and the application
// commands, driven through the real main window.
#include "tests/shell/expectedhelptext.h"
#include "tests/shell/fakescansource.h"
#include "tests/shell/shelltesthelpers.h"
#include "ui/appinfo.h"
#include "ui/mainwindowhost.h"

#include <QAccessible>
#include <QClipboard>
#include <QDesktopServices>
#include <QPointer>
#include <QQmlEngine>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

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
        m_scanner = std::make_shared<ManualScanSource>();
        m_host = std::make_unique<MainWindowHost>(m_scanner);
        ASSERT_TRUE(m_host->load());
        window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
        window()->requestActivate();
        ASSERT_TRUE(waitFor([this] { return window()->isActive(); }));
        // The window's appearance starts the first scan.
        ASSERT_TRUE(waitFor([this] { return m_scanner->pendingCount() == 1; }));
    }

    void TearDown() override
    {
        for (QWindow *help : windowsNamed(QStringLiteral("helpWindow")))
            help->close();
        m_host.reset();
        AppInfo::clearInfoDictionaryOverride();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QQuickWindow *window() const { return m_host->window(); }
    BrowserModel &model() { return m_host->model(); }

    QQuickItem *item(const char *name)
    {
        QQuickItem *found = findItem(window(), QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no item named " << name;
        return found;
    }

    QObject *sheet() { return findNamed(window(), QStringLiteral("rawOutputSheet")); }
    bool sheetOpen() { return sheet() && sheet()->property("opened").toBool(); }
    bool sheetClosed() { return sheet() && !sheet()->property("visible").toBool(); }
    QString sheetText() { return item("rawOutputText")->property("text").toString(); }

    void finishScan(const QString &rawOutput)
    {
        HardwareScanResult result;
        result.rawOutput = rawOutput;
        ASSERT_TRUE(m_scanner->finish(result));
        ASSERT_TRUE(waitFor([this] { return !model().isScanning(); }));
    }

    QList<QWindow *> helpWindows() { return windowsNamed(QStringLiteral("helpWindow")); }

    std::shared_ptr<ManualScanSource> m_scanner;
    std::unique_ptr<MainWindowHost> m_host;
};

// ---- Raw output sheet ----

class RawOutputButtonTest : public ShellWindowTest,
                            public testing::WithParamInterface<const char *> {};

TEST_P(RawOutputButtonTest, OpensTheSheetAndCloseButtonClosesIt)
{
    QQuickItem *button = item(GetParam());
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    clickItem(button);
    EXPECT_TRUE(model().showRawOutput());
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));

    QSignalSpy changes(&model(), &BrowserModel::showRawOutputChanged);
    clickItem(item("rawOutputCloseButton"));
    ASSERT_TRUE(waitFor([this] { return sheetClosed(); }));
    EXPECT_FALSE(model().showRawOutput());
    EXPECT_EQ(changes.count(), 1);
}

TEST_P(RawOutputButtonTest, EscapeClosesTheSheet)
{
    clickItem(item(GetParam()));
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    QTest::keyClick(window(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([this] { return sheetClosed(); }));
    EXPECT_FALSE(model().showRawOutput());

    // And it opens again afterwards.
    clickItem(item(GetParam()));
    EXPECT_TRUE(waitFor([this] { return sheetOpen(); }));
}

INSTANTIATE_TEST_SUITE_P(Buttons, RawOutputButtonTest,
                         testing::Values("sidebarRawOutput", "toolbarRawOutput",
                                         "footerRawOutput"));

// Screen readers close the sheet through the button's press action.
TEST_F(ShellWindowTest, CloseButtonWorksForAssistiveTechnology)
{
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    QAccessibleInterface *button =
        QAccessible::queryAccessibleInterface(item("rawOutputCloseButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Close"));
    ASSERT_NE(button->actionInterface(), nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(waitFor([this] { return sheetClosed(); }));
    EXPECT_FALSE(model().showRawOutput());
}

TEST_F(ShellWindowTest, SheetBlocksTheWindowWhileOpen)
{
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    // A click on the sidebar's Copy Visible row lands on the dimmed overlay.
    QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    clickItem(item("sidebarCopyVisible"));
    QCoreApplication::processEvents();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    EXPECT_TRUE(sheetOpen());
}

TEST_F(ShellWindowTest, ShowsPlaceholderUntilTheScanFinishesThenTheOutput)
{
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    EXPECT_EQ(sheetText(), QStringLiteral("No raw output available."));

    finishScan(QStringLiteral("BIOS Information\n\tVendor: <b>Acme</b>\n"));
    EXPECT_EQ(sheetText(), QStringLiteral("BIOS Information\n\tVendor: <b>Acme</b>\n"));
    // Plain text: the markup stays visible as characters.
    EXPECT_EQ(item("rawOutputText")->property("textFormat").toInt(), 0 /* PlainText */);
}

TEST_F(ShellWindowTest, WhiteSpaceOnlyOutputIsShownUnchanged)
{
    finishScan(QStringLiteral(" \n\t\n"));
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    EXPECT_EQ(sheetText(), QStringLiteral(" \n\t\n"));
}

TEST_F(ShellWindowTest, SelectionCopiesExactlyThatPart)
{
    finishScan(QStringLiteral("Handle 0x0001\nProcessor Information\n\tVersion: Example CPU\n"));
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    QQuickItem *text = item("rawOutputText");
    QMetaObject::invokeMethod(text, "select", Q_ARG(int, 14), Q_ARG(int, 35));
    QTest::keyClick(window(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Processor Information"));

    QTest::keyClick(window(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(window(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Handle 0x0001\nProcessor Information\n\tVersion: Example CPU\n"));

    // Read-only: typing changes nothing, even with the pointer in the text.
    clickItem(text);
    QTest::keyClick(window(), Qt::Key_X);
    QTest::keyClick(window(), Qt::Key_Backspace);
    EXPECT_EQ(sheetText(),
              QStringLiteral("Handle 0x0001\nProcessor Information\n\tVersion: Example CPU\n"));
}

// The application's key equivalents keep working with the sheet open and the
// pointer in its text (a focused read-only text would swallow them).
TEST_F(ShellWindowTest, KeyEquivalentsWorkWhileTheSheetIsOpen)
{
    finishScan(QStringLiteral("BIOS Information\n"));
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    clickItem(item("rawOutputText"));
    QSignalSpy quits(&m_host->engine(), &QQmlEngine::quit);
    QTest::keyClick(window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1);
    QTest::keyClick(window(), Qt::Key_F1);
    EXPECT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
}

TEST_F(ShellWindowTest, SheetScrollsWithTheKeyboard)
{
    QString output;
    for (int i = 0; i < 2000; ++i)
        output += QStringLiteral("\tLine %1: value\n").arg(i);
    finishScan(output);
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    QQuickItem *flick = item("rawOutputFlickable");
    QTest::keyClick(window(), Qt::Key_PageDown);
    const qreal afterPage = flick->property("contentY").toReal();
    EXPECT_GT(afterPage, flick->height() / 2);
    QTest::keyClick(window(), Qt::Key_End);
    EXPECT_EQ(flick->property("contentY").toReal(),
              flick->property("contentHeight").toReal() - flick->height());
    QTest::keyClick(window(), Qt::Key_Home);
    EXPECT_EQ(flick->property("contentY").toReal(), 0);
}

TEST_F(ShellWindowTest, LongOutputScrollsAndWraps)
{
    QString output;
    for (int i = 0; i < 4000; ++i)
        output += QStringLiteral("\tLine %1: value\n").arg(i);
    output += QString(3000, QLatin1Char('x'));
    finishScan(output);
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    QQuickItem *flick = item("rawOutputFlickable");
    EXPECT_GT(flick->property("contentHeight").toReal(), 10 * flick->height());
    // No sideways scrolling: the text is exactly as wide as the view.
    EXPECT_EQ(flick->property("contentWidth").toReal(), flick->width());
    EXPECT_EQ(item("rawOutputText")->width(), flick->width());
}

TEST_F(ShellWindowTest, ClosingTheSheetChangesNothingElse)
{
    finishScan(QStringLiteral("abc"));
    model().setSearchText(QStringLiteral("memory"));
    const QString category = model().selectedCategoryTitle();
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    clickItem(item("rawOutputCloseButton"));
    ASSERT_TRUE(waitFor([this] { return sheetClosed(); }));
    EXPECT_EQ(model().searchText(), QStringLiteral("memory"));
    EXPECT_EQ(model().selectedCategoryTitle(), category);
    EXPECT_EQ(model().rawOutput(), QStringLiteral("abc"));
}

// The sheet, the About panel and the error alert are not part of the first
// frame: they are built when first shown, then kept and reused.
TEST_F(ShellWindowTest, SheetAboutAndAlertAreBuiltOnFirstUse)
{
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_EQ(findNamed(window(), QStringLiteral("aboutPanel")), nullptr);
    EXPECT_EQ(findNamed(window(), QStringLiteral("errorAlert")), nullptr);

    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    QPointer<QObject> firstSheet = sheet();
    QTest::keyClick(window(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([this] { return sheetClosed(); }));
    model().setShowRawOutput(true);
    ASSERT_TRUE(waitFor([this] { return sheetOpen(); }));
    EXPECT_EQ(sheet(), firstSheet.data());
    QTest::keyClick(window(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([this] { return sheetClosed(); }));

    // Two failures in a row: the same alert shows the newer message.
    m_host->alerts().showError(QStringLiteral("first failure"));
    QObject *alert = findNamed(window(), QStringLiteral("errorAlert"));
    ASSERT_NE(alert, nullptr);
    ASSERT_TRUE(waitFor([&] { return alert->property("opened").toBool(); }));
    EXPECT_EQ(item("errorAlertMessage")->property("text").toString(),
              QStringLiteral("first failure"));
    QTest::keyClick(window(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return !alert->property("visible").toBool(); }));
    m_host->alerts().showError(QStringLiteral("second failure"));
    EXPECT_EQ(findNamed(window(), QStringLiteral("errorAlert")), alert);
    ASSERT_TRUE(waitFor([&] { return alert->property("opened").toBool(); }));
    EXPECT_EQ(item("errorAlertMessage")->property("text").toString(),
              QStringLiteral("second failure"));
}

// ---- Help window ----

TEST_F(ShellWindowTest, HelpChosenTwiceIsOneWindow)
{
    QTest::keyClick(window(), Qt::Key_F1);
    ASSERT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
    QWindow *first = helpWindows().constFirst();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->title(), QStringLiteral("Kestrin Help"));
    EXPECT_EQ(first->width(), 720);
    EXPECT_EQ(first->height(), 560);
    EXPECT_EQ(first->transientParent(), nullptr);

    // The other key equivalent, from the main window, and the menu item.
    window()->requestActivate();
    QTest::keyClick(window(), Qt::Key_Question, Qt::ControlModifier);
    ASSERT_TRUE(chooseMenuItem(window(), "helpMenuTitle", "helpMenuItem"));
    QCoreApplication::processEvents();
    ASSERT_EQ(helpWindows().size(), 1);
    EXPECT_EQ(helpWindows().constFirst(), first);
}

TEST_F(ShellWindowTest, HelpClosedAndReopenedIsANewWindowAtTheTop)
{
    ASSERT_TRUE(chooseMenuItem(window(), "helpMenuTitle", "helpMenuItem"));
    ASSERT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
    QPointer<QWindow> first = helpWindows().constFirst();
    auto *flick = qobject_cast<QQuickItem *>(findNamed(first, QStringLiteral("helpFlickable")));
    ASSERT_NE(flick, nullptr);
    flick->setProperty("contentY", 120);

    // Closed with the desktop's close-window key.
    first->requestActivate();
    ASSERT_TRUE(waitFor([&] { return first->isActive(); }));
    const QKeyCombination closeKey = QKeySequence(QKeySequence::Close)[0];
    QTest::keyClick(first, closeKey.key(), closeKey.keyboardModifiers());
    ASSERT_TRUE(waitFor([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return first.isNull();
    }));
    EXPECT_TRUE(helpWindows().isEmpty());

    QTest::keyClick(window(), Qt::Key_F1);
    ASSERT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
    QWindow *second = helpWindows().constFirst();
    auto *secondFlick =
        qobject_cast<QQuickItem *>(findNamed(second, QStringLiteral("helpFlickable")));
    ASSERT_NE(secondFlick, nullptr);
    EXPECT_EQ(secondFlick->property("contentY").toReal(), 0);
    // Centred on its screen.
    const QRect area = second->screen()->geometry();
    EXPECT_LE(std::abs(second->geometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(second->geometry().center().y() - area.center().y()), 1);
}

TEST_F(ShellWindowTest, HelpShowsTheHelpTextReadOnly)
{
    QTest::keyClick(window(), Qt::Key_F1);
    ASSERT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
    auto *text = qobject_cast<QQuickItem *>(
        findNamed(helpWindows().constFirst(), QStringLiteral("helpText")));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->property("text").toString(), expectedHelpLines.join(QLatin1Char('\n')));
    EXPECT_TRUE(text->property("readOnly").toBool());
    EXPECT_TRUE(text->property("selectByMouse").toBool());
    EXPECT_EQ(text->property("textFormat").toInt(), 0 /* PlainText */);
}

// Closing the main window while Help is open leaves the application running
// with Help; closing Help then ends it. Runs inside the event loop, where
// the application decides to quit.
TEST_F(ShellWindowTest, ApplicationEndsWithTheLastWindow)
{
    QTest::keyClick(window(), Qt::Key_F1);
    ASSERT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
    QPointer<QWindow> help = helpWindows().constFirst();

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    int lastClosedAfterMain = -1;
    bool helpVisibleAfterMain = false;
    QTimer::singleShot(0, [&] {
        window()->close();
        QTimer::singleShot(50, [&] {
            lastClosedAfterMain = static_cast<int>(lastClosed.count());
            helpVisibleAfterMain = help && help->isVisible();
            if (help)
                help->close();
        });
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, qApp, &QCoreApplication::quit);
    watchdog.start(5000);
    QCoreApplication::exec();
    const bool timedOut = !watchdog.isActive();

    EXPECT_EQ(lastClosedAfterMain, 0);
    EXPECT_TRUE(helpVisibleAfterMain);
    EXPECT_EQ(lastClosed.count(), 1);
    EXPECT_FALSE(timedOut) << "the application did not end after its last window closed";
}

// ---- About panel and commands ----

TEST_F(ShellWindowTest, AboutShowsDefaultsWithoutVersionInformation)
{
    ASSERT_TRUE(chooseMenuItem(window(), "helpMenuTitle", "aboutMenuItem"));
    QObject *about = findNamed(window(), QStringLiteral("aboutPanel"));
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(waitFor([&] { return about->property("opened").toBool(); }));
    EXPECT_EQ(item("aboutName")->property("text").toString(), QStringLiteral("Kestrin"));
    EXPECT_EQ(item("aboutVersion")->property("text").toString(), QStringLiteral("Version 1.0 (1)"));
    const QString credits = item("aboutCredits")->property("text").toString();
    EXPECT_TRUE(credits.startsWith(QStringLiteral("Bundled dmidecode credits:\n")));
    EXPECT_TRUE(credits.contains(QStringLiteral("Original authors: Alan Cox and Jean Delvare.")));

    QTest::keyClick(window(), Qt::Key_Escape);
    EXPECT_TRUE(waitFor([&] { return !about->property("visible").toBool(); }));
}

TEST_F(ShellWindowTest, AboutContactLinkStartsAnEmail)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &recorder, "open");
    ASSERT_TRUE(chooseMenuItem(window(), "helpMenuTitle", "aboutMenuItem"));
    QObject *about = findNamed(window(), QStringLiteral("aboutPanel"));
    ASSERT_TRUE(waitFor([&] { return about->property("opened").toBool(); }));
    clickItem(item("aboutContactLink"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.constFirst(), QUrl(QStringLiteral("mailto:kestrin@example.org")));
}

TEST_F(ShellWindowTest, QuitCommandAndKeyGoThroughQtQuit)
{
    QSignalSpy quits(&m_host->engine(), &QQmlEngine::quit);
    QTest::keyClick(window(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1);
    ASSERT_TRUE(chooseMenuItem(window(), "fileMenuTitle", "quitMenuItem"));
    EXPECT_TRUE(waitFor([&] { return quits.count() == 2; }));
}

TEST_F(ShellWindowTest, QuitKeyWorksFromTheHelpWindow)
{
    QTest::keyClick(window(), Qt::Key_F1);
    ASSERT_TRUE(waitFor([this] { return helpWindows().size() == 1; }));
    QWindow *help = helpWindows().constFirst();
    help->requestActivate();
    ASSERT_TRUE(waitFor([&] { return help->isActive(); }));
    QSignalSpy quits(&m_host->engine(), &QQmlEngine::quit);
    QTest::keyClick(help, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1);
}

TEST_F(ShellWindowTest, MenusOfferNoWindowOtherThanHelp)
{
    QStringList titles;
    const std::pair<const char *, const char *> items[] = {
        {"fileMenuTitle", "quitMenuItem"},
        {"helpMenuTitle", "helpMenuItem"},
        {"helpMenuTitle", "aboutMenuItem"},
    };
    for (const auto &[menu, name] : items) {
        QQuickItem *menuItem = openMenuItem(window(), menu, name);
        ASSERT_NE(menuItem, nullptr) << name;
        titles << menuItem->property("text").toString();
        QTest::keyClick(window(), Qt::Key_Escape);
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Quit Kestrin"), QStringLiteral("Kestrin Help"),
                                   QStringLiteral("About Kestrin")}));
}

} // namespace

#include "test_shellwindows.moc"
