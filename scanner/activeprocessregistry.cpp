#include "scanner/activeprocessregistry.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <sys/wait.h>

bool ChildProcess::isRunning() const
{
    std::lock_guard lock(m_mutex);
    if (m_reaped) {
        return false;
    }
    // WNOWAIT leaves an ended child for the reaper to collect.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) {
        return false;
    }
    return info.si_pid == 0;
}

bool ChildProcess::sendSignal(int signal) const
{
    std::lock_guard lock(m_mutex);
    if (m_reaped) {
        return false;
    }
    return ::kill(m_pid, signal) == 0;
}

int ChildProcess::waitAndReap()
{
    // Wait without reaping and without the lock, so that signals can still be
    // sent meanwhile; the pid stays ours until the waitpid below.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT) != 0 &&
           errno == EINTR) {
    }
    std::lock_guard lock(m_mutex);
    if (m_reaped) {
        return m_status;
    }
    int raw = 0;
    pid_t reaped = -1;
    do {
        reaped = ::waitpid(m_pid, &raw, 0);
    } while (reaped < 0 && errno == EINTR);
    m_reaped = true;
    if (reaped == m_pid) {
        m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? WTERMSIG(raw) : raw;
    } else {
        // Someone else collected it (a waitpid(-1) elsewhere in the process); the
        // status is lost, so report a failure rather than success.
        m_status = -1;
    }
    return m_status;
}

bool ChildProcess::isReaped() const
{
    std::lock_guard lock(m_mutex);
    return m_reaped;
}

void ActiveProcessRegistry::add(std::shared_ptr<ChildProcess> process, QString program,
                                std::function<void()> requestStop)
{
    std::lock_guard lock(m_mutex);
    m_processes.push_back(Entry{std::move(process), std::move(program), std::move(requestStop)});
}

void ActiveProcessRegistry::remove(const ChildProcess *process)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_processes,
                  [process](const auto &entry) { return entry.process.get() == process; });
}

void ActiveProcessRegistry::terminateAll()
{
    std::vector<Entry> taken;
    {
        std::lock_guard lock(m_mutex);
        taken.swap(m_processes);
    }
    for (const Entry &entry : taken) {
        if (entry.process->isRunning()) {
            entry.process->sendSignal(SIGTERM);
        }
    }
}

qsizetype ActiveProcessRegistry::stop(const QString &program)
{
    std::vector<std::function<void()>> requests;
    {
        std::lock_guard lock(m_mutex);
        for (const Entry &entry : m_processes) {
            if (entry.program == program && entry.requestStop && entry.process->isRunning()) {
                requests.push_back(entry.requestStop);
            }
        }
    }
    // Outside the lock: a run takes its own lock to note the request.
    for (const auto &request : requests) {
        request();
    }
    return static_cast<qsizetype>(requests.size());
}

qsizetype ActiveProcessRegistry::count() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<qsizetype>(m_processes.size());
}
