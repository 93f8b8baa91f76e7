// The window's own save dialog: what a typed name stands for, and the dialog
// driven through the real window, where every way of ending it answers once.
#include "tests/ui/uitesthelpers.h"
#include "ui/savedialogcontroller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString plainText = u"Plain text (*.txt)"_s;
using Kind = SaveTarget::Kind;

// What a typed name stands for, from the shown (temporary) folder.
TEST(ResolveSaveTargetTest, NamesTheFileOrFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(u"reports"_s));
    const QString home = dir.filePath(u"home"_s);
    const struct {
        const char *typed;
        Kind kind;
        const char *path; // relative to the folder, "~" is the home stand-in, or absolute
    } rows[] = {
        // A name without a suffix gets the format's one; a hidden name's dot is no suffix.
        {"hardware", Kind::file, "hardware.txt"},
        {".hidden", Kind::file, ".hidden.txt"},
        {"report.log", Kind::file, "report.log"},
        {"  spaced.txt  ", Kind::file, "spaced.txt"},
        {"reports/../up.txt", Kind::file, "up.txt"},
        {"/tmp/a/b", Kind::file, "/tmp/a/b.txt"},
        // Existing folders, and names that end in a slash, open a folder.
        {"reports", Kind::folder, "reports"},
        {"not-yet/", Kind::folder, "not-yet"},
        {"~", Kind::folder, "~"},
        {"   ", Kind::invalid, nullptr},
    };
    for (const auto &row : rows) {
        const SaveTarget target =
            resolveSaveTarget(dir.path(), QString::fromUtf8(row.typed), plainText, home);
        EXPECT_EQ(target.kind, row.kind) << row.typed;
        if (row.path == nullptr)
            continue;
        QString expected = QString::fromUtf8(row.path);
        if (expected.startsWith(u'~'))
            expected = home + expected.mid(1);
        else if (!expected.startsWith(u'/'))
            expected = dir.path() + u'/' + expected;
        EXPECT_EQ(target.path, QDir::cleanPath(expected)) << row.typed;
    }
}

TEST(NameForFilterTest, ChoosingAFormatSwapsOnlyAFormatsSuffix)
{
    const QStringList filters{plainText, u"JSON (*.json)"_s};
    const struct {
        const char *name;
        int filter;
        const char *expected;
    } rows[] = {
        {"Kestrin.json", 0, "Kestrin.txt"},
        {"Kestrin.TXT", 1, "Kestrin.json"},
        // A name of the user's own, or only a suffix, is left as typed.
        {"report.log", 1, "report.log"},
        {".txt", 1, ".txt"},
        {"Kestrin.txt", 7, "Kestrin.txt"}, // no such filter
    };
    for (const auto &row : rows)
        EXPECT_EQ(nameForFilter(QString::fromUtf8(row.name), filters, row.filter),
                  QString::fromUtf8(row.expected))
            << row.name << " -> " << row.filter;
}

// Every answer the save question gave: "path filterIndex", or "cancelled".
struct Answers {
    QStringList given;
    std::function<void(std::optional<SaveLocation>)> recorder()
    {
        return [this](std::optional<SaveLocation> at) {
            given.append(at ? u"%1 %2"_s.arg(at->path).arg(at->filterIndex) : u"cancelled"_s);
        };
    }
};

// The chosen filter is passed on; a question still open when the dialog goes
// away is answered too.
TEST(SaveDialogControllerTest, AnswersTheChosenFilterOrCancelledWhenGoingAway)
{
    Answers answers;
    {
        SaveDialogController controller;
        controller.askSaveLocation(u"Kestrin.txt"_s, {plainText, u"JSON (*.json)"_s},
                                   answers.recorder());
        controller.accept(u"/tmp/x/../Kestrin.json"_s, 1);
        controller.askSaveLocation(u"Kestrin.txt"_s, {plainText}, answers.recorder());
    }
    EXPECT_EQ(answers.given, (QStringList{u"/tmp/Kestrin.json 1"_s, u"cancelled"_s}));
}

// The dialog in the real window, opened in a temporary folder.
class SaveDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"existing folder"_s));
        ASSERT_TRUE(m_loaded.start());
    }

    QQuickWindow *window() const { return m_loaded.window(); }
    SaveDialogController &controller() { return m_loaded.host->saveDialog(); }
    // Asks for a location into `answers` and waits until the dialog shows.
    bool ask(Answers &answers)
    {
        controller().askSaveLocation(u"Kestrin.txt"_s, {plainText}, answers.recorder());
        return waitFor([this] { return dialogOpen(); });
    }
    // The dialog opens where the last save went; the tests start in m_dir.
    void askInTheFolder()
    {
        ASSERT_TRUE(ask(m_answers));
        ASSERT_TRUE(dialog()->setProperty("folder", m_dir.path()));
    }

    QObject *dialog() { return m_loaded.named("saveDialog"); }
    bool dialogOpen() { return dialog() != nullptr && dialog()->property("opened").toBool(); }
    QString folder() { return dialog()->property("folder").toString(); }
    QQuickItem *item(const char *name) { return m_loaded.item(name); }

    QTemporaryDir m_dir;
    // Before the window, which answers a question still open when it goes.
    Answers m_answers;
    Answers m_second;
    LoadedWindow m_loaded;
};

