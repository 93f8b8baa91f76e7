#include "model/identifiermask.h"

#include "model/rawoutput.h"
#include "model/textservices.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>

namespace {

const QString &maskDots()
{
    static const QString dots = QStringLiteral("\u2022\u2022\u2022\u2022\u2022");
    return dots;
}

// Values up to this many user-perceived characters are hidden completely;
// longer ones keep their last two, so that two disks or two memory modules can
// still be told apart without giving their serials away.
constexpr qsizetype fullyHiddenUpTo = 8;
constexpr qsizetype keptAtTheEnd = 2;

QString masked(QStringView kept)
{
    QString text = maskDots();
    text += kept;
    return text;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Printable ASCII: one code unit is one user-perceived character.
bool isPlainAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

// ---- Rule 1: identifier keys ------------------------------------------------
//
// Why each ending is an identifier (corpus: the 162 real outputs of the test
// fixtures, where every key that names a unit is listed here):
// - "serial number": System, Base Board, Chassis, Processor, Memory Device,
//   Portable Battery and Power Supply records (2492 lines), "DIMM Vendor Serial
//   Number" and "SBDS Serial Number" (HP and battery records).
// - "serial": "Enclosure Serial" (HP), the mac-hardware "platform serial", and
//   the short keys other tools print ("serial", "Chassis Serial", "Base Board
//   Serial"). Keys where "serial" is not the last word name a port or a bus
//   ("Serial Port A", "Virtual Serial Port") and stay visible.
// - "uuid": System "UUID" (161 lines), Redfish "Service UUID", mac-hardware
//   "platform uuid".
// - "wwn", "wwid", "eui", "eui64", "nguid": world-wide and namespace names of
//   disks ("SAS Expander WWID" in HP records); unique per unit.
// - "asset tag", "service tag": set per unit by its owner or maker.
// - "mac address", "permanent address", "hardware address": network adapters;
//   "bluetooth address": the controllers and the devices paired with them.
// - "hostname", "host name": the "Redfish Service Hostname" of management
//   controllers is by default built from the serial number or the MAC address
//   ("XCC-7X06-<serial>", "iRMC<last MAC bytes>" in the corpus).
// Not identifiers: "Part Number", "SKU Number", "Model Part Number" name a model
// that thousands of units share; "ID"/"Signature" of a processor are its
// model's CPUID; addresses of buses and memory ranges are layout, not identity.
constexpr std::array<std::u16string_view, 13> identifierLastWords = {
    u"serial",   u"uuid",         u"wwn",      u"wwid",       u"eui",        u"eui64",  u"nguid",
    u"hostname", u"serialnumber", u"assettag", u"servicetag", u"macaddress", u"hwaddr",
};

struct WordPair {
    std::u16string_view previous;
    std::u16string_view last;
};

constexpr std::array<WordPair, 8> identifierLastWordPairs = {{
    {u"serial", u"number"},
    {u"asset", u"tag"},
    {u"service", u"tag"},
    {u"mac", u"address"},
    {u"permanent", u"address"},
    {u"hardware", u"address"},
    {u"bluetooth", u"address"},
    {u"host", u"name"},
}};

bool isKeySeparator(QChar c)
{
    return c.isSpace() || c == u'-' || c == u'_';
}

// The word that ends at `end` (exclusive) after skipping separators, and where it starts.
QStringView wordBefore(QStringView key, qsizetype &end)
{
    while (end > 0 && isKeySeparator(key[end - 1])) {
        --end;
    }
    qsizetype start = end;
    while (start > 0 && !isKeySeparator(key[start - 1])) {
        --start;
    }
    const QStringView word = key.sliced(start, end - start);
    end = start;
    return word;
}

bool sameWord(QStringView word, std::u16string_view lower)
{
    return word.compare(QStringView(lower.data(), static_cast<qsizetype>(lower.size())),
                        Qt::CaseInsensitive) == 0;
}

// ---- Rule 2: patterns ---------------------------------------------------------

// Whether a group of hex digits that stands on its own sits right before `at`,
// joined to it by `separator`: then the match at `at` is part of a longer run.
bool hexGroupBefore(QStringView text, qsizetype at, QChar separator)
{
    if (at < 2 || text[at - 1] != separator) {
        return false;
    }
    qsizetype start = at - 1;
    while (start > 0 && isHexDigit(text[start - 1])) {
        --start;
    }
    return start < at - 1 && (start == 0 || !isWordChar(text[start - 1]));
}

// The same after a match that ends at `end`.
bool hexGroupAfter(QStringView text, qsizetype end, QChar separator)
{
    if (end + 1 >= text.size() || text[end] != separator) {
        return false;
    }
    qsizetype stop = end + 1;
    while (stop < text.size() && isHexDigit(text[stop])) {
        ++stop;
    }
    return stop > end + 1 && (stop == text.size() || !isWordChar(text[stop]));
}

// Simple case folding of one code unit, without a table lookup for ASCII.
char16_t folded(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80) {
        return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + (u'a' - u'A')) : u;
    }
    return c.toCaseFolded().unicode();
}

