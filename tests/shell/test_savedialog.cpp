// The window's own save dialog behind Save Report: what a typed name stands
// for, and the dialog itself driven through the real window, where every way
// of ending it answers exactly once.
#include "tests/shell/fakescansource.h"
#include "tests/shell/shelltesthelpers.h"
#include "ui/mainwindowhost.h"
#include "ui/savedialogcontroller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cctype>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

const QString plainText = QStringLiteral("Plain text (*.txt)");

struct TargetCase {
    const char *typed;
    SaveTarget::Kind kind;
    const char *path; // relative to the temporary folder; "~" is the home stand-in
};

class ResolveSaveTargetTest : public testing::TestWithParam<TargetCase> {};

TEST_P(ResolveSaveTargetTest, NamesTheFileOrFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("reports/old")));
    const QString home = dir.filePath(QStringLiteral("home"));
    const TargetCase &row = GetParam();
    const SaveTarget target =
        resolveSaveTarget(dir.path(), QString::fromUtf8(row.typed), plainText, home);
    EXPECT_EQ(target.kind, row.kind) << row.typed;
    if (row.kind != SaveTarget::Kind::invalid) {
        QString expected = QString::fromUtf8(row.path);
        expected = expected.startsWith(u'~') ? home + expected.mid(1)
                                             : dir.path() + QLatin1Char('/') + expected;
        EXPECT_EQ(target.path, QDir::cleanPath(expected)) << row.typed;
    }
}

INSTANTIATE_TEST_SUITE_P(
    TypedNames, ResolveSaveTargetTest,
    testing::Values(
        TargetCase{"Kestrin.txt", SaveTarget::Kind::file, "Kestrin.txt"},
        // A name without a suffix gets the format's one; a hidden name's dot is no suffix.
        TargetCase{"hardware", SaveTarget::Kind::file, "hardware.txt"},
        TargetCase{".hidden", SaveTarget::Kind::file, ".hidden.txt"},
        TargetCase{"report.log", SaveTarget::Kind::file, "report.log"},
        TargetCase{"  spaced.txt  ", SaveTarget::Kind::file, "spaced.txt"},
        TargetCase{"reports/new", SaveTarget::Kind::file, "reports/new.txt"},
        TargetCase{"reports/../up.txt", SaveTarget::Kind::file, "up.txt"},
        TargetCase{"~/x.txt", SaveTarget::Kind::file, "~/x.txt"},
        // Existing folders, and names that end in a slash, open a folder.
        TargetCase{"reports", SaveTarget::Kind::folder, "reports"},
        TargetCase{"reports/old/", SaveTarget::Kind::folder, "reports/old"},
        TargetCase{"not-yet/", SaveTarget::Kind::folder, "not-yet"},
        TargetCase{"~", SaveTarget::Kind::folder, "~"},
        TargetCase{"", SaveTarget::Kind::invalid, ""},
        TargetCase{"   ", SaveTarget::Kind::invalid, ""},
        TargetCase{"..", SaveTarget::Kind::folder, ".."}),
    [](const testing::TestParamInfo<TargetCase> &info) {
        std::string name;
        for (const char c : std::string(info.param.typed)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return std::to_string(info.index) + "_" + name;
    });

TEST(NameForFilterTest, ChoosingAFormatSwapsOnlyAFormatsSuffix)
{
    const QStringList filters{plainText, QStringLiteral("JSON (*.json)")};
    const struct {
        const char *name;
        int filter;
        const char *expected;
    } rows[] = {
        {"Kestrin.txt", 1, "Kestrin.json"},
        {"Kestrin.json", 0, "Kestrin.txt"},
        {"Kestrin.TXT", 1, "Kestrin.json"},
        {"Kestrin.json", 1, "Kestrin.json"},
        // A name of the user's own, or only a suffix, is left as typed.
        {"report.log", 1, "report.log"},
        {"report", 1, "report"},
        {".txt", 1, ".txt"},
        {"Kestrin.txt", 7, "Kestrin.txt"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(nameForFilter(QString::fromUtf8(row.name), filters, row.filter),
                  QString::fromUtf8(row.expected))
            << row.name << " -> " << row.filter;
    }
}

TEST(ResolveSaveTargetTest, AbsolutePathsIgnoreTheShownFolder)
{
    const SaveTarget target =
        resolveSaveTarget(QStringLiteral("/somewhere"), QStringLiteral("/tmp/a/b"), plainText, {});
    EXPECT_EQ(target.kind, SaveTarget::Kind::file);
    EXPECT_EQ(target.path, QStringLiteral("/tmp/a/b.txt"));
}

struct Answers {
    int count = 0;
    std::optional<QString> last;
    int lastFilterIndex = -1;
    // A question still open at the end of a test is answered when the window
    // goes away in TearDown, after the test's Answers are gone.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    Answers() = default;
    Answers(const Answers &) = delete;
    Answers &operator=(const Answers &) = delete;
    ~Answers() { *alive = false; }
};

std::function<void(std::optional<SaveLocation>)> recordInto(Answers &answers)
{
    return [&answers, alive = answers.alive](std::optional<SaveLocation> location) {
        if (!*alive) {
            return;
        }
        ++answers.count;
        answers.last = location ? std::optional<QString>(location->path) : std::nullopt;
        answers.lastFilterIndex = location ? location->filterIndex : -1;
    };
}

// The dialog in the real window, opened in a temporary folder.
class SaveDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("existing folder")));
        m_scanner = std::make_shared<ManualScanSource>();
        m_host = std::make_unique<MainWindowHost>(m_scanner);
        ASSERT_TRUE(m_host->load());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    }

    void TearDown() override { m_host.reset(); }

    QQuickWindow *window() const { return m_host->window(); }
    SaveDialogController &controller() { return m_host->saveDialog(); }

    // Asks for a location and waits until the dialog shows, in m_dir.
    void ask(Answers &answers)
    {
        controller().askSaveLocation(QStringLiteral("Kestrin.txt"), {plainText},
                                     recordInto(answers));
        ASSERT_TRUE(waitFor([this] { return dialogOpen(); }));
        // The dialog opens where the last save went; move it to the test's folder.
        ASSERT_TRUE(dialog()->setProperty("folder", m_dir.path()));
    }

    QObject *dialog() { return findNamed(window(), QStringLiteral("saveDialog")); }
    bool dialogOpen() { return dialog() != nullptr && dialog()->property("opened").toBool(); }
    QQuickItem *item(const char *name)
    {
        QQuickItem *found = findItem(window(), QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << "no item named " << name;
        return found;
    }
    void typeName(const QString &name)
    {
        QQuickItem *field = item("saveDialogName");
        field->setProperty("text", name);
    }

    QTemporaryDir m_dir;
    std::shared_ptr<ManualScanSource> m_scanner;
    std::unique_ptr<MainWindowHost> m_host;
};

