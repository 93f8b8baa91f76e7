// Save Report from the window's buttons: the save question, the written file
// and the error alert, with a fake save location.
#include "tests/ui/uitesthelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Answers each save question with the next of its answers (a path with the
// plain text filter, or cancelled).
class FakeSaveLocationProvider : public SaveLocationProvider {
public:
    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<SaveLocation>)> done) override
    {
        suggested = suggestedFileName;
        filters = nameFilters;
        const std::optional<QString> answer = answers.value(calls++);
        done(answer ? std::optional<SaveLocation>(SaveLocation{*answer, 0}) : std::nullopt);
    }

    QList<std::optional<QString>> answers;
    int calls = 0;
    QString suggested;
    QStringList filters;
};

class SaveWiringTest : public testing::TestWithParam<const char *> {};

TEST_P(SaveWiringTest, SavesCancelsOrShowsTheErrorInAnAlert)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"report.txt"_s);
    LoadedWindow loaded;
    auto owned = std::make_unique<FakeSaveLocationProvider>();
    FakeSaveLocationProvider *provider = owned.get();
    // A folder that does not exist: the write fails with the system's message.
    provider->answers = {path, std::nullopt, dir.filePath(u"missing/folder/report.txt"_s)};
    loaded.host->setSaveLocationProvider(std::move(owned));
    ASSERT_TRUE(loaded.start());
    const auto save = [&] { clickItem(loaded.item(GetParam())); };
    // The alert is built the first time it is needed: none at all is not shown.
    const auto alert = [&] { return loaded.named("errorAlert"); };
    const auto alertShown = [&] {
        return alert() != nullptr && alert()->property("visible").toBool();
    };

    save();
    ASSERT_EQ(provider->calls, 1);
    EXPECT_EQ(provider->suggested, u"Kestrin.txt"_s);
    EXPECT_EQ(provider->filters, QStringList({u"Plain text (*.txt)"_s, u"JSON (*.json)"_s}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(u"Kestrin\nGenerated: "_s)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(u"\nCategory: Summary\n"_s)) << text.toStdString();
    ASSERT_TRUE(file.remove());

    save();
    ASSERT_EQ(provider->calls, 2);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_FALSE(alertShown());

    save();
    ASSERT_EQ(provider->calls, 3);
    ASSERT_TRUE(waitFor([&] { return alert() && alert()->property("opened").toBool(); }));
    const QString shown = textOf(loaded.item("errorAlertMessage"));
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, loaded.host->alerts().lastError());
    EXPECT_FALSE(QFile::exists(dir.filePath(u"missing"_s)));
    // The alert is modal; OK dismisses it and nothing else changed.
    clickItem(loaded.item("errorAlertOkButton"));
    EXPECT_TRUE(waitFor([&] { return !alertShown(); }));
    EXPECT_EQ(provider->calls, 3);
}

INSTANTIATE_TEST_SUITE_P(Buttons, SaveWiringTest,
                         testing::Values("sidebarSaveReport", "footerSaveReport"));

} // namespace
