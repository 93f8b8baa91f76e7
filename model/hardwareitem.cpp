#include "model/hardwareitem.h"

#include <QHash>
#include <QRandomGenerator>

#include <array>

HardwareItem::HardwareItem(HardwareCategory category, QString title, QString value,
                           QString detail, QString source)
    : id(makeRandomUuid()), category(category), title(std::move(title)), value(std::move(value)),
      detail(std::move(detail)), source(std::move(source))
{
}

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
    QtPrivate::QHashCombine combine;
    seed = combine(seed, item.id);
    seed = combine(seed, rawValue(item.category));
    seed = combine(seed, item.title);
    seed = combine(seed, item.value);
    seed = combine(seed, item.detail);
    seed = combine(seed, item.source);
    return seed;
}

QUuid makeRandomUuid()
{
    thread_local QRandomGenerator64 generator = [] {
        std::array<quint32, 8> seed{};
        QRandomGenerator::system()->fillRange(seed.data(), seed.size());
        return QRandomGenerator64(seed.data(), seed.data() + seed.size());
    }();
    std::array<uchar, 16> bytes{};
    const quint64 high = generator.generate64();
    const quint64 low = generator.generate64();
    for (int i = 0; i < 8; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<uchar>(high >> (8 * i));
        bytes[static_cast<std::size_t>(i + 8)] = static_cast<uchar>(low >> (8 * i));
    }
    bytes[6] = static_cast<uchar>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<uchar>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}
