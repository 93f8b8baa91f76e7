#include "browser/jsonwriter.h"

#include <QIODevice>

#include <algorithm>

namespace {

char hexDigit(unsigned nibble)
{
    return static_cast<char>(nibble < 10 ? '0' + nibble : 'a' + nibble - 10);
}

char *writeUnicodeEscape(char *out, char16_t unit)
{
    *out++ = '\\';
    *out++ = 'u';
    *out++ = hexDigit((unit >> 12) & 0xf);
    *out++ = hexDigit((unit >> 8) & 0xf);
    *out++ = hexDigit((unit >> 4) & 0xf);
    *out++ = hexDigit(unit & 0xf);
    return out;
}

// The two-character escape for an ASCII unit that cannot stand as itself, or
// nullptr.
const char *shortEscape(char16_t unit)
{
    switch (unit) {
    case u'"':
        return "\\\"";
    case u'\\':
        return "\\\\";
    case u'\b':
        return "\\b";
    case u'\f':
        return "\\f";
    case u'\n':
        return "\\n";
    case u'\r':
        return "\\r";
    case u'\t':
        return "\\t";
    default:
        return nullptr;
    }
}

bool isPlainAscii(char16_t unit)
{
    return unit >= 0x20 && unit < 0x80 && unit != u'"' && unit != u'\\';
}

} // namespace

JsonWriter::JsonWriter(QByteArray &out) : m_out(out) {}

JsonWriter::JsonWriter(QIODevice &device) : m_out(m_buffer), m_device(&device)
{
    // Room for one chunk and the slice that overshoots it.
    m_buffer.reserve(chunkSize + sliceUnits * maxBytesPerUnit + 512);
}

void JsonWriter::spillIfFull()
{
    if (m_device != nullptr && m_out.size() >= chunkSize) {
        static_cast<void>(flush());
    }
}

bool JsonWriter::flush()
{
    if (m_device == nullptr) {
        return true;
    }
    qsizetype written = 0;
    while (!m_failed && written < m_buffer.size()) {
        // A short write is followed by one that fails and says why.
        const qint64 chunk =
            m_device->write(m_buffer.constData() + written, m_buffer.size() - written);
        if (chunk <= 0) {
            m_failed = true;
            break;
        }
        written += chunk;
    }
    // Shrinking the size keeps the capacity: the buffer is allocated once.
    m_buffer.resize(0);
    return !m_failed;
}

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasElement.isEmpty()) {
        if (m_hasElement.last()) {
            m_out.append(',');
        }
        m_hasElement.last() = true;
    }
}

void JsonWriter::beginObject()
{
    separate();
    m_out.append('{');
    m_hasElement.append(false);
}

void JsonWriter::endObject()
{
    m_hasElement.removeLast();
    m_out.append('}');
}

void JsonWriter::beginArray()
{
    separate();
    m_out.append('[');
    m_hasElement.append(false);
}

void JsonWriter::endArray()
{
    m_hasElement.removeLast();
    m_out.append(']');
}

void JsonWriter::key(QStringView name)
{
    separate();
    appendString(name);
    m_out.append(':');
    m_afterKey = true;
}

void JsonWriter::value(QStringView text)
{
    separate();
    appendString(text);
}

void JsonWriter::writeBool(bool flag)
{
    separate();
    m_out.append(flag ? "true" : "false");
}

void JsonWriter::value(qint64 number)
{
    separate();
    m_out.append(QByteArray::number(number));
}

void JsonWriter::member(QStringView name, QStringView text)
{
    key(name);
    value(text);
}

void JsonWriter::member(QStringView name, qint64 number)
{
    key(name);
    value(number);
}

void JsonWriter::beginString()
{
    separate();
    m_out.append('"');
}

void JsonWriter::appendToString(QStringView piece)
{
    appendEscaped(piece);
}

void JsonWriter::endString()
{
    m_out.append('"');
    spillIfFull();
}

void JsonWriter::endLine()
{
    m_out.append('\n');
}

void JsonWriter::appendString(QStringView text)
{
    m_out.append('"');
    appendEscaped(text);
    m_out.append('"');
    spillIfFull();
}

void JsonWriter::appendEscaped(QStringView text)
{
    // The units are encoded straight into the buffer, a slice at a time: room
    // for the longest form of every unit is made first, and the size is cut
    // back to what was written. One pass, no temporary, no per-unit append.
    const char16_t *cursor = text.utf16();
    const char16_t *const end = cursor + text.size();
    while (cursor < end) {
        // Inside the loop, so that one long value is written out as it goes.
        spillIfFull();
        const char16_t *const sliceEnd = cursor + std::min<qsizetype>(end - cursor, sliceUnits);
        const qsizetype start = m_out.size();
        m_out.resize(start + sliceUnits * maxBytesPerUnit);
        char *const first = m_out.data() + start;
        char *out = first;
        while (cursor < sliceEnd) {
            const char16_t unit = *cursor++;
            if (isPlainAscii(unit)) {
                *out++ = static_cast<char>(unit);
            } else if (unit < 0x80) {
                if (const char *escape = shortEscape(unit)) {
                    *out++ = escape[0];
                    *out++ = escape[1];
                } else {
                    out = writeUnicodeEscape(out, unit);
                }
            } else if (unit < 0x800) {
                *out++ = static_cast<char>(0xc0 | (unit >> 6));
                *out++ = static_cast<char>(0x80 | (unit & 0x3f));
            } else if (QChar::isHighSurrogate(unit) && cursor < end &&
                       QChar::isLowSurrogate(*cursor)) {
                // The low half may lie past the slice; its bytes fit in the
                // room made for the high half.
                const char32_t code = QChar::surrogateToUcs4(unit, *cursor++);
                *out++ = static_cast<char>(0xf0 | (code >> 18));
                *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3f));
                *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3f));
                *out++ = static_cast<char>(0x80 | (code & 0x3f));
            } else if (QChar::isSurrogate(unit)) {
                // A lone surrogate has no UTF-8 form; the escape keeps it.
                out = writeUnicodeEscape(out, unit);
            } else {
                *out++ = static_cast<char>(0xe0 | (unit >> 12));
                *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3f));
                *out++ = static_cast<char>(0x80 | (unit & 0x3f));
            }
        }
        m_out.resize(start + (out - first));
    }
}
