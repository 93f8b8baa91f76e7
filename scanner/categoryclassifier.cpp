#include "scanner/categoryclassifier.h"

#include "model/textservices.h"

#include <QString>

#include <algorithm>
#include <array>
#include <bit>
#include <string_view>
#include <vector>

namespace {

struct Rule {
    std::vector<std::u16string_view> keywords;
    HardwareCategory category;
};

// Order matters: device classes win over the generic ones.
const std::vector<Rule> &rules()
{
    static const std::vector<Rule> table = {
        {{u"gpu", u"vga", u"display", u"radeon", u"nvidia", u"graphics"}, HardwareCategory::gpu},
        {{u"network", u"ethernet", u"wi-fi", u"wifi", u"wireless", u"mac address"},
         HardwareCategory::network},
        {{u"storage", u"nvme", u"sata", u"ahci", u"disk"}, HardwareCategory::storage},
        {{u"audio", u"hda", u"codec"}, HardwareCategory::audio},
        {{u"usb", u"xhci"}, HardwareCategory::usb},
        {{u"processor", u"cpu", u"core count", u"thread count"}, HardwareCategory::cpu},
        {{u"memory", u"dimm", u"ram"}, HardwareCategory::memory},
        {{u"bios"}, HardwareCategory::bios},
        {{u"base board", u"baseboard", u"motherboard"}, HardwareCategory::baseboard},
        {{u"platform", u"system information", u"board-id"}, HardwareCategory::platform},
        {{u"firmware", u"rom"}, HardwareCategory::firmware},
        {{u"battery"}, HardwareCategory::battery},
        {{u"pci", u"vendor-id", u"device-id", u"class-code"}, HardwareCategory::pci},
    };
    return table;
}

int ruleCount()
{
    return static_cast<int>(rules().size());
}

// An automaton over every keyword at once (Aho-Corasick): one table step per
// character finds every keyword occurrence, and each state knows the first
// rule among the keywords that end there. ASCII upper case steps like lower
// case; other characters (after full lower-casing) match no keyword.
class KeywordAutomaton {
public:
    KeywordAutomaton()
    {
        for (const Rule &rule : rules()) {
            for (std::u16string_view keyword : rule.keywords) {
                for (char16_t c : keyword) {
                    if (m_class[c] == 0) {
                        m_class[c] = static_cast<std::uint8_t>(++m_classes);
                    }
                }
            }
        }
        ++m_classes; // class 0: a character of no keyword
        Q_ASSERT(m_classes <= rowWidth);
        for (char16_t c = u'A'; c <= u'Z'; ++c) {
            m_class[c] = m_class[Text::asciiLower(c)];
        }

        // The trie, with the first rule of the keywords that end in each node.
        addState();
        for (int rule = 0; rule < ruleCount(); ++rule) {
            for (std::u16string_view keyword : rules()[static_cast<std::size_t>(rule)].keywords) {
                std::uint16_t state = 0;
                for (char16_t c : keyword) {
                    if (m_next[index(state, m_class[c])] == 0) {
                        const std::uint16_t added = addState();
                        m_next[index(state, m_class[c])] = added;
                    }
                    state = m_next[index(state, m_class[c])];
                }
                m_output[state] = std::min(m_output[state], rule);
            }
        }
        // Breadth first: failure links, inherited outputs and the missing steps.
        std::vector<std::uint16_t> fail(m_output.size(), 0);
        std::vector<std::uint16_t> queue;
        for (int cls = 1; cls < m_classes; ++cls) {
            if (const std::uint16_t child = m_next[index(0, cls)]; child != 0) {
                queue.push_back(child);
            }
        }
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const std::uint16_t state = queue[head];
            m_output[state] = std::min(m_output[state], m_output[fail[state]]);
            for (int cls = 1; cls < m_classes; ++cls) {
                const std::uint16_t fallback = m_next[index(fail[state], cls)];
                std::uint16_t &next = m_next[index(state, cls)];
                if (next == 0) {
                    next = fallback;
                } else {
                    fail[next] = fallback;
                    queue.push_back(next);
                }
            }
        }
    }

    // The first rule with a keyword in `text` (lower case, or ASCII), or
    // `best` when none comes before it.
    [[nodiscard]] int firstRule(QStringView text, int best) const
    {
        std::uint16_t state = 0;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            state = m_next[index(state, u < 128 ? m_class[u] : 0)];
            if (m_output[state] < best) {
                best = m_output[state];
                if (best == 0) {
                    break;
                }
            }
        }
        return best;
    }

