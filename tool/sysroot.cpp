#include "tool/sysroot.h"

#include "tool/text.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SysRoot::SysRoot(std::string root) : m_root(std::move(root))
{
    while (!m_root.empty() && m_root.back() == '/') {
        m_root.pop_back();
    }
}

std::string SysRoot::hostPath(std::string_view path) const
{
    std::string result = m_root;
    result += path;
    return result;
}

std::optional<std::string> SysRoot::readAll(std::string_view path, std::size_t maxBytes) const
{
    const int fd = ::open(hostPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string data;
    char buffer[8192];
    bool ok = true;
    while (data.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - data.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            // Some sysfs attributes refuse to be read (EIO, EINVAL, EISDIR):
            // they hold nothing to show.
            ok = !data.empty();
            break;
        }
        if (got == 0) {
            break;
        }
        data.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (!ok) {
        return std::nullopt;
    }
    return data;
}

std::optional<std::string> SysRoot::read(std::string_view path, std::size_t maxBytes) const
{
    std::optional<std::string> data = readAll(path, maxBytes);
    if (!data) {
        return std::nullopt;
    }
    return std::string(tooltext::trimAscii(*data));
}

namespace {

std::optional<unsigned long long> parseNumber(const std::optional<std::string> &text, bool hexOnly)
{
    if (!text || text->empty()) {
        return std::nullopt;
    }
    const bool prefixed =
        text->size() > 2 && (*text)[0] == '0' && ((*text)[1] == 'x' || (*text)[1] == 'X');
    const char *begin = text->c_str() + (prefixed ? 2 : 0);
    if (*begin == '-' || *begin == '+' || *begin == ' ') {
        return std::nullopt;
    }
    char *end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(begin, &end, hexOnly || prefixed ? 16 : 10);
    if (errno != 0 || end == begin || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<unsigned long long> SysRoot::readNumber(std::string_view path) const
{
    return parseNumber(read(path, 64), false);
}

std::optional<unsigned long long> SysRoot::readHex(std::string_view path) const
{
    return parseNumber(read(path, 64), true);
}

bool SysRoot::exists(std::string_view path) const
{
    struct stat info {};
    return ::stat(hostPath(path).c_str(), &info) == 0;
}

bool SysRoot::isDirectory(std::string_view path) const
{
    struct stat info {};
    return ::stat(hostPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> SysRoot::list(std::string_view directory) const
{
    std::vector<std::string> names;
    DIR *dir = ::opendir(hostPath(directory).c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return naturalLess(a, b); });
    return names;
}

std::optional<std::string> SysRoot::linkName(std::string_view path) const
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink(hostPath(path).c_str(), target, sizeof target - 1);
    if (length <= 0) {
        return std::nullopt;
    }
    const std::string_view view(target, static_cast<std::size_t>(length));
    const std::size_t slash = view.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? view : view.substr(slash + 1);
    if (name.empty()) {
        return std::nullopt;
    }
    return std::string(name);
}

std::optional<std::string> SysRoot::resolve(std::string_view path) const
{
    char *resolved = ::realpath(hostPath(path).c_str(), nullptr);
    if (resolved == nullptr) {
        return std::nullopt;
    }
    std::string full(resolved);
    std::free(resolved);
    if (m_root.empty()) {
        return full;
    }
    // The root itself may be reached through a symbolic link.
    char *canonicalRoot = ::realpath(m_root.c_str(), nullptr);
    if (canonicalRoot == nullptr) {
        return std::nullopt;
    }
    const std::string root(canonicalRoot);
    std::free(canonicalRoot);
    if (full.size() <= root.size() || full.compare(0, root.size(), root) != 0 ||
        full[root.size()] != '/') {
        return std::nullopt;
    }
    return full.substr(root.size());
}

std::string joinPath(std::string_view left, std::string_view right)
{
    std::string result(left);
    if (result.empty() || result.back() != '/') {
        result += '/';
    }
    result += right;
    return result;
}

bool naturalLess(std::string_view left, std::string_view right)
{
    std::size_t i = 0;
    std::size_t j = 0;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (i < left.size() && j < right.size()) {
        if (isDigit(left[i]) && isDigit(right[j])) {
            std::size_t endI = i;
            while (endI < left.size() && isDigit(left[endI])) {
                ++endI;
            }
            std::size_t endJ = j;
            while (endJ < right.size() && isDigit(right[endJ])) {
                ++endJ;
            }
            // Compare the digit runs by value: leading zeros aside, longer is larger.
            std::string_view a = left.substr(i, endI - i);
            std::string_view b = right.substr(j, endJ - j);
            while (a.size() > 1 && a.front() == '0') {
                a.remove_prefix(1);
            }
            while (b.size() > 1 && b.front() == '0') {
                b.remove_prefix(1);
            }
            if (a.size() != b.size()) {
                return a.size() < b.size();
            }
            if (a != b) {
                return a < b;
            }
            i = endI;
            j = endJ;
            continue;
        }
        if (left[i] != right[j]) {
            return left[i] < right[j];
        }
        ++i;
        ++j;
    }
    if ((left.size() - i) != (right.size() - j)) {
        return (left.size() - i) < (right.size() - j);
    }
    return left < right;
}
