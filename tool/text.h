#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text that comes from the kernel, from firmware or from a device is untrusted:
// it may hold control characters, line breaks, invalid UTF-8 or megabytes of
// junk. Everything the tool prints passes through here first, because a single
// bad byte makes the whole output unreadable to a strict UTF-8 reader, and a
// stray line break or trailing colon changes how the listing is read.
namespace tooltext {

// The longest value printed, in code points; longer ones are cut and end in "…".
inline constexpr std::size_t maxValueLength = 256;

// Valid UTF-8 in which every byte that does not belong to a well-formed sequence
// (overlong forms, surrogates and code points past U+10FFFF included) became
// U+FFFD. Valid input comes back unchanged.
[[nodiscard]] std::string repairUtf8(std::string_view bytes);

// One printable line's worth of text: repaired UTF-8; control characters, line
// and paragraph separators turned into spaces; invisible direction overrides
// dropped; runs of spaces collapsed; blank characters (tab, every Unicode space
// separator) trimmed from both ends; trailing colons removed; cut to `maxLength`
// code points. May be empty.
[[nodiscard]] std::string cleanValue(std::string_view raw, std::size_t maxLength = maxValueLength);

// A property key: a clean value without colons (they would move the split
// point) and without a leading "[" (that would make the line a device line).
[[nodiscard]] std::string cleanKey(std::string_view raw);

// Hands out the lines of a text one at a time, without their '\n'; a last
// line without a line break is a line too.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    [[nodiscard]] bool next(std::string_view &line)
    {
        if (m_pos >= m_text.size()) {
            return false;
        }
        std::size_t end = m_text.find('\n', m_pos);
        if (end == std::string_view::npos) {
            end = m_text.size();
        }
        line = m_text.substr(m_pos, end - m_pos);
        m_pos = end + 1;
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

// Removes ASCII blanks and line breaks from both ends (for reading sysfs files).
[[nodiscard]] std::string_view trimAscii(std::string_view text);

} // namespace tooltext
