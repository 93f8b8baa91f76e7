// kestrin_iconbaker: renders the application icon's SVG into PNG files at the
// sizes the window shows it, at build time. The running application then
// loads plain images and never loads the SVG library.
//
//   kestrin_iconbaker SVG OUTPUT_DIR NAME SIZE...
//
// writes OUTPUT_DIR/NAME-SIZE.png for every SIZE (pixels, square). A size
// written as N@2x gives NAME-N@2x.png at 2N pixels, the name Qt picks on
// high-density screens. A size written as N.argb gives NAME-N.argb: the
// image's premultiplied 32-bit pixels and nothing else, which the window shows
// without decoding anything (ui/appiconprovider). Exit status 0, or 1 with a
// message on failure.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: kestrin_iconbaker SVG OUTPUT_DIR NAME SIZE...\n");
        return 1;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "kestrin_iconbaker: %s is not a drawable SVG file\n", argv[1]);
        return 1;
    }
    const QDir output(QString::fromLocal8Bit(argv[2]));
    if (!output.exists() && !QDir().mkpath(output.path())) {
        std::fprintf(stderr, "kestrin_iconbaker: cannot create %s\n", argv[2]);
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        QString size = QString::fromLocal8Bit(argv[i]);
        const bool raw = size.endsWith(QStringLiteral(".argb"));
        if (raw) {
            size.chop(5);
        }
        const bool doubled = size.endsWith(QStringLiteral("@2x"));
        bool ok = false;
        const int side = QStringView(size).left(doubled ? size.size() - 3 : size.size()).toInt(&ok);
        if (!ok || side <= 0 || side > 4096) {
            std::fprintf(stderr, "kestrin_iconbaker: bad size %s\n", argv[i]);
            return 1;
        }
        const int pixels = doubled ? 2 * side : side;
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        }
        const QString file =
            output.filePath(name + QLatin1Char('-') + size +
                            (raw ? QStringLiteral(".argb") : QStringLiteral(".png")));
        bool written = false;
        if (raw) {
            QFile out(file);
            const QByteArray pixels(reinterpret_cast<const char *>(image.constBits()),
                                    image.sizeInBytes());
            written =
                out.open(QIODevice::WriteOnly) && out.write(pixels) == pixels.size() && out.flush();
        } else {
            written = image.save(file, "PNG");
        }
        if (!written) {
            std::fprintf(stderr, "kestrin_iconbaker: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
