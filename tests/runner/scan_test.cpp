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

#define MAC "Memory:\n[DIMM0] BANK 0\n  Size: 16 GB\n"
#define TABLE "BIOS Information\n\tVendor: Acme Firmware\n"

QString framed(const QString &mac, const QString &classic)
{
    return QStringLiteral("===== dmidecode --mac-hardware =====\n") + mac +
           QStringLiteral("\n\n===== dmidecode -q =====\n") + classic + QStringLiteral("\n");
}

const QString bothFramed = framed(QStringLiteral(MAC), QStringLiteral(TABLE));

// A scan whose runs print MAC and TABLE, the mac run after `macFirst`.
class TextScan : public ScanFixture {
protected:
    void scriptBoth(QStringList macFirst = {})
    {
        script("mac", macFirst << QStringLiteral("out " MAC));
        script("classic", {QStringLiteral("out " TABLE)});
    }
};

class RunnerScanOutcome : public ScanFixture {};

TEST_F(RunnerScanOutcome, FramesOutputAndWarnings)
{
    const struct {
        const char *name;
        const char *mac; // the runs' scripts, see commands(); %d is the test's folder
        const char *classic;
        double timeout;
        const char *macBody; // the runs' parts of the raw output
        const char *classicBody;
        const char *warnings; // joined by '|'
    } cases[] = {
        // Each completion order is forced: the first run waits until the other
        // has written its output and is about to exit.
        {"MacFinishesFirst", "out " MAC "|pidfile %d/mac.done",
         "waitfile %d/mac.done|sleep 100|out " TABLE, 10, MAC, TABLE, ""},
        {"ClassicFinishesFirst", "waitfile %d/classic.done|sleep 100|out " MAC,
         "out " TABLE "|pidfile %d/classic.done", 10, MAC, TABLE, ""},
        {"MacOptionUnknown", "err dmidecode: unrecognized option '--mac-hardware'\n|exit 2",
         "out " TABLE, 10, "", TABLE,
         "Could not run dmidecode --mac-hardware: dmidecode: unrecognized option "
         "'--mac-hardware'\n"},
        {"BothTimeOut", "sleep 60000", "sleep 60000", 1, "", "",
         "Could not run dmidecode --mac-hardware: dmidecode timed out after 1 seconds.|"
         "Could not run dmidecode -q: dmidecode timed out after 1 seconds."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        script("mac", commands(c.mac).replaceInStrings(u"%d"_qs, m_dir.path()));
        script("classic", commands(c.classic).replaceInStrings(u"%d"_qs, m_dir.path()));
        m_scanner.setRunTimeout(c.timeout);
        const HardwareScanResult result = m_scanner.performScan();
        EXPECT_EQ(result.rawOutput,
                  framed(QString::fromUtf8(c.macBody), QString::fromUtf8(c.classicBody)));
        EXPECT_EQ(result.warnings.join(u'|'), QString::fromUtf8(c.warnings));
        EXPECT_EQ(result.items.isEmpty(), *c.macBody == 0 && *c.classicBody == 0);
    }
}

class RunnerScanAsync : public TextScan {};

// The pool has two threads; a scan that needed one would never finish here.
// The window may also drop its scanner while a scan is still running.
TEST_F(RunnerScanAsync, ScanNeedsNoPoolThreadAndOutlivesItsScanner)
{
    scriptBoth({QStringLiteral("sleep 200")});
    // Qt opens descriptors of its own for its pool threads and futures on first
    // use, so the second round is the one whose descriptors are counted.
    for (int round = 0; round < 2; ++round) {
        if (round == 1)
            m_fdsBefore = openDescriptors();
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        QThreadPool *pool = QThreadPool::globalInstance();
        for (int i = 0; i < pool->maxThreadCount(); ++i)
            pool->start([released] { released.wait(); });
        QFuture<HardwareScanResult> future = [] {
            HardwareScanner scanner; // gone while its scan runs
            scanner.setToolOverride(fakeTool());
            return scanner.scan();
        }();
        const bool finished = waitUntil([&] { return future.isFinished(); }, 20s);
        release.set_value();
        pool->waitForDone();
        ASSERT_TRUE(finished);
        EXPECT_EQ(future.result().rawOutput, bothFramed);
    }
    // The scan's thread finishes reaping on its own; give it a moment.
    ASSERT_TRUE(waitUntil([] { return hasNoChildren(); }));
}

// --- finding the tool, and the command-line front end that uses it ---

class RunnerCli : public TextScan {
protected:
    // The first line of what `program` prints for --json, run with `arguments`.
    static QJsonObject json(const QString &program, QStringList arguments)
    {
        const Expected<QString> out = runDMIDecode(program, arguments << u"--json"_qs, 20,
                                                   HardwareScanner::activeProcesses());
        EXPECT_EQ(failure(out), -1);
        return QJsonDocument::fromJson((out ? *out : QString()).section(u'\n', 0, 0).toUtf8())
            .object();
    }
};

// Installed, the program finds its tool as <prefix>/libexec/kestrin/dmidecode
// beside <prefix>/bin, never anywhere else.
TEST_F(RunnerCli, ScansWithTheGivenOrTheInstalledTool)
{
    scriptBoth();
    const QString cli = QStringLiteral(KESTRIN_BINARY_DIR "/bin/kestrin-cli");
    EXPECT_EQ(json(cli, {u"--tool"_qs, fakeTool()})[u"rawOutput"].toString(), bothFramed);
    EXPECT_EQ(runningExecutableDir(), QStringLiteral(KESTRIN_BINARY_DIR "/tests"));
    EXPECT_EQ(bundledToolURL(QString()).error().code, 1);
    const QString installed = tempPath(QStringLiteral("bin/kestrin-cli"));
    const QString tool = tempPath(QStringLiteral("libexec/kestrin/dmidecode"));
    ASSERT_TRUE(QDir().mkpath(tempPath(QStringLiteral("bin"))) && QDir().mkpath(tool));
    ASSERT_TRUE(QFile::copy(cli, installed));
    // A folder where the tool should be.
    EXPECT_EQ(json(installed, {})[u"warnings"].toArray(),
              QJsonArray({u"Bundled dmidecode tool is not available: Bundled dmidecode tool was "
                          u"not found."_qs}));
    // Installed without execute permission: the scan adds it.
    ASSERT_TRUE(QDir(tool).removeRecursively() && QFile::copy(fakeTool(), tool));
    ASSERT_EQ(::chmod(QFile::encodeName(tool).constData(), 0644), 0);
    EXPECT_EQ(json(installed, {})[u"rawOutput"].toString(), bothFramed);
}

} // namespace
