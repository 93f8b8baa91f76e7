#include "scanner/activeprocessregistry.h"
#include "scanner/hardwarescanner.h"
#include "scanner/processrunner.h"
#include "tests/runner/runnertestsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>

#include <future>
#include <sys/stat.h>

using namespace RunnerTest;
using namespace std::chrono_literals;

namespace {

const QString macText = QStringLiteral("Memory:\n[DIMM0] BANK 0\n  Size: 16 GB\n");
const QString classicText = QStringLiteral(
    "BIOS Information\n\tVendor: Acme Firmware\n\tVersion: 1.2.3\n\nSystem Information\n"
    "\tManufacturer: Acme Computers\n");

// Escapes text for an "out" command of the fake tool.
QString outCommand(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'\n', QStringLiteral("\\n"));
    escaped.replace(u'\t', QStringLiteral("\\t"));
    return QStringLiteral("out ") + escaped;
}

QString framed(const QString &mac, const QString &classic)
{
    return QStringLiteral("===== dmidecode --mac-hardware =====\n") + mac +
           QStringLiteral("\n\n===== dmidecode -q =====\n") + classic + QStringLiteral("\n");
}

// Everything of an item but its random id.
using ItemFields = std::tuple<HardwareCategory, QString, QString, QString, QString>;

std::vector<ItemFields> fieldsOf(const QList<HardwareItem> &items)
{
    std::vector<ItemFields> fields;
    for (const HardwareItem &item : items) {
        fields.emplace_back(item.category, item.title, item.value, item.detail, item.source);
    }
    return fields;
}

bool hasItem(const QList<HardwareItem> &items, const QString &value, const QString &source)
{
    return std::any_of(items.begin(), items.end(), [&](const HardwareItem &item) {
        return item.value == value && item.source == source;
    });
}

class ScanFixture : public ProcessHygiene {
protected:
    void SetUp() override
    {
        ProcessHygiene::SetUp();
        ::setenv("KESTRIN_FAKE_TOOL_DIR", QFile::encodeName(m_dir.path()).constData(), 1);
        m_scanner.setToolOverride(fakeTool());
        m_scanner.setRunTimeout(10);
    }

    void script(const char *name, const QStringList &commands)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name) + QStringLiteral(".script")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(commands.join(u'\n').toUtf8() + '\n');
    }

    HardwareScanner m_scanner;
};

class RunnerScan : public ScanFixture {};

TEST_F(RunnerScan, BothRunsSucceed)
{
    script("mac", {outCommand(macText)});
    script("classic", {outCommand(classicText)});
    const HardwareScanResult result = m_scanner.performScan();
    EXPECT_EQ(result.rawOutput, framed(macText, classicText));
    EXPECT_TRUE(result.warnings.isEmpty());
    ASSERT_FALSE(result.items.isEmpty());
    EXPECT_EQ(result.items.first().category, HardwareCategory::summary);
    EXPECT_TRUE(hasItem(result.items, QStringLiteral("16 GB"), QStringLiteral("--mac-hardware")));
    EXPECT_TRUE(
        hasItem(result.items, QStringLiteral("Acme Firmware"), QStringLiteral("dmidecode -q")));
}

// Each order is forced: the first run waits until the other has written its
// output and is about to exit.
TEST_F(RunnerScan, CompletionOrderDoesNotMatter)
{
    const QString macDone = tempPath(QStringLiteral("mac.done"));
    const QString classicDone = tempPath(QStringLiteral("classic.done"));
    script("mac", {outCommand(macText), QStringLiteral("touch ") + macDone});
    script("classic", {QStringLiteral("waitfile ") + macDone, QStringLiteral("sleep 100"),
                       outCommand(classicText)});
    const HardwareScanResult macFirst = m_scanner.performScan();

    script("mac", {QStringLiteral("waitfile ") + classicDone, QStringLiteral("sleep 100"),
                   outCommand(macText)});
    script("classic", {outCommand(classicText), QStringLiteral("touch ") + classicDone});
    const HardwareScanResult classicFirst = m_scanner.performScan();

    EXPECT_EQ(classicFirst.rawOutput, framed(macText, classicText));
    EXPECT_EQ(classicFirst.rawOutput, macFirst.rawOutput);
    EXPECT_EQ(classicFirst.warnings, macFirst.warnings);
    EXPECT_EQ(fieldsOf(classicFirst.items), fieldsOf(macFirst.items));
}

struct ScanCase {
    const char *name;
    QStringList mac;
    QStringList classic;
    double timeout;
    QString rawOutput;
    QStringList warnings;
    bool hasItems;
};

