#pragma once

#include <QQuickImageProvider>

// The application icon for `image://appicon/kestrin`, from pixels rendered at
// build time (ui/iconbaker): the sidebar shows it in the first frame, and a
// PNG would cost a decoder and a scan of the image plugins first. The image
// nearest above the requested size is used, scaled down when it is larger.
// The window manager's icon comes from the same pixels: a PNG there would
// load every image format plugin (and the SVG library with one of them).
class AppIconImageProvider : public QQuickImageProvider {
public:
    AppIconImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The rendered pixels of one side, shared with the resource (no copy), or a
    // null image when that side was not rendered.
    [[nodiscard]] static QImage renderedIcon(int side);

    // The sides the list offers, smallest first.
    static constexpr int renderedSides[] = {96, 104, 192, 208};
    // The sides handed to the window manager.
    static constexpr int windowIconSides[] = {16, 32, 48, 64, 128};
};
