// The icon files are drawn without the SVG library: the path syntax that
// such files use, and every icon of the interface compared with what the SVG
// library itself draws.
#include "ui/strokeicon.h"
#include "ui/symbolicons.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

struct PathCase {
    const char *name;
    const char *d;
    QRectF bounds; // of the outline; empty when nothing is drawn
};

class SvgPathDataTest : public testing::TestWithParam<PathCase> {};

TEST_P(SvgPathDataTest, OutlineHasTheExpectedBounds)
{
    const PathCase &row = GetParam();
    const QPainterPath path = parseSvgPathData(QString::fromLatin1(row.d));
    const QRectF bounds = path.boundingRect();
    if (row.bounds.isNull()) {
        EXPECT_TRUE(bounds.isNull()) << row.d;
        return;
    }
    EXPECT_NEAR(bounds.left(), row.bounds.left(), 1e-6) << row.d;
    EXPECT_NEAR(bounds.top(), row.bounds.top(), 1e-6) << row.d;
    EXPECT_NEAR(bounds.right(), row.bounds.right(), 1e-6) << row.d;
    EXPECT_NEAR(bounds.bottom(), row.bounds.bottom(), 1e-6) << row.d;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, SvgPathDataTest,
    testing::Values(PathCase{"box", "M0 0h10v10H0z", QRectF(0, 0, 10, 10)},
                    // Extra pairs after a moveto are linetos, each relative to the last point.
                    PathCase{"repeatedRelative", "m1 1 2 2 3 3", QRectF(1, 1, 5, 5)},
                    // Numbers run together: "1.5-2.9" is two numbers, ".5.5" too.
                    PathCase{"packedNumbers", "M0 0l1.5-2.9.5.5", QRectF(0, -2.9, 2, 2.9)},
                    PathCase{"exponent", "M0 0L1e1 2E0", QRectF(0, 0, 10, 2)},
                    // A half circle above the chord (sweep towards increasing angles).
                    PathCase{"arcSweep", "M0 0A5 5 0 0 1 10 0", QRectF(0, -5, 10, 5)},
                    PathCase{"arcOtherSweep", "M0 0A5 5 0 0 0 10 0", QRectF(0, 0, 10, 5)},
                    // Radii too small to reach are scaled up: still a half circle.
                    PathCase{"arcTooSmall", "M0 0A1 1 0 0 1 10 0", QRectF(0, -5, 10, 5)},
                    // Flags written without separators.
                    PathCase{"packedFlags", "M0 0a5 5 0 0110 0", QRectF(0, -5, 10, 5)},
                    PathCase{"zeroRadiusIsALine", "M0 0A0 5 0 0 1 10 4", QRectF(0, 0, 10, 4)},
                    PathCase{"cubicAndSmooth", "M0 0C0 10 10 10 10 0S20 -10 20 0",
                             QRectF(0, -7.5, 20, 15)},
                    PathCase{"quadAndSmooth", "M0 0Q5 10 10 0T20 0", QRectF(0, -5, 20, 10)},
                    // Drawing stops at the first malformed command.
                    PathCase{"stopsAtMalformed", "M0 0L10 10L20", QRectF(0, 0, 10, 10)},
                    PathCase{"unknownCommand", "M0 0L5 5X9 9", QRectF(0, 0, 5, 5)},
                    PathCase{"garbage", "hello", QRectF()}),
    [](const testing::TestParamInfo<PathCase> &info) { return std::string(info.param.name); });

TEST(StrokeIcon, RejectsWhatIsNotADrawing)
{
    for (const char *text :
         {"", "not xml", "<svg><path d=\"M0 0L1 1\"/></svg>", "<svg viewBox=\"0 0 24 24\"></svg>",
          "<svg viewBox=\"0 0 24 24\"><path d=\"M0 0L1 1\"/>"}) {
        EXPECT_FALSE(parseStrokeIcon(QByteArray(text)).has_value()) << text;
    }
}

// Alpha of every pixel: the comparison is about where ink goes.
double inkDifference(const QImage &a, const QImage &b, double *ink)
{
    double difference = 0;
    *ink = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const int alphaA = qAlpha(a.pixel(x, y));
            difference += std::abs(alphaA - qAlpha(b.pixel(x, y)));
            *ink += alphaA;
        }
    }
    return difference;
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
            QByteArray white = svg;
            white.replace("currentColor", "#ffffff");
            QSvgRenderer renderer(white);
            QPainter painter(&reference);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, side, side));
            painter.end();
            double ink = 0;
            const double difference = inkDifference(reference, ours, &ink);
            ASSERT_GT(ink, 0) << symbol.toStdString();
            EXPECT_LT(difference / ink, 0.01) << symbol.toStdString() << " at " << side;
        }
    }
}

} // namespace
