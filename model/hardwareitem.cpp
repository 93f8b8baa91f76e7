#include "model/hardwareitem.h"

#include <QHash>
#include <QRandomGenerator>

#include <array>

HardwareItem::HardwareItem(HardwareCategory category, QString title, QString value, QString detail,
                           QString source)
    : id(makeRandomUuid()), category(category), title(std::move(title)), value(std::move(value)),
      detail(std::move(detail)), source(std::move(source))
{}

QString HardwareItem::searchableText() const
{
    const QString &categoryTitle = rawValue(category);
    QString text;
    text.reserve(categoryTitle.size() + title.size() + value.size() + detail.size() +
                 source.size() + 4);
    text += categoryTitle;
    text += QLatin1Char(' ');
    text += title;
    text += QLatin1Char(' ');
    text += value;
    text += QLatin1Char(' ');
    text += detail;
    text += QLatin1Char(' ');
    text += source;
    return text.toLower();
}

size_t qHash(const HardwareItem &item, size_t seed) noexcept
{
    return qHashMulti(seed, item.id, rawValue(item.category), item.title, item.value, item.detail,
                      item.source);
}

namespace {

// xoshiro256**: fast, and seeded per thread from the system's random source,
// which is all an item identity needs.
class IdGenerator {
public:
    IdGenerator()
    {
        QRandomGenerator::system()->fillRange(m_state.data(), m_state.size());
        if ((m_state[0] | m_state[1] | m_state[2] | m_state[3]) == 0) {
            m_state[0] = 0x9E3779B97F4A7C15ULL;
        }
    }

    quint64 next()
    {
        const quint64 result = rotl(m_state[1] * 5, 7) * 9;
        const quint64 t = m_state[1] << 17;
        m_state[2] ^= m_state[0];
        m_state[3] ^= m_state[1];
        m_state[1] ^= m_state[2];
        m_state[0] ^= m_state[3];
        m_state[2] ^= t;
        m_state[3] = rotl(m_state[3], 45);
        return result;
    }

private:
    static quint64 rotl(quint64 x, int k) { return (x << k) | (x >> (64 - k)); }
    std::array<quint64, 4> m_state{};
};

} // namespace

QUuid makeRandomUuid()
{
    thread_local IdGenerator generator;
    const quint64 high = generator.next();
    const quint64 low = generator.next();
    // Version 4, RFC 4122 variant.
    const quint64 versioned = (high & ~0xF000ULL) | 0x4000ULL;
    const quint64 varianted = (low & ~(0xC0ULL << 56)) | (0x80ULL << 56);
    std::array<uchar, 8> tail{};
    for (int i = 0; i < 8; ++i) {
        tail[static_cast<std::size_t>(i)] = static_cast<uchar>(varianted >> (56 - 8 * i));
    }
    return QUuid(static_cast<uint>(versioned >> 32), static_cast<ushort>(versioned >> 16),
                 static_cast<ushort>(versioned), tail[0], tail[1], tail[2], tail[3], tail[4],
                 tail[5], tail[6], tail[7]);
}
