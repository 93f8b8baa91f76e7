#include "scanner/cleaner.h"

#include "model/textservices.h"
#include "scanner/summarybuilder.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>
#include <utility>

namespace {

bool needsNormalising(QStringView value)
{
    const qsizetype size = value.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = value[i].unicode();
        if (c == u'\0' || c == u'\t' || (c == u' ' && i + 1 < size && value[i + 1] == u' ')) {
            return true;
        }
    }
    return false;
}

QString normalized(QStringView value)
{
    if (!needsNormalising(value)) {
        return Text::trimmed(value).toString();
    }
    // NULs go first and tabs become spaces, so pairs are looked for in that text.
    std::u16string spaced;
    spaced.reserve(static_cast<std::size_t>(value.size()));
    for (QChar c : value) {
        if (c != u'\0') {
            spaced.push_back(c == u'\t' ? u' ' : c.unicode());
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
    return Text::trimmed(result).toString();
}

// FNV-1a over the lower-cased code units, going on from `hash`, so that the
// parts of a text can be hashed one after the other. Lower-casing works
// character by character, so the parts may be lowered apart.
constexpr quint64 hashSeed = 0xcbf29ce484222325ULL;
constexpr quint64 hashPrime = 0x100000001b3ULL;

quint64 hashLowered(quint64 hash, QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            hash = (hash ^ Text::asciiLower(c)) * hashPrime;
            ++i;
            continue;
        }
        // A run of non-ASCII characters, lowered as a whole (lower-casing may
        // change its length); cutting at ASCII characters never splits a pair.
        qsizetype end = i + 1;
        while (end < size && text[end].unicode() >= 0x80) {
            ++end;
        }
        const QStringView run = text.sliced(i, end - i);
        if (run == Text::joiner().sliced(1, 1)) {
            hash = (hash ^ c) * hashPrime; // the joiner's bullet has no case
        } else {
            for (QChar lowered : run.toString().toLower()) {
                hash = (hash ^ lowered.unicode()) * hashPrime;
            }
        }
        i = end;
    }
    return hash;
}

quint64 mix(quint64 hash, quint64 part)
{
    hash ^= part + 0x9E3779B97F4A7C15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

quint64 finish(quint64 hash)
{
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return hash;
}

bool equalLowered(QStringView a, QStringView b)
{
    if (a == b) {
        return true;
    }
    if (a.size() == b.size() && Text::isAscii(a) && Text::isAscii(b)) {
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (Text::asciiLower(a[i].unicode()) != Text::asciiLower(b[i].unicode())) {
                return false;
            }
        }
        return true;
    }
    return Text::lowered(a.toString()) == Text::lowered(b.toString());
}

// The placeholder values, looked up without building the lower-cased value
// when it is ASCII.
class BadValues {
public:
    explicit BadValues(const QStringList &values) : m_set(values.cbegin(), values.cend())
    {
        for (const QString &value : values) {
            if (Text::isAscii(value)) {
                m_ascii.push_back(value);
            }
        }
    }

    // `probe` is already lower case.
    [[nodiscard]] bool contains(const QString &probe) const { return m_set.contains(probe); }

    // `value` is ASCII, in any case.
    [[nodiscard]] bool containsAscii(QStringView value) const
    {
        return std::any_of(m_ascii.begin(), m_ascii.end(), [value](const QString &bad) {
            if (bad.size() != value.size()) {
                return false;
            }
            for (qsizetype i = 0; i < value.size(); ++i) {
                if (Text::asciiLower(value[i].unicode()) != bad[i].unicode()) {
                    return false;
                }
            }
            return true;
        });
    }

private:
    QSet<QString> m_set;
    std::vector<QString> m_ascii;
};

bool onlyZerosAndXs(QStringView lowered)
{
    return std::all_of(lowered.begin(), lowered.end(),
                       [](QChar c) { return c == u'0' || c == u'x'; });
}

