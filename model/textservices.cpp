#include "model/textservices.h"

#include <QLocale>
#include <QSet>
#include <QTextBoundaryFinder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace Text {

qsizetype nextNewline(const char16_t *data, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight code units at a time: only those up to U+000D or from U+0085 on can
    // end a line, and tool output has few of them besides its line feeds.
    const __m128i lowEnd = _mm_set1_epi16(0x0D);
    const __m128i highStart = _mm_set1_epi16(0x84);
    const __m128i zero = _mm_setzero_si128();
    const __m128i allOnes = _mm_set1_epi16(-1);
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        // Unsigned: up to U+000D, or not up to U+0084.
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(units, lowEnd), zero);
        const __m128i notHigh = _mm_cmpeq_epi16(_mm_subs_epu16(units, highStart), zero);
        auto candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(low, _mm_andnot_si128(notHigh, allOnes))));
        while (candidates != 0) {
            const int lane = std::countr_zero(candidates) / 2;
            if (isNewline(data[i + lane])) {
                return i + lane;
            }
            candidates &= ~(3U << (2 * lane)); // both bytes of the unit
        }
    }
#endif
    for (; i < size; ++i) {
        if (isNewline(data[i])) {
            return i;
        }
    }
    return size;
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    forEachLine(text, [&lines](QStringView line) { lines.append(line); });
    return lines;
}

QString decodeUtf8Strict(QByteArrayView bytes, bool *valid)
{
    const bool ok = QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8();
    if (valid) {
        *valid = ok;
    }
    return ok ? QString::fromUtf8(bytes) : QString();
}

QString lowered(const QString &text)
{
    bool upper = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80) {
            return text.toLower();
        }
        upper = upper || (u >= u'A' && u <= u'Z');
    }
    if (!upper) {
        return text;
    }
    QString result = text;
    for (QChar &c : result) {
        if (c >= u'A' && c <= u'Z') {
            c = QChar(static_cast<char16_t>(c.unicode() + 32));
        }
    }
    return result;
}

QString StringArena::add(QStringView first, QStringView second, QStringView third)
{
    QString result;
    result.reserve(first.size() + second.size() + third.size());
    result.append(first);
    result.append(second);
    result.append(third);
    return result;
}

QString joined(QStringView left, QStringView right)
{
    // One allocation of the exact size: items' titles are made this way by the
    // million.
    QString result(left.size() + joiner().size() + right.size(), Qt::Uninitialized);
    QChar *out = result.data();
    out = std::copy(left.begin(), left.end(), out);
    out = std::copy(joiner().begin(), joiner().end(), out);
    std::copy(right.begin(), right.end(), out);
    return result;
}

qsizetype graphemeCountUpTo(QStringView text, qsizetype limit)
{
    if (text.isEmpty() || limit <= 0) {
        return 0;
    }
    // Two ASCII code units in front are two clusters unless they are CR LF.
    if (limit <= 2 && text.size() >= 2 && text[0].unicode() < 0x80 && text[1].unicode() < 0x80 &&
        !(text[0] == u'\r' && text[1] == u'\n')) {
        return 2;
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (count < limit && finder.toNextBoundary() > 0) {
        ++count;
    }
    return count;
}

QLocale collationLocale()
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.name() == QLatin1String("C")) {
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
    return system;
}

StandardComparator::StandardComparator()
    : m_collator(std::make_shared<QCollator>(collationLocale()))
{
    m_collator->setNumericMode(true);
    // Case-insensitive maps to ICU's secondary strength, which also ignores width.
    m_collator->setCaseSensitivity(Qt::CaseInsensitive);
    m_collator->setIgnorePunctuation(false);
}

int StandardComparator::compare(QStringView left, QStringView right) const
{
    const int collated = m_collator->compare(left, right);
    if (collated != 0) {
        return collated;
    }
    return left.compare(right, Qt::CaseSensitive);
}

bool StandardComparator::equivalent(QStringView left, QStringView right) const
{
    return m_collator->compare(left, right) == 0;
}

QHash<QString, int> StandardComparator::ranks(QList<QString> strings) const
{
    QSet<QString> distinct;
    distinct.reserve(strings.size());
    for (QString &string : strings) {
        distinct.insert(std::move(string));
    }
    strings = QList<QString>(distinct.cbegin(), distinct.cend());
    std::sort(strings.begin(), strings.end(),
              [this](const QString &a, const QString &b) { return lessThan(a, b); });
    QHash<QString, int> result;
    result.reserve(strings.size());
    for (qsizetype i = 0; i < strings.size(); ++i) {
        result.insert(strings[i], static_cast<int>(i));
    }
    return result;
}

struct StandardComparator::PresortWeights {
    // 0: the collator ignores the character.
    std::array<char16_t, 128> ascii{};
    char16_t bullet = 0;
    char16_t other = 0;
};

void StandardComparator::appendPresortKey(QStringView text, std::string &key) const
{
    if (!m_presortWeights) {
        // Sort the ASCII characters (and the joiner's bullet) one by one with the
        // collator; characters that compare equal share a weight.
        std::vector<char16_t> characters;
        for (char16_t c = 1; c < 128; ++c) {
            characters.push_back(c);
        }
        characters.push_back(u'\u2022');
        auto weights = std::make_shared<PresortWeights>();
        std::vector<char16_t> ordered;
        for (char16_t c : characters) {
            if (m_collator->compare(QStringView(&c, 1), QStringView()) != 0) {
                ordered.push_back(c);
            }
        }
        std::stable_sort(ordered.begin(), ordered.end(), [this](char16_t a, char16_t b) {
            return m_collator->compare(QStringView(&a, 1), QStringView(&b, 1)) < 0;
        });
        char16_t weight = 0;
        for (std::size_t i = 0; i < ordered.size(); ++i) {
            if (i == 0 || m_collator->compare(QStringView(&ordered[i - 1], 1),
                                              QStringView(&ordered[i], 1)) != 0) {
                ++weight;
            }
            if (ordered[i] < 128) {
                weights->ascii[ordered[i]] = weight;
            } else {
                weights->bullet = weight;
            }
        }
        weights->other = static_cast<char16_t>(weight + 1);
        m_presortWeights = std::move(weights);
    }
    // Weights go in as two bytes, most significant first, so that keys compare
    // with memcmp.
    auto put = [&key](char16_t weight) {
        key.push_back(static_cast<char>(weight >> 8));
        key.push_back(static_cast<char>(weight & 0xFF));
    };
    const PresortWeights &weights = *m_presortWeights;
    // Digit runs compare by value: the weight of a digit, the length without
    // leading zeros (above every weight), then the digits.
    constexpr char16_t lengthBase = 0x8000;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            qsizetype end = i;
            while (end < size && text[end] >= u'0' && text[end] <= u'9') {
                ++end;
            }
            qsizetype first = i;
            while (first < end && text[first] == u'0') {
                ++first;
            }
            put(weights.ascii[u'0']);
            put(static_cast<char16_t>(lengthBase + std::min<qsizetype>(end - first, 0x7FFF)));
            for (qsizetype d = first; d < end; ++d) {
                put(text[d].unicode());
            }
            i = end - 1;
        } else if (c < 128) {
            if (weights.ascii[c] != 0) {
                put(weights.ascii[c]);
            }
        } else {
            put(c == u'\u2022' ? weights.bullet : weights.other);
        }
    }
}

} // namespace Text
