#include "ui/spinnerprovider.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

SpinnerImageProvider::SpinnerImageProvider() : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage SpinnerImageProvider::requestImage(const QString &id, QSize *size,
                                          const QSize &requestedSize)
{
    int side = std::max(requestedSize.width(), requestedSize.height());
    side = side > 0 ? std::min(side, 512) : defaultSide;
    if (size != nullptr) {
        *size = QSize(side, side);
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QColor colour = QColor::fromString(QString(u'#' + id));
    if (!colour.isValid()) {
        colour = Qt::white;
    }

    // Spokes as the desktop's large spinner draws them: a rounded bar from the
    // rim to just over a quarter of the way in.
    const qreal width = std::max<qreal>(2, std::round(side / 11.0));
    const qreal length = std::round(side * 0.28);
    QPainterPath spoke;
    spoke.addRoundedRect(QRectF(-width / 2, -side / 2.0, width, length), width / 2, width / 2);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(side / 2.0, side / 2.0);
    for (int index = 0; index < spokes; ++index) {
        // Spoke `index` is `behind` steps behind the leading one.
        const int behind = (spokes - index) % spokes;
        painter.save();
        painter.rotate(index * 360.0 / spokes);
        painter.setOpacity(1.0 - 0.85 * behind / spokes);
        painter.fillPath(spoke, colour);
        painter.restore();
    }
    return image;
}