// Whether a value survives the checks on its lower-cased form: at least two
// user-perceived characters, not a placeholder, not only zeros and x's. For an
// ASCII value whose characters are known to be only zeros and x's (or not).
bool keepsAsciiValue(QStringView value, const BadValues &bad, bool zerosAndXs)
{
    // Lower-casing ASCII changes neither length nor clusters.
    return Text::graphemeCountUpTo(value, 2) >= 2 && !bad.containsAscii(value) && !zerosAndXs;
}

bool keepsValue(QStringView value, const BadValues &bad)
{
    if (Text::isAscii(value)) {
        return keepsAsciiValue(value, bad, std::all_of(value.begin(), value.end(), [](QChar c) {
                                   return c == u'0' || c == u'x' || c == u'X';
                               }));
    }
    const QString probe = Text::trimmed(Text::lowered(value.toString())).toString();
    return Text::graphemeCountUpTo(probe, 2) >= 2 && !bad.contains(probe) && !onlyZerosAndXs(probe);
}

// A fact that passed the checks, with all that ordering it and making its
// item need, so that later passes (which visit survivors in display order)
// need not go back to the facts.
struct Survivor {
    quint64 hash = 0;
    QString value;
    std::uint32_t run = 0;
    std::uint32_t title = 0;
    std::uint32_t device = RunFacts::none;
    std::uint32_t context = 0;
    HardwareCategory category = HardwareCategory::raw;
};

// Sorts 64-bit keys stably by their bits [from, to), least significant digit
// first.
void radixSort(std::vector<quint64> &keys, int from, int to)
{
    if (keys.size() < 4096) {
        const quint64 mask = to >= 64 ? ~quint64{0} : ((quint64{1} << to) - 1);
        std::stable_sort(keys.begin(), keys.end(), [mask, from](quint64 a, quint64 b) {
            return ((a & mask) >> from) < ((b & mask) >> from);
        });
        return;
    }
    constexpr int digitBits = 11;
    constexpr std::size_t buckets = std::size_t{1} << digitBits;
    std::vector<quint64> buffer(keys.size());
    for (int shift = from; shift < to; shift += digitBits) {
        const quint64 digitMask =
            to - shift >= digitBits ? buckets - 1 : (std::size_t{1} << (to - shift)) - 1;
        std::array<std::size_t, buckets> offsets{};
        for (quint64 key : keys) {
            ++offsets[(key >> shift) & digitMask];
        }
        std::size_t total = 0;
        for (std::size_t &offset : offsets) {
            total += std::exchange(offset, total);
        }
        for (quint64 key : keys) {
            buffer[offsets[(key >> shift) & digitMask]++] = key;
        }
        keys.swap(buffer);
    }
}