// Opens with the suggested name ready to be typed over. New Folder refuses a
// name that is taken, creates and opens a new one; a typed name is saved
// there, and the next question starts in the folder of that save.
TEST_F(SaveDialogTest, SavesTheTypedNameInTheShownFolder)
{
    askInTheFolder();
    QQuickItem *name = item("saveDialogName");
    EXPECT_EQ(textOf(name), u"Kestrin.txt"_s);
    EXPECT_EQ(name->property("selectedText").toString(), u"Kestrin"_s);
    clickItem(item("saveDialogNewFolder"));
    QQuickItem *folderName = item("saveDialogNewFolderName");
    ASSERT_TRUE(waitFor([&] { return folderName->hasActiveFocus(); }));
    folderName->setProperty("text", u"existing folder"_s);
    clickItem(item("saveDialogCreateFolder"));
    EXPECT_TRUE(textOf(item("saveDialogMessage")).contains(u"already exists"_s));
    EXPECT_EQ(folder(), m_dir.path());
    folderName->setProperty("text", u"Reports 2026"_s);
    clickItem(item("saveDialogCreateFolder"));
    const QString created = m_dir.filePath(u"Reports 2026"_s);
    EXPECT_TRUE(waitFor([&] { return folder() == created; }));
    name->setProperty("text", u"hardware"_s);
    clickItem(item("saveDialogSave"));
    ASSERT_TRUE(waitFor([&] { return !m_answers.given.isEmpty(); }));
    EXPECT_EQ(m_answers.given, QStringList{created + u"/hardware.txt 0"_s});
    ASSERT_TRUE(ask(m_second));
    EXPECT_EQ(folder(), created);
    QTest::keyClick(window(), Qt::Key_Escape);
}

// Escape and Cancel answer "cancelled" once; a second request while the
// dialog is open is cancelled at once and keeps the first.
TEST_F(SaveDialogTest, EveryWayOfCancellingAnswersNothingOnce)
{
    for (const bool escape : {true, false}) {
        m_answers = m_second = {};
        ASSERT_TRUE(ask(m_answers));
        controller().askSaveLocation(u"Other.txt"_s, {plainText}, m_second.recorder());
        EXPECT_EQ(m_second.given, QStringList{u"cancelled"_s});
        EXPECT_EQ(textOf(item("saveDialogName")), u"Kestrin.txt"_s);
        EXPECT_TRUE(m_answers.given.isEmpty());
        if (escape)
            QTest::keyClick(window(), Qt::Key_Escape);
        else
            clickItem(item("saveDialogCancel"));
        ASSERT_TRUE(waitFor([&] { return !m_answers.given.isEmpty(); })) << escape;
        EXPECT_EQ(m_answers.given, QStringList{u"cancelled"_s}) << escape;
        ASSERT_TRUE(waitFor([this] { return !dialogOpen(); })) << escape;
    }
}

TEST_F(SaveDialogTest, AnExistingFileIsReplacedOnlyWhenConfirmed)
{
    ASSERT_TRUE(QFile(m_dir.filePath(u"Kestrin.txt"_s)).open(QIODevice::WriteOnly));
    askInTheFolder();
    clickItem(item("saveDialogSave"));
    QObject *question = findNamed(window(), u"saveDialogReplace"_s);
    ASSERT_TRUE(question && waitFor([&] { return question->property("opened").toBool(); }));
    EXPECT_TRUE(textOf(item("saveDialogReplaceQuestion")).contains(u"Kestrin.txt"_s));
    // Not replacing keeps the dialog open and answers nothing.
    clickItem(item("saveDialogReplaceCancel"));
    ASSERT_TRUE(waitFor([&] { return !question->property("visible").toBool(); }));
    EXPECT_TRUE(m_answers.given.isEmpty() && dialogOpen());
    clickItem(item("saveDialogSave"));
    ASSERT_TRUE(waitFor([&] { return question->property("opened").toBool(); }));
    clickItem(item("saveDialogReplaceConfirm"));
    ASSERT_TRUE(waitFor([&] { return !m_answers.given.isEmpty(); }));
    EXPECT_EQ(m_answers.given, QStringList{m_dir.filePath(u"Kestrin.txt"_s) + u" 0"_s});
}

} // namespace
