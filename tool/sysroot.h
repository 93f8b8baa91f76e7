#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Read-only access to /proc and /sys, optionally under another root directory
// (the tests' fixture trees). Paths passed in are absolute paths of the running
// system ("/sys/class/net"); reads never fail loudly, they just find nothing.
class SysRoot {
public:
    // An empty root means the real "/".
    explicit SysRoot(std::string root = {});

    [[nodiscard]] bool isRealRoot() const { return m_root.empty(); }

    // The path to open for `path` (the root prefixed).
    [[nodiscard]] std::string hostPath(std::string_view path) const;

    // The file's text with surrounding blanks and line breaks removed, at most
    // `maxBytes` of it; nothing when it cannot be read (absent, not permitted,
    // a directory).
    [[nodiscard]] std::optional<std::string> read(std::string_view path,
                                                  std::size_t maxBytes = 4096) const;
    // The whole file, up to `maxBytes`, as it stands.
    [[nodiscard]] std::optional<std::string> readAll(std::string_view path,
                                                     std::size_t maxBytes = 16 << 20) const;
    // A number written in decimal, or in hex with "0x".
    [[nodiscard]] std::optional<unsigned long long> readNumber(std::string_view path) const;
    // A number written in hex, with or without "0x" (USB ids are written "046d").
    [[nodiscard]] std::optional<unsigned long long> readHex(std::string_view path) const;

    [[nodiscard]] bool exists(std::string_view path) const;
    [[nodiscard]] bool isDirectory(std::string_view path) const;

    // Entry names, "." and ".." left out, in natural order ("eth2" before "eth10").
    [[nodiscard]] std::vector<std::string> list(std::string_view directory) const;

    // The last component of a symbolic link's target ("i915" for a driver link).
    [[nodiscard]] std::optional<std::string> linkName(std::string_view path) const;

    // The canonical path, as a path of the running system (root prefix removed);
    // nothing if it cannot be resolved or leaves the root.
    [[nodiscard]] std::optional<std::string> resolve(std::string_view path) const;

private:
    std::string m_root;
};

// "a/b" joined with "c" as "a/b/c".
[[nodiscard]] std::string joinPath(std::string_view left, std::string_view right);

// Natural ordering of names: digit runs compare by value.
[[nodiscard]] bool naturalLess(std::string_view left, std::string_view right);