// Compares a1 + a2 with b1 + b2, code unit by code unit.
int compareJoined(QStringView a1, QStringView a2, QStringView b1, QStringView b2)
{
    qsizetype i = 0;
    const qsizetype aSize = a1.size() + a2.size();
    const qsizetype bSize = b1.size() + b2.size();
    for (; i < aSize && i < bSize; ++i) {
        const char16_t a = i < a1.size() ? a1[i].unicode() : a2[i - a1.size()].unicode();
        const char16_t b = i < b1.size() ? b1[i].unicode() : b2[i - b1.size()].unicode();
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return aSize == bSize ? 0 : (aSize < bSize ? -1 : 1);
}

int bitsFor(std::size_t count)
{
    return count <= 1 ? 0 : std::bit_width(count - 1);
}

// One cleaning pass over the facts of some runs.
class Cleaner {
public:
    Cleaner(const std::vector<const RunFacts *> &runs, const QStringList &badValues)
        : m_runs(runs), m_bad(badValues)
    {
        std::size_t facts = 0;
        for (const RunFacts *run : m_runs) {
            facts += run->factCount();
            m_caches.emplace_back(*run);
        }
        m_survivors.reserve(facts);
    }

    void clean()
    {
        for (std::size_t r = 0; r < m_runs.size(); ++r) {
            const std::size_t facts = m_runs[r]->factCount();
            for (std::size_t f = 0; f < facts; ++f) {
                consider(static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(f));
            }
        }
        dropRepeatedKeys();
    }

    // (category, head group, key rank, head within the group): see presort().
    using SortKey = std::array<std::uint32_t, 4>;

    // The survivors in presorted display order: by category, then (mostly)
    // title under the standard comparison, then input order.
    struct Presorted {
        std::vector<std::uint32_t> survivors;
        // The sort keys by place: packed into `bits` (category first) when
        // they fit, whole otherwise.
        std::vector<quint64> packed;
        std::vector<SortKey> keys;
        std::array<int, 4> bits{};
        std::vector<std::uint8_t> groupSettled;
        std::vector<std::uint32_t> keyClass;

        [[nodiscard]] SortKey keyAt(std::size_t place) const;
        [[nodiscard]] bool followsWithoutCheck(const SortKey &previous,
                                               const SortKey &current) const;
    };

    [[nodiscard]] Presorted presort();

    // The items in display order, checking the presorted order on the way.
    [[nodiscard]] QList<HardwareItem> items(const Presorted &order, bool withSummary);

private:
    // What the cleaner works out once per title, device and context of a run.
    struct RunCache {
        explicit RunCache(const RunFacts &run)
            : titleHash(run.titles().size(), 0), deviceHash(run.devices().size(), 0),
              contextHash(run.contexts().size(), 0), details(run.contexts().size()),
              detailBuilt(run.contexts().size(), 0), titleHead(run.titles().size(), RunFacts::none),
              deviceHead(run.devices().size(), RunFacts::none), keyRank(run.titles().size(), 0)
        {}
        std::vector<quint64> titleHash;   // lower-cased title; 0: not yet
        std::vector<quint64> deviceHash;  // lower-cased "device • "; 0: not yet
        std::vector<quint64> contextHash; // lower-cased detail; 0: not yet
        std::vector<QString> details;
        std::vector<std::uint8_t> detailBuilt;
        std::vector<std::uint32_t> titleHead;
        std::vector<std::uint32_t> deviceHead;
        std::vector<std::uint32_t> keyRank;
    };

    const QString &detailOf(std::uint32_t run, std::uint32_t context)
    {
        RunCache &cache = m_caches[run];
        if (!cache.detailBuilt[context]) {
            cache.details[context] = m_runs[run]->detail(context);
            cache.detailBuilt[context] = true;
        }
        return cache.details[context];
    }

    // The hashes below are cached with 0 for "not yet"; a hash that happens to
    // be 0 is simply worked out again.
    quint64 titleHash(std::uint32_t r, const RunFacts::Fact &fact)
    {
        const RunFacts &run = *m_runs[r];
        RunCache &cache = m_caches[r];
        if (fact.device == RunFacts::none) {
            quint64 &hash = cache.titleHash[fact.title];
            if (hash == 0) {
                hash = hashLowered(hashSeed, run.titles()[fact.title]);
            }
            return hash;
        }
        quint64 &prefix = cache.deviceHash[fact.device];
        if (prefix == 0) {
            prefix = hashLowered(hashLowered(hashSeed, run.device(fact.device)), Text::joiner());
        }
        return hashLowered(prefix, run.titles()[fact.title]);
    }

    quint64 detailHash(std::uint32_t r, std::uint32_t context)
    {
        quint64 &hash = m_caches[r].contextHash[context];
        if (hash == 0) {
            hash = hashLowered(hashSeed, detailOf(r, context));
        }
        return hash;
    }

    // The title, composed in `scratch` when it is not stored whole, so that
    // comparisons need no allocation.
    QStringView titleView(const Survivor &s, QString &scratch) const
    {
        const RunFacts &run = *m_runs[s.run];
        const QString &key = run.titles()[s.title];
        if (s.device == RunFacts::none) {
            return key;
        }
        const QStringView device = run.device(s.device);
        scratch.resize(device.size() + Text::joiner().size() + key.size());
        QChar *out = std::copy(device.begin(), device.end(), scratch.data());
        out = std::copy(Text::joiner().begin(), Text::joiner().end(), out);
        std::copy(key.begin(), key.end(), out);
        return scratch;
    }

    bool sameKey(const Survivor &a, const Survivor &b);
    void consider(std::uint32_t run, std::uint32_t fact);
    void sortExactly(QList<HardwareItem> &items, qsizetype begin, qsizetype end,
                     const std::uint32_t *survivors);
    void dropRepeatedKeys();
    bool isNewKey(const Survivor &candidate, std::uint32_t index);

    const std::vector<const RunFacts *> &m_runs;
    BadValues m_bad;
    Text::StandardComparator m_comparator;
    std::vector<RunCache> m_caches;
    std::vector<Survivor> m_survivors;
    // Holds the values that needed no normalising, and device titles.
    Text::StringArena m_arena;
    std::array<QString, 2> m_scratch;
    // Open addressing over the survivors' keys: the upper half of the key's
    // hash and the survivor's index + 1 (0: a free slot), so that most
    // mismatches are seen without touching the survivor.
    std::vector<quint64> m_slots;
};

bool Cleaner::sameKey(const Survivor &a, const Survivor &b)
{
    if (a.category != b.category || !equalLowered(a.value, b.value)) {
        return false;
    }
    const bool sameTitle = a.run == b.run && a.title == b.title && a.device == b.device;
    if (!sameTitle) {
        if (!equalLowered(titleView(a, m_scratch[0]), titleView(b, m_scratch[1]))) {
            return false;
        }
    }
    return (a.run == b.run && a.context == b.context) ||
           equalLowered(detailOf(a.run, a.context), detailOf(b.run, b.context));
}

// Keeps the first fact of each key, in order. The table of keys is sized for
// all candidates at once and is large for large outputs, so each step asks for
// the slot of a candidate a little ahead.
void Cleaner::dropRepeatedKeys()
{
    const std::size_t count = m_survivors.size();
    std::size_t size = 64;
    while (size * 3 < count * 4) {
        size *= 2;
    }
    m_slots.assign(size, 0);
    const std::size_t mask = size - 1;
    constexpr std::size_t lookahead = 16;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i + lookahead < count) {
            __builtin_prefetch(&m_slots[m_survivors[i + lookahead].hash & mask]);
        }
        Survivor candidate = std::move(m_survivors[i]);
        if (isNewKey(candidate, static_cast<std::uint32_t>(kept))) {
            m_survivors[kept++] = std::move(candidate);
        }
    }
    m_survivors.resize(kept);
    std::vector<quint64>().swap(m_slots); // no longer needed; large for large outputs
}

