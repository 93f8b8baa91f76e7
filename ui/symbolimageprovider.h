#pragma once

#include "ui/strokeicon.h"

#include <QColor>
#include <QQuickImageProvider>

#include <optional>

// Draws the icon of a symbol name, tinted and at a stroke weight, for
// `image://symbol/<name>/<rrggbb>/<stroke width>` sources. Tinting at render
// time keeps one SVG per icon and works with the software scene graph, which
// has no shader effects to recolour an image afterwards. The drawings are
// stroked by ui/strokeicon, not by the SVG library.
class SymbolImageProvider : public QQuickImageProvider {
public:
    SymbolImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    static constexpr int defaultSide = 24;
};

// Parsed form of a provider id; exposed for tests.
struct SymbolImageRequest {
    QString symbol;
    QColor color;
    double strokeWidth = 2.0;
};

[[nodiscard]] std::optional<SymbolImageRequest> parseSymbolImageId(const QString &id);

// The drawing of `symbol`, or nothing when the name is unknown or its file
// cannot be read.
[[nodiscard]] std::optional<StrokeIcon> symbolDrawing(const QString &symbol);
