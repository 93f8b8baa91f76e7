// When the application is about to quit, every tool process that is still
// running is asked to terminate, and the quit does not wait for it.
#include "scanner/activeprocessregistry.h"
#include "scanner/hardwarescanner.h"
#include "ui/quithook.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <spawn.h>
#include <unistd.h>

extern char **environ;

namespace {

std::shared_ptr<ChildProcess> startSleeper()
{
    pid_t pid = 0;
    char sleepPath[] = "/bin/sleep";
    char seconds[] = "30";
    char *argv[] = {sleepPath, seconds, nullptr};
    if (::posix_spawn(&pid, sleepPath, nullptr, nullptr, argv, environ) != 0)
        return nullptr;
    return std::make_shared<ChildProcess>(pid);
}

} // namespace

TEST(QuitHook, TerminatesRunningToolProcessesWithoutWaiting)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "test_quithook";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    installQuitHook(app);
    ActiveProcessRegistry &registry = HardwareScanner::activeProcesses();
    const std::shared_ptr<ChildProcess> first = startSleeper();
    const std::shared_ptr<ChildProcess> second = startSleeper();
    ASSERT_TRUE(first && second && first->isRunning());
    registry.add(first);
    registry.add(second);
    QElapsedTimer clock;
    clock.start();
    // What QCoreApplication::exec() emits when the event loop ends.
    ASSERT_TRUE(QMetaObject::invokeMethod(&app, "aboutToQuit", Qt::DirectConnection));
    EXPECT_LT(clock.elapsed(), 1000) << "the quit must not wait for the tools";
    EXPECT_EQ(registry.count(), 0);
    EXPECT_EQ(first->waitAndReap(), SIGTERM);
    EXPECT_EQ(second->waitAndReap(), SIGTERM);
}
