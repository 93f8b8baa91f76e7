#pragma once

#include "model/hardwareitem.h"
#include "scanner/classicparser.h"
#include "scanner/cleaner.h"
#include "scanner/hardwarescanner.h"

#include <ostream>
#include <vector>

// An item without its random id, for comparisons.
struct ItemText {
    HardwareCategory category;
    QString title;
    QString value;
    QString detail;
    QString source;
    friend bool operator==(const ItemText &, const ItemText &) = default;
};

inline std::ostream &operator<<(std::ostream &out, const ItemText &item)
{
    return out << '[' << rawValue(item.category).toStdString() << "] " << item.title.toStdString()
               << " = " << item.value.toStdString() << " | " << item.detail.toStdString() << " | "
               << item.source.toStdString();
}

inline std::vector<ItemText> texts(const QList<HardwareItem> &items)
{
    std::vector<ItemText> result;
    for (const HardwareItem &item : items) {
        result.push_back({item.category, item.title, item.value, item.detail, item.source});
    }
    return result;
}

inline QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Expected items, by their source.
inline ItemText summaryLine(const char *title, const char *value)
{
    return {HardwareCategory::summary, q(title), q(value), q("Filtered dmidecode data"),
            q("App parser")};
}
inline ItemText classic(HardwareCategory c, const char *title, const char *value,
                        const char *detail)
{
    return {c, q(title), q(value), q(detail), q("dmidecode -q")};
}
inline ItemText mac(HardwareCategory c, const char *title, const char *value, const char *detail)
{
    return {c, q(title), q(value), q(detail), q("--mac-hardware")};
}

// The scanner's own tables, for one step on hand-made items.
inline const HardwareScanner &tablesScanner()
{
    static const HardwareScanner scanner;
    return scanner;
}

[[nodiscard]] inline QList<HardwareItem> parseClassicDMIDecode(QStringView output)
{
    return parseClassicDMIDecode(output, tablesScanner().usefulKeys());
}

[[nodiscard]] inline QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items)
{
    return cleanAndDeduplicate(items, tablesScanner().badValues());
}
