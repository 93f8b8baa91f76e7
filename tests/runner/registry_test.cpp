#include "scanner/activeprocessregistry.h"
#include "scanner/processrunner.h"
#include "tests/runner/runnertestsupport.h"

#include <future>
#include <spawn.h>

extern char **environ;

using namespace RunnerTest;

namespace {

class RunnerRegistry : public ScanFixture {};

TEST_F(RunnerRegistry, ReapedChildIsNeverSignalled)
{
    QByteArray tool = QFile::encodeName(fakeTool()), exit7("exit 7");
    char *argv[] = {tool.data(), exit7.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(::posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
    ChildProcess child(pid);
    // Ended but still a zombie of ours: not running, and the reaper gets its status.
    ASSERT_TRUE(waitUntil([&] { return !child.isRunning(); }));
    EXPECT_EQ(child.waitAndReap(), 7);
    EXPECT_FALSE(child.isRunning() || child.sendSignal(0) || child.sendSignal(SIGTERM));
    // Once someone else has collected a child its pid may name another process;
    // our own pid stands in for that one here.
    ChildProcess elsewhere(::getpid());
    EXPECT_EQ(elsewhere.waitAndReap(), -1);
    EXPECT_FALSE(elsewhere.isRunning() || elsewhere.sendSignal(0));
}

// Cancel stops the runs of one program only, through each run's own stop
// sequence: the one that ignores SIGTERM is killed once the grace is over.
// Runs handed their own registry are out of the application's reach.
TEST_F(RunnerRegistry, StopEndsTheRunsOfOneProgramAndEscalates)
{
    ActiveProcessRegistry registry;
    const QString started = tempPath(QStringLiteral("p"));
    const QString pkexec = tempPath(QStringLiteral("pkexec"));
    ASSERT_TRUE(QFile::link(fakeTool(), pkexec));
    auto runOf = [&](const QString &program, QStringList commands) {
        return std::async(std::launch::async, [&registry, program, commands] {
            return runDMIDecode(program, commands, 60, registry);
        });
    };
    auto stubborn = runOf(pkexec, {u"ignoreterm"_qs, u"pidfile "_qs + started, u"sleep 60000"_qs});
    auto polite = runOf(pkexec, {QStringLiteral("sleep 60000")});
    auto other = runOf(fakeTool(), {QStringLiteral("sleep 60000")});
    ASSERT_TRUE(waitUntil([&] { return registry.count() == 3 && QFile::exists(started); }));
    HardwareScanner::activeProcesses().terminateAll();
    EXPECT_EQ(registry.count(), 3);

    EXPECT_EQ(registry.stop(u"/x/nothing"_qs), 0);
    EXPECT_EQ(registry.stop(pkexec), 2);
    EXPECT_EQ(failure(polite.get()), SIGTERM);
    EXPECT_EQ(failure(stubborn.get()), SIGKILL);
    EXPECT_EQ(registry.count(), 1);
    registry.terminateAll();
    EXPECT_EQ(failure(other.get()), SIGTERM);
}

// What the quit hook does while a scan is running: both runs end at once with
// the failure of a child ended by SIGTERM, and the scan still completes.
TEST_F(RunnerRegistry, TerminateAllDuringAScan)
{
    script("mac", {QStringLiteral("sleep 60000")});
    script("classic", {QStringLiteral("sleep 60000")});
    ActiveProcessRegistry &registry = HardwareScanner::activeProcesses();
    const qsizetype before = registry.count();

    auto scan = std::async(std::launch::async, [&] { return m_scanner.performScan(); });
    ASSERT_TRUE(waitUntil([&] { return registry.count() == before + 2; }));
    const auto start = std::chrono::steady_clock::now();
    registry.terminateAll();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    EXPECT_EQ(registry.count(), 0);

    EXPECT_EQ(scan.get().warnings,
              QStringList({u"Could not run dmidecode --mac-hardware: dmidecode exited with status "
                           u"15."_qs,
                           u"Could not run dmidecode -q: dmidecode exited with status 15."_qs}));
}

} // namespace
