#include "scanner/activeprocessregistry.h"
#include "scanner/hardwarescanner.h"
#include "scanner/processrunner.h"
#include "tests/runner/runnertestsupport.h"

#include <future>
#include <spawn.h>

extern char **environ;

using namespace RunnerTest;
using namespace std::chrono_literals;

namespace {

pid_t spawnFakeTool(const QStringList &commands)
{
    std::vector<QByteArray> bytes{QFile::encodeName(fakeTool())};
    for (const QString &command : commands) {
        bytes.push_back(command.toUtf8());
    }
    std::vector<char *> argv;
    for (QByteArray &b : bytes) {
        argv.push_back(b.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
}

class RunnerRegistry : public ProcessHygiene {};

TEST_F(RunnerRegistry, RemoveTakesEveryEntryOfThatHandleOnly)
{
    ActiveProcessRegistry registry;
    auto a = std::make_shared<ChildProcess>(1000001);
    auto b = std::make_shared<ChildProcess>(1000001); // same pid, different handle
    registry.add(a);
    registry.add(b);
    registry.add(a);
    EXPECT_EQ(registry.count(), 3);
    registry.remove(a.get());
    EXPECT_EQ(registry.count(), 1);
    registry.remove(a.get());
    EXPECT_EQ(registry.count(), 1);
    registry.remove(b.get());
    EXPECT_EQ(registry.count(), 0);
}

TEST_F(RunnerRegistry, TerminateAllOnEmptyRegistryTwice)
{
    ActiveProcessRegistry registry;
    registry.terminateAll();
    registry.terminateAll();
    EXPECT_EQ(registry.count(), 0);
}

TEST_F(RunnerRegistry, SharedInstanceIsOne)
{
    EXPECT_EQ(&HardwareScanner::activeProcesses(), &HardwareScanner::activeProcesses());
}

TEST_F(RunnerRegistry, ReapedChildIsNeverSignalled)
{
    const pid_t pid = spawnFakeTool({QStringLiteral("exit 7")});
    ChildProcess child(pid);
    EXPECT_EQ(child.waitAndReap(), 7);
    EXPECT_FALSE(child.isRunning());
    EXPECT_FALSE(child.sendSignal(0));
    EXPECT_FALSE(child.sendSignal(SIGTERM));
}

TEST_F(RunnerRegistry, ChildCollectedElsewhereIsNeverSignalled)
{
    // Once someone else has collected the child its pid may name another process;
    // our own pid stands in for that one here.
    ChildProcess child(::getpid());
    EXPECT_EQ(child.waitAndReap(), -1);
    EXPECT_FALSE(child.isRunning());
    EXPECT_FALSE(child.sendSignal(0));
}

TEST_F(RunnerRegistry, EndedButUnreapedChildIsNotRunning)
{
    const pid_t pid = spawnFakeTool({QStringLiteral("exit 0")});
    ChildProcess child(pid);
    ASSERT_TRUE(waitUntil([&] { return !child.isRunning(); }));
    // Still a zombie of ours: the reaper gets it and its status.
    EXPECT_EQ(child.waitAndReap(), 0);
}

TEST_F(RunnerRegistry, TerminateAllSignalsAndEmptiesWithoutWaiting)
{
    ActiveProcessRegistry registry;
    const QString pidFile = tempPath(QStringLiteral("p"));
    auto stubborn = std::make_shared<ChildProcess>(
        spawnFakeTool({QStringLiteral("ignoreterm"), QStringLiteral("touch ") + pidFile,
                       QStringLiteral("sleep 60000")}));
    auto polite = std::make_shared<ChildProcess>(spawnFakeTool({QStringLiteral("sleep 60000")}));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(pidFile); }));
    registry.add(stubborn);
    registry.add(polite);

    registry.terminateAll();
    EXPECT_EQ(registry.count(), 0);
    EXPECT_EQ(polite->waitAndReap(), SIGTERM);
    // Never escalated: the one that ignores SIGTERM is still alive.
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(stubborn->isRunning());
    registry.terminateAll();
    stubborn->sendSignal(SIGKILL);
    EXPECT_EQ(stubborn->waitAndReap(), SIGKILL);
}

// What the quit hook does while a scan is running: both runs end at once with
// the failure of a child ended by SIGTERM, and the scan still completes.
TEST_F(RunnerRegistry, TerminateAllDuringAScan)
{
    QTemporaryDir scripts;
    for (const char *name : {"mac.script", "classic.script"}) {
        QFile file(scripts.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("sleep 60000\n");
    }
    ::setenv("KESTRIN_FAKE_TOOL_DIR", QFile::encodeName(scripts.path()).constData(), 1);
    HardwareScanner scanner;
    scanner.setToolOverride(fakeTool());
    ActiveProcessRegistry &registry = HardwareScanner::activeProcesses();
    const qsizetype before = registry.count();

    auto scan = std::async(std::launch::async, [&] { return scanner.performScan(); });
    ASSERT_TRUE(waitUntil([&] { return registry.count() == before + 2; }));
    const auto start = std::chrono::steady_clock::now();
    registry.terminateAll();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(registry.count(), 0);

    const HardwareScanResult result = scan.get();
    EXPECT_EQ(
        result.warnings,
        QStringList({QStringLiteral("Could not run dmidecode --mac-hardware: dmidecode exited "
                                    "with status 15."),
                     QStringLiteral("Could not run dmidecode -q: dmidecode exited with "
                                    "status 15.")}));
    EXPECT_EQ(registry.count(), 0);
}

} // namespace
