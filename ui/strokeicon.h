#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QSize>

#include <optional>

// A line drawing in the shape of the interface's icon files: SVG whose shapes
// are only stroked (fill="none"), with round caps and joins. Only what such
// icons use is understood: path (every command, arcs included), line, rect
// (rounded), circle, ellipse, polyline and polygon. Drawing them here keeps
// the SVG library out of the window's start-up.
struct StrokeIcon {
    QRectF viewBox;
    // One outline per element, stroked one after the other as SVG does.
    QList<QPainterPath> shapes;
};

// Nothing when the text is not such a drawing (no viewBox, not XML, no shape).
[[nodiscard]] std::optional<StrokeIcon> parseStrokeIcon(QByteArrayView svg);

// The outline of SVG path data `d`, as far as it is well formed: drawing stops
// at the first malformed command, as SVG renderers do.
[[nodiscard]] QPainterPath parseSvgPathData(QStringView d);

// The icon stroked with `color` (its alpha as opacity) and `strokeWidth` in
// view box units, scaled to fill `size`.
[[nodiscard]] QImage renderStrokeIcon(const StrokeIcon &icon, QSize size, const QColor &color,
                                      qreal strokeWidth);
