#pragma once

#include <QQuickImageProvider>

// The loading spinner's drawing for `image://spinner/<rrggbb>`: twelve spokes
// around the centre, the first (pointing up) brightest and each one behind it
// fainter. The view turns the one image in steps of 30 degrees, which looks
// exactly like the brightness running round the spokes, for the cost of one
// image instead of twelve items with a binding each.
class SpinnerImageProvider : public QQuickImageProvider {
public:
    SpinnerImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    static constexpr int spokes = 12;
    static constexpr int defaultSide = 32;
};