TEST_F(SaveDialogTest, OpensWithTheSuggestedNameAndFormat)
{
    Answers answers;
    ask(answers);
    EXPECT_EQ(item("saveDialogName")->property("text").toString(), QStringLiteral("Kestrin.txt"));
    EXPECT_EQ(item("saveDialogFormat")->property("currentText").toString(), plainText);
    // The name is ready to be typed over, keeping the suffix.
    EXPECT_EQ(item("saveDialogName")->property("selectedText").toString(),
              QStringLiteral("Kestrin"));
    EXPECT_EQ(answers.count, 0);
}

TEST_F(SaveDialogTest, EveryWayOfCancellingAnswersNothingOnce)
{
    for (const char *how : {"escape", "button"}) {
        Answers answers;
        ask(answers);
        if (QByteArray(how) == "escape") {
            QTest::keyClick(window(), Qt::Key_Escape);
        } else {
            clickItem(item("saveDialogCancel"));
        }
        ASSERT_TRUE(waitFor([&] { return answers.count == 1; })) << how;
        EXPECT_FALSE(answers.last.has_value()) << how;
        EXPECT_FALSE(controller().isActive()) << how;
        ASSERT_TRUE(waitFor([this] { return !dialogOpen(); })) << how;
    }
}

TEST_F(SaveDialogTest, SaveAnswersTheFileInTheShownFolder)
{
    Answers answers;
    ask(answers);
    typeName(QStringLiteral("hardware"));
    clickItem(item("saveDialogSave"));
    ASSERT_TRUE(waitFor([&] { return answers.count == 1; }));
    ASSERT_TRUE(answers.last.has_value());
    EXPECT_EQ(*answers.last, m_dir.filePath(QStringLiteral("hardware.txt")));

    // The next question starts in the folder of this save.
    Answers next;
    controller().askSaveLocation(QStringLiteral("Kestrin.txt"), {plainText}, recordInto(next));
    ASSERT_TRUE(waitFor([this] { return dialogOpen(); }));
    EXPECT_EQ(dialog()->property("folder").toString(), m_dir.path());
    QTest::keyClick(window(), Qt::Key_Escape);
}

