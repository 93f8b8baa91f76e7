#include "model/hardwarecategory.h"

#include <QHash>

namespace {

struct CategoryInfo {
    QString title;
    QString symbol;
};

const std::array<CategoryInfo, allCategories.size()> &categoryTable()
{
    static const std::array<CategoryInfo, allCategories.size()> table = {{
        {QStringLiteral("Summary"), QStringLiteral("list.bullet.rectangle")},
        {QStringLiteral("Platform"), QStringLiteral("desktopcomputer")},
        {QStringLiteral("BIOS"), QStringLiteral("cpu")},
        {QStringLiteral("Baseboard"), QStringLiteral("memorychip")},
        {QStringLiteral("CPU"), QStringLiteral("cpu.fill")},
        {QStringLiteral("Memory"), QStringLiteral("square.stack.3d.up")},
        {QStringLiteral("PCI"), QStringLiteral("pc")},
        {QStringLiteral("GPU"), QStringLiteral("display")},
        {QStringLiteral("Network"), QStringLiteral("network")},
        {QStringLiteral("Storage"), QStringLiteral("internaldrive")},
        {QStringLiteral("Audio"), QStringLiteral("speaker.wave.2")},
        {QStringLiteral("USB"), QStringLiteral("cable.connector")},
        {QStringLiteral("Battery"), QStringLiteral("battery.100")},
        {QStringLiteral("Firmware"), QStringLiteral("gearshape.2")},
        {QStringLiteral("Other"), QStringLiteral("doc.text")},
    }};
    return table;
}

} // namespace

const QString &rawValue(HardwareCategory category)
{
    return categoryTable()[static_cast<std::size_t>(category)].title;
}

const QString &symbol(HardwareCategory category)
{
    return categoryTable()[static_cast<std::size_t>(category)].symbol;
}

std::optional<HardwareCategory> categoryFromRawValue(QStringView title)
{
    for (HardwareCategory category : allCategories) {
        if (rawValue(category) == title) {
            return category;
        }
    }
    return std::nullopt;
}

size_t qHash(HardwareCategory category, size_t seed) noexcept
{
    return qHash(rawValue(category), seed);
}
