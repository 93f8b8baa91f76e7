// The symbol names the window uses map to icon files that exist, and the
// image provider draws them in the requested tint and size.
#include "model/hardwarecategory.h"
#include "ui/symbolicons.h"
#include "ui/symbolimageprovider.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// Names used by the QML files besides the category symbols.
const char *const interfaceSymbols[] = {
    "arrow.clockwise",       "terminal",      "magnifyingglass",
    "square.and.arrow.down", "doc.on.doc",    "exclamationmark.triangle.fill",
    "arrow.down.circle",     "chevron.right",
};

int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                ++count;
            }
        }
    }
    return count;
}

} // namespace

TEST(SymbolIcons, EveryCategorySymbolHasAnIconFile)
{
    for (HardwareCategory category : allCategories) {
        const QString path = symbolIconPath(symbol(category));
        EXPECT_FALSE(path.isEmpty()) << symbol(category).toStdString();
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
}

TEST(SymbolIcons, EveryInterfaceSymbolHasAnIconFile)
{
    for (const char *name : interfaceSymbols) {
        const QString path = symbolIconPath(QString::fromLatin1(name));
        EXPECT_TRUE(!path.isEmpty() && QFile::exists(path)) << name;
    }
}

TEST(SymbolIcons, TableNamesAreUniqueAndAllResolve)
{
    const QStringList names = knownSymbolNames();
    EXPECT_EQ(names.size(), QSet<QString>(names.cbegin(), names.cend()).size());
    for (const QString &name : names) {
        EXPECT_TRUE(QFile::exists(symbolIconPath(name))) << name.toStdString();
    }
}

TEST(SymbolIcons, NearPairsGetDifferentDrawings)
{
    EXPECT_NE(symbolIconPath(u"cpu"), symbolIconPath(u"cpu.fill"));
    EXPECT_NE(symbolIconPath(u"memorychip"), symbolIconPath(u"square.stack.3d.up"));
    EXPECT_TRUE(symbolIconPath(u"CPU").isEmpty());
    EXPECT_TRUE(symbolIconPath(u"").isEmpty());
}

TEST(SymbolImageProvider, ParsesWellFormedIds)
{
    const auto request = parseSymbolImageId(QStringLiteral("cpu.fill/ff9f0a/2.5"));
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->symbol, QStringLiteral("cpu.fill"));
    EXPECT_EQ(request->color, QColor(0xff, 0x9f, 0x0a));
    EXPECT_DOUBLE_EQ(request->strokeWidth, 2.5);
}

TEST(SymbolImageProvider, RejectsMalformedIds)
{
    const char *const ids[] = {
        "",
        "cpu",
        "cpu/ffffff",
        "/ffffff/2",
        "cpu/fff/2",
        "cpu/zzzzzz/2",
        "cpu/ffffff/abc",
        "cpu/ffffff/nan",
        "cpu/ffffff/2/extra",
    };
    for (const char *id : ids) {
        EXPECT_FALSE(parseSymbolImageId(QString::fromLatin1(id)).has_value()) << id;
    }
}

TEST(SymbolImageProvider, ClampsStrokeWidth)
{
    EXPECT_DOUBLE_EQ(parseSymbolImageId(QStringLiteral("cpu/ffffff/40"))->strokeWidth, 3.0);
    EXPECT_DOUBLE_EQ(parseSymbolImageId(QStringLiteral("cpu/ffffff/-1"))->strokeWidth, 0.5);
}

TEST(SymbolImageProvider, DrawsInTheRequestedTintAndSize)
{
    SymbolImageProvider provider;
    QSize size;
    const QImage image =
        provider.requestImage(QStringLiteral("doc.on.doc/ff9f0a/2"), &size, QSize(48, 48));
    EXPECT_EQ(size, QSize(48, 48));
    EXPECT_EQ(image.size(), QSize(48, 48));
    ASSERT_GT(opaquePixels(image), 40);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 255) {
                ASSERT_EQ(qRed(pixel), 0xff);
                ASSERT_EQ(qGreen(pixel), 0x9f);
                ASSERT_EQ(qBlue(pixel), 0x0a);
            }
        }
    }
}

TEST(SymbolImageProvider, HeavierStrokeCoversMorePixels)
{
    SymbolImageProvider provider;
    const QImage thin =
        provider.requestImage(QStringLiteral("cpu/ffffff/1"), nullptr, QSize(64, 64));
    const QImage thick =
        provider.requestImage(QStringLiteral("cpu/ffffff/3"), nullptr, QSize(64, 64));
    EXPECT_GT(opaquePixels(thick), opaquePixels(thin));
}

TEST(SymbolImageProvider, UnknownOrMalformedGiveATransparentImageOfTheRequestedSize)
{
    SymbolImageProvider provider;
    for (const char *id : {"no.such.symbol/ffffff/2", "garbage"}) {
        QSize size;
        const QImage image = provider.requestImage(QString::fromLatin1(id), &size, QSize(20, 20));
        EXPECT_EQ(size, QSize(20, 20)) << id;
        EXPECT_EQ(opaquePixels(image), 0) << id;
    }
    QSize size;
    provider.requestImage(QStringLiteral("cpu/ffffff/2"), &size, QSize());
    EXPECT_EQ(size, QSize(SymbolImageProvider::defaultSide, SymbolImageProvider::defaultSide));
    provider.requestImage(QStringLiteral("cpu/ffffff/2"), &size, QSize(100000, 100000));
    EXPECT_LE(size.width(), 1024);
}
