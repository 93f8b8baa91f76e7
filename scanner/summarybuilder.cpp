#include "scanner/summarybuilder.h"

QList<HardwareItem> makeSummaryItems(const QList<HardwareItem> &items)
{
    CategoryCounts counts{};
    for (const HardwareItem &item : items) {
        ++counts[static_cast<std::size_t>(item.category)];
    }
    return makeSummaryItems(counts);
}

QList<HardwareItem> makeSummaryItems(const CategoryCounts &counts)
{
    QList<HardwareItem> summary;
    for (HardwareCategory category : allCategories) {
        const qsizetype count = counts[static_cast<std::size_t>(category)];
        if (category == HardwareCategory::summary || count == 0) {
            continue;
        }
        QString value = QString::number(count) + QStringLiteral(" useful item");
        if (count != 1) {
            value += QLatin1Char('s');
        }
        summary.append(HardwareItem(HardwareCategory::summary, rawValue(category), std::move(value),
                                    QStringLiteral("Filtered dmidecode data"),
                                    QStringLiteral("App parser")));
    }
    return summary;
}
