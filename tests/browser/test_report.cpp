#include "browsertesthelpers.h"

#include <QDir>
#include <QRegularExpression>
#include <QTimeZone>

#include <csignal>
#include <sys/resource.h>

namespace {

// 05:06:07 UTC, on a clock five hours ahead: reports stamp the time in UTC.
std::unique_ptr<ScannedModel> modelAt(QList<HardwareItem> items, Cat category)
{
    auto s = std::make_unique<ScannedModel>(std::move(items));
    s->model->setClock(
        [] { return QDateTime(QDate(2026, 3, 4), QTime(10, 6, 7), QTimeZone(5 * 3600)); });
    s->model->setSelectedCategory(category);
    return s;
}

#define HEADER "Kestrin\nGenerated: 2026-03-04 05:06:07 +0000\nCategory: "

// Multi-line values and fields as they are, untrimmed; an empty page is its header.
TEST(ReportText, IsByteExact)
{
    EXPECT_EQ(modelAt({item(Cat::memory, "DIMM")}, Cat::summary)->model->visibleReportText(),
              u8(HEADER "Summary\n"));
    EXPECT_EQ(modelAt({item(Cat::cpu, " Flags ", "fpu\nvme\r\nde", " ", ""),
                       item(Cat::cpu, "Über", "ü", "", "x")},
                      Cat::cpu)
                  ->model->visibleReportText(),
              u8(HEADER "CPU\n\n[CPU]  Flags : fpu\nvme\r\nde\n  Detail:  \n  Source: \n\n"
                        "[CPU] Über: ü\n  Source: x\n"));
}

// Details make the screen order differ from the scan order.
TEST(ReportText, ListsTheLoadedPageInScanOrderAndCopiesIt)
{
    QList<HardwareItem> items = numberedItems(Cat::memory, 200);
    QStringList expected;
    for (int i = 0; i < 200; ++i) {
        items[i].detail = u"Bank %1"_qs.arg(199 - i);
        expected.append(u"[Memory] Item %1: v"_qs.arg(i));
    }
    auto s = modelAt(items, Cat::memory);
    const auto itemLines = [&] {
        return s->model->visibleReportText().split(u'\n').filter(QRegularExpression(u"^\\["_qs));
    };
    EXPECT_EQ(itemLines(), expected.first(80));
    s->model->loadMoreItems();
    EXPECT_EQ(itemLines(), expected.first(160));

    s->model->copyVisibleReport(); // no clipboard: nothing happens
    FakeClipboard clipboard;
    s->model->setClipboardService(&clipboard);
    s->model->copyVisibleReport();
    EXPECT_EQ(clipboard.texts, QStringList{s->model->visibleReportText()});
}

class SaveReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s->model->setSaveLocationProvider(&dialog);
        s->model->setAlertPresenter(&alerts);
    }
    [[nodiscard]] QStringList dirEntries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QString put(const char *name, const QByteArray &bytes) const
    {
        return writeFile(dir.filePath(u8(name)), bytes);
    }

    QTemporaryDir dir;
    std::unique_ptr<ScannedModel> s = modelAt(
        {item(Cat::summary, "Memory", "16 GB"), item(Cat::cpu, "Cores", "8")}, Cat::summary);
    FakeSaveDialog dialog;
    FakeAlerts alerts;
};

// Offered as plain text or JSON; cancelling, or closing the dialog after the
// model is gone, writes nothing.
TEST_F(SaveReportTest, ReplacesAnExistingFileWithTheReportAsItIsWhenTheDialogCloses)
{
    const QString path = put("Kestrin.txt", QByteArray(200, 'o'));
    s->model->saveReport();
    EXPECT_EQ(dialog.suggested, u"Kestrin.txt");
    EXPECT_EQ(dialog.filters, QStringList({u"Plain text (*.txt)"_qs, u"JSON (*.json)"_qs}));
    dialog.close(std::nullopt);
    EXPECT_EQ(readAll(path), QByteArray(200, 'o'));

    s->model->saveReport();
    // The user switches category while the dialog is open.
    s->model->setSelectedCategory(Cat::cpu);
    dialog.close(path);
    EXPECT_EQ(readAll(path), HEADER "CPU\n\n[CPU] Cores: 8\n  Source: src\n");

    s->model->saveReport();
    s.reset();
    dialog.close(dir.filePath(u"other.txt"_qs));
    EXPECT_EQ(dirEntries(), QStringList{u"Kestrin.txt"_qs});
    EXPECT_TRUE(alerts.messages.isEmpty());
}

// Whether the file cannot be opened or the write itself fails: one alert,
// nothing written, nothing left behind.
TEST_F(SaveReportTest, FailedWriteLeavesTheExistingFileUntouched)
{
    const QString notADirectory = put("plain", "keep");
    s->model->saveReport();
    dialog.close(notADirectory + QStringLiteral("/Kestrin.txt"));
    EXPECT_EQ(alerts.messages.size(), 1);
    EXPECT_EQ(readAll(notADirectory), "keep");

    // A file size limit makes the write fail (as a full disk would), even for root.
    const QString path = put("report.txt", "previous report\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 8;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    s->model->saveReport();
    dialog.close(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(alerts.messages.size(), 2);
    EXPECT_FALSE(alerts.messages.contains(QString()));
    EXPECT_EQ(readAll(path), "previous report\n");
    EXPECT_EQ(dirEntries(), QStringList({u"plain"_qs, u"report.txt"_qs}));
}

} // namespace
