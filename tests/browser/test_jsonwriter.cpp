#include "browser/jsonwriter.h"
#include "browsertesthelpers.h"

#include <QBuffer>

// QJsonDocument is the reference here: the reports it wrote must come out of
// the writer byte for byte.
namespace {

// Writes `json` through the writer: scalars in objects as members, in arrays
// as values.
void write(JsonWriter &writer, const QJsonValue &json)
{
    if (json.isObject()) {
        writer.beginObject();
        const QJsonObject object = json.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it->isString()) {
                writer.member(it.key(), it->toString());
            } else if (it->isBool()) {
                writer.member(it.key(), it->toBool());
            } else if (it->isDouble()) {
                writer.member(it.key(), it->toInteger());
            } else {
                writer.key(it.key());
                write(writer, *it);
            }
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

void expectSameAsQJsonDocument(const QJsonObject &root)
{
    QByteArray out;
    JsonWriter writer(out);
    write(writer, root);
    EXPECT_EQ(out, QJsonDocument(root).toJson(QJsonDocument::Compact));
}

QString units(std::initializer_list<char16_t> list)
{
    QString text;
    for (char16_t unit : list) {
        text.append(QChar(unit));
    }
    return text;
}

TEST(JsonWriter, StringsMatchQJsonDocument)
{
    const QString cases[] = {
        QString(),
        QStringLiteral("Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz"),
        QStringLiteral("say \"hi\" C:\\dir\\"),
        QStringLiteral("a\bb\fc\nd\re\tf"),
        units({0x00, 0x01, 0x0b, 0x0e, 0x1b, 0x1f, u'x'}), // other controls
        units({0x7f, u'y'}),
        QStringLiteral("a/b</script>"),
        QStringLiteral("Gr\u00f6\u00dfe \u00b0C \u00a0"),
        units({0x80, 0x7ff}), // the edges of two-byte UTF-8
        QStringLiteral("\u2192 \u4e2d\u6587 \ufffd \uffff"),
        units({0xd83d, 0xde00, u'!'}), // a surrogate pair
        units({u'a', 0xd800, u'b'}),   // lone high
        units({0xdfff}),               // lone low
        units({u'z', 0xdbff}),         // high at the end
        units({0xdc00, 0xd800}),       // reversed pair
        QString(1000, u'k') + u'"' + QString(300, u'm'),
    };
    for (const QString &text : cases) {
        SCOPED_TRACE(text.left(40).toStdString());
        // As a key, a member and array values; QJsonObject sorts the keys.
        expectSameAsQJsonDocument({{text, text}, {QStringLiteral("list"), QJsonArray{text, text}}});
    }
}

TEST(JsonWriter, NumbersAndNestedContainersMatchQJsonDocument)
{
    // Up to the largest integer a double holds exactly, which is as far as
    // QJsonDocument keeps integers integral.
    for (const qint64 number : {qint64(0), qint64(1), qint64(-42), qint64(123456789012LL),
                                qint64(1) << 53, (qint64(1) << 53) - 1, -(qint64(1) << 53)}) {
        SCOPED_TRACE(number);
        expectSameAsQJsonDocument({{QStringLiteral("n"), number}});
        expectSameAsQJsonDocument({{QStringLiteral("n"), QJsonArray{number}}});
    }
    const QJsonObject inner{{QStringLiteral("after"), QJsonObject{}},
                            {QStringLiteral("before"), QJsonArray{}}};
    expectSameAsQJsonDocument({
        {QStringLiteral("a"), QJsonArray{QJsonArray{}, QJsonObject{}, true, false, inner}},
        {QStringLiteral("b"), false},
        {QStringLiteral("c"), QJsonArray{QJsonArray{QJsonArray{1}}}},
    });
}

TEST(JsonWriter, AppendsToWhatTheArrayHeld)
{
    QByteArray out("prefix ");
    JsonWriter writer(out);
    writer.beginArray();
    writer.value(u"x");
    writer.endArray();
    EXPECT_EQ(out, QByteArray(R"(prefix ["x"])"));
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
