#include "scanner/runfacts.h"

#include "model/textservices.h"

#include <QHash>

#include <cstring>
#include <utility>

std::uint64_t TextIndex::hashOf(QStringView text)
{
    // Eight bytes at a time, each step multiplied and folded.
    constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ULL;
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    std::size_t size = static_cast<std::size_t>(text.size()) * sizeof(char16_t);
    std::uint64_t hash = size * multiplier;
    while (size >= 8) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, bytes, 8);
        hash = (hash ^ chunk) * multiplier;
        hash ^= hash >> 29;
        bytes += 8;
        size -= 8;
    }
    std::uint64_t tail = 0;
    if (size > 0) {
        std::memcpy(&tail, bytes, size);
    }
    hash = (hash ^ tail) * multiplier;
    return hash ^ (hash >> 32);
}

void TextIndex::grow()
{
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.text.data() != nullptr) {
            std::size_t i = slot.hash & mask;
            while (m_slots[i].text.data() != nullptr) {
                i = (i + 1) & mask;
            }
            m_slots[i] = slot;
        }
    }
}

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
