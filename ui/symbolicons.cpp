#include "ui/symbolicons.h"

#include <iterator>

namespace {

struct SymbolIcon {
    const char16_t *symbol;
    const char16_t *file; // Lucide icon name, without extension
};

// Lucide has no filled variants, so the pairs that differ only by ".fill" in the
// symbol vocabulary get two distinct drawings here ("cpu" for the BIOS chip,
// "cpu.fill" for the processor) to keep the categories apart at a glance.
constexpr SymbolIcon symbolIcons[] = {
    // Categories
    {u"list.bullet.rectangle", u"square-list"},
    {u"desktopcomputer", u"computer"},
    {u"cpu", u"microchip"},
    {u"memorychip", u"memory-stick"},
    {u"cpu.fill", u"cpu"},
    {u"square.stack.3d.up", u"layers"},
    {u"pc", u"pc-case"},
    {u"display", u"monitor"},
    {u"network", u"network"},
    {u"internaldrive", u"hard-drive"},
    {u"speaker.wave.2", u"volume-2"},
    {u"cable.connector", u"usb"},
    {u"battery.100", u"battery-full"},
    {u"gearshape.2", u"cog"},
    {u"doc.text", u"file-text"},
    // Actions and decoration
    {u"arrow.clockwise", u"rotate-cw"},
    {u"terminal", u"terminal"},
    {u"magnifyingglass", u"search"},
    {u"square.and.arrow.down", u"download"},
    {u"doc.on.doc", u"copy"},
    {u"exclamationmark.triangle.fill", u"triangle-alert"},
    {u"arrow.down.circle", u"circle-arrow-down"},
    {u"chevron.right", u"chevron-right"},
    // Privacy mask
    {u"eye", u"eye"},
    {u"eye.slash", u"eye-off"},
    {u"checkmark", u"check"},
    // Save dialog
    {u"folder", u"folder"},
    {u"chevron.up.chevron.down", u"chevrons-up-down"},
};

} // namespace

QString symbolIconPath(QStringView symbol)
{
    for (const SymbolIcon &icon : symbolIcons) {
        if (symbol == QStringView(icon.symbol)) {
            return QStringLiteral(":/icons/lucide/") + QString::fromUtf16(icon.file) +
                   QStringLiteral(".svg");
        }
    }
    return {};
}

QStringList knownSymbolNames()
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(std::size(symbolIcons)));
    for (const SymbolIcon &icon : symbolIcons) {
        names.append(QString::fromUtf16(icon.symbol));
    }
    return names;
}
