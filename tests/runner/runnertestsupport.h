#pragma once

#include "scanner/hardwarescanner.h"
#include "scanner/processrunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <thread>

namespace RunnerTest {

using namespace std::chrono_literals;

inline QString fakeTool()
{
    return QStringLiteral(KESTRIN_FAKE_TOOL);
}

// Fake tool commands as one string, "out a|exit 3".
inline QStringList commands(const char *joined)
{
    return QString::fromUtf8(joined).split(u'|');
}

inline Expected<QString> runFake(const QStringList &commands, double limit = 10)
{
    return runDMIDecode(fakeTool(), commands, limit, HardwareScanner::activeProcesses());
}

// The error code of a failed run; -1 for a run that succeeded.
inline std::int64_t failure(const Expected<QString> &result)
{
    return result.hasValue() ? -1 : result.error().code;
}

inline std::set<int> openDescriptors()
{
    std::set<int> fds;
    DIR *dir = ::opendir("/proc/self/fd");
    while (dirent *entry = ::readdir(dir))
        if (entry->d_name[0] != '.' && std::atoi(entry->d_name) != ::dirfd(dir))
            fds.insert(std::atoi(entry->d_name));
    ::closedir(dir);
    return fds;
}

// No child left, ended or not.
inline bool hasNoChildren()
{
    siginfo_t info{};
    return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

inline bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds limit = 10s)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(5ms);
    return condition();
}

inline pid_t readPid(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? pid_t(file.readAll().trimmed().toLong()) : -1;
}

// Every test leaves no child behind (reaped, not zombie) and no descriptor
// open that was not open before.
class ProcessHygiene : public ::testing::Test {
protected:
    void SetUp() override { m_fdsBefore = openDescriptors(); }
    void TearDown() override
    {
        EXPECT_TRUE(hasNoChildren()) << "a child process was not reaped";
        std::set<int> added;
        std::ranges::set_difference(openDescriptors(), m_fdsBefore,
                                    std::inserter(added, added.end()));
        EXPECT_TRUE(added.empty()) << "descriptors leaked: " << ::testing::PrintToString(added);
        for (const QString &path : m_leftBehind)
            if (const pid_t pid = readPid(path); pid > 0)
                ::kill(pid, SIGKILL);
    }

    // A pid file for a process the tool leaves behind, killed after the test.
    QString leftBehindPidFile()
    {
        return m_leftBehind.emplace_back(tempPath(u"left%1.pid"_qs.arg(m_leftBehind.size())));
    }
    QString tempPath(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    std::set<int> m_fdsBefore;
    QStringList m_leftBehind;
};

// A scanner running the fake tool, whose runs follow mac.script and
// classic.script in the test's folder.
class ScanFixture : public ProcessHygiene {
protected:
    void SetUp() override
    {
        ProcessHygiene::SetUp();
        ::setenv("KESTRIN_FAKE_TOOL_DIR", QFile::encodeName(m_dir.path()).constData(), 1);
        m_scanner.setToolOverride(fakeTool());
        m_scanner.setRunTimeout(10);
    }

    // One command a line, its line feeds and tabs escaped.
    void script(const char *name, const QStringList &lines)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name) + u".script"_qs));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QString text = lines.join(u'\r');
        text.replace(u'\n', u"\\n"_qs).replace(u'\t', u"\\t"_qs).replace(u'\r', u'\n');
        file.write(text.toUtf8() + '\n');
    }

    HardwareScanner m_scanner;
};

} // namespace RunnerTest
