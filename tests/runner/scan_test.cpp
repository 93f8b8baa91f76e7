#include "scanner/toollocation.h"
#include "tests/runner/runnertestsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>

#include <future>
#include <sys/stat.h>

using namespace RunnerTest;

namespace {

const QString macText = QStringLiteral("Memory:\n[DIMM0] BANK 0\n  Size: 16 GB\n");
const QString classicText = QStringLiteral(
    "BIOS Information\n\tVendor: Acme Firmware\n\tVersion: 1.2.3\n\nSystem Information\n"
    "\tManufacturer: Acme Computers\n");

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
    return std::ranges::any_of(items, [&](const HardwareItem &item) {
        return item.value == value && item.source == source;
    });
}

struct stat statOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

// A scan whose runs print macText and classicText, the mac run after `macFirst`.
class TextScan : public ScanFixture {
protected:
    void scriptBoth(QStringList macFirst = {})
    {
        script("mac", macFirst << u"out "_qs + macText);
        script("classic", {u"out "_qs + classicText});
    }
};

class RunnerScan : public TextScan {};

// Each order is forced: the first run waits until the other has written its
// output and is about to exit.
TEST_F(RunnerScan, BothRunsSucceedInEitherCompletionOrder)
{
    const QString macDone = tempPath(QStringLiteral("mac.done"));
    const QString classicDone = tempPath(QStringLiteral("classic.done"));
    script("mac", {u"out "_qs + macText, QStringLiteral("touch ") + macDone});
    script("classic",
           {QStringLiteral("waitfile ") + macDone, u"sleep 100"_qs, u"out "_qs + classicText});
    const HardwareScanResult macFirst = m_scanner.performScan();
    EXPECT_EQ(macFirst.rawOutput, framed(macText, classicText));
    EXPECT_TRUE(macFirst.warnings.isEmpty());
    ASSERT_FALSE(macFirst.items.isEmpty());
    EXPECT_EQ(macFirst.items.first().category, HardwareCategory::summary);
    EXPECT_TRUE(hasItem(macFirst.items, u"16 GB"_qs, u"--mac-hardware"_qs));
    EXPECT_TRUE(hasItem(macFirst.items, u"Acme Firmware"_qs, u"dmidecode -q"_qs));

    script("mac",
           {QStringLiteral("waitfile ") + classicDone, u"sleep 100"_qs, u"out "_qs + macText});
    script("classic", {u"out "_qs + classicText, QStringLiteral("touch ") + classicDone});
    const HardwareScanResult classicFirst = m_scanner.performScan();
    EXPECT_EQ(classicFirst.rawOutput, macFirst.rawOutput);
    EXPECT_EQ(classicFirst.warnings, macFirst.warnings);
    EXPECT_EQ(fieldsOf(classicFirst.items), fieldsOf(macFirst.items));
}

struct ScanCase {
    friend void PrintTo(const ScanCase &c, std::ostream *os) { *os << c.name; }
    const char *name;
    const char *mac; // the runs' scripts, see commands()
    const char *classic;
    double timeout;
    const char *macBody; // the runs' parts of the raw output
    const char *classicBody;
    const char *warnings; // joined by '|'
};

class RunnerScanOutcome : public ScanFixture, public ::testing::WithParamInterface<ScanCase> {};

TEST_P(RunnerScanOutcome, FramesOutputAndWarnings)
{
    const ScanCase &c = GetParam();
    script("mac", commands(c.mac));
    script("classic", commands(c.classic));
    m_scanner.setRunTimeout(c.timeout);
    const HardwareScanResult result = m_scanner.performScan();
    EXPECT_EQ(result.rawOutput,
              framed(QString::fromUtf8(c.macBody), QString::fromUtf8(c.classicBody)));
    EXPECT_EQ(result.warnings.join(u'|'), QString::fromUtf8(c.warnings));
    // Every body here holds facts.
    EXPECT_EQ(result.items.isEmpty(), *c.macBody == 0 && *c.classicBody == 0);
}

#define TABLE "BIOS Information\n\tVendor: Acme Firmware\n"

INSTANTIATE_TEST_SUITE_P(
    Cases, RunnerScanOutcome,
    ::testing::Values(
        ScanCase{"EmptyOutputsStillFramed", "", "", 10, "", "", ""},
        ScanCase{"MacOptionUnknown", "err dmidecode: unrecognized option '--mac-hardware'\n|exit 2",
                 "out " TABLE, 10, "", TABLE,
                 "Could not run dmidecode --mac-hardware: dmidecode: unrecognized option "
                 "'--mac-hardware'\n"},
        ScanCase{"ClassicBlankFailure", "out Memory:\n[DIMM0] BANK 0\n  Size: 16 GB",
                 "out \n|exit 1", 10, "Memory:\n[DIMM0] BANK 0\n  Size: 16 GB", "",
                 "Could not run dmidecode -q: dmidecode exited with status 1."},
        ScanCase{"ClassicFailureWithTableKeepsErrorText", "",
                 "out " TABLE "|err /dev/mem: denied\n|exit 1", 10, "",
                 TABLE "\n/dev/mem: denied\n", ""},
        ScanCase{"BothTimeOut", "sleep 60000", "sleep 60000", 1, "", "",
                 "Could not run dmidecode --mac-hardware: dmidecode timed out after 1 seconds.|"
                 "Could not run dmidecode -q: dmidecode timed out after 1 seconds."}),
    [](const ::testing::TestParamInfo<ScanCase> &info) { return std::string(info.param.name); });

