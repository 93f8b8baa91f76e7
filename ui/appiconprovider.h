#pragma once

#include <QQuickImageProvider>

// The application icon for `image://appicon/kestrin`, from pixels rendered at
// build time (ui/iconbaker): the sidebar shows it in the first frame, and a
// PNG would cost a decoder and a scan of the image plugins first. The image
// nearest above the requested size is used, scaled down when it is larger.
class AppIconImageProvider : public QQuickImageProvider {
public:
    AppIconImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The sides the icon was rendered at, smallest first.
    static constexpr int renderedSides[] = {96, 104, 192, 208};
};