// Records the key of `candidate`, to be kept at `index`, unless a kept survivor
// has the same key; returns whether it was new.
bool Cleaner::isNewKey(const Survivor &candidate, std::uint32_t index)
{
    const quint64 fragment = candidate.hash & 0xFFFFFFFF00000000ULL;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = candidate.hash & mask;; i = (i + 1) & mask) {
        const quint64 slot = m_slots[i];
        if (slot == 0) {
            m_slots[i] = fragment | (quint64{index} + 1);
            return true;
        }
        if ((slot & 0xFFFFFFFF00000000ULL) == fragment) {
            const Survivor &other = m_survivors[(slot & 0xFFFFFFFF) - 1];
            if (other.hash == candidate.hash && sameKey(other, candidate)) {
                return false;
            }
        }
    }
}

void Cleaner::consider(std::uint32_t r, std::uint32_t f)
{
    const RunFacts &run = *m_runs[r];
    const RunFacts::Fact &fact = run.fact(f);
    if (fact.device == RunFacts::none && run.titles()[fact.title].isEmpty()) {
        return; // titles are trimmed when stored
    }
    // Most values are plain ASCII that normalising leaves alone (the parsers'
    // values are trimmed): one pass over such a value finds that out and
    // makes its key's hash; anything else takes the general way.
    const QStringView raw = run.value(fact);
    bool plain = raw.isEmpty() || (!raw.front().isSpace() && !raw.back().isSpace());
    bool ascii = true;
    bool zerosAndXs = true;
    quint64 valueHash = hashSeed;
    for (qsizetype i = 0; i < raw.size() && plain; ++i) {
        const char16_t c = raw[i].unicode();
        plain =
            c != u'\0' && c != u'\t' && !(c == u' ' && i + 1 < raw.size() && raw[i + 1] == u' ');
        ascii = ascii && c < 0x80;
        zerosAndXs = zerosAndXs && (c == u'0' || c == u'x' || c == u'X');
        valueHash = (valueHash ^ Text::asciiLower(c)) * hashPrime;
    }
    QString normalizedValue;
    QStringView value = raw;
    if (plain && ascii) {
        if (!keepsAsciiValue(value, m_bad, zerosAndXs)) {
            return;
        }
    } else {
        if (!plain) {
            normalizedValue = normalized(raw);
            value = normalizedValue;
        }
        if (value.isEmpty() || !keepsValue(value, m_bad)) {
            return;
        }
        valueHash = hashLowered(hashSeed, value);
    }

    Survivor survivor;
    survivor.run = r;
    survivor.title = fact.title;
    survivor.device = fact.device;
    survivor.context = fact.context;
    survivor.category = run.category(fact);
    quint64 hash = mix(hashSeed, static_cast<quint64>(survivor.category));
    hash = mix(hash, titleHash(r, fact));
    hash = mix(hash, valueHash);
    hash = mix(hash, detailHash(r, fact.context));
    survivor.hash = finish(hash);
    // The value's own string is made here, while the text around it is at hand.
    survivor.value = normalizedValue.isNull() ? m_arena.add(value) : std::move(normalizedValue);
    m_survivors.push_back(std::move(survivor));
}

