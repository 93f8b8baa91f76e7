#include "browser/jsonwriter.h"

#include <QIODevice>

namespace {

char hexDigit(unsigned nibble)
{
    return static_cast<char>(nibble < 10 ? '0' + nibble : 'a' + nibble - 10);
}

void appendUnicodeEscape(QByteArray &out, char16_t unit)
{
    const char escape[] = {'\\',
                           'u',
                           hexDigit((unit >> 12) & 0xf),
                           hexDigit((unit >> 8) & 0xf),
                           hexDigit((unit >> 4) & 0xf),
                           hexDigit(unit & 0xf)};
    out.append(escape, sizeof escape);
}

// The escape for an ASCII unit that cannot stand as itself, or nullptr.
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
    // Room for one chunk and the longest unit sequence that overshoots it.
    m_buffer.reserve(chunkSize + 512);
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
    // Runs of plain ASCII, which is nearly all of a report, are copied a run
    // at a time; everything else is encoded unit by unit.
    const char16_t *cursor = text.utf16();
    const char16_t *const end = cursor + text.size();
    char run[256];
    while (cursor < end) {
        // Inside the loop, so that one long value is written out as it goes.
        spillIfFull();
        qsizetype length = 0;
        while (cursor < end && length < qsizetype(sizeof run) && isPlainAscii(*cursor)) {
            run[length++] = static_cast<char>(*cursor++);
        }
        if (length > 0) {
            m_out.append(run, length);
            continue;
        }
        const char16_t unit = *cursor++;
        if (unit < 0x80) {
            if (const char *escape = shortEscape(unit)) {
                m_out.append(escape);
            } else {
                appendUnicodeEscape(m_out, unit);
            }
        } else if (unit < 0x800) {
            m_out.append(static_cast<char>(0xc0 | (unit >> 6)));
            m_out.append(static_cast<char>(0x80 | (unit & 0x3f)));
        } else if (QChar::isHighSurrogate(unit) && cursor < end && QChar::isLowSurrogate(*cursor)) {
            const char32_t code = QChar::surrogateToUcs4(unit, *cursor++);
            const char bytes[] = {static_cast<char>(0xf0 | (code >> 18)),
                                  static_cast<char>(0x80 | ((code >> 12) & 0x3f)),
                                  static_cast<char>(0x80 | ((code >> 6) & 0x3f)),
                                  static_cast<char>(0x80 | (code & 0x3f))};
            m_out.append(bytes, sizeof bytes);
        } else if (QChar::isSurrogate(unit)) {
            // A lone surrogate has no UTF-8 form; the escape keeps it.
            appendUnicodeEscape(m_out, unit);
        } else {
            const char bytes[] = {static_cast<char>(0xe0 | (unit >> 12)),
                                  static_cast<char>(0x80 | ((unit >> 6) & 0x3f)),
                                  static_cast<char>(0x80 | (unit & 0x3f))};
            m_out.append(bytes, sizeof bytes);
        }
    }
}