TEST_F(RunnerScan, ToolWithoutExecutePermissionIsFixed)
{
    const QString tool = tempPath(QStringLiteral("dmidecode"));
    ASSERT_TRUE(QFile::copy(fakeTool(), tool));
    ASSERT_EQ(::chmod(QFile::encodeName(tool).constData(), 0644), 0);
    scriptBoth();
    m_scanner.setToolOverride(tool);
    const HardwareScanResult result = m_scanner.performScan();
    EXPECT_TRUE(result.warnings.isEmpty()) << result.warnings.join(u'|').toStdString();
    EXPECT_EQ(result.rawOutput, framed(macText, classicText));
    EXPECT_EQ(statOf(tool).st_mode & 0777, 0755u);
}

class RunnerScanAsync : public TextScan {};

// The pool has two threads; a scan that needed one would never finish here.
TEST_F(RunnerScanAsync, ScanNeedsNoPoolThread)
{
    scriptBoth();
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
    scriptBoth({QStringLiteral("sleep 200")});
    QFuture<HardwareScanResult> future;
    {
        HardwareScanner scanner;
        scanner.setToolOverride(fakeTool());
        future = scanner.scan();
    }
    ASSERT_TRUE(waitUntil([&] { return future.isFinished(); }, 20s));
    EXPECT_EQ(future.result().rawOutput, framed(macText, classicText));
    EXPECT_TRUE(future.result().warnings.isEmpty());
    // The scan's thread finishes reaping on its own; give it a moment.
    ASSERT_TRUE(waitUntil([] { return hasNoChildren(); }));
}

// --- finding the tool, and the command-line front end that uses it ---

class RunnerToolLocation : public ProcessHygiene {};

// The command-line tests below find the tool in an installed layout; here the
// edges: no program folder, and a folder where the tool should be.
TEST_F(RunnerToolLocation, FolderOrNoProgramFolderIsNoTool)
{
    EXPECT_EQ(runningExecutableDir(), QStringLiteral(KESTRIN_BINARY_DIR "/tests"));
    QDir().mkpath(tempPath(QStringLiteral("prefix/libexec/kestrin/dmidecode")));
    for (const QString &folder : {tempPath(QStringLiteral("prefix/bin")), QString()}) {
        const Expected<QString> found = bundledToolURL(folder);
        ASSERT_FALSE(found.hasValue());
        EXPECT_EQ(found.error(),
                  ScanError({u"Kestrin"_qs, 1, u"Bundled dmidecode tool was not found."_qs}));
    }
}

class RunnerCli : public TextScan {
protected:
    static QString cli() { return QStringLiteral(KESTRIN_BINARY_DIR "/bin/kestrin-cli"); }

    // The first line of what the program prints for --json, run with `arguments`.
    static QJsonObject json(const QString &program, QStringList arguments)
    {
        const Expected<QString> out = runDMIDecode(program, arguments << u"--json"_qs, 20);
        EXPECT_TRUE(out.hasValue()) << out.error().description.toStdString();
        return QJsonDocument::fromJson(
                   (out.hasValue() ? out.value() : QString()).section(u'\n', 0, 0).toUtf8())
            .object();
    }

    // A copy of the program in an installed layout, <prefix>/bin/kestrin-cli.
    QString installedCli(bool withTool)
    {
        QDir().mkpath(tempPath(QStringLiteral("prefix/bin")));
        const QString program = tempPath(QStringLiteral("prefix/bin/kestrin-cli"));
        EXPECT_TRUE(QFile::copy(cli(), program));
        if (withTool) {
            QDir().mkpath(tempPath(QStringLiteral("prefix/libexec/kestrin")));
            EXPECT_TRUE(QFile::copy(fakeTool(),
                                    tempPath(QStringLiteral("prefix/libexec/kestrin/dmidecode"))));
        }
        return program;
    }
};

TEST_F(RunnerCli, ScansWithTheGivenOrTheInstalledTool)
{
    scriptBoth();
    const QJsonObject given = json(cli(), {u"--tool"_qs, fakeTool()});
    EXPECT_EQ(given[u"rawOutput"].toString(), framed(macText, classicText));
    EXPECT_TRUE(given[u"warnings"].toArray().isEmpty());
    EXPECT_FALSE(given[u"items"].toArray().isEmpty());
    EXPECT_EQ(json(installedCli(true), {})[u"rawOutput"].toString(), framed(macText, classicText));

    // Installed without its tool: reports only that.
    QDir(tempPath(QStringLiteral("prefix"))).removeRecursively();
    const QJsonObject missing = json(installedCli(false), {});
    EXPECT_TRUE(missing[u"items"].toArray().isEmpty());
    EXPECT_EQ(missing[u"rawOutput"].toString(), QString());
    EXPECT_EQ(missing[u"warnings"].toArray(),
              QJsonArray({u"Bundled dmidecode tool is not available: Bundled dmidecode tool was "
                          u"not found."_qs}));
}

} // namespace
