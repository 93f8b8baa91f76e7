#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Declaration order is behaviour: sorting, the sidebar and the summary all walk
// the categories in this order.
enum class HardwareCategory : std::uint8_t {
    summary,
    platform,
    bios,
    baseboard,
    cpu,
    memory,
    pci,
    gpu,
    network,
    storage,
    audio,
    usb,
    battery,
    firmware,
    raw,
};

inline constexpr std::array<HardwareCategory, 15> allCategories = {
    HardwareCategory::summary,   HardwareCategory::platform, HardwareCategory::bios,
    HardwareCategory::baseboard, HardwareCategory::cpu,      HardwareCategory::memory,
    HardwareCategory::pci,       HardwareCategory::gpu,      HardwareCategory::network,
    HardwareCategory::storage,   HardwareCategory::audio,    HardwareCategory::usb,
    HardwareCategory::battery,   HardwareCategory::firmware, HardwareCategory::raw,
};

[[nodiscard]] constexpr int categoryOrder(HardwareCategory category)
{
    return static_cast<int>(category);
}

// The display title; the catch-all `raw` reads "Other".
[[nodiscard]] const QString &rawValue(HardwareCategory category);

// Icon name in the symbol vocabulary the interface maps to its own icon files.
[[nodiscard]] const QString &symbol(HardwareCategory category);

// Exact, case-sensitive match against the fifteen titles.
[[nodiscard]] std::optional<HardwareCategory> categoryFromRawValue(QStringView title);

// A category hashes exactly like its title string.
[[nodiscard]] size_t qHash(HardwareCategory category, size_t seed = 0) noexcept;