void PrintTo(const ScanCase &c, std::ostream *os)
{
    *os << c.name;
}

class RunnerScanOutcome : public ScanFixture, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(RunnerScanOutcome, FramesOutputAndWarnings)
{
    const ScanCase &c = GetParam();
    script("mac", c.mac);
    script("classic", c.classic);
    m_scanner.setRunTimeout(c.timeout);
    const HardwareScanResult result = m_scanner.performScan();
    EXPECT_EQ(result.rawOutput, c.rawOutput);
    EXPECT_EQ(result.warnings, c.warnings);
    EXPECT_EQ(!result.items.isEmpty(), c.hasItems);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerScanOutcome,
    ::testing::Values(
        ScanCase{"EmptyOutputsStillFramed", {}, {}, 10, framed({}, {}), {}, false},
        ScanCase{"MacOptionUnknown",
                 {QStringLiteral("err dmidecode: unrecognized option '--mac-hardware'\\n"),
                  QStringLiteral("exit 2")},
                 {outCommand(classicText)},
                 10,
                 framed({}, classicText),
                 {QStringLiteral("Could not run dmidecode --mac-hardware: dmidecode: unrecognized "
                                 "option '--mac-hardware'\n")},
                 true},
        ScanCase{"ClassicBlankFailure",
                 {outCommand(macText)},
                 {QStringLiteral("out \\n"), QStringLiteral("exit 1")},
                 10,
                 framed(macText, {}),
                 {QStringLiteral("Could not run dmidecode -q: dmidecode exited with status 1.")},
                 true},
        ScanCase{"ClassicFailureWithTableKeepsErrorText",
                 {},
                 {outCommand(classicText), QStringLiteral("err /dev/mem: denied\\n"),
                  QStringLiteral("exit 1")},
                 10,
                 framed({}, classicText + QStringLiteral("\n/dev/mem: denied\n")),
                 {},
                 true},
        ScanCase{"BothTimeOut",
                 {QStringLiteral("sleep 60000")},
                 {QStringLiteral("sleep 60000")},
                 1,
                 framed({}, {}),
                 {QStringLiteral("Could not run dmidecode --mac-hardware: dmidecode timed out "
                                 "after 1 seconds."),
                  QStringLiteral("Could not run dmidecode -q: dmidecode timed out after 1 "
                                 "seconds.")},
                 false}),
    [](const ::testing::TestParamInfo<ScanCase> &info) { return std::string(info.param.name); });

TEST_F(RunnerScan, ToolWithoutExecutePermissionIsFixed)
{
    const QString tool = tempPath(QStringLiteral("dmidecode"));
    ASSERT_TRUE(QFile::copy(fakeTool(), tool));
    ASSERT_EQ(::chmod(QFile::encodeName(tool).constData(), 0644), 0);
    script("mac", {outCommand(macText)});
    script("classic", {outCommand(classicText)});
    m_scanner.setToolOverride(tool);
    const HardwareScanResult result = m_scanner.performScan();
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join(u'|').toStdString();
    EXPECT_EQ(result.rawOutput, framed(macText, classicText));
}

TEST_F(RunnerScan, ToolThatCannotStartWarnsPerRun)
{
    const QString tool = tempPath(QStringLiteral("dmidecode"));
    QFile file(tool);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x7f"
               "ELF but not really");
    file.close();
    m_scanner.setToolOverride(tool);
    const HardwareScanResult result = m_scanner.performScan();
    const QString reason = QString::fromLocal8Bit(std::strerror(ENOEXEC));
    EXPECT_EQ(result.warnings,
              QStringList({QStringLiteral("Could not run dmidecode --mac-hardware: ") + reason,
                           QStringLiteral("Could not run dmidecode -q: ") + reason}));
    EXPECT_EQ(result.rawOutput, framed({}, {}));
    EXPECT_TRUE(result.items.isEmpty());
}

class RunnerScanAsync : public ScanFixture {};

// The pool has two threads; a scan that needed one would never finish here.
TEST_F(RunnerScanAsync, ScanNeedsNoPoolThread)
{
    script("mac", {outCommand(macText)});
    script("classic", {outCommand(classicText)});
    // Qt opens descriptors of its own for its pool threads and futures on first
    // use, so the second round is the one whose descriptors are counted.
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            takeDescriptorBaseline();
        }
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        QThreadPool *pool = QThreadPool::globalInstance();
        for (int i = 0; i < pool->maxThreadCount(); ++i) {
            pool->start([released] { released.wait(); });
        }
        QFuture<HardwareScanResult> future = m_scanner.scan();
        const bool finished = waitUntil([&] { return future.isFinished(); }, 20s);
        release.set_value();
        pool->waitForDone();
        ASSERT_TRUE(finished);
        EXPECT_EQ(future.result().rawOutput, framed(macText, classicText));
    }
}

