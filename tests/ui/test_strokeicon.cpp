// The icons, drawn without the SVG library and compared with it; image ids.
#include "model/hardwarecategory.h"
#include "ui/strokeicon.h"
#include "ui/symbolicons.h"
#include "ui/symbolimageprovider.h"

#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The outline's bounds for each piece of path syntax; empty when nothing is drawn.
TEST(StrokeIcon, PathDataOutlineHasTheExpectedBounds)
{
    const std::pair<const char *, QRectF> rows[] = {
        {"M0 0h10v10H0z", QRectF(0, 0, 10, 10)},
        // Extra pairs after a moveto are linetos, each relative to the last point.
        {"m1 1 2 2 3 3", QRectF(1, 1, 5, 5)},
        // Numbers run together: "1.5-2.9" is two numbers, ".5.5" too.
        {"M0 0l1.5-2.9.5.5", QRectF(0, -2.9, 2, 2.9)},
        // A half circle above the chord (sweep towards increasing angles).
        {"M0 0A5 5 0 0 1 10 0", QRectF(0, -5, 10, 5)},
        // Radii too small to reach are scaled up: still a half circle.
        {"M0 0A1 1 0 0 1 10 0", QRectF(0, -5, 10, 5)},
        // Flags written without separators.
        {"M0 0a5 5 0 0110 0", QRectF(0, -5, 10, 5)},
        // A zero radius is a line.
        {"M0 0A0 5 0 0 1 10 4", QRectF(0, 0, 10, 4)},
        {"M0 0C0 10 10 10 10 0S20 -10 20 0", QRectF(0, -7.5, 20, 15)},
        {"M0 0Q5 10 10 0T20 0", QRectF(0, -5, 20, 10)},
        // Drawing stops at the first malformed or unknown command.
        {"M0 0L10 10L20", QRectF(0, 0, 10, 10)},
        {"M0 0L5 5X9 9", QRectF(0, 0, 5, 5)},
        {"hello", QRectF()},
    };
    for (const auto &[d, expected] : rows) {
        const QRectF bounds = parseSvgPathData(QString::fromLatin1(d)).boundingRect();
        EXPECT_EQ(bounds.isNull(), expected.isNull()) << d;
        const QPointF off[] = {bounds.topLeft() - expected.topLeft(),
                               bounds.bottomRight() - expected.bottomRight()};
        EXPECT_LT(off[0].manhattanLength() + off[1].manhattanLength(), 4e-6) << d;
    }
}

TEST(StrokeIcon, RejectsWhatIsNotADrawing)
{
    for (const char *text : {"not xml", "<svg><path d=\"M0 0L1 1\"/></svg>",
                             "<svg viewBox=\"0 0 24 24\"><path d=\"M0 0L1 1\"/>"}) {
        EXPECT_FALSE(parseStrokeIcon(QByteArray(text)).has_value()) << text;
    }
}

TEST(StrokeIcon, EveryInterfaceIconMatchesTheSvgLibrary)
{
    for (const QString &symbol : knownSymbolNames()) {
        QFile file(symbolIconPath(symbol));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << symbol.toStdString();
        const QByteArray svg = file.readAll();
        const std::optional<StrokeIcon> icon = parseStrokeIcon(svg);
        ASSERT_TRUE(icon.has_value()) << symbol.toStdString();
        for (const int side : {17, 48}) {
            const QImage ours = renderStrokeIcon(*icon, QSize(side, side), Qt::white, 2.0);
            QImage reference(side, side, QImage::Format_ARGB32_Premultiplied);
            reference.fill(Qt::transparent);
            QPainter painter(&reference);
            painter.setRenderHint(QPainter::Antialiasing);
            QSvgRenderer(QByteArray(svg).replace("currentColor", "#ffffff"))
                .render(&painter, QRectF(0, 0, side, side));
            painter.end();
            // Alpha of every pixel: the comparison is about where ink goes.
            double difference = 0, ink = 0;
            for (int i = 0; i < side * side; ++i) {
                const int theirs = qAlpha(reference.pixel(i % side, i / side));
                difference += std::abs(theirs - qAlpha(ours.pixel(i % side, i / side)));
                ink += theirs;
            }
            ASSERT_GT(ink, 0) << symbol.toStdString();
            EXPECT_LT(difference / ink, 0.01) << symbol.toStdString() << " at " << side;
        }
    }
}

// The names are read from the QML itself, so an icon added there is checked
// without anyone listing it here.
TEST(SymbolIcons, EveryNameTheWindowUsesHasItsOwnIconFile)
{
    QStringList used;
    for (const HardwareCategory category : allCategories)
        used.append(symbol(category));
    static const QRegularExpression named(
        uR"re((?<![\w.])(?:name|symbol): "([a-z]+(?:\.[a-z]+)*)")re"_s);
    QDirIterator qml(QStringLiteral(KESTRIN_SOURCE_DIR "/ui/qml"), {u"*.qml"_s}, QDir::Files,
                     QDirIterator::Subdirectories);
    while (qml.hasNext()) {
        QFile file(qml.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        for (const QRegularExpressionMatch &match :
             named.globalMatch(QString::fromUtf8(file.readAll())))
            used.append(match.captured(1));
    }
    EXPECT_GT(used.size(), allCategories.size() + 5);
    for (const QString &name : used) {
        const QString path = symbolIconPath(name);
        EXPECT_TRUE(!path.isEmpty() && QFile::exists(path)) << name.toStdString();
    }
    EXPECT_TRUE(symbolIconPath(u"").isEmpty());
}

// Image ids are "symbol/rrggbb/stroke width"; the width is clamped to 0.5..3.
TEST(SymbolImageProvider, ParsesIds)
{
    const auto request = parseSymbolImageId(u"cpu.fill/ff9f0a/2.5"_s);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->symbol, u"cpu.fill"_s);
    EXPECT_EQ(request->color, QColor(0xff, 0x9f, 0x0a));
    EXPECT_DOUBLE_EQ(request->strokeWidth, 2.5);
    EXPECT_DOUBLE_EQ(parseSymbolImageId(u"cpu/ffffff/40"_s)->strokeWidth, 3.0);
    EXPECT_DOUBLE_EQ(parseSymbolImageId(u"cpu/ffffff/-1"_s)->strokeWidth, 0.5);
    for (const char *id : {"", "cpu/ffffff", "/ffffff/2", "cpu/fff/2", "cpu/zzzzzz/2",
                           "cpu/ffffff/nan", "cpu/ffffff/2/extra"}) {
        EXPECT_FALSE(parseSymbolImageId(QString::fromLatin1(id)).has_value()) << id;
    }
}

} // namespace
