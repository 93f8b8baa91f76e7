#include "scanner/cleaner.h"

#include "model/textservices.h"
#include "scanner/summarybuilder.h"

#include <QHash>

#include <algorithm>
#include <deque>
#include <numeric>
#include <utility>

namespace {

// Tabs become spaces, NULs go, and every non-overlapping pair of spaces becomes
// one; then the ends are trimmed.
QString normalized(QStringView value)
{
    QString spaced;
    spaced.reserve(value.size());
    for (QChar c : value) {
        if (c != u'\0') {
            spaced += c == u'\t' ? QChar(u' ') : c;
        }
    }
    QString result;
    result.reserve(spaced.size());
    for (qsizetype i = 0; i < spaced.size(); ++i) {
        result += spaced[i];
        if (spaced[i] == u' ' && i + 1 < spaced.size() && spaced[i + 1] == u' ') {
            ++i;
        }
    }
    return Text::trimmed(result).toString();
}

bool needsNormalising(QStringView value)
{
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c > u' ') {
            continue; // nearly every character: one comparison
        }
        if (c == u'\0' || c == u'\t' ||
            (c == u' ' && i + 1 < value.size() && value[i + 1] == u' ')) {
            return true;
        }
    }
    return false;
}

// Whether a value (already normalised) says something: at least two
// user-perceived characters, not a placeholder, not only zeros and x's. All
// three look at the lower-cased value.
bool saysSomething(const QString &lowered, const std::vector<QString> &placeholders)
{
    if (Text::graphemeCountUpTo(lowered, 2) < 2 ||
        std::find(placeholders.begin(), placeholders.end(), lowered) != placeholders.end()) {
        return false;
    }
    return !std::all_of(lowered.begin(), lowered.end(),
                        [](QChar c) { return c == u'0' || c == u'x'; });
}

// `text` lower-cased into `out`, reusing out's buffer: every fact's value is
// lowered, and most of them are ASCII.
void lowerInto(QStringView text, QString &out)
{
    if (!Text::isAscii(text)) {
        out = Text::lowered(text.toString());
        return;
    }
    out.resize(text.size());
    QChar *lowered = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        lowered[i] = QChar(Text::asciiLower(text[i].unicode()));
    }
}

bool equalApartFromCase(QStringView a, QStringView b)
{
    // One pass for the common case, two ASCII texts; lower-casing anything
    // else may change its length.
    if (a.size() == b.size()) {
        qsizetype i = 0;
        for (; i < a.size() && a[i].unicode() < 0x80 && b[i].unicode() < 0x80; ++i) {
            if (Text::asciiLower(a[i].unicode()) != Text::asciiLower(b[i].unicode())) {
                return false;
            }
        }
        if (i == a.size()) {
            return true;
        }
    } else if (Text::isAscii(a) && Text::isAscii(b)) {
        return false;
    }
    return Text::lowered(a.toString()) == Text::lowered(b.toString());
}

// Numbers for distinct texts, in the order they are first seen. The index's
// views point into the stored copies, which share the caller's buffer, so a
// temporary argument is safe.
class TextNumbers {
public:
    std::uint32_t numberOf(const QString &text)
    {
        return m_index.findOrAdd(text, [&] {
            m_texts.append(text);
            return static_cast<std::uint32_t>(m_texts.size() - 1);
        });
    }
    [[nodiscard]] const QString &text(std::uint32_t number) const { return m_texts[number]; }
    [[nodiscard]] qsizetype size() const { return m_texts.size(); }

private:
    QList<QString> m_texts;
    TextIndex m_index;
};

// A fact that is kept, with what its item needs. Two facts say the same when
// their category, title, detail and value are equal apart from case; titles and
// details are compared by the numbers of their lower-cased forms.
struct Kept {
    HardwareCategory category;
    std::uint32_t title;        // into Cleaner::m_titles
    std::uint32_t loweredTitle; // into Cleaner::m_loweredTexts
    std::uint32_t detail;       // lower-cased, into Cleaner::m_loweredTexts
    std::uint32_t run;
    std::uint32_t context;
    std::size_t hash;  // of all four, the value lower-cased
    QStringView value; // into its run's text, or into Cleaner::m_normalised

    [[nodiscard]] bool saysTheSameAs(const Kept &other) const
    {
        return hash == other.hash && category == other.category &&
               loweredTitle == other.loweredTitle && detail == other.detail &&
               equalApartFromCase(value, other.value);
    }
};