// FNV-1a over the case-folded code units: equal for texts that compare equal
// ignoring case (outside the few letters whose folding leaves the BMP).
constexpr std::size_t hashStart = 14695981039346656037ULL;

std::size_t hashStep(std::size_t hash, QChar c)
{
    return (hash ^ folded(c)) * 1099511628211ULL;
}

std::size_t foldedHash(QStringView text)
{
    std::size_t hash = hashStart;
    for (QChar c : text) {
        hash = hashStep(hash, c);
    }
    return hash;
}

bool endsWord(QStringView text, qsizetype end)
{
    return end == text.size() || !isWordChar(text[end]);
}

// "00:1b:21:0a:5c:3e" or "00-1B-21-0A-5C-3E" starting at `at`: its length, or 0.
qsizetype macAt(QStringView text, qsizetype at)
{
    constexpr qsizetype length = 17;
    if (at + length > text.size()) {
        return 0;
    }
    const QChar separator = text[at + 2];
    if (separator != u':' && separator != u'-') {
        return 0;
    }
    for (qsizetype group = 0; group < 6; ++group) {
        const qsizetype pos = at + group * 3;
        if (!isHexDigit(text[pos]) || !isHexDigit(text[pos + 1]) ||
            (group < 5 && text[pos + 2] != separator)) {
            return 0;
        }
    }
    const qsizetype end = at + length;
    if (!endsWord(text, end) || hexGroupBefore(text, at, separator) ||
        hexGroupAfter(text, end, separator)) {
        return 0;
    }
    return length;
}

// "123e4567-e89b-12d3-a456-426614174000" (either case) starting at `at`: its length, or 0.
qsizetype uuidAt(QStringView text, qsizetype at)
{
    constexpr std::array<qsizetype, 5> groups = {8, 4, 4, 4, 12};
    constexpr qsizetype length = 36;
    if (at + length > text.size()) {
        return 0;
    }
    qsizetype pos = at;
    for (std::size_t group = 0; group < groups.size(); ++group) {
        for (qsizetype i = 0; i < groups[group]; ++i, ++pos) {
            if (!isHexDigit(text[pos])) {
                return 0;
            }
        }
        if (group + 1 < groups.size()) {
            if (text[pos] != u'-') {
                return 0;
            }
            ++pos;
        }
    }
    const qsizetype end = at + length;
    if (!endsWord(text, end) || hexGroupBefore(text, at, u'-') || hexGroupAfter(text, end, u'-')) {
        return 0;
    }
    return length;
}

} // namespace