Cleaner::Presorted Cleaner::presort()
{
    const std::size_t count = m_survivors.size();
    // A title is ordered in two parts: its head (the whole title, or for a
    // device property the device and the joiner) and, for device properties,
    // the key. Keys get their exact rank: titles with one head share all
    // before the key, so they sort as " • key" sorts. Heads get a cheap
    // presorting rank, which items() checks with the exact comparison
    // wherever the head changes.
    struct Head {
        std::uint32_t run;
        std::uint32_t index; // title or device
        bool device;
    };
    std::vector<Head> heads;
    std::vector<std::uint32_t> survivorHead(count);
    QList<QString> keyTexts;
    for (std::size_t i = 0; i < count; ++i) {
        const Survivor &s = m_survivors[i];
        RunCache &cache = m_caches[s.run];
        const bool device = s.device != RunFacts::none;
        std::uint32_t &head = device ? cache.deviceHead[s.device] : cache.titleHead[s.title];
        if (head == RunFacts::none) {
            head = static_cast<std::uint32_t>(heads.size());
            heads.push_back({s.run, device ? s.device : s.title, device});
        }
        survivorHead[i] = head;
        if (device && cache.keyRank[s.title] == 0) {
            cache.keyRank[s.title] = 1; // ranked below
            keyTexts.append(Text::joiner() + m_runs[s.run]->titles()[s.title]);
        }
    }

    // Exact key ranks (from 1; 0 is "no key"), and classes of keys that differ
    // only in case or width.
    Presorted result;
    const QHash<QString, int> keyRanks = m_comparator.ranks(keyTexts);
    std::vector<QString> keysInOrder(static_cast<std::size_t>(keyRanks.size()));
    for (auto it = keyRanks.cbegin(); it != keyRanks.cend(); ++it) {
        keysInOrder[static_cast<std::size_t>(it.value())] = it.key();
    }
    result.keyClass.assign(keysInOrder.size() + 1, 0);
    for (std::size_t k = 0; k < keysInOrder.size(); ++k) {
        result.keyClass[k + 1] =
            result.keyClass[k] +
            (k == 0 || !m_comparator.equivalent(keysInOrder[k - 1], keysInOrder[k]));
    }
    std::uint32_t maxKeyRank = 0;
    for (std::size_t r = 0; r < m_runs.size(); ++r) {
        RunCache &cache = m_caches[r];
        const std::vector<QString> &titles = m_runs[r]->titles();
        for (std::size_t t = 0; t < titles.size(); ++t) {
            if (cache.keyRank[t] != 0) {
                cache.keyRank[t] =
                    static_cast<std::uint32_t>(keyRanks.value(Text::joiner() + titles[t]) + 1);
                maxKeyRank = std::max(maxKeyRank, cache.keyRank[t]);
            }
        }
    }

    // Heads by presorting key, then by text.
    auto headParts = [this, &heads](std::uint32_t h) {
        const Head &head = heads[h];
        const RunFacts &run = *m_runs[head.run];
        return head.device
                   ? std::pair<QStringView, QStringView>(run.device(head.index), Text::joiner())
                   : std::pair<QStringView, QStringView>(run.titles()[head.index], {});
    };
    auto headString = [&headParts](std::uint32_t h) {
        const auto [first, second] = headParts(h);
        QString text = first.toString();
        text += second;
        return text;
    };
    auto compareHeadTexts = [&headParts](std::uint32_t a, std::uint32_t b) {
        const auto [a1, a2] = headParts(a);
        const auto [b1, b2] = headParts(b);
        return compareJoined(a1, a2, b1, b2);
    };
    std::string keys;
    std::vector<std::size_t> keyStart(heads.size() + 1, 0);
    for (std::size_t h = 0; h < heads.size(); ++h) {
        const auto [first, second] = headParts(static_cast<std::uint32_t>(h));
        m_comparator.appendPresortKey(first, keys);
        m_comparator.appendPresortKey(second, keys);
        keyStart[h + 1] = keys.size();
    }
    auto keyOf = [&](std::uint32_t h) {
        return std::string_view(keys).substr(keyStart[h], keyStart[h + 1] - keyStart[h]);
    };
    std::vector<std::uint32_t> headOrder(heads.size());
    std::iota(headOrder.begin(), headOrder.end(), 0);
    std::sort(headOrder.begin(), headOrder.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int byKey = keyOf(a).compare(keyOf(b));
        return byKey != 0 ? byKey < 0 : compareHeadTexts(a, b) < 0;
    });
    // Heads with one presorting key form a group; within it they are ordered by
    // text. A group is settled when all its heads are of one kind and compare
    // equal before the tie-break: then its titles order by key first.
    std::vector<std::uint32_t> headGroup(heads.size(), 0);
    std::vector<std::uint32_t> rankInGroup(heads.size(), 0);
    result.groupSettled.assign(1, 1);
    std::uint32_t group = 0;
    std::uint32_t maxRankInGroup = 0;
    std::uint32_t groupFirst = heads.empty() ? 0 : headOrder[0];
    for (std::size_t i = 1; i < headOrder.size(); ++i) {
        const std::uint32_t previous = headOrder[i - 1];
        const std::uint32_t current = headOrder[i];
        rankInGroup[current] = rankInGroup[previous];
        if (keyOf(previous) != keyOf(current)) {
            ++group;
            rankInGroup[current] = 0;
            result.groupSettled.push_back(1);
            groupFirst = current;
        } else if (compareHeadTexts(previous, current) != 0) {
            maxRankInGroup = std::max(maxRankInGroup, ++rankInGroup[current]);
            result.groupSettled[group] =
                result.groupSettled[group] && heads[groupFirst].device == heads[current].device &&
                m_comparator.equivalent(headString(groupFirst), headString(current));
        }
        headGroup[current] = group;
    }
    keys = std::string();

    // Sort by (category, group, key rank, head within the group), stably.
    result.bits = {4, bitsFor(std::size_t{group} + 1), bitsFor(std::size_t{maxKeyRank} + 1),
                   bitsFor(std::size_t{maxRankInGroup} + 1)};
    auto sortKey = [&](std::size_t i) {
        const Survivor &s = m_survivors[i];
        const std::uint32_t head = survivorHead[i];
        return SortKey{static_cast<std::uint32_t>(s.category), headGroup[head],
                       s.device == RunFacts::none ? 0 : m_caches[s.run].keyRank[s.title],
                       rankInGroup[head]};
    };
    const int keyBits = result.bits[0] + result.bits[1] + result.bits[2] + result.bits[3];
    const int indexBits = bitsFor(count);
    result.survivors.resize(count);
    if (keyBits + indexBits <= 64) {
        std::vector<quint64> &packed = result.packed;
        packed.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const SortKey key = sortKey(i);
            quint64 value = 0;
            for (std::size_t p = 0; p < key.size(); ++p) {
                value = value << result.bits[p] | key[p];
            }
            packed[i] = value << indexBits | i;
        }
        // The keys are in input order already, so the (stable) sort needs only
        // the bits above the index.
        radixSort(packed, indexBits, indexBits + keyBits);
        const quint64 indexMask = indexBits == 0 ? 0 : (~quint64{0} >> (64 - indexBits));
        for (std::size_t i = 0; i < count; ++i) {
            result.survivors[i] = static_cast<std::uint32_t>(packed[i] & indexMask);
            packed[i] >>= indexBits;
        }
    } else {
        std::iota(result.survivors.begin(), result.survivors.end(), 0);
        std::stable_sort(result.survivors.begin(), result.survivors.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return sortKey(a) < sortKey(b); });
        result.keys.reserve(count);
        for (std::uint32_t i : result.survivors) {
            result.keys.push_back(sortKey(i));
        }
    }
    return result;
}