TEST_F(SaveDialogTest, TypingAFolderOpensItInsteadOfSaving)
{
    Answers answers;
    ask(answers);
    typeName(QStringLiteral("existing folder"));
    clickItem(item("saveDialogSave"));
    EXPECT_TRUE(waitFor([this] {
        return dialog()->property("folder").toString() ==
               m_dir.filePath(QStringLiteral("existing folder"));
    }));
    EXPECT_EQ(answers.count, 0);
    EXPECT_TRUE(dialogOpen());
}

TEST_F(SaveDialogTest, AnExistingFileIsReplacedOnlyWhenConfirmed)
{
    QFile existing(m_dir.filePath(QStringLiteral("Kestrin.txt")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    Answers answers;
    ask(answers);
    clickItem(item("saveDialogSave"));
    QObject *question = findNamed(window(), QStringLiteral("saveDialogReplace"));
    ASSERT_NE(question, nullptr);
    ASSERT_TRUE(waitFor([&] { return question->property("opened").toBool(); }));
    EXPECT_TRUE(item("saveDialogReplaceQuestion")
                    ->property("text")
                    .toString()
                    .contains(QStringLiteral("Kestrin.txt")));

    // Not replacing keeps the dialog open and answers nothing.
    clickItem(item("saveDialogReplaceCancel"));
    ASSERT_TRUE(waitFor([&] { return !question->property("visible").toBool(); }));
    EXPECT_EQ(answers.count, 0);
    EXPECT_TRUE(dialogOpen());

    clickItem(item("saveDialogSave"));
    ASSERT_TRUE(waitFor([&] { return question->property("opened").toBool(); }));
    clickItem(item("saveDialogReplaceConfirm"));
    ASSERT_TRUE(waitFor([&] { return answers.count == 1; }));
    EXPECT_EQ(answers.last, m_dir.filePath(QStringLiteral("Kestrin.txt")));
}

TEST_F(SaveDialogTest, NewFolderIsCreatedAndOpened)
{
    Answers answers;
    ask(answers);
    clickItem(item("saveDialogNewFolder"));
    QQuickItem *name = item("saveDialogNewFolderName");
    ASSERT_TRUE(waitFor([&] { return name->hasActiveFocus(); }));
    name->setProperty("text", QStringLiteral("Reports 2026"));
    clickItem(item("saveDialogCreateFolder"));
    const QString created = m_dir.filePath(QStringLiteral("Reports 2026"));
    EXPECT_TRUE(QFileInfo(created).isDir());
    EXPECT_TRUE(waitFor([&] { return dialog()->property("folder").toString() == created; }));

    // A name that is taken is refused with a message, nothing else changes.
    clickItem(item("saveDialogNewFolder"));
    ASSERT_TRUE(dialog()->setProperty("folder", m_dir.path()));
    name->setProperty("text", QStringLiteral("existing folder"));
    clickItem(item("saveDialogCreateFolder"));
    EXPECT_TRUE(item("saveDialogMessage")
                    ->property("text")
                    .toString()
                    .contains(QStringLiteral("already exists")));
    EXPECT_EQ(dialog()->property("folder").toString(), m_dir.path());
    EXPECT_EQ(answers.count, 0);
}

TEST_F(SaveDialogTest, SecondRequestWhileOpenIsCancelledAndKeepsTheFirst)
{
    Answers first;
    Answers second;
    ask(first);
    controller().askSaveLocation(QStringLiteral("Other.txt"), {plainText}, recordInto(second));
    EXPECT_EQ(second.count, 1);
    EXPECT_FALSE(second.last.has_value());
    EXPECT_EQ(first.count, 0);
    EXPECT_EQ(item("saveDialogName")->property("text").toString(), QStringLiteral("Kestrin.txt"));
    QTest::keyClick(window(), Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return first.count == 1; }));
}

TEST(SaveDialogControllerTest, GoingAwayAnswersCancelled)
{
    Answers answers;
    {
        SaveDialogController controller;
        controller.askSaveLocation(QStringLiteral("Kestrin.txt"), {plainText}, recordInto(answers));
        EXPECT_TRUE(controller.isActive());
    }
    EXPECT_EQ(answers.count, 1);
    EXPECT_FALSE(answers.last.has_value());
}

TEST(SaveDialogControllerTest, TheAnswerTellsTheChosenFilter)
{
    Answers answers;
    SaveDialogController controller;
    controller.askSaveLocation(QStringLiteral("Kestrin.txt"),
                               {plainText, QStringLiteral("JSON (*.json)")}, recordInto(answers));
    controller.accept(QStringLiteral("/tmp/x/../Kestrin.json"), 1);
    EXPECT_EQ(answers.count, 1);
    EXPECT_EQ(answers.last, QStringLiteral("/tmp/Kestrin.json"));
    EXPECT_EQ(answers.lastFilterIndex, 1);
}

} // namespace