namespace IdentifierMask {

QString maskValue(QStringView value)
{
    if (value.isEmpty()) {
        return {};
    }
    // A value that is a mask already (a report saved with identifiers hidden)
    // stays as it is: masking it again would drop the two characters that
    // tell it from its neighbours.
    if (value.startsWith(maskDots())) {
        return value.toString();
    }
    if (isPlainAscii(value)) {
        if (value.size() <= fullyHiddenUpTo) {
            return maskDots();
        }
        return masked(value.last(keptAtTheEnd));
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, value);
    qsizetype count = 0;
    while (count <= fullyHiddenUpTo && finder.toNextBoundary() > 0) {
        ++count;
    }
    if (count <= fullyHiddenUpTo) {
        return maskDots();
    }
    finder.toEnd();
    qsizetype start = value.size();
    for (qsizetype kept = 0; kept < keptAtTheEnd; ++kept) {
        start = finder.toPreviousBoundary();
    }
    return masked(value.sliced(start));
}

bool isIdentifierKey(QStringView key)
{
    qsizetype end = key.size();
    const QStringView last = wordBefore(key, end);
    if (last.isEmpty()) {
        return false;
    }
    for (std::u16string_view word : identifierLastWords) {
        if (sameWord(last, word)) {
            return true;
        }
    }
    const QStringView previous = wordBefore(key, end);
    if (previous.isEmpty()) {
        return false;
    }
    return std::any_of(identifierLastWordPairs.begin(), identifierLastWordPairs.end(),
                       [&](const WordPair &pair) {
                           return sameWord(last, pair.last) && sameWord(previous, pair.previous);
                       });
}

bool isIdentifierTitle(QStringView title)
{
    const qsizetype joint = title.lastIndexOf(Text::joiner());
    return isIdentifierKey(joint < 0 ? title : title.sliced(joint + Text::joiner().size()));
}

bool isDistinctiveValue(QStringView value)
{
    // Six characters with a digit is where serial numbers start; shorter or
    // digit-free values ("1.0", "Default string", "To Be Filled By O.E.M.")
    // are placeholders or ordinary words that masking elsewhere would hit.
    // A value of one repeated character ("00000000", "0000-0000") is a
    // placeholder too.
    constexpr qsizetype minimumLength = 6;
    // No serial number is this long; a longer value is not searched for (the
    // search's cost grows with the longest value).
    constexpr qsizetype maximumLength = 128;
    if (value.size() > maximumLength) {
        return false;
    }
    qsizetype characters = 0;
    bool digit = false;
    bool varied = false;
    QChar first;
    for (QChar c : value) {
        if (c.isSpace()) {
            continue;
        }
        ++characters;
        digit = digit || c.isDigit();
        if (c.isLetterOrNumber()) {
            const QChar folded = c.toCaseFolded();
            if (first.isNull()) {
                first = folded;
            } else if (folded != first) {
                varied = true;
            }
        }
    }
    return characters >= minimumLength && digit && varied;
}

} // namespace IdentifierMask

// ---- IdentifierMasker -----------------------------------------------------------

IdentifierMasker::IdentifierMasker(const QList<HardwareItem> &items, const RawOutput &rawOutput)
{
    learnItems(items);
    // Lines never span two pieces except the frame's header line, which holds
    // no facts.
    rawOutput.forEachPiece([this](QStringView piece) { learnText(piece); });
}

void IdentifierMasker::learnItems(const QList<HardwareItem> &items)
{
    for (const HardwareItem &item : items) {
        if (IdentifierMask::isIdentifierTitle(item.title)) {
            learnValue(item.value);
        }
    }
}

void IdentifierMasker::learnText(QStringView text)
{
    Text::forEachLine(text, [this](QStringView line) {
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && IdentifierMask::isIdentifierKey(line.first(colon).trimmed())) {
            learnValue(line.sliced(colon + 1));
        }
    });
}

void IdentifierMasker::learnValue(QStringView value)
{
    value = value.trimmed();
    if (!IdentifierMask::isDistinctiveValue(value)) {
        return;
    }
    const std::size_t hash = foldedHash(value);
    for (auto it = m_valuesByHash.constFind(hash); it != m_valuesByHash.cend() && it.key() == hash;
         ++it) {
        if (it.value().compare(value, Qt::CaseInsensitive) == 0) {
            return;
        }
    }
    m_valuesByHash.insert(hash, value.toString());
    if (m_firstChars.empty()) {
        m_firstChars.resize(0x10000);
    }
    m_firstChars[folded(value.front())] = true;
    if (m_hasLength.size() <= static_cast<std::size_t>(value.size())) {
        m_hasLength.resize(static_cast<std::size_t>(value.size()) + 1);
    }
    m_hasLength[static_cast<std::size_t>(value.size())] = true;
}

QStringList IdentifierMasker::knownValues() const
{
    QStringList values = m_valuesByHash.values();
    values.sort();
    return values;
}

