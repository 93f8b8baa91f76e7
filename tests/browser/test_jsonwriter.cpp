#include "browser/jsonwriter.h"
#include "browsertesthelpers.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

// QJsonDocument is the reference here: the reports it wrote must come out of
// the writer byte for byte.
namespace {

struct StringCase {
    const char *name;
    QString text;
};

QString units(std::initializer_list<char16_t> list)
{
    QString text;
    for (char16_t unit : list) {
        text.append(QChar(unit));
    }
    return text;
}

const StringCase stringCases[] = {
    {"Empty", QString()},
    {"Plain", QStringLiteral("Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz")},
    {"QuoteAndBackslash", QStringLiteral("say \"hi\" C:\\dir\\")},
    {"ShortEscapes", QStringLiteral("a\bb\fc\nd\re\tf")},
    {"OtherControls", units({0x00, 0x01, 0x0b, 0x0e, 0x1b, 0x1f, u'x'})},
    {"Delete", units({0x7f, u'y'})},
    {"Slash", QStringLiteral("a/b</script>")},
    {"Latin1", QStringLiteral("Gr\u00f6\u00dfe \u00b0C \u00a0")},
    {"TwoByteEdge", units({0x80, 0x7ff})},
    {"ThreeByte", QStringLiteral("\u2192 \u4e2d\u6587 \ufffd \uffff")},
    {"SurrogatePair", units({0xd83d, 0xde00, u'!'})},
    {"LoneHighSurrogate", units({u'a', 0xd800, u'b'})},
    {"LoneLowSurrogate", units({0xdfff})},
    {"HighAtEnd", units({u'z', 0xdbff})},
    {"ReversedPair", units({0xdc00, 0xd800})},
    {"LongAsciiRun", QString(1000, u'k') + u'"' + QString(300, u'm')},
};

class JsonWriterStrings : public testing::TestWithParam<StringCase> {};

} // namespace

TEST_P(JsonWriterStrings, MatchesQJsonDocument)
{
    const QString &text = GetParam().text;
    const QByteArray expected =
        QJsonDocument(QJsonObject{{text, text}, {QStringLiteral("list"), QJsonArray{text, text}}})
            .toJson(QJsonDocument::Compact);
    QByteArray out;
    JsonWriter writer(out);
    writer.beginObject();
    // QJsonObject sorts its keys; the test keeps the same order.
    const bool textFirst = text < QStringLiteral("list");
    if (textFirst) {
        writer.member(text, text);
    }
    writer.key(u"list");
    writer.beginArray();
    writer.value(text);
    writer.value(text);
    writer.endArray();
    if (!textFirst) {
        writer.member(text, text);
    }
    writer.endObject();
    EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, JsonWriterStrings, testing::ValuesIn(stringCases), rowName);

TEST(JsonWriter, NumbersMatchQJsonDocument)
{
    // Up to the largest integer a double holds exactly, which is as far as
    // QJsonDocument keeps integers integral.
    for (const qint64 number : {qint64(0), qint64(1), qint64(-42), qint64(123456789012LL),
                                qint64(1) << 53, (qint64(1) << 53) - 1, -(qint64(1) << 53)}) {
        QByteArray out;
        JsonWriter writer(out);
        writer.beginObject();
        writer.member(u"n", number);
        writer.endObject();
        EXPECT_EQ(out, QJsonDocument(QJsonObject{{QStringLiteral("n"), number}})
                           .toJson(QJsonDocument::Compact))
            << number;
    }
}

TEST(JsonWriter, NestedContainersMatchQJsonDocument)
{
    const QJsonObject inner{{QStringLiteral("after"), QJsonObject{}},
                            {QStringLiteral("before"), QJsonArray{}}};
    const QJsonObject root{
        {QStringLiteral("a"), QJsonArray{QJsonArray{}, QJsonObject{}, true, false, inner}},
        {QStringLiteral("b"), false},
        {QStringLiteral("c"), QJsonArray{QJsonArray{QJsonArray{1}}}},
    };
    QByteArray out;
    JsonWriter writer(out);
    writer.beginObject();
    writer.key(u"a");
    writer.beginArray();
    writer.beginArray();
    writer.endArray();
    writer.beginObject();
    writer.endObject();
    writer.value(true);
    writer.value(false);
    writer.beginObject();
    writer.key(u"after");
    writer.beginObject();
    writer.endObject();
    writer.key(u"before");
    writer.beginArray();
    writer.endArray();
    writer.endObject();
    writer.endArray();
    writer.member(u"b", false);
    writer.key(u"c");
    writer.beginArray();
    writer.beginArray();
    writer.beginArray();
    writer.value(qint64(1));
    writer.endArray();
    writer.endArray();
    writer.endArray();
    writer.endObject();
    EXPECT_EQ(out, QJsonDocument(root).toJson(QJsonDocument::Compact));
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
