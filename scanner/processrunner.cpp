#include "scanner/processrunner.h"

#include "model/textservices.h"
#include "scanner/activeprocessregistry.h"

#include <QFile>

#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto killGrace = std::chrono::seconds(1);
constexpr auto readerGrace = std::chrono::seconds(2);

// After being told to stop, a reader still takes what is already waiting in its
// pipe, but no more than this: a process left behind may keep writing.
constexpr std::size_t finalDrainLimit = std::size_t{1} << 20;

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;
    ~UniqueFd() { reset(); }

    [[nodiscard]] int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

struct Pipe {
    UniqueFd readEnd;
    UniqueFd writeEnd;
};

// Keeps a descriptor clear of 0, 1 and 2 (possible when the application runs
// with a standard stream closed), so that placing the child's ends there cannot
// overwrite one end with the other.
int moveAboveStandardStreams(int fd)
{
    if (fd > STDERR_FILENO) {
        return fd;
    }
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    return moved;
}

// Both ends close on exec: a child started concurrently by another run must not
// inherit them, or it would hold that run's pipe open.
[[nodiscard]] int makePipe(Pipe &pipe)
{
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return errno;
    }
    pipe.readEnd.reset(moveAboveStandardStreams(fds[0]));
    pipe.writeEnd.reset(moveAboveStandardStreams(fds[1]));
    if (pipe.readEnd.get() < 0 || pipe.writeEnd.get() < 0) {
        return errno != 0 ? errno : EMFILE;
    }
    return 0;
}

ScanError systemError(int error)
{
    return ScanError::make(error, QString::fromStdString(std::generic_category().message(error)));
}

// Shared by the calling thread and its helpers. The child-watching thread may
// outlive the call (a child stuck in the kernel survives SIGKILL for a while),
// so it shares ownership.
struct RunState {
    std::mutex mutex;
    std::condition_variable changed;
    std::shared_ptr<ChildProcess> child; // set once launched
    bool abandoned = false;              // launch failed: the watcher has nothing to do
    bool childEnded = false;
    bool stopRequested = false; // someone asked, through the registry, to end the run
    int status = 0;
    int readersDone = 0;
    std::array<std::string, 2> buffers; // standard output, standard error
};

void watchChild(const std::shared_ptr<RunState> &state)
{
    std::shared_ptr<ChildProcess> child;
    {
        std::unique_lock lock(state->mutex);
        state->changed.wait(lock, [&] { return state->child || state->abandoned; });
        if (!state->child) {
            return;
        }
        child = state->child;
    }
    const int status = child->waitAndReap();
    {
        std::lock_guard lock(state->mutex);
        state->status = status;
        state->childEnded = true;
    }
    state->changed.notify_all();
}

void readUntilEnd(int fd, int stopFd, std::string &bytes)
{
    std::array<char, 65536> chunk{};
    std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {stopFd, POLLIN, 0}}};
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[1].revents != 0) {
            break;
        }
        if (fds[0].revents == 0) {
            continue;
        }
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count > 0) {
            bytes.append(chunk.data(), static_cast<std::size_t>(count));
        } else if (count == 0 || (errno != EINTR && errno != EAGAIN)) {
            return;
        }
    }
    // Told to stop: keep what has already arrived (the descriptor is
    // non-blocking, so this ends when the pipe is empty).
    std::size_t taken = 0;
    while (taken < finalDrainLimit) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count > 0) {
            bytes.append(chunk.data(), static_cast<std::size_t>(count));
            taken += static_cast<std::size_t>(count);
        } else if (count < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

void readPipe(const std::shared_ptr<RunState> &state, std::size_t index, int fd, int stopFd)
{
    std::string bytes;
    readUntilEnd(fd, stopFd, bytes);
    {
        std::lock_guard lock(state->mutex);
        state->buffers[index] = std::move(bytes);
        ++state->readersDone;
    }
    state->changed.notify_all();
}

Clock::time_point deadlineAfter(double seconds)
{
    // Far beyond any real run, and safe from overflow of the clock's count.
    constexpr double longest = 100.0 * 365 * 24 * 3600;
    const double bounded = std::isnan(seconds) ? 0.0 : std::clamp(seconds, 0.0, longest);
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(bounded));
}

long long wholeSeconds(double seconds)
{
    if (std::isnan(seconds)) {
        return 0;
    }
    constexpr double limit = 9.2e18;
    return static_cast<long long>(std::clamp(seconds, -limit, limit));
}

std::string localBytes(const QString &text, bool isPath)
{
    const QByteArray bytes = isPath ? QFile::encodeName(text) : text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// The helper threads of one run: the child watcher and the two pipe readers.
// Every path out of runDMIDecode ends them or, for a watcher whose child cannot
// be reaped yet, hands it over to finish on its own.
class RunThreads {
public:
    RunThreads() = default;
    RunThreads(const RunThreads &) = delete;
    RunThreads &operator=(const RunThreads &) = delete;
    ~RunThreads()
    {
        stopReaders();
        if (m_watcher.joinable()) {
            m_watcher.join();
        }
    }

    [[nodiscard]] int start(const std::shared_ptr<RunState> &state, int outFd, int errFd)
    {
        if (const int error = makePipe(m_stop); error != 0) {
            return error;
        }
        try {
            m_watcher = std::thread(watchChild, state);
            m_readers[0] = std::thread(readPipe, state, 0, outFd, m_stop.readEnd.get());
            m_readers[1] = std::thread(readPipe, state, 1, errFd, m_stop.readEnd.get());
        } catch (const std::system_error &error) {
            return error.code().value() != 0 ? error.code().value() : EAGAIN;
        }
        return 0;
    }

    // Ends the readers (each keeps what already arrived) and waits for them; a
    // reader blocked by a process that keeps the pipe open ends promptly too.
    void stopReaders()
    {
        m_stop.writeEnd.reset();
        for (std::thread &reader : m_readers) {
            if (reader.joinable()) {
                reader.join();
            }
        }
    }

    void finishWatcher(bool childGone)
    {
        if (!m_watcher.joinable()) {
            return;
        }
        if (childGone) {
            m_watcher.join();
        } else {
            m_watcher.detach();
        }
    }

private:
    Pipe m_stop;
    std::thread m_watcher;
    std::array<std::thread, 2> m_readers;
};

} // namespace

