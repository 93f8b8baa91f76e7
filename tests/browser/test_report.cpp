#include "browsertesthelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <csignal>
#include <sys/resource.h>

using Cat = HardwareCategory;

namespace {

const QDateTime fixedTime = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);

std::unique_ptr<ScannedModel> modelAt(QList<HardwareItem> items, Cat category)
{
    auto s = std::make_unique<ScannedModel>(std::move(items));
    s->model->setClock([] { return fixedTime; });
    s->model->setSelectedCategory(category);
    return s;
}

class FakeClipboard : public ClipboardService {
public:
    void setPlainText(const QString &text) override { texts.append(text); }
    QStringList texts;
};

class FakeSaveDialog : public SaveLocationProvider {
public:
    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<SaveLocation>)> done) override
    {
        suggested = suggestedFileName;
        filters = nameFilters;
        pending = std::move(done);
    }
    // The user closes the dialog, having chosen the filter at `filterIndex`.
    void close(std::optional<QString> path, int filterIndex = 0)
    {
        auto done = std::move(pending);
        pending = nullptr;
        done(path ? std::optional<SaveLocation>(SaveLocation{*path, filterIndex}) : std::nullopt);
    }

    QString suggested;
    QStringList filters;
    std::function<void(std::optional<SaveLocation>)> pending;
};

class FakeAlerts : public AlertPresenter {
public:
    void showError(const QString &message) override { messages.append(message); }
    QStringList messages;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

struct ReportCase {
    const char *name;
    Cat category;
    QList<HardwareItem> items;
    QByteArray expected;
};

class ReportTextTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportTextTest, IsByteExact)
{
    const ReportCase &c = GetParam();
    auto s = modelAt(c.items, c.category);
    EXPECT_EQ(s->model->visibleReportText().toUtf8(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Browser, ReportTextTest,
    ::testing::Values(
        ReportCase{"EmptyPage",
                   Cat::summary,
                   {item(Cat::memory, "DIMM")},
                   "Kestrin\nGenerated: 2026-03-04 05:06:07 +0000\nCategory: Summary\n"},
        ReportCase{"EmptyDetail",
                   Cat::raw,
                   {item(Cat::raw, "Key", "Value", "", "dmidecode -q")},
                   "Kestrin\nGenerated: 2026-03-04 05:06:07 +0000\nCategory: Other\n\n"
                   "[Other] Key: Value\n  Source: dmidecode -q\n"},
        ReportCase{"SingleSpaceDetail",
                   Cat::memory,
                   {item(Cat::memory, "Size", "8 GB", " ", "s")},
                   "Kestrin\nGenerated: 2026-03-04 05:06:07 +0000\nCategory: Memory\n\n"
                   "[Memory] Size: 8 GB\n  Detail:  \n  Source: s\n"},
        ReportCase{"MultiLineValueAndUntrimmedFields",
                   Cat::cpu,
                   {item(Cat::cpu, " Flags ", "fpu\nvme\r\nde", "CPU \xe2\x80\xa2 0", ""),
                    item(Cat::cpu, "Über", "ü", "", "x")},
                   "Kestrin\nGenerated: 2026-03-04 05:06:07 +0000\nCategory: CPU\n\n"
                   "[CPU]  Flags : fpu\nvme\r\nde\n  Detail: CPU \xe2\x80\xa2 0\n  Source: \n\n"
                   "[CPU] \xc3\x9c"
                   "ber: \xc3\xbc\n  Source: x\n"}),
    [](const ::testing::TestParamInfo<ReportCase> &info) { return std::string(info.param.name); });

TEST(ReportText, ListsTheLoadedPageInScanOrder)
{
    QList<HardwareItem> items;
    for (int i = 0; i < 200; ++i) {
        // Details make the screen order differ from the scan order.
        items.append(HardwareItem(Cat::memory, QStringLiteral("T%1").arg(i), QStringLiteral("v"),
                                  QStringLiteral("Bank %1").arg(199 - i), QStringLiteral("s")));
    }
    auto s = modelAt(items, Cat::memory);
    const auto itemLines = [&] {
        QStringList lines;
        for (const QString &line : s->model->visibleReportText().split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1Char('['))) {
                lines.append(line);
            }
        }
        return lines;
    };
    QStringList expected;
    for (int i = 0; i < 160; ++i) {
        expected.append(QStringLiteral("[Memory] T%1: v").arg(i));
    }
    EXPECT_EQ(itemLines(), expected.first(80));
    s->model->loadMoreItems();
    EXPECT_EQ(itemLines(), expected);
}

