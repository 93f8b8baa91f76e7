#include "ui/symbolimageprovider.h"

#include "ui/symbolicons.h"

#include <QColor>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace {

// Lucide draws on a 24-unit grid with a stroke of 2; wider strokes than this
// start closing the gaps inside the small icons.
constexpr double maximumStrokeWidth = 3.0;
constexpr double minimumStrokeWidth = 0.5;
constexpr int maximumSide = 1024;

} // namespace

std::optional<SymbolImageRequest> parseSymbolImageId(const QString &id)
{
    const QStringList parts = id.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts[0].isEmpty()) {
        return std::nullopt;
    }
    SymbolImageRequest request;
    request.symbol = parts[0];
    const QString &hex = parts[1];
    if (hex.size() != 6 && hex.size() != 8) {
        return std::nullopt;
    }
    request.color = QColor::fromString(QString(u'#' + hex));
    if (!request.color.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    const double width = parts[2].toDouble(&ok);
    if (!ok || !std::isfinite(width)) {
        return std::nullopt;
    }
    request.strokeWidth = std::clamp(width, minimumStrokeWidth, maximumStrokeWidth);
    return request;
}

QByteArray tintedSymbolSvg(const SymbolImageRequest &request)
{
    const QString path = symbolIconPath(request.symbol);
    if (path.isEmpty()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray svg = file.readAll();
    const QByteArray colour = request.color.name(QColor::HexRgb).toLatin1();
    svg.replace("currentColor", colour);
    svg.replace("stroke-width=\"2\"",
                "stroke-width=\"" + QByteArray::number(request.strokeWidth, 'g', 4) + '"');
    return svg;
}

SymbolImageProvider::SymbolImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage SymbolImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    QSize side(defaultSide, defaultSide);
    if (requestedSize.width() > 0 && requestedSize.height() > 0) {
        side = requestedSize.boundedTo(QSize(maximumSide, maximumSide));
    } else if (requestedSize.width() > 0 || requestedSize.height() > 0) {
        const int edge =
            std::min(std::max(requestedSize.width(), requestedSize.height()), maximumSide);
        side = QSize(edge, edge);
    }
    if (size != nullptr) {
        *size = side;
    }

    QImage image(side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    const std::optional<SymbolImageRequest> request = parseSymbolImageId(id);
    if (!request) {
        return image;
    }
    QSvgRenderer renderer(tintedSymbolSvg(*request));
    if (!renderer.isValid()) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(request->color.alphaF());
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(side)));
    return image;
}