Expected<QString> runDMIDecode(const QString &toolURL, const QStringList &arguments, double timeout,
                               ActiveProcessRegistry &registry)
{
    Pipe out;
    Pipe err;
    for (Pipe *pipe : {&out, &err}) {
        if (const int error = makePipe(*pipe); error != 0) {
            return systemError(error);
        }
        ::fcntl(pipe->readEnd.get(), F_SETFL, O_NONBLOCK);
    }

    auto state = std::make_shared<RunState>();
    auto abandon = [&state] {
        {
            std::lock_guard lock(state->mutex);
            state->abandoned = true;
        }
        state->changed.notify_all();
    };

    std::string program = localBytes(toolURL, true);
    std::vector<std::string> argumentBytes{program};
    for (const QString &argument : arguments) {
        argumentBytes.push_back(localBytes(argument, false));
    }
    std::vector<char *> argv;
    argv.reserve(argumentBytes.size() + 1);
    for (std::string &argument : argumentBytes) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    RunThreads threads;
    if (const int error = threads.start(state, out.readEnd.get(), err.readEnd.get()); error != 0) {
        abandon();
        return systemError(error);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.writeEnd.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.writeEnd.get(), STDERR_FILENO);
    // Signal mask and ignored signals would otherwise carry over from the
    // launching thread; the tool must be stoppable by SIGTERM.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int spawnError =
        ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    // Only the child holds the write ends now, so end of file means it (and
    // whatever it left behind) is done writing.
    out.writeEnd.reset();
    err.writeEnd.reset();
    if (spawnError != 0) {
        abandon();
        return systemError(spawnError);
    }

    auto child = std::make_shared<ChildProcess>(pid);
    {
        std::lock_guard lock(state->mutex);
        state->child = child;
    }
    state->changed.notify_all();
    registry.add(child, toolURL, [weak = std::weak_ptr<RunState>(state)] {
        if (const auto running = weak.lock()) {
            {
                std::lock_guard lock(running->mutex);
                running->stopRequested = true;
            }
            running->changed.notify_all();
        }
    });

    auto waitForChild = [&state](auto until) {
        std::unique_lock lock(state->mutex);
        return state->changed.wait_until(lock, until, [&] { return state->childEnded; });
    };

    bool ended = false;
    bool stopRequested = false;
    {
        std::unique_lock lock(state->mutex);
        (void)state->changed.wait_until(lock, deadlineAfter(timeout),
                                        [&] { return state->childEnded || state->stopRequested; });
        ended = state->childEnded;
        stopRequested = state->stopRequested;
    }
    // A stop asked for and a time limit reached end the child the same way.
    if (!ended) {
        if (child->isRunning()) {
            child->sendSignal(SIGTERM);
            if (!waitForChild(Clock::now() + politeStopGrace) && child->isRunning()) {
                child->sendSignal(SIGKILL);
                (void)waitForChild(Clock::now() + killGrace);
            }
        }
        threads.stopReaders();
        out.readEnd.reset();
        err.readEnd.reset();
        threads.finishWatcher(!child->isRunning());
        registry.remove(child.get());
        if (stopRequested) {
            std::lock_guard lock(state->mutex);
            // The signal that ended it, as for any child ended by one.
            return ScanError::make(state->childEnded ? state->status : SIGKILL,
                                   QStringLiteral("dmidecode was stopped."));
        }
        return ScanError::make(
            runTimeoutErrorCode,
            QStringLiteral("dmidecode timed out after %1 seconds.").arg(wholeSeconds(timeout)));
    }

    {
        std::unique_lock lock(state->mutex);
        (void)state->changed.wait_for(lock, readerGrace, [&] { return state->readersDone == 2; });
    }
    threads.stopReaders();
    out.readEnd.reset();
    err.readEnd.reset();
    threads.finishWatcher(true);

    QString outputText;
    QString errorText;
    int status = 0;
    {
        std::lock_guard lock(state->mutex);
        outputText = Text::decodeUtf8Strict(state->buffers[0]);
        errorText = Text::decodeUtf8Strict(state->buffers[1]);
        status = state->status;
    }
    registry.remove(child.get());

    if (status != 0 && Text::trimmed(outputText).isEmpty()) {
        if (errorText.isEmpty()) {
            errorText = QStringLiteral("dmidecode exited with status %1.").arg(status);
        }
        return ScanError::make(status, errorText);
    }
    if (!errorText.isEmpty()) {
        outputText += QLatin1Char('\n');
        outputText += errorText;
    }
    return outputText;
}
