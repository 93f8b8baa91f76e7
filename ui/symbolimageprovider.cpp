#include "ui/symbolimageprovider.h"

#include "ui/strokeicon.h"
#include "ui/symbolicons.h"

#include <QColor>
#include <QFile>
#include <QHash>
#include <QMutex>

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

std::optional<StrokeIcon> symbolDrawing(const QString &symbol)
{
    // Each icon file is read once; images may be asked for from a loader thread.
    static QMutex mutex;
    static QHash<QString, std::optional<StrokeIcon>> drawings;
    const QMutexLocker lock(&mutex);
    const auto found = drawings.constFind(symbol);
    if (found != drawings.cend()) {
        return *found;
    }
    std::optional<StrokeIcon> drawing;
    const QString path = symbolIconPath(symbol);
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        drawing = parseStrokeIcon(file.readAll());
    }
    drawings.insert(symbol, drawing);
    return drawing;
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

    const std::optional<SymbolImageRequest> request = parseSymbolImageId(id);
    const std::optional<StrokeIcon> drawing =
        request ? symbolDrawing(request->symbol) : std::nullopt;
    if (!drawing) {
        QImage empty(side, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        return empty;
    }
    return renderStrokeIcon(*drawing, side, request->color, request->strokeWidth);
}