TEST(ReportText, GeneratedStampIsUtc)
{
    auto s = modelAt({}, Cat::summary);
    s->model->setClock(
        [] { return QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0), QTimeZone(5 * 3600)); });
    EXPECT_TRUE(s->model->visibleReportText().contains(
        QStringLiteral("\nGenerated: 2026-12-31 18:30:00 +0000\n")));
}

TEST(CopyReport, PutsTheReportOnTheClipboard)
{
    auto s = modelAt({item(Cat::summary, "Memory", "16 GB")}, Cat::summary);
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
        ASSERT_TRUE(dir.isValid());
        s = modelAt({item(Cat::summary, "Memory", "16 GB"), item(Cat::cpu, "Cores", "8")},
                    Cat::summary);
        s->model->setSaveLocationProvider(&dialog);
        s->model->setAlertPresenter(&alerts);
    }

    [[nodiscard]] QStringList dirEntries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    std::unique_ptr<ScannedModel> s;
    FakeSaveDialog dialog;
    FakeAlerts alerts;
};

TEST_F(SaveReportTest, AsksForPlainTextOrJsonNamedKestrin)
{
    s->model->saveReport();
    ASSERT_TRUE(dialog.pending);
    EXPECT_EQ(dialog.suggested, QStringLiteral("Kestrin.txt"));
    EXPECT_EQ(dialog.filters,
              QStringList({QStringLiteral("Plain text (*.txt)"), QStringLiteral("JSON (*.json)")}));
}

TEST_F(SaveReportTest, CancelWritesNothing)
{
    s->model->saveReport();
    dialog.close(std::nullopt);
    EXPECT_TRUE(dirEntries().isEmpty());
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(SaveReportTest, ReplacesAnExistingFileWithTheReportAsItIsWhenTheDialogCloses)
{
    const QString path = dir.filePath(QStringLiteral("Kestrin.txt"));
    ASSERT_TRUE(writeFile(path, "old content that is longer than the new report ....."
                                "...................................................."));
    s->model->saveReport();
    // The user switches category while the dialog is open.
    s->model->setSelectedCategory(Cat::cpu);
    dialog.close(path);
    EXPECT_EQ(readAll(path), "Kestrin\nGenerated: 2026-03-04 05:06:07 +0000\nCategory: CPU\n\n"
                             "[CPU] Cores: 8\n  Source: src\n");
    EXPECT_EQ(dirEntries(), QStringList{QStringLiteral("Kestrin.txt")});
    EXPECT_TRUE(alerts.messages.isEmpty());
}

TEST_F(SaveReportTest, TargetInsideARegularFileFailsWithOneAlert)
{
    const QString notADirectory = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(writeFile(notADirectory, "keep"));
    s->model->saveReport();
    dialog.close(notADirectory + QStringLiteral("/Kestrin.txt"));
    EXPECT_EQ(alerts.messages.size(), 1);
    EXPECT_FALSE(alerts.messages.value(0).isEmpty());
    EXPECT_EQ(readAll(notADirectory), "keep");
    EXPECT_EQ(dirEntries(), QStringList{QStringLiteral("plain")});
}

TEST_F(SaveReportTest, FailedWriteLeavesTheExistingFileUntouched)
{
    // A file size limit makes the write itself fail (as a full disk would),
    // which holds even for root.
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    const QByteArray old = "previous report\n";
    ASSERT_TRUE(writeFile(path, old));

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

    EXPECT_EQ(alerts.messages.size(), 1);
    EXPECT_FALSE(alerts.messages.value(0).isEmpty());
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(dirEntries(), QStringList{QStringLiteral("report.txt")});
}

TEST_F(SaveReportTest, ModelGoneBeforeTheDialogClosesWritesNothing)
{
    s->model->saveReport();
    s.reset();
    dialog.close(dir.filePath(QStringLiteral("Kestrin.txt")));
    EXPECT_TRUE(dirEntries().isEmpty());
    EXPECT_TRUE(alerts.messages.isEmpty());
}
