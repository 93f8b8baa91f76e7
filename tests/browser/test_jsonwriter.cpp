#include "browser/jsonwriter.h"
#include "browsertesthelpers.h"

#include <QBuffer>

// QJsonDocument is the reference: the reports it wrote must come out of the
// writer byte for byte.
namespace {

void write(JsonWriter &writer, const QJsonValue &json)
{
    if (json.isObject()) {
        writer.beginObject();
        const QJsonObject object = json.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            writer.key(it.key());
            write(writer, *it);
        }
        writer.endObject();
    } else if (json.isArray()) {
        writer.beginArray();
        for (const QJsonValue &entry : json.toArray()) {
            write(writer, entry);
        }
        writer.endArray();
    } else if (json.isBool()) {
        writer.value(json.toBool());
    } else if (json.isDouble()) {
        writer.value(json.toInteger());
    } else {
        writer.value(json.toString());
    }
}

// Each value as a member and in an array, strings also as a key.
TEST(JsonWriter, MatchesQJsonDocument)
{
    const QJsonValue cases[] = {
        QString(),
        u"say \"hi\" C:\\dir\\ a/b</script>"_qs,
        u"a\bb\fc\nd\re\tf"_qs,
        u"\x00\x01\x0b\x1f\x7fx"_qs,      // other controls, and DEL
        u"\x80\x7ff\x800\xfffd\xffff"_qs, // the edges of two- and three-byte UTF-8
        u"\xd83d\xde00!"_qs,              // a surrogate pair
        u"a\xd800"
        u"b"_qs,            // lone high
        u"\xdfff"_qs,       // lone low
        u"z\xdbff"_qs,      // high at the end
        u"\xdc00\xd800"_qs, // reversed pair
        // Integers up to the largest a double holds exactly, as far as
        // QJsonDocument keeps them integral.
        0,
        -42,
        123456789012LL,
        qint64(1) << 53,
        (qint64(1) << 53) - 1,
        -(qint64(1) << 53),
        QJsonArray{QJsonArray{}, QJsonObject{}, true, false,
                   QJsonObject{{u"after"_qs, QJsonObject{}}, {u"before"_qs, QJsonArray{1}}}},
    };
    for (const QJsonValue &value : cases) {
        SCOPED_TRACE(QJsonDocument(QJsonArray{value}).toJson().left(60).toStdString());
        QJsonObject root{{u"v"_qs, value}, {u"list"_qs, QJsonArray{value, value}}};
        if (value.isString()) {
            root.insert(value.toString(), value);
        }
        QByteArray out;
        JsonWriter writer(out);
        write(writer, root);
        EXPECT_EQ(out, QJsonDocument(root).toJson(QJsonDocument::Compact));
    }
}

// Streamed in chunks, a value longer than several chunks, with multi-byte
// units and escapes on the boundaries, gives QJsonDocument's bytes; a device
// that refuses writes makes flush() fail.
TEST(JsonWriter, StreamsToADeviceInChunks)
{
    const QString text = QString(3 * JsonWriter::chunkSize / 2, u'\u00e9') +
                         QString(JsonWriter::chunkSize, u'\n') + QStringLiteral("\U0001F600");
    QBuffer device;
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    JsonWriter writer(device);
    writer.beginArray();
    writer.value(text);
    writer.beginString();
    writer.appendToString(QStringView(text).first(1000));
    writer.appendToString(QStringView(text).sliced(1000));
    writer.endString();
    writer.endArray();
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(device.data(), QJsonDocument(QJsonArray{text, text}).toJson(QJsonDocument::Compact));

    QBuffer closed;
    JsonWriter failing(closed);
    failing.value(text);
    EXPECT_FALSE(failing.flush());
}

} // namespace
