#include "ui/appiconprovider.h"

#include <QResource>

#include <cmath>

QImage AppIconImageProvider::renderedIcon(int side)
{
    const QResource resource(QStringLiteral(":/icons/kestrin-%1.argb").arg(side));
    const qint64 bytes = resource.size();
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        bytes != qint64(side) * side * 4) {
        return {};
    }
    return QImage(resource.data(), side, side, QImage::Format_ARGB32_Premultiplied);
}

AppIconImageProvider::AppIconImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage AppIconImageProvider::requestImage(const QString &id, QSize *size,
                                          const QSize &requestedSize)
{
    Q_UNUSED(id);
    const int wanted = std::max(requestedSize.width(), requestedSize.height());
    int side = renderedSides[std::size(renderedSides) - 1];
    for (const int candidate : renderedSides) {
        if (candidate >= wanted) {
            side = candidate;
            break;
        }
    }
    QImage image = renderedIcon(side);
    if (!image.isNull() && wanted > 0 && wanted < side) {
        image = image.scaled(wanted, wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (size != nullptr) {
        *size = image.size();
    }
    return image;
}
