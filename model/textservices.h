#pragma once

#include <QCollator>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Text rules shared by the parsers, the cleaner and the browsing model.
namespace Text {

// U+000A..U+000D, U+0085, U+2028, U+2029: each one ends a line.
[[nodiscard]] constexpr bool isNewline(char16_t c)
{
    return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// The index of the first newline-class character in data[from, size), or size.
[[nodiscard]] qsizetype nextNewline(const char16_t *data, qsizetype from, qsizetype size);

// Calls visit(QStringView line) for every line; every newline-class character
// ends a line, so CR LF produces an extra empty line. The text after the last
// separator is a line too (possibly empty).
template <typename Visitor> void forEachLine(QStringView text, Visitor &&visit)
{
    const char16_t *data = text.utf16();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = nextNewline(data, 0, size); i < size; i = nextNewline(data, i + 1, size)) {
        visit(text.mid(start, i - start));
        start = i + 1;
    }
    visit(text.mid(start));
}

[[nodiscard]] QList<QStringView> splitLines(QStringView text);

// Strict UTF-8: bytes that are not valid UTF-8 give the empty text (and *valid
// false), never a lossy repair. Empty input is valid and gives the empty text.
[[nodiscard]] QString decodeUtf8Strict(QByteArrayView bytes, bool *valid = nullptr);

// Strips the whitespace-and-newline class (Unicode space separators, tab,
// the newline class) from both ends. QChar::isSpace is exactly that class.
// Inline, because the parsers trim every line.
[[nodiscard]] inline QStringView trimmed(QStringView text)
{
    const QChar *begin = text.begin();
    const QChar *end = text.end();
    while (begin < end && begin->isSpace()) {
        ++begin;
    }
    while (end > begin && end[-1].isSpace()) {
        --end;
    }
    return {begin, end};
}

[[nodiscard]] inline bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

[[nodiscard]] constexpr char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

// Makes the items' joined strings, each in one allocation of its exact size.
class StringArena {
public:
    StringArena() = default;
    StringArena(const StringArena &) = delete;
    StringArena &operator=(const StringArena &) = delete;

    [[nodiscard]] QString add(QStringView text) { return text.toString(); }
    // The three parts one after the other, as one string.
    [[nodiscard]] QString add(QStringView first, QStringView second, QStringView third);
};

// Lower-cases exactly like QString::toLower, without that call's cost for
// ASCII text (and without allocating when the text is already lower case).
[[nodiscard]] QString lowered(const QString &text);

struct KeyValue {
    QStringView key;
    QStringView value;
};

// Splits "Key: Value" at the first colon; both sides trimmed, further colons
// stay in the value. Nothing when there is no colon or either side is empty.
[[nodiscard]] inline std::optional<KeyValue> splitKeyValue(QStringView line)
{
    const qsizetype colon = line.indexOf(u':');
    if (colon < 0) {
        return std::nullopt;
    }
    KeyValue pair{line.left(colon).trimmed(), line.mid(colon + 1).trimmed()};
    if (pair.key.isEmpty() || pair.value.isEmpty()) {
        return std::nullopt;
    }
    return pair;
}

// " • " joins context into a detail or a title.
inline const QString &joiner()
{
    static const QString separator = QStringLiteral(" \u2022 ");
    return separator;
}

[[nodiscard]] QString joined(QStringView left, QStringView right);

// Number of user-perceived characters, counted only up to `limit` (the callers
// only ever need to know whether there are fewer than two).
[[nodiscard]] qsizetype graphemeCountUpTo(QStringView text, qsizetype limit);

// A hash for text keys of std:: containers. Qt 6.4's qHash for strings is
// SipHash, built to resist chosen collisions; the scan hashes a key of every
// line and a value of every fact, short texts where the standard library's
// hash costs less.
struct Hash {
    [[nodiscard]] std::size_t operator()(QStringView text) const noexcept
    {
        return std::hash<std::u16string_view>{}(
            std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size())));
    }
};

// The ordering used for names in file lists: case and width ignored, digit runs
// by numeric value, the locale's collation, and a final code-unit tie-break so
// that two different strings never compare equal.
class StandardComparator {
public:
    StandardComparator();

    // Negative, zero (only for identical strings) or positive.
    [[nodiscard]] int compare(QStringView left, QStringView right) const;
    [[nodiscard]] bool lessThan(QStringView left, QStringView right) const
    {
        return compare(left, right) < 0;
    }

    // The collator's key for `text`: ordering by these keys, then by the texts'
    // code units, is the comparison's order.
    [[nodiscard]] QCollatorSortKey sortKey(const QString &text) const
    {
        return m_collator->sortKey(text);
    }

private:
    std::shared_ptr<QCollator> m_collator;
};

// The locale used for collation: the system's, unless it is C/POSIX, where ICU
// silently drops numeric ordering; then a fixed English locale.
[[nodiscard]] QLocale collationLocale();

} // namespace Text
