// Runs the system's dmidecode with -q and nothing else, for pkexec. Everything
// the caller could influence (arguments, environment, working directory, which
// program runs, how much it prints, how long it runs) is fixed here, so being
// allowed to run this program grants reading the firmware tables and no more.

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// The test build moves the fixed locations into a scratch folder and shortens
// the limit; the installed build has neither definition.
#ifndef KESTRIN_READFIRMWARE_ROOT
#define KESTRIN_READFIRMWARE_ROOT ""
#endif
#ifndef KESTRIN_READFIRMWARE_LIMIT_SECONDS
#define KESTRIN_READFIRMWARE_LIMIT_SECONDS 20
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<const char *, 2> locations = {
    KESTRIN_READFIRMWARE_ROOT "/usr/sbin/dmidecode",
    KESTRIN_READFIRMWARE_ROOT "/sbin/dmidecode",
};
constexpr std::size_t outputCap = std::size_t{16} << 20;
constexpr auto runLimit = std::chrono::seconds(KESTRIN_READFIRMWARE_LIMIT_SECONDS);
// The same stop sequence as every other tool run: SIGTERM, then SIGKILL.
constexpr auto politeStopGrace = std::chrono::seconds(2);
constexpr auto killGrace = std::chrono::seconds(1);

constexpr int refusedStatus = 1;

int refuse(const char *reason)
{
    std::fprintf(stderr, "kestrin-read-firmware: %s\n", reason);
    return refusedStatus;
}

// Opens the first trustworthy dmidecode. The checks apply to the open file
// itself, so the file cannot be swapped between the check and the run.
int openDmidecode(const char **problem)
{
    *problem = "no dmidecode in /usr/sbin or /sbin";
    for (const char *location : locations) {
        const int fd = ::open(location, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
            *problem = "dmidecode is not a regular file";
        } else if (info.st_uid != 0) {
            *problem = "dmidecode is not owned by root";
        } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
            *problem = "dmidecode is writable by group or others";
        } else if ((info.st_mode & S_IXUSR) == 0) {
            *problem = "dmidecode is not executable";
        } else {
            return fd;
        }
        ::close(fd);
        return -1;
    }
    return -1;
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

int exitStatusOf(int status)
{
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return refusedStatus;
}

// Waits for the child until the deadline; true when it has ended.
bool reap(pid_t child, Clock::time_point deadline, int *status)
{
    for (;;) {
        const pid_t got = ::waitpid(child, status, WNOHANG);
        if (got == child) {
            return true;
        }
        if (got < 0 && errno != EINTR) {
            *status = 0;
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        ::usleep(20000);
    }
}

} // namespace

int main(int argc, char **)
{
    if (argc != 1) {
        return refuse("takes no arguments");
    }
    if (::geteuid() != 0) {
        return refuse("must run as root (through pkexec)");
    }
    const char *problem = nullptr;
    const int program = openDmidecode(&problem);
    if (program < 0) {
        return refuse(problem);
    }

    std::array<int, 2> outPipe{-1, -1};
    std::array<int, 2> errPipe{-1, -1};
    if (::pipe2(outPipe.data(), O_CLOEXEC) != 0 || ::pipe2(errPipe.data(), O_CLOEXEC) != 0) {
        return refuse(std::strerror(errno));
    }
    ::signal(SIGPIPE, SIG_IGN);

    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        return refuse(std::strerror(errno));
    }
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::signal(SIGPIPE, SIG_DFL);
        if (::chdir("/") != 0) {
            ::_exit(127);
        }
        ::dup2(outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        // A script needs its descriptor open across exec for the interpreter.
        ::fcntl(program, F_SETFD, 0);
        char name[] = "dmidecode";
        char quiet[] = "-q";
        char *argv[] = {name, quiet, nullptr};
        char *envp[] = {nullptr};
        ::fexecve(program, argv, envp);
        const char message[] = "kestrin-read-firmware: cannot run dmidecode\n";
        [[maybe_unused]] const ssize_t ignored =
            ::write(STDERR_FILENO, message, sizeof message - 1);
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ::close(program);

    const auto deadline = Clock::now() + runLimit;
    std::array<pollfd, 2> fds = {{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
    std::array<int, 2> sinks = {STDOUT_FILENO, STDERR_FILENO};
    std::size_t passed = 0;
    bool timedOut = false;
    int open = 2;
    std::array<char, 16384> buffer{};
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        if (::poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t got = ::read(fds[i].fd, buffer.data(), buffer.size());
            if (got > 0) {
                const std::size_t room = outputCap - passed;
                const std::size_t take = std::min(room, static_cast<std::size_t>(got));
                if (take > 0) {
                    (void)writeAll(sinks[i], buffer.data(), take);
                    passed += take;
                }
            } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd &fd : fds) {
        if (fd.fd >= 0) {
            ::close(fd.fd);
        }
    }

    int status = 0;
    if (!reap(child, timedOut ? Clock::now() : deadline, &status)) {
        ::kill(child, SIGTERM);
        if (!reap(child, Clock::now() + politeStopGrace, &status)) {
            ::kill(child, SIGKILL);
            (void)reap(child, Clock::now() + killGrace + std::chrono::hours(1), &status);
        }
        std::fprintf(stderr, "kestrin-read-firmware: dmidecode stopped after %d seconds\n",
                     KESTRIN_READFIRMWARE_LIMIT_SECONDS);
    }
    return exitStatusOf(status);
}
