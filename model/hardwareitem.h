#pragma once

#include "model/hardwarecategory.h"

#include <QList>
#include <QString>
#include <QUuid>

// One displayed hardware fact. Every construction draws a fresh random id, so
// two items built from the same text are still different items.
struct HardwareItem {
    QUuid id;
    HardwareCategory category = HardwareCategory::raw;
    QString title;
    QString value;
    QString detail;
    QString source;

    HardwareItem(HardwareCategory category, QString title, QString value, QString detail,
                 QString source);

    // Category title, title, value, detail and source joined by single spaces,
    // lower-cased. Computed on each call.
    [[nodiscard]] QString searchableText() const;

    friend bool operator==(const HardwareItem &, const HardwareItem &) = default;
};

// Every member is relocatable, so lists of items grow with plain memory moves.
Q_DECLARE_TYPEINFO(HardwareItem, Q_RELOCATABLE_TYPE);

[[nodiscard]] size_t qHash(const HardwareItem &item, size_t seed = 0) noexcept;

// A random (version 4) UUID. Items are made by the million in large scans, so
// this draws from a per-thread generator seeded by the system source instead of
// asking the system source every time.
[[nodiscard]] QUuid makeRandomUuid();
