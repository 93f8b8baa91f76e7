#include "tool/text.h"

#include <cstdint>

namespace tooltext {

namespace {

constexpr char32_t replacement = 0xFFFD;

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one code point at `pos`; on a malformed sequence yields U+FFFD and
// consumes exactly one byte, so the next byte gets its own chance.
char32_t decodeOne(std::string_view bytes, std::size_t &pos)
{
    const auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byteAt(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return replacement;
    }
    if (pos + length > bytes.size()) {
        ++pos;
        return replacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const std::uint8_t next = byteAt(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return replacement;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return replacement;
    }
    pos += length;
    return cp;
}

bool isControlOrBreak(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029;
}

// Invisible characters that reorder or hide the text around them.
bool isDirectionControl(char32_t cp)
{
    return cp == 0x200E || cp == 0x200F || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2066 && cp <= 0x2069) || cp == 0xFEFF;
}

// Every character a reader trims away: the Unicode space separators (the
// controls were already turned into spaces).
bool isBlank(char32_t cp)
{
    return cp == 0x20 || cp == 0xA0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) ||
           cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

} // namespace

std::string repairUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        appendUtf8(out, decodeOne(bytes, pos));
    }
    return out;
}

std::string cleanValue(std::string_view raw, std::size_t maxLength)
{
    std::u32string text;
    text.reserve(raw.size() < 4 * maxLength ? raw.size() : 4 * maxLength);
    std::size_t pos = 0;
    // Stop decoding well past the cut: blanks that collapse may shorten the text,
    // but not beyond what a few times the limit covers.
    while (pos < raw.size() && text.size() <= 4 * maxLength + 16) {
        char32_t cp = decodeOne(raw, pos);
        if (isDirectionControl(cp)) {
            continue;
        }
        if (isControlOrBreak(cp)) {
            cp = U' ';
        }
        if (cp == U' ' && !text.empty() && text.back() == U' ') {
            continue;
        }
        text += cp;
    }
    const bool truncatedInput = pos < raw.size();

    auto trimEnds = [&] {
        std::size_t begin = 0;
        while (begin < text.size() && isBlank(text[begin])) {
            ++begin;
        }
        std::size_t end = text.size();
        while (end > begin && (isBlank(text[end - 1]) || text[end - 1] == U':')) {
            --end;
        }
        text = text.substr(begin, end - begin);
    };
    trimEnds();
    bool cut = truncatedInput;
    if (text.size() > maxLength) {
        text.resize(maxLength);
        cut = true;
    }
    if (cut) {
        trimEnds();
        if (!text.empty()) {
            text += U'\u2026';
        }
    }
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text) {
        appendUtf8(out, cp);
    }
    return out;
}

std::string cleanKey(std::string_view raw)
{
    std::string key = cleanValue(raw);
    for (char &c : key) {
        if (c == ':') {
            c = ' ';
        }
    }
    std::size_t begin = 0;
    while (begin < key.size() && (key[begin] == '[' || key[begin] == ' ')) {
        ++begin;
    }
    key.erase(0, begin);
    // The colons that became spaces may have left blanks at the end.
    return cleanValue(key);
}

std::string_view trimAscii(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const std::size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string_view::npos) {
        return {};
    }
    const std::size_t end = text.find_last_not_of(blanks);
    return text.substr(begin, end - begin + 1);
}

} // namespace tooltext
