#include "scanner/runfacts.h"

#include "model/textservices.h"

#include <QHash>

#include <utility>

RunFacts::RunFacts(const QList<HardwareItem> &items)
{
    qsizetype total = 0;
    for (const HardwareItem &item : items) {
        total += item.value.size();
    }
    m_text.reserve(total);
    TextIndex titles;
    QHash<std::pair<QString, QString>, std::uint32_t> contexts;
    for (const HardwareItem &item : items) {
        if (item.value.size() > maxLineLength) {
            continue; // beyond what a fact measures; no tool prints such a value
        }
        // The view points into the item's title, which outlives the index.
        const QStringView trimmedTitle = Text::trimmed(item.title);
        const std::uint32_t title = titles.findOrAdd(trimmedTitle, [&] {
            return addTitle(trimmedTitle.size() == item.title.size() ? item.title
                                                                     : trimmedTitle.toString());
        });
        auto context = contexts.constFind({item.detail, item.source});
        if (context == contexts.cend()) {
            const std::uint32_t index = addContext(Context{none, 0, 0, item.detail, item.source});
            context = contexts.insert({item.detail, item.source}, index);
        }
        Fact fact;
        fact.lineStart = m_text.size();
        fact.valueLength = static_cast<std::uint32_t>(item.value.size());
        fact.title = title;
        fact.context = *context;
        fact.category = item.category;
        fact.classified = true;
        addFact(fact);
        m_text += item.value;
    }
}

HardwareCategory RunFacts::category(const Fact &fact) const
{
    if (fact.classified) {
        return fact.category;
    }
    const Context &context = m_contexts[fact.context];
    return m_sections[context.section].rules.categoryFor(line(fact));
}

QString RunFacts::title(const Fact &fact) const
{
    if (fact.device == none) {
        return m_titles[fact.title];
    }
    return Text::joined(device(fact.device), m_titles[fact.title]);
}

QString RunFacts::detail(std::uint32_t index) const
{
    const Context &context = m_contexts[index];
    if (context.section == none) {
        return context.detail;
    }
    const QString &section = m_sections[context.section].text;
    if (context.handleLength == 0) {
        return section;
    }
    return Text::joined(section,
                        QStringView(m_text).sliced(context.handleStart, context.handleLength));
}

QList<HardwareItem> RunFacts::items() const
{
    std::vector<QString> details(m_contexts.size());
    std::vector<bool> built(m_contexts.size(), false);
    QList<HardwareItem> items;
    items.reserve(size());
    for (std::size_t index = 0; index < m_factCount; ++index) {
        const Fact &fact = this->fact(index);
        if (!built[fact.context]) {
            details[fact.context] = detail(fact.context);
            built[fact.context] = true;
        }
        items.emplaceBack(category(fact), title(fact),
                          textPart(fact.lineStart + fact.valueOffset, fact.valueLength),
                          details[fact.context], source(fact.context));
    }
    return items;
}

std::uint32_t RunFacts::addTitle(QString title)
{
    m_titles.push_back(std::move(title));
    return static_cast<std::uint32_t>(m_titles.size() - 1);
}

std::uint32_t RunFacts::addSection(QString text)
{
    SectionRules rules(text);
    m_sections.push_back(Section{std::move(text), rules});
    return static_cast<std::uint32_t>(m_sections.size() - 1);
}

std::uint32_t RunFacts::addContext(Context context)
{
    m_contexts.push_back(std::move(context));
    return static_cast<std::uint32_t>(m_contexts.size() - 1);
}

std::uint32_t RunFacts::addDevice(qsizetype start, qsizetype length)
{
    m_devices.push_back(Device{start, length});
    return static_cast<std::uint32_t>(m_devices.size() - 1);
}
