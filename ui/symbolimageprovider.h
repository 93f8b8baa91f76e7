#pragma once

#include <QColor>
#include <QQuickImageProvider>

#include <optional>

// Draws the icon of a symbol name, tinted and at a stroke weight, for
// `image://symbol/<name>/<rrggbb>/<stroke width>` sources. Tinting at render
// time keeps one SVG per icon and works with the software scene graph, which
// has no shader effects to recolour an image afterwards.
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

// The icon's SVG with the tint and stroke width applied, or empty when the
// symbol is unknown or its file cannot be read.
[[nodiscard]] QByteArray tintedSymbolSvg(const SymbolImageRequest &request);