Cleaner::SortKey Cleaner::Presorted::keyAt(std::size_t place) const
{
    if (packed.empty()) {
        return keys[place];
    }
    SortKey key{};
    quint64 value = packed[place];
    for (std::size_t p = key.size(); p-- > 0;) {
        key[p] = static_cast<std::uint32_t>(value & ((quint64{1} << bits[p]) - 1));
        value >>= bits[p];
    }
    return key;
}

// Whether the presorted order may put `current` after `previous` (places in one
// category) without asking the exact comparison: one head (the same whole
// title, or one device whose keys have their exact order), or a settled group
// where the keys decide.
bool Cleaner::Presorted::followsWithoutCheck(const SortKey &previous, const SortKey &current) const
{
    if (previous[1] != current[1]) {
        return false;
    }
    if (previous[3] == current[3]) {
        return true;
    }
    // Equal up to the tie-break, which the heads' texts decide.
    return groupSettled[previous[1]] != 0 &&
           (previous[2] == current[2] || keyClass[previous[2]] < keyClass[current[2]]);
}

// Sorts items[begin, end) of one category by the exact comparison of titles,
// keeping input order among equal titles; `survivors` are their survivors'
// indices, which are in input order.
void Cleaner::sortExactly(QList<HardwareItem> &items, qsizetype begin, qsizetype end,
                          const std::uint32_t *survivors)
{
    QList<QString> titles;
    titles.reserve(end - begin);
    for (qsizetype i = begin; i < end; ++i) {
        titles.append(items[i].title);
    }
    const QHash<QString, int> rank = m_comparator.ranks(titles);
    std::vector<std::pair<std::pair<int, std::uint32_t>, qsizetype>> places;
    places.reserve(static_cast<std::size_t>(end - begin));
    for (qsizetype i = begin; i < end; ++i) {
        places.push_back({{rank.value(items[i].title), survivors[i - begin]}, i});
    }
    std::sort(places.begin(), places.end());
    std::vector<HardwareItem> moved;
    moved.reserve(places.size());
    for (const auto &place : places) {
        moved.push_back(std::move(items[place.second]));
    }
    for (std::size_t i = 0; i < moved.size(); ++i) {
        items[begin + static_cast<qsizetype>(i)] = std::move(moved[i]);
    }
}