class Cleaner {
public:
    Cleaner(const std::vector<const RunFacts *> &runs, const QStringList &placeholders)
        : m_runs(runs), m_placeholders(placeholders.cbegin(), placeholders.cend())
    {}

    // The steps in the order a user would explain them: each fact's value is
    // trimmed and its spacing normalised; empty titles, placeholder values and
    // facts said before are dropped; what is left is ordered by category, then
    // by title, keeping the order of the output among equal titles.
    QList<HardwareItem> clean(bool withSummary)
    {
        std::size_t facts = 0;
        for (const RunFacts *run : m_runs) {
            facts += run->factCount();
        }
        m_kept.reserve(facts);
        for (std::uint32_t r = 0; r < m_runs.size(); ++r) {
            startRun(*m_runs[r]);
            for (std::size_t f = 0; f < m_runs[r]->factCount(); ++f) {
                consider(r, m_runs[r]->fact(f));
            }
            m_details.push_back(std::move(m_runDetails));
        }
        dropWhatWasSaidBefore();
        sortByCategoryAndTitle();
        return items(withSummary);
    }

private:
    // The numbers of a run's titles and details, worked out when first needed.
    struct RunNumbers {
        std::vector<std::uint32_t> title;
        QHash<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> deviceTitle;
        std::vector<std::uint32_t> detail;
    };
    static constexpr std::uint32_t unknown = RunFacts::none;

    void startRun(const RunFacts &run)
    {
        m_numbers.title.assign(run.titles().size(), unknown);
        m_numbers.deviceTitle.clear();
        m_numbers.detail.assign(run.contexts().size(), unknown);
        m_runDetails.assign(run.contexts().size(), QString());
    }

    std::uint32_t titleNumber(const RunFacts &run, const RunFacts::Fact &fact)
    {
        if (fact.device == RunFacts::none) {
            std::uint32_t &number = m_numbers.title[fact.title];
            if (number == unknown) {
                number = addTitle(run.titles()[fact.title]);
            }
            return number;
        }
        const std::pair key{fact.device, fact.title};
        const auto found = m_numbers.deviceTitle.constFind(key);
        if (found != m_numbers.deviceTitle.cend()) {
            return *found;
        }
        const std::uint32_t number =
            addTitle(Text::joined(run.device(fact.device), run.titles()[fact.title]));
        m_numbers.deviceTitle.insert(key, number);
        return number;
    }

    std::uint32_t addTitle(const QString &title)
    {
        const std::uint32_t number = m_titles.numberOf(title);
        if (number == m_loweredTitle.size()) {
            m_loweredTitle.push_back(m_loweredTexts.numberOf(Text::lowered(title)));
        }
        return number;
    }

    std::uint32_t detailNumber(const RunFacts &run, std::uint32_t context)
    {
        std::uint32_t &number = m_numbers.detail[context];
        if (number == unknown) {
            m_runDetails[context] = run.detail(context);
            number = m_loweredTexts.numberOf(Text::lowered(m_runDetails[context]));
        }
        return number;
    }

    void consider(std::uint32_t r, const RunFacts::Fact &fact)
    {
        const RunFacts &run = *m_runs[r];
        if (fact.device == RunFacts::none && run.titles()[fact.title].isEmpty()) {
            return; // titles are trimmed when stored
        }
        const QStringView raw = run.value(fact);
        QStringView value = Text::trimmed(raw);
        if (needsNormalising(raw)) {
            m_normalised.push_back(normalized(raw));
            value = m_normalised.back();
        }
        lowerInto(value, m_lowered);
        if (!saysSomething(m_lowered, m_placeholders)) {
            return;
        }
        const std::uint32_t title = titleNumber(run, fact);
        const std::uint32_t loweredTitle = m_loweredTitle[title];
        const std::uint32_t detail = detailNumber(run, fact.context);
        const HardwareCategory category = run.category(fact);
        const std::size_t hash =
            qHashMulti(Text::Hash{}(m_lowered), category, loweredTitle, detail);
        m_kept.push_back(Kept{category, title, loweredTitle, detail, r, fact.context, hash, value});
    }

