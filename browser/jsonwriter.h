#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <concepts>

class QIODevice;

// Writes compact JSON straight into a byte array, or a device, as the caller
// walks its data, so a large report never exists twice in memory as a tree of
// values. The bytes are those QJsonDocument::Compact gives for the same
// document, provided the caller emits each object's keys in the order
// QJsonObject keeps them (sorted).
class JsonWriter {
public:
    explicit JsonWriter(QByteArray &out);
    // Writes to `device` in chunks of about chunkSize bytes as they fill, so
    // not even the finished document is held in memory. Call flush() at the end.
    explicit JsonWriter(QIODevice &device);

    static constexpr qsizetype chunkSize = 64 * 1024;
    // Units escaped per step, and the most bytes one unit can need ("\u001f").
    static constexpr qsizetype sliceUnits = 512;
    static constexpr qsizetype maxBytesPerUnit = 6;

    // Writes out what is still buffered. False when any write to the device
    // failed (the rest is then dropped, not written after a gap).
    [[nodiscard]] bool flush();

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    // The next member's key inside an object.
    void key(QStringView name);

    void value(QStringView text);
    // Only a real bool: a string literal would otherwise convert to one.
    void value(std::same_as<bool> auto flag) { writeBool(flag); }
    void value(qint64 number);

    // A key and its value at once.
    void member(QStringView name, QStringView text);
    void member(QStringView name, std::same_as<bool> auto flag)
    {
        key(name);
        value(flag);
    }
    void member(QStringView name, qint64 number);

    // One string value given in pieces, for a text too large to join first:
    // beginString(), appendToString() for each piece, endString(). The result
    // equals value() on the joined text as long as no piece boundary splits a
    // surrogate pair.
    void beginString();
    void appendToString(QStringView piece);
    void endString();

    // A line feed after the document, which ends a file's last line.
    void endLine();

private:
    void separate();
    void writeBool(bool flag);
    void appendString(QStringView text);
    void appendEscaped(QStringView text);
    void spillIfFull();

    // Declared before m_out, which refers to it when writing to a device.
    QByteArray m_buffer;
    QByteArray &m_out;
    QIODevice *m_device = nullptr;
    bool m_failed = false;
    // One entry per open container: whether it already holds an element.
    QList<bool> m_hasElement;
    bool m_afterKey = false;
};
