#pragma once

#include "model/hardwareitem.h"
#include "scanner/classicparser.h"
#include "scanner/cleaner.h"
#include "scanner/hardwarescanner.h"

#include <ostream>
#include <vector>

inline QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// An item without its random id, for comparisons.
struct ItemText {
    HardwareCategory category;
    QString title, value, detail, source;
    ItemText(HardwareCategory c, const char *t, const char *v, const char *d, const char *s)
        : category(c), title(q(t)), value(q(v)), detail(q(d)), source(q(s))
    {}
    explicit ItemText(const HardwareItem &i)
        : category(i.category), title(i.title), value(i.value), detail(i.detail), source(i.source)
    {}
    friend bool operator==(const ItemText &, const ItemText &) = default;
    friend std::ostream &operator<<(std::ostream &out, const ItemText &i)
    {
        return out << '[' << rawValue(i.category).toStdString() << "] " << i.title.toStdString()
                   << " = " << i.value.toStdString() << " | " << i.detail.toStdString() << " | "
                   << i.source.toStdString();
    }
};

inline std::vector<ItemText> texts(const QList<HardwareItem> &items)
{
    return {items.cbegin(), items.cend()};
}

// Expected items, by their source.
inline ItemText summaryLine(const char *title, const char *value)
{
    return {HardwareCategory::summary, title, value, "Filtered dmidecode data", "App parser"};
}
inline ItemText classic(HardwareCategory c, const char *title, const char *value,
                        const char *detail)
{
    return {c, title, value, detail, "dmidecode -q"};
}
inline ItemText mac(HardwareCategory c, const char *title, const char *value, const char *detail)
{
    return {c, title, value, detail, "--mac-hardware"};
}

// The scanner's own tables, for one step on hand-made items.
inline const HardwareScanner &tables()
{
    static const HardwareScanner scanner;
    return scanner;
}