    // Keeps the first of the facts that say the same. Sorting by hash brings
    // them together; a hash set does the same, but at one cache miss per fact
    // it was the slowest step of the whole scan.
    void dropWhatWasSaidBefore()
    {
        std::vector<std::pair<std::size_t, std::uint32_t>> byHash;
        byHash.reserve(m_kept.size());
        for (std::uint32_t i = 0; i < m_kept.size(); ++i) {
            byHash.emplace_back(m_kept[i].hash, i);
        }
        std::sort(byHash.begin(), byHash.end()); // first occurrences first
        std::vector<bool> said(m_kept.size());
        std::vector<std::uint32_t> first; // the different facts of one hash
        for (std::size_t begin = 0, end = 0; begin < byHash.size(); begin = end) {
            end = begin + 1;
            while (end < byHash.size() && byHash[end].first == byHash[begin].first) {
                ++end;
            }
            if (end - begin == 1) {
                continue; // the common case: nothing else has its hash
            }
            first.clear();
            for (std::size_t i = begin; i < end; ++i) {
                const std::uint32_t fact = byHash[i].second;
                const bool before = std::any_of(first.begin(), first.end(), [&](std::uint32_t f) {
                    return m_kept[f].saysTheSameAs(m_kept[fact]);
                });
                if (before) {
                    said[fact] = true;
                } else {
                    first.push_back(fact);
                }
            }
        }
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_kept.size(); ++i) {
            if (!said[i]) {
                if (kept != i) {
                    m_kept[kept] = std::move(m_kept[i]);
                }
                ++kept;
            }
        }
        m_kept.resize(kept);
    }

    void sortByCategoryAndTitle()
    {
        // Each distinct title is collated once; the facts then sort by rank.
        std::vector<std::uint32_t> byTitle(static_cast<std::size_t>(m_titles.size()));
        std::iota(byTitle.begin(), byTitle.end(), 0);
        std::vector<QCollatorSortKey> sortKeys;
        sortKeys.reserve(byTitle.size());
        for (std::uint32_t t : byTitle) {
            sortKeys.push_back(m_comparator.sortKey(m_titles.text(t)));
        }
        std::sort(byTitle.begin(), byTitle.end(), [&](std::uint32_t a, std::uint32_t b) {
            const int collated = sortKeys[a].compare(sortKeys[b]);
            if (collated != 0) {
                return collated < 0;
            }
            return m_titles.text(a) < m_titles.text(b);
        });
        std::vector<std::uint32_t> rank(byTitle.size());
        for (std::uint32_t i = 0; i < byTitle.size(); ++i) {
            rank[byTitle[i]] = i;
        }
        std::stable_sort(m_kept.begin(), m_kept.end(), [&rank](const Kept &a, const Kept &b) {
            if (a.category != b.category) {
                return a.category < b.category;
            }
            return rank[a.title] < rank[b.title];
        });
    }

    QList<HardwareItem> items(bool withSummary)
    {
        QList<HardwareItem> items;
        if (withSummary) {
            CategoryCounts counts{};
            for (const Kept &kept : m_kept) {
                ++counts[static_cast<std::size_t>(kept.category)];
            }
            items = makeSummaryItems(counts);
        }
        items.reserve(items.size() + static_cast<qsizetype>(m_kept.size()));
        for (Kept &kept : m_kept) {
            items.emplaceBack(kept.category, m_titles.text(kept.title), kept.value.toString(),
                              m_details[kept.run][kept.context],
                              m_runs[kept.run]->source(kept.context));
        }
        return items;
    }

    const std::vector<const RunFacts *> &m_runs;
    const std::vector<QString> m_placeholders; // a few dozen at most
    const Text::StandardComparator m_comparator;
    RunNumbers m_numbers;
    TextNumbers m_titles;
    std::vector<std::uint32_t> m_loweredTitle; // by title number
    TextNumbers m_loweredTexts;                // lower-cased titles and details
    std::vector<QString> m_runDetails;
    std::vector<std::vector<QString>> m_details; // by run and context
    std::deque<QString> m_normalised;            // values that did not stand as they were
    QString m_lowered;                           // the current fact's value
    std::vector<Kept> m_kept;
};

} // namespace

QList<HardwareItem> cleanFacts(const std::vector<const RunFacts *> &runs,
                               const QStringList &badValues, bool withSummary)
{
    return Cleaner(runs, badValues).clean(withSummary);
}

QList<HardwareItem> cleanAndDeduplicate(const QList<HardwareItem> &items,
                                        const QStringList &badValues)
{
    const RunFacts facts(items);
    return cleanFacts({&facts}, badValues, false);
}