// The window may drop its scanner while a scan is still running.
TEST_F(RunnerScanAsync, ScanOutlivesItsScanner)
{
    script("mac", {QStringLiteral("sleep 200"), outCommand(macText)});
    script("classic", {outCommand(classicText)});
    QFuture<HardwareScanResult> future;
    {
        HardwareScanner scanner;
        scanner.setToolOverride(fakeTool());
        future = scanner.scan();
    }
    ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }, 20s));
    const HardwareScanResult result = future.result();
    EXPECT_EQ(result.rawOutput, framed(macText, classicText));
    EXPECT_TRUE(result.warnings.isEmpty());
    // The scan's thread finishes reaping on its own; give it a moment.
    ASSERT_TRUE(waitUntil([] { return hasNoChildren(); }));
}

// --- the command-line front end ---

class RunnerCli : public ScanFixture {
protected:
    static QString cli() { return QStringLiteral(KESTRIN_BINARY_DIR "/bin/kestrin-cli"); }

    // A copy of the program in an installed layout, <prefix>/bin/kestrin-cli.
    QString installedCli(bool withTool)
    {
        const QString bin = tempPath(QStringLiteral("prefix/bin"));
        QDir().mkpath(bin);
        const QString program = bin + QStringLiteral("/kestrin-cli");
        EXPECT_TRUE(QFile::copy(cli(), program));
        if (withTool) {
            const QString libexec = tempPath(QStringLiteral("prefix/libexec/kestrin"));
            QDir().mkpath(libexec);
            EXPECT_TRUE(QFile::copy(fakeTool(), libexec + QStringLiteral("/dmidecode")));
        }
        return program;
    }

    static QJsonObject firstLineJson(const QString &text)
    {
        return QJsonDocument::fromJson(text.section(u'\n', 0, 0).toUtf8()).object();
    }
};

TEST_F(RunnerCli, ScansWithTheGivenTool)
{
    script("mac", {outCommand(macText)});
    script("classic", {outCommand(classicText)});
    const Expected<QString> out =
        runDMIDecode(cli(), {QStringLiteral("--tool"), fakeTool(), QStringLiteral("--json")}, 20);
    ASSERT_TRUE(out.hasValue()) << out.error().description.toStdString();
    const QJsonObject json = firstLineJson(out.value());
    EXPECT_EQ(json[u"rawOutput"].toString(), framed(macText, classicText));
    EXPECT_TRUE(json[u"warnings"].toArray().isEmpty());
    EXPECT_FALSE(json[u"items"].toArray().isEmpty());
}

TEST_F(RunnerCli, NonexistentToolIsAUsageError)
{
    const Expected<QString> out =
        runDMIDecode(cli(), {QStringLiteral("--tool"), QStringLiteral("/nonexistent")}, 20);
    ASSERT_FALSE(out.hasValue());
    EXPECT_EQ(out.error().code, 2);
}

TEST_F(RunnerCli, InstalledProgramFindsItsTool)
{
    script("mac", {outCommand(macText)});
    script("classic", {outCommand(classicText)});
    const Expected<QString> out = runDMIDecode(installedCli(true), {QStringLiteral("--json")}, 20);
    ASSERT_TRUE(out.hasValue()) << out.error().description.toStdString();
    EXPECT_EQ(firstLineJson(out.value())[u"rawOutput"].toString(), framed(macText, classicText));
}

TEST_F(RunnerCli, InstalledProgramWithoutToolReportsOnlyThat)
{
    const Expected<QString> out = runDMIDecode(installedCli(false), {QStringLiteral("--json")}, 20);
    ASSERT_TRUE(out.hasValue()) << out.error().description.toStdString();
    const QJsonObject json = firstLineJson(out.value());
    EXPECT_TRUE(json[u"items"].toArray().isEmpty());
    EXPECT_EQ(json[u"rawOutput"].toString(), QString());
    EXPECT_EQ(json[u"warnings"].toArray(),
              QJsonArray({QStringLiteral("Bundled dmidecode tool is not available: Bundled "
                                         "dmidecode tool was not found.")}));
}

} // namespace
