#include "tool/systemdmidecode.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr std::array<const char *, 4> systemLocations = {
    "/usr/sbin/dmidecode",
    "/sbin/dmidecode",
    "/usr/bin/dmidecode",
    "/bin/dmidecode",
};

// Output beyond this is read and dropped, so a runaway child cannot exhaust memory.
constexpr std::size_t maxCapture = 64U << 20;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::optional<std::string> findSystemDmidecode(const SysRoot &root)
{
    struct stat self {};
    const bool haveSelf = ::stat("/proc/self/exe", &self) == 0;
    for (const char *location : systemLocations) {
        const std::string path = root.hostPath(location);
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            ::access(path.c_str(), X_OK) != 0) {
            continue;
        }
        if (haveSelf && sameFile(info, self)) {
            continue;
        }
        return path;
    }
    return std::nullopt;
}

ProgramRun runProgram(const std::string &program, const std::vector<std::string> &arguments)
{
    ProgramRun run;
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (::pipe2(outPipe, O_CLOEXEC) != 0) {
        run.failure = std::strerror(errno);
        return run;
    }
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        run.failure = std::strerror(errno);
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return run;
    }
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments) {
        argv.push_back(const_cast<char *>(argument.c_str()));
    }
    argv.push_back(nullptr);

    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
        run.failure = std::strerror(errno);
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) {
            ::close(fd);
        }
        return run;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        ::dup2(outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        ::setenv(nestedRunVariable, "1", 1);
        ::execv(program.c_str(), argv.data());
        const char *reason = std::strerror(errno);
        const char prefix[] = "cannot run the system dmidecode: ";
        [[maybe_unused]] ssize_t ignored = ::write(STDERR_FILENO, prefix, sizeof prefix - 1);
        ignored = ::write(STDERR_FILENO, reason, std::strlen(reason));
        ignored = ::write(STDERR_FILENO, "\n", 1);
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    run.started = true;

    std::array<pollfd, 2> fds = {{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
    std::array<std::string *, 2> sinks = {&run.standardOutput, &run.standardError};
    int open = 2;
    char buffer[16384];
    while (open > 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                if (sinks[i]->size() < maxCapture) {
                    sinks[i]->append(buffer, static_cast<std::size_t>(got));
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
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            run.status = 1;
            return run;
        }
    }
    if (WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.status = 128 + WTERMSIG(status);
    }
    return run;
}
