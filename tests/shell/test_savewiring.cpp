// Save Report from the window's buttons: the save question, the written file
// and the error alert, with a fake save location.
#include "tests/shell/fakescansource.h"
#include "tests/shell/shelltesthelpers.h"
#include "ui/mainwindowhost.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Answers the save question with a fixed location (and the plain text
// filter), or as cancelled.
class FakeSaveLocationProvider : public SaveLocationProvider {
public:
    explicit FakeSaveLocationProvider(std::optional<QString> answer) : m_answer(std::move(answer))
    {}

    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<SaveLocation>)> done) override
    {
        ++calls;
        suggested = suggestedFileName;
        filters = nameFilters;
        done(m_answer ? std::optional<SaveLocation>(SaveLocation{*m_answer, 0}) : std::nullopt);
    }

    int calls = 0;
    QString suggested;
    QStringList filters;

private:
    std::optional<QString> m_answer;
};

class SaveWiringTest : public testing::TestWithParam<const char *> {
protected:
    void start(std::optional<QString> answer)
    {
        m_scanner = std::make_shared<ManualScanSource>();
        m_host = std::make_unique<MainWindowHost>(m_scanner);
        auto provider = std::make_unique<FakeSaveLocationProvider>(std::move(answer));
        m_provider = provider.get();
        m_host->setSaveLocationProvider(std::move(provider));
        ASSERT_TRUE(m_host->load());
        m_host->window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_host->window()));
        // The footer is built, and the first scan started, once the first
        // frame is on screen.
        ASSERT_TRUE(waitFor([this] { return m_scanner->pendingCount() == 1; }));
    }

    void TearDown() override { m_host.reset(); }

    void clickSave()
    {
        QQuickItem *button = findItem(m_host->window(), QString::fromLatin1(GetParam()));
        ASSERT_NE(button, nullptr);
        clickItem(button);
    }

    QObject *alert() { return findNamed(m_host->window(), QStringLiteral("errorAlert")); }
    // The alert is built the first time it is needed: none at all is not shown.
    bool alertShown()
    {
        QObject *found = alert();
        return found != nullptr && found->property("visible").toBool();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<ManualScanSource> m_scanner;
    std::unique_ptr<MainWindowHost> m_host;
    FakeSaveLocationProvider *m_provider = nullptr;
};

TEST_P(SaveWiringTest, ConfirmedLocationGetsTheReport)
{
    const QString path = m_dir.filePath(QStringLiteral("report.txt"));
    start(path);
    clickSave();
    ASSERT_EQ(m_provider->calls, 1);
    EXPECT_EQ(m_provider->suggested, QStringLiteral("Kestrin.txt"));
    EXPECT_EQ(m_provider->filters,
              QStringList({QStringLiteral("Plain text (*.txt)"), QStringLiteral("JSON (*.json)")}));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Kestrin\nGenerated: "))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nCategory: Summary\n"))) << text.toStdString();
    EXPECT_FALSE(alertShown());
}

TEST_P(SaveWiringTest, CancelDoesNothing)
{
    start(std::nullopt);
    clickSave();
    ASSERT_EQ(m_provider->calls, 1);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
    EXPECT_FALSE(alertShown());
}

TEST_P(SaveWiringTest, FailedWriteShowsTheErrorInAnAlert)
{
    // A folder that does not exist: the write fails with the system's message.
    start(m_dir.filePath(QStringLiteral("missing/folder/report.txt")));
    clickSave();
    ASSERT_EQ(m_provider->calls, 1);
    ASSERT_NE(alert(), nullptr);
    ASSERT_TRUE(waitFor([this] { return alert()->property("opened").toBool(); }));
    const QString shown = findItem(m_host->window(), QStringLiteral("errorAlertMessage"))
                              ->property("text")
                              .toString();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, m_host->alerts().lastError());
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("missing"))));

    // The alert is modal; OK dismisses it and nothing else changed.
    clickItem(findItem(m_host->window(), QStringLiteral("errorAlertOkButton")));
    EXPECT_TRUE(waitFor([this] { return !alert()->property("visible").toBool(); }));
    EXPECT_EQ(m_provider->calls, 1);
}

INSTANTIATE_TEST_SUITE_P(Buttons, SaveWiringTest,
                         testing::Values("sidebarSaveReport", "footerSaveReport"));

} // namespace