QList<HardwareItem> Cleaner::items(const Presorted &order, bool withSummary)
{
    QList<HardwareItem> items;
    CategoryCounts counts{};
    for (const Survivor &s : m_survivors) {
        ++counts[static_cast<std::size_t>(s.category)];
    }
    if (withSummary) {
        items = makeSummaryItems(counts);
    }
    items.reserve(items.size() + static_cast<qsizetype>(order.survivors.size()));

    // Display order jumps about the survivors and facts of a large output.
    // They are gathered a block at a time in a loop of independent loads, which
    // the processor overlaps, before the items are made from the block. Each
    // category's order is checked as its items are made, and sorted again
    // exactly if the presorting got it wrong anywhere.
    struct Pending {
        QString value;
        std::uint32_t run;
        std::uint32_t title;
        std::uint32_t device;
        std::uint32_t context;
        HardwareCategory category;
    };
    constexpr std::size_t blockSize = 1024;
    std::array<Pending, blockSize> block;
    const std::vector<std::uint32_t> &survivors = order.survivors;
    const qsizetype offset = items.size();
    qsizetype categoryStart = offset;
    bool exact = true;
    SortKey previous{};
    auto finishCategory = [&](qsizetype end) {
        if (!exact) {
            sortExactly(items, categoryStart, end, &survivors[std::size_t(categoryStart - offset)]);
        }
        categoryStart = end;
        exact = true;
    };
    for (std::size_t first = 0; first < survivors.size(); first += blockSize) {
        const std::size_t size = std::min(blockSize, survivors.size() - first);
        for (std::size_t k = 0; k < size; ++k) {
            Survivor &s = m_survivors[survivors[first + k]];
            block[k] = Pending{std::move(s.value), s.run, s.title, s.device, s.context, s.category};
        }
        for (std::size_t k = 0; k < size; ++k) {
            Pending &p = block[k];
            if (k + 8 < size) {
                __builtin_prefetch(&m_caches[block[k + 8].run].details[block[k + 8].context]);
            }
            const RunFacts &run = *m_runs[p.run];
            QString title =
                p.device == RunFacts::none
                    ? run.titles()[p.title]
                    : m_arena.add(run.device(p.device), Text::joiner(), run.titles()[p.title]);
            items.emplaceBack(p.category, std::move(title), std::move(p.value),
                              m_caches[p.run].details[p.context],
                              run.source(p.context));

            const std::size_t place = first + k;
            const SortKey current = order.keyAt(place);
            if (place > 0 && current[0] != previous[0]) {
                finishCategory(items.size() - 1);
            } else if (place > 0 && exact && !order.followsWithoutCheck(previous, current)) {
                const qsizetype last = items.size() - 1;
                const int compared = m_comparator.compare(items[last - 1].title, items[last].title);
                exact = compared < 0 || (compared == 0 && survivors[place - 1] < survivors[place]);
            }
            previous = current;
        }
    }
    finishCategory(items.size());
    return items;
}

} // namespace

QList<HardwareItem> cleanFacts(const std::vector<const RunFacts *> &runs,
                               const QStringList &badValues, bool withSummary)
{
    Cleaner cleaner(runs, badValues);
    cleaner.clean();
    return cleaner.items(cleaner.presort(), withSummary);
}

QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items,
                                        const QStringList &badValues)
{
    const RunFacts facts(items);
    return cleanFacts({&facts}, badValues, false);
}
