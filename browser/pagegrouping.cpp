#include "browser/pagegrouping.h"

#include <algorithm>

const QString &PageGrouping::overviewTitle()
{
    static const QString title = QStringLiteral("Overview");
    return title;
}

void PageGrouping::reset(HardwareCategory category)
{
    m_summary = category == HardwareCategory::summary;
    m_fallbackKey = rawValue(category);
    m_items.clear();
    m_sectionOfItem.clear();
    m_sections.clear();
    m_sectionOrder.clear();
    m_sectionByKey.clear();
    if (m_summary) {
        // The summary page is always exactly one section, even when empty.
        m_sections.push_back(Section{overviewTitle(), {}});
        m_sectionOrder.push_back(0);
    }
}

int PageGrouping::sectionFor(const QString &key)
{
    const auto found = m_sectionByKey.constFind(key);
    if (found != m_sectionByKey.cend()) {
        return *found;
    }
    const int id = static_cast<int>(m_sections.size());
    m_sections.push_back(Section{key, {}});
    m_sectionByKey.insert(key, id);
    // Keys are distinct and the comparison never ties distinct strings, so the
    // insertion point is unique.
    const auto at = std::lower_bound(
        m_sectionOrder.begin(), m_sectionOrder.end(), key, [this](int existing, const QString &k) {
            return m_comparator.lessThan(m_sections[static_cast<std::size_t>(existing)].title, k);
        });
    m_sectionOrder.insert(at, id);
    return id;
}

void PageGrouping::append(const QList<HardwareItem> &items)
{
    m_items.reserve(m_items.size() + items.size());
    m_sectionOfItem.reserve(m_items.size() + items.size());
    for (const HardwareItem &item : items) {
        const int position = static_cast<int>(m_items.size());
        m_items.append(item);
        if (m_summary) {
            m_sections.front().positions.push_back(position);
            m_sectionOfItem.append(0);
            continue;
        }
        const QStringView trimmedDetail = Text::trimmed(item.detail);
        const QString key = trimmedDetail.isEmpty() ? m_fallbackKey : trimmedDetail.toString();
        const int id = sectionFor(key);
        m_sectionOfItem.append(id);
        std::vector<int> &positions = m_sections[static_cast<std::size_t>(id)].positions;
        // Every earlier item has a smaller page position, so placing the new one
        // after all titles that do not sort above it keeps the sort stable.
        const auto at =
            std::upper_bound(positions.begin(), positions.end(), item.title,
                             [this](const QString &title, int existing) {
                                 return m_comparator.lessThan(title, m_items[existing].title);
                             });
        positions.insert(at, position);
    }
}

QList<int> PageGrouping::displayOrder() const
{
    QList<int> order;
    order.reserve(m_items.size());
    for (int id : m_sectionOrder) {
        const std::vector<int> &positions = m_sections[static_cast<std::size_t>(id)].positions;
        for (int position : positions) {
            order.append(position);
        }
    }
    return order;
}

QList<ItemSection> PageGrouping::sections() const
{
    QList<ItemSection> result;
    result.reserve(static_cast<qsizetype>(m_sectionOrder.size()));
    for (int id : m_sectionOrder) {
        const Section &section = m_sections[static_cast<std::size_t>(id)];
        ItemSection out{section.title, {}};
        out.items.reserve(static_cast<qsizetype>(section.positions.size()));
        for (int position : section.positions) {
            out.items.append(m_items[position]);
        }
        result.append(std::move(out));
    }
    return result;
}