qsizetype IdentifierMasker::knownValueAt(QStringView text, qsizetype at) const
{
    if (m_firstChars.empty() || !m_firstChars[folded(text[at])]) {
        return 0;
    }
    // The longest known value that starts here and ends a word (or ends in
    // punctuation) wins.
    const qsizetype longest =
        std::min<qsizetype>(text.size() - at, static_cast<qsizetype>(m_hasLength.size()) - 1);
    qsizetype found = 0;
    std::size_t hash = hashStart;
    for (qsizetype length = 1; length <= longest; ++length) {
        const qsizetype end = at + length;
        hash = hashStep(hash, text[end - 1]);
        if (!m_hasLength[static_cast<std::size_t>(length)] ||
            (isWordChar(text[end - 1]) && !endsWord(text, end))) {
            continue;
        }
        const QStringView candidate = text.sliced(at, length);
        for (auto it = m_valuesByHash.constFind(hash);
             it != m_valuesByHash.cend() && it.key() == hash; ++it) {
            if (candidate.compare(it.value(), Qt::CaseInsensitive) == 0) {
                found = length;
                break;
            }
        }
    }
    return found;
}

qsizetype IdentifierMasker::matchAt(QStringView text, qsizetype at) const
{
    const QChar c = text[at];
    // Everything masked here starts a word (or starts with punctuation).
    if (at > 0 && isWordChar(c) && isWordChar(text[at - 1])) {
        return 0;
    }
    if (const qsizetype length = knownValueAt(text, at)) {
        return length;
    }
    if (!isHexDigit(c)) {
        return 0;
    }
    if (const qsizetype length = macAt(text, at)) {
        return length;
    }
    return uuidAt(text, at);
}

bool IdentifierMasker::maskInto(QStringView text, QString &out) const
{
    bool changed = false;
    qsizetype copied = 0;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype length = matchAt(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        if (!changed) {
            out.clear();
            out.reserve(text.size());
            changed = true;
        }
        out += text.sliced(copied, at - copied);
        out += IdentifierMask::maskValue(text.sliced(at, length));
        at += length;
        copied = at;
    }
    if (changed) {
        out += text.sliced(copied);
    }
    return changed;
}

QString IdentifierMasker::maskText(QStringView text) const
{
    QString out;
    if (!maskInto(text, out)) {
        return text.toString();
    }
    return out;
}

HardwareItem IdentifierMasker::maskItem(const HardwareItem &item) const
{
    // A copy keeps the id; unchanged fields share the original's text.
    HardwareItem masked = item;
    QString text;
    if (maskInto(item.title, text)) {
        masked.title = std::move(text);
    }
    if (IdentifierMask::isIdentifierTitle(item.title)) {
        masked.value = IdentifierMask::maskValue(item.value);
    } else if (maskInto(item.value, text)) {
        masked.value = std::move(text);
    }
    if (maskInto(item.detail, text)) {
        masked.detail = std::move(text);
    }
    return masked;
}

QList<HardwareItem> IdentifierMasker::maskItems(const QList<HardwareItem> &items) const
{
    QList<HardwareItem> masked;
    masked.reserve(items.size());
    for (const HardwareItem &item : items) {
        masked.append(maskItem(item));
    }
    return masked;
}

QStringList IdentifierMasker::maskTexts(const QStringList &texts) const
{
    QStringList masked = texts;
    QString text;
    for (QString &entry : masked) {
        if (maskInto(entry, text)) {
            entry = std::move(text);
        }
    }
    return masked;
}

QString IdentifierMasker::maskRawText(QStringView text) const
{
    QString out;
    out.reserve(text.size());
    QString masked;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = start;
        while (end < text.size() && !Text::isNewline(text[end].unicode())) {
            ++end;
        }
        const QStringView line = text.sliced(start, end - start);
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && IdentifierMask::isIdentifierKey(line.first(colon).trimmed())) {
            // Keep the line's shape: indentation, key, colon and the spaces
            // around the value; only the value itself changes.
            const QStringView rest = line.sliced(colon + 1);
            qsizetype valueStart = 0;
            while (valueStart < rest.size() && rest[valueStart].isSpace()) {
                ++valueStart;
            }
            qsizetype valueEnd = rest.size();
            while (valueEnd > valueStart && rest[valueEnd - 1].isSpace()) {
                --valueEnd;
            }
            out += line.first(colon + 1);
            out += rest.first(valueStart);
            out += IdentifierMask::maskValue(rest.sliced(valueStart, valueEnd - valueStart));
            out += rest.sliced(valueEnd);
        } else if (maskInto(line, masked)) {
            out += masked;
        } else {
            out += line;
        }
        if (end == text.size()) {
            break;
        }
        out += text[end];
        start = end + 1;
    }
    return out;
}
