#include "ui/dialogpalette.h"

#include <QColor>

QPalette darkDialogPalette()
{
    // The window colours of the main window; text white at the main window's opacities.
    const QColor window = QColor::fromRgbF(0.11f, 0.12f, 0.15f);
    const QColor base = QColor::fromRgbF(0.08f, 0.09f, 0.11f);
    const QColor alternate = QColor::fromRgbF(0.14f, 0.15f, 0.18f);
    const QColor text = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.92f);
    const QColor dimText = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.40f);
    const QColor button = QColor::fromRgbF(0.18f, 0.19f, 0.23f);
    const QColor accent = QColor(0x3d, 0x8b, 0xfd);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, alternate);
    palette.setColor(QPalette::ToolTipBase, alternate);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, dimText);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Light, button.lighter(130));
    palette.setColor(QPalette::Midlight, button.lighter(115));
    palette.setColor(QPalette::Mid, button.darker(120));
    palette.setColor(QPalette::Dark, base.darker(130));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, accent.lighter(120));
    palette.setColor(QPalette::LinkVisited, accent);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, dimText);
    }
    return palette;
}
