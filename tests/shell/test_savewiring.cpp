// Save Report from the window's buttons: the save question, the written file
// and the error alert, with a fake save location.
#include "tests/ui/uitesthelpers.h"

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
    // Loads the window with the given answer and clicks the save button.
    void save(std::optional<QString> answer)
    {
        auto provider = std::make_unique<FakeSaveLocationProvider>(std::move(answer));
        m_provider = provider.get();
        m_loaded.host->setSaveLocationProvider(std::move(provider));
        ASSERT_TRUE(m_loaded.start());
        QQuickItem *button = findItem(m_loaded.window(), QString::fromLatin1(GetParam()));
        ASSERT_NE(button, nullptr);
        clickItem(button);
        ASSERT_EQ(m_provider->calls, 1);
    }

    // The alert is built the first time it is needed: none at all is not shown.
    QObject *alert() { return findNamed(m_loaded.window(), u"errorAlert"_s); }
    bool alertShown() { return alert() != nullptr && alert()->property("visible").toBool(); }

    QTemporaryDir m_dir;
    LoadedWindow m_loaded;
    FakeSaveLocationProvider *m_provider = nullptr;
};

TEST_P(SaveWiringTest, ConfirmedLocationGetsTheReport)
{
    const QString path = m_dir.filePath(u"report.txt"_s);
    save(path);
    EXPECT_EQ(m_provider->suggested, u"Kestrin.txt"_s);
    EXPECT_EQ(m_provider->filters, QStringList({u"Plain text (*.txt)"_s, u"JSON (*.json)"_s}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(u"Kestrin\nGenerated: "_s)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(u"\nCategory: Summary\n"_s)) << text.toStdString();
    EXPECT_FALSE(alertShown());
}

TEST_P(SaveWiringTest, CancelDoesNothing)
{
    save(std::nullopt);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
    EXPECT_FALSE(alertShown());
}

TEST_P(SaveWiringTest, FailedWriteShowsTheErrorInAnAlert)
{
    // A folder that does not exist: the write fails with the system's message.
    save(m_dir.filePath(u"missing/folder/report.txt"_s));
    ASSERT_TRUE(waitFor([this] { return alert() && alert()->property("opened").toBool(); }));
    const QString shown = textOf(findItem(m_loaded.window(), u"errorAlertMessage"_s));
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, m_loaded.host->alerts().lastError());
    EXPECT_FALSE(QFile::exists(m_dir.filePath(u"missing"_s)));

    // The alert is modal; OK dismisses it and nothing else changed.
    clickItem(findItem(m_loaded.window(), u"errorAlertOkButton"_s));
    EXPECT_TRUE(waitFor([this] { return !alertShown(); }));
    EXPECT_EQ(m_provider->calls, 1);
}

INSTANTIATE_TEST_SUITE_P(Buttons, SaveWiringTest,
                         testing::Values("sidebarSaveReport", "footerSaveReport"));

} // namespace