private:
    // The keywords use fewer than 32 distinct characters.
    static constexpr int rowWidth = 32;

    [[nodiscard]] static std::size_t index(std::uint16_t state, int cls)
    {
        return static_cast<std::size_t>(state) * rowWidth + static_cast<std::size_t>(cls);
    }

    std::uint16_t addState()
    {
        m_output.push_back(ruleCount());
        m_next.resize(m_next.size() + rowWidth, 0);
        return static_cast<std::uint16_t>(m_output.size() - 1);
    }

    std::array<std::uint8_t, 128> m_class{};
    int m_classes = 0;
    std::vector<std::uint16_t> m_next;
    std::vector<int> m_output;
};

const KeywordAutomaton &automaton()
{
    static const KeywordAutomaton instance;
    return instance;
}

// A keyword split at one of its spaces, which may fall on the space that joins
// section and line.
struct StraddlingKeyword {
    std::u16string_view before;
    std::u16string_view after;
    int rule;
};

const std::vector<StraddlingKeyword> &straddlingKeywords()
{
    static const std::vector<StraddlingKeyword> table = [] {
        std::vector<StraddlingKeyword> result;
        for (int rule = 0; rule < ruleCount(); ++rule) {
            for (std::u16string_view keyword : rules()[static_cast<std::size_t>(rule)].keywords) {
                for (std::size_t i = 0; i < keyword.size(); ++i) {
                    if (keyword[i] == u' ') {
                        result.push_back({keyword.substr(0, i), keyword.substr(i + 1), rule});
                    }
                }
            }
        }
        return result;
    }();
    return table;
}

// Lower case with full Unicode rules. ASCII text is scanned as it is (the
// automaton folds its case); only non-ASCII text is lower-cased first, since a
// few non-ASCII letters (the Kelvin sign, dotted capital I) lower-case into
// ASCII keyword letters. Lower-casing works character by character, so the
// section and the line can be lowered apart.
QStringView lowerForMatching(QStringView text, QString &storage)
{
    if (Text::isAscii(text)) {
        return text;
    }
    storage = text.toString().toLower();
    return storage;
}

bool startsWithFolded(QStringView text, std::u16string_view prefix)
{
    if (static_cast<std::size_t>(text.size()) < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Text::asciiLower(text[static_cast<qsizetype>(i)].unicode()) != prefix[i]) {
            return false;
        }
    }
    return true;
}

bool endsWithFolded(QStringView text, std::u16string_view suffix)
{
    return static_cast<std::size_t>(text.size()) >= suffix.size() &&
           startsWithFolded(text.last(static_cast<qsizetype>(suffix.size())), suffix);
}

} // namespace

SectionRules::SectionRules(QStringView section)
{
    QString storage;
    const QStringView lowered = lowerForMatching(section, storage);
    m_firstRule = automaton().firstRule(lowered, ruleCount());
    const std::vector<StraddlingKeyword> &straddling = straddlingKeywords();
    Q_ASSERT(straddling.size() <= 32);
    for (std::size_t i = 0; i < straddling.size(); ++i) {
        if (endsWithFolded(lowered, straddling[i].before)) {
            m_straddling |= 1U << i;
        }
    }
}

HardwareCategory SectionRules::categoryFor(QStringView line) const
{
    int best = m_firstRule;
    if (best > 0) {
        QString storage;
        const QStringView lowered = lowerForMatching(line, storage);
        best = automaton().firstRule(lowered, best);
        const std::vector<StraddlingKeyword> &straddling = straddlingKeywords();
        for (std::uint32_t bits = m_straddling; bits != 0; bits &= bits - 1) {
            const StraddlingKeyword &keyword =
                straddling[static_cast<std::size_t>(std::countr_zero(bits))];
            if (keyword.rule < best && startsWithFolded(lowered, keyword.after)) {
                best = keyword.rule;
            }
        }
    }
    return best < ruleCount() ? rules()[static_cast<std::size_t>(best)].category
                              : HardwareCategory::raw;
}

HardwareCategory categoryFor(QStringView section, QStringView line)
{
    return SectionRules(section).categoryFor(line);
}
