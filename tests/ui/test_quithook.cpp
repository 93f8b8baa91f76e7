// On quitting, every tool process still running is asked to terminate, unwaited.
#include "scanner/activeprocessregistry.h"
#include "scanner/hardwarescanner.h"
#include "ui/quithook.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <spawn.h>

extern char **environ;

TEST(QuitHook, TerminatesRunningToolProcessesWithoutWaiting)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "test_quithook";
    char *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    installQuitHook(app);
    ActiveProcessRegistry &registry = HardwareScanner::activeProcesses();
    std::shared_ptr<ChildProcess> sleepers[2];
    for (auto &sleeper : sleepers) {
        pid_t pid = 0;
        char path[] = "/bin/sleep", seconds[] = "30";
        char *args[] = {path, seconds, nullptr};
        ASSERT_EQ(::posix_spawn(&pid, path, nullptr, nullptr, args, environ), 0);
        sleeper = std::make_shared<ChildProcess>(pid);
        registry.add(sleeper);
    }
    QElapsedTimer clock;
    clock.start();
    // What QCoreApplication::exec() emits when the event loop ends.
    ASSERT_TRUE(QMetaObject::invokeMethod(&app, "aboutToQuit", Qt::DirectConnection));
    EXPECT_LT(clock.elapsed(), 1000) << "the quit must not wait for the tools";
    EXPECT_EQ(registry.count(), 0);
    for (auto &sleeper : sleepers)
        EXPECT_EQ(sleeper->waitAndReap(), SIGTERM);
}
