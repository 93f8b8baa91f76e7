#include "scanner/cleaner.h"

#include "model/textservices.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <vector>

QString normalizedValue(const QString &value)
{
    const char16_t *data = reinterpret_cast<const char16_t *>(value.utf16());
    const qsizetype size = value.size();
    bool plain = true;
    for (qsizetype i = 0; i < size && plain; ++i) {
        const char16_t c = data[i];
        plain = c != u'\0' && c != u'\t' && !(c == u' ' && i + 1 < size && data[i + 1] == u' ');
    }
    if (plain) {
        return value.trimmed();
    }
    // NULs go first and tabs become spaces, so pairs are looked for in that text.
    std::u16string spaced;
    spaced.reserve(static_cast<std::size_t>(size));
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i];
        if (c != u'\0') {
            spaced.push_back(c == u'\t' ? u' ' : c);
        }
    }
    QString result;
    result.reserve(static_cast<qsizetype>(spaced.size()));
    for (std::size_t i = 0; i < spaced.size(); ++i) {
        result += QChar(spaced[i]);
        if (spaced[i] == u' ' && i + 1 < spaced.size() && spaced[i + 1] == u' ') {
            ++i; // one space of each non-overlapping pair
        }
    }
    return std::move(result).trimmed();
}

namespace {

// FNV-1a over UTF-16 code units.
constexpr quint64 hashSeed = 0xcbf29ce484222325ULL;

quint64 hashUnits(quint64 hash, QStringView text)
{
    for (QChar c : text) {
        hash = (hash ^ c.unicode()) * 0x100000001b3ULL;
    }
    return (hash ^ 0x1F) * 0x100000001b3ULL; // field separator
}

// Hash of the lower-cased text, lowering ASCII on the fly.
quint64 hashLowered(quint64 hash, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            return hashUnits(hash, Text::lowered(text));
        }
    }
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') {
            u = static_cast<char16_t>(u + 32);
        }
        hash = (hash ^ u) * 0x100000001b3ULL;
    }
    return (hash ^ 0x1F) * 0x100000001b3ULL;
}

// The de-duplication keys seen so far, held as hashes; equal hashes are
// confirmed against the kept item, so a collision never drops an item.
class SeenKeys {
public:
    explicit SeenKeys(qsizetype expected)
    {
        std::size_t capacity = 16;
        while (capacity < static_cast<std::size_t>(expected) * 2) {
            capacity *= 2;
        }
        m_slots.assign(capacity, Slot{});
    }

    // Calls isSameKey(index) for each kept item with the same hash; returns
    // true when one matches, otherwise records `index` and returns false.
    template <typename Same> bool seenOrInsert(quint64 hash, qsizetype index, Same &&isSameKey)
    {
        if ((m_count + 1) * 2 > m_slots.size()) {
            grow();
        }
        std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (slot.index < 0) {
                slot = Slot{hash, index};
                ++m_count;
                return false;
            }
            if (slot.hash == hash && isSameKey(slot.index)) {
                return true;
            }
        }
    }

private:
    struct Slot {
        quint64 hash = 0;
        qsizetype index = -1;
    };

    void grow()
    {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (const Slot &slot : old) {
            if (slot.index >= 0) {
                std::size_t i = slot.hash & mask;
                while (m_slots[i].index >= 0) {
                    i = (i + 1) & mask;
                }
                m_slots[i] = slot;
            }
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};

bool onlyZerosAndXs(QStringView probe)
{
    return std::all_of(probe.begin(), probe.end(), [](QChar c) { return c == u'0' || c == u'x'; });
}

} // namespace

QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items,
                                        const QStringList &badValues)
{
    const QSet<QString> bad(badValues.cbegin(), badValues.cend());
    SeenKeys seenKeys(items.size());
    QString lastDetail;
    QString lastDetailLowered;
    QList<HardwareItem> kept;
    kept.reserve(items.size());
    for (const HardwareItem &item : items) {
        const QString title = item.title.trimmed();
        const QString value = normalizedValue(item.value);
        if (title.isEmpty() || value.isEmpty()) {
            continue;
        }
        const QString probe = Text::lowered(value).trimmed();
        if (Text::graphemeCountUpTo(probe, 2) < 2) {
            continue;
        }
        if (bad.contains(probe) || onlyZerosAndXs(probe)) {
            continue;
        }
        // Details repeat for every fact of a record and share their data.
        if (!item.detail.isSharedWith(lastDetail)) {
            lastDetail = item.detail;
            lastDetailLowered = Text::lowered(lastDetail);
        }
        quint64 hash = hashUnits(hashSeed, rawValue(item.category));
        hash = hashLowered(hash, title);
        hash = hashUnits(hash, probe);
        hash = hashUnits(hash, lastDetailLowered);
        const bool seen = seenKeys.seenOrInsert(hash, kept.size(), [&](qsizetype index) {
            const HardwareItem &other = kept[index];
            return other.category == item.category && Text::lowered(other.value) == probe &&
                   Text::lowered(other.title) == Text::lowered(title) &&
                   Text::lowered(other.detail) == lastDetailLowered;
        });
        if (seen) {
            continue;
        }
        kept.append(HardwareItem(item.category, title, value, item.detail, item.source));
    }

    // Collate each distinct title once, then sort by integer ranks.
    QList<QString> titles;
    titles.reserve(kept.size());
    for (const HardwareItem &item : kept) {
        titles.append(item.title);
    }
    const QHash<QString, int> rank = Text::StandardComparator().ranks(std::move(titles));
    std::vector<std::pair<int, int>> sortKeys;
    sortKeys.reserve(static_cast<std::size_t>(kept.size()));
    for (const HardwareItem &item : kept) {
        sortKeys.emplace_back(categoryOrder(item.category), rank.value(item.title));
    }
    std::vector<qsizetype> order(static_cast<std::size_t>(kept.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&sortKeys](qsizetype a, qsizetype b) {
        return sortKeys[static_cast<std::size_t>(a)] < sortKeys[static_cast<std::size_t>(b)];
    });

    QList<HardwareItem> sorted;
    sorted.reserve(kept.size());
    for (qsizetype index : order) {
        sorted.append(std::move(kept[index]));
    }
    return sorted;
}
