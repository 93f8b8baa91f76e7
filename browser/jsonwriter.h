#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <concepts>

// Writes compact JSON straight into a byte array as the caller walks its data,
// so a large report never exists twice in memory as a tree of values. The bytes
// are those QJsonDocument::Compact gives for the same document, provided the
// caller emits each object's keys in the order QJsonObject keeps them (sorted).
class JsonWriter {
public:
    explicit JsonWriter(QByteArray &out);

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

private:
    void separate();
    void writeBool(bool flag);
    void appendString(QStringView text);

    QByteArray &m_out;
    // One entry per open container: whether it already holds an element.
    QList<bool> m_hasElement;
    bool m_afterKey = false;
};
