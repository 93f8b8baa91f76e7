#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <sys/types.h>
#include <vector>

// Handle of one child process. Signals go through it so that a process that has
// been reaped is never signalled again: once reaped, its pid may already belong
// to an unrelated process. The reaping code marks the handle under the same
// lock that signalling takes.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : m_pid(pid) {}
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    [[nodiscard]] pid_t pid() const { return m_pid; }

    // True while the child has neither ended nor been reaped.
    [[nodiscard]] bool isRunning() const;

    // Sends `signal` unless the child has ended or been reaped; true if sent.
    bool sendSignal(int signal) const;

    // Blocks until the child has ended, reaps it and returns its termination
    // status: the exit code, or the number of the signal that ended it.
    int waitAndReap();

    // The status recorded by waitAndReap(), once it has returned.
    [[nodiscard]] bool isReaped() const;

private:
    const pid_t m_pid;
    mutable std::mutex m_mutex;
    bool m_reaped = false;
    int m_status = 0;
};

// How long a child asked to stop (SIGTERM) may take before it is killed.
inline constexpr std::chrono::seconds politeStopGrace{2};

// The tool processes running at any moment, so that the application can stop
// them when it quits. One instance is shared by every scanner:
// HardwareScanner::activeProcesses().
class ActiveProcessRegistry {
public:
    ActiveProcessRegistry() = default;
    ActiveProcessRegistry(const ActiveProcessRegistry &) = delete;
    ActiveProcessRegistry &operator=(const ActiveProcessRegistry &) = delete;

    // `program` is what it runs, and `requestStop` asks the run that owns the
    // process to end it with its own stop sequence, so that the runs of one
    // program can be stopped (see stop()).
    void add(std::shared_ptr<ChildProcess> process, QString program = {},
             std::function<void()> requestStop = {});
    // Removes every entry that is this very handle; the others keep their order.
    void remove(const ChildProcess *process);
    // Empties the registry and asks each process that still runs to terminate
    // (SIGTERM). Never waits and never kills.
    void terminateAll();

    // Asks the run of every process of `program` to stop it: the run sends
    // SIGTERM, and SIGKILL politeStopGrace later, as on its time limit. Never
    // waits; the entries stay until their runs remove them. Returns how many
    // runs were asked.
    qsizetype stop(const QString &program);

    [[nodiscard]] qsizetype count() const;

private:
    struct Entry {
        std::shared_ptr<ChildProcess> process;
        QString program;
        std::function<void()> requestStop;
    };
    mutable std::mutex m_mutex;
    std::vector<Entry> m_processes;
};
