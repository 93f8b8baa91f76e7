// A stand-in for dmidecode whose behaviour the tests choose. Each command is
// one argument, or, when the tool is called as a scan calls it ("--mac-hardware"
// or "-q"), one line of $KESTRIN_FAKE_TOOL_DIR/mac.script or classic.script.
//
//   out TEXT / err TEXT   write TEXT (escapes: \n \t \\ \xHH) to stdout / stderr
//   outfile PATH          copy a file to stdout
//   flood BYTES           write BYTES to stdout and BYTES to stderr, interleaved
//   sleep MS              sleep
//   ignoreterm            ignore SIGTERM from now on
//   grandchild MS PIDFILE leave a process behind that holds both pipes for MS
//   pidfile PATH          write this process's pid;  waitfile PATH: wait until it exists
//   fds                   list the open descriptors above 2
//   raise SIGNAL          end by this signal;  exit CODE: end with this status
#include <cerrno>
#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void writeAll(int fd, const std::string &bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno != EINTR)
            std::_Exit(71);
        done += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
}

std::string unescape(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = text[i] == '\\' && i + 1 < text.size() ? text[++i] : 0;
        if (next == 0)
            out += text[i];
        else if (next == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return out;
}

void sleepMs(long ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void run(const std::string &command)
{
    const std::size_t space = command.find(' ');
    const std::string verb = command.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : command.substr(space + 1);
    if (verb == "out" || verb == "err") {
        writeAll(verb == "out" ? STDOUT_FILENO : STDERR_FILENO, unescape(rest));
    } else if (verb == "outfile") {
        std::ifstream file(rest, std::ios::binary);
        writeAll(STDOUT_FILENO, std::string(std::istreambuf_iterator<char>(file), {}));
    } else if (verb == "flood") {
        // Lines of 99 'x' and a line feed, cut at BYTES, to both streams by turns.
        std::string bytes(std::stoull(rest), 'x');
        for (std::size_t i = 99; i < bytes.size(); i += 100)
            bytes[i] = '\n';
        for (std::size_t at = 0; at < bytes.size(); at += 65500) {
            writeAll(STDOUT_FILENO, bytes.substr(at, 65500));
            writeAll(STDERR_FILENO, bytes.substr(at, 65500));
        }
    } else if (verb == "sleep") {
        sleepMs(std::stol(rest));
    } else if (verb == "ignoreterm") {
        std::signal(SIGTERM, SIG_IGN);
    } else if (verb == "grandchild") {
        const std::size_t gap = rest.find(' ');
        const pid_t pid = ::fork();
        if (pid == 0) {
            sleepMs(std::stol(rest));
            std::_Exit(0);
        }
        std::ofstream(rest.substr(gap + 1)) << pid;
    } else if (verb == "pidfile") {
        std::ofstream(rest) << ::getpid();
    } else if (verb == "waitfile") {
        for (int i = 0; i < 6000 && !std::ifstream(rest); ++i)
            sleepMs(5);
    } else if (verb == "fds") {
        DIR *dir = ::opendir("/proc/self/fd");
        while (dirent *entry = ::readdir(dir)) {
            if (const int fd = std::atoi(entry->d_name); fd > 2 && fd != ::dirfd(dir))
                writeAll(STDOUT_FILENO, std::to_string(fd) + "\n");
        }
        ::closedir(dir);
    } else if (verb == "raise") {
        std::signal(std::stoi(rest), SIG_DFL);
        std::raise(std::stoi(rest));
    } else if (verb == "exit") {
        std::exit(std::stoi(rest));
    } else if (!verb.empty()) { // a typo in a test, not a case
        writeAll(STDERR_FILENO, "faketool: unknown command " + verb + "\n");
        std::exit(70);
    }
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> commands;
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--mac-hardware" || first == "-q") {
        std::ifstream script(std::string(std::getenv("KESTRIN_FAKE_TOOL_DIR")) + "/" +
                             (first == "-q" ? "classic" : "mac") + ".script");
        for (std::string line; std::getline(script, line);)
            commands.push_back(line);
    } else {
        for (int i = 1; i < argc; ++i)
            commands.emplace_back(argv[i]);
    }
    for (const std::string &command : commands)
        run(command);
    return 0;
}
