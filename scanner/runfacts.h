#pragma once

#include "model/hardwareitem.h"
#include "model/textservices.h"
#include "scanner/categoryclassifier.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <unordered_map>
#include <vector>

// Distinct texts to numbers, for interning the keys, sections and titles of a
// run. The texts are views that must outlive the index (parts of the run's
// text, or stored strings).
class TextIndex {
public:
    // The number stored for `text`; when there is none, stores and returns
    // make().
    template <typename Make> std::uint32_t findOrAdd(QStringView text, Make &&make)
    {
        const auto found = m_numbers.find(text);
        if (found != m_numbers.end()) {
            return found->second;
        }
        const std::uint32_t number = make();
        m_numbers.emplace(text, number);
        return number;
    }

private:
    std::unordered_map<QStringView, std::uint32_t, Text::Hash> m_numbers;
};

// What a parser finds in one run's output, before cleaning: one light fact per
// "key: value" line, pointing into the run's text, with every title, section
// and detail stored once and shared by all the facts that have it. Facts are
// classified when asked, and only the facts that survive cleaning become
// HardwareItems (see cleanFacts), so a large output costs a few bytes per line
// until then.
class RunFacts {
public:
    static constexpr std::uint32_t none = 0xFFFFFFFF;

    // Facts measure their lines in 32 bits; the parsers skip longer lines (of
    // 8 GB and more, which no tool prints).
    static constexpr qsizetype maxLineLength = 0xFFFFFFFF;

    struct Fact {
        // The trimmed line, "key: value" or a device line, in the text; the
        // value is its last valueLength code units.
        qsizetype lineStart = 0;
        std::uint32_t valueOffset = 0;
        std::uint32_t valueLength = 0;
        std::uint32_t title = none;   // into titles()
        std::uint32_t device = none;  // into devices(); set: the title is "device • title"
        std::uint32_t context = none; // into contexts()
        HardwareCategory category = HardwareCategory::raw;
        bool classified = false; // false: category is worked out from section and line
    };

    // Where a fact stands: its detail and source, and the section it is
    // classified by.
    struct Context {
        std::uint32_t section = none; // none: the facts carry their categories
        // The detail is the section's text, joined with this text of the run when
        // handleLength > 0, or `detail` when there is no section.
        qsizetype handleStart = 0;
        qsizetype handleLength = 0;
        QString detail;
        QString source; // when the facts have no common source
    };

    struct Section {
        QString text;
        SectionRules rules;
    };

    struct Device {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    RunFacts() = default;
    // Facts of `text` made by one producer, for a parser to fill.
    explicit RunFacts(QString text, QString source)
        : m_text(std::move(text)), m_source(std::move(source))
    {}
    // Facts standing for ready-made items, with their categories kept: what the
    // cleaner sees when it is handed items instead of a run.
    explicit RunFacts(const QList<HardwareItem> &items);

    [[nodiscard]] const QString &text() const { return m_text; }
    [[nodiscard]] std::size_t factCount() const { return m_factCount; }
    [[nodiscard]] const Fact &fact(std::size_t index) const
    {
        return m_factChunks[index >> chunkBits][index & (chunkSize - 1)];
    }
    [[nodiscard]] qsizetype size() const { return static_cast<qsizetype>(m_factCount); }
    [[nodiscard]] const std::vector<QString> &titles() const { return m_titles; }
    [[nodiscard]] const std::vector<Context> &contexts() const { return m_contexts; }
    [[nodiscard]] const std::vector<Device> &devices() const { return m_devices; }

    [[nodiscard]] QStringView line(const Fact &fact) const
    {
        return QStringView(m_text).sliced(fact.lineStart, fact.valueOffset + fact.valueLength);
    }
    [[nodiscard]] QStringView value(const Fact &fact) const
    {
        return QStringView(m_text).sliced(fact.lineStart + fact.valueOffset, fact.valueLength);
    }
    [[nodiscard]] QStringView device(std::uint32_t index) const
    {
        const Device &device = m_devices[index];
        return QStringView(m_text).sliced(device.start, device.length);
    }
    [[nodiscard]] const QString &source(std::uint32_t context) const
    {
        return m_source.isNull() ? m_contexts[context].source : m_source;
    }
    [[nodiscard]] HardwareCategory category(const Fact &fact) const;
    // The fact's title as the items show it.
    [[nodiscard]] QString title(const Fact &fact) const;
    [[nodiscard]] QString detail(std::uint32_t context) const;
    // A part of the text as a string of its own.
    [[nodiscard]] QString textPart(qsizetype from, qsizetype length) const
    {
        return QStringView(m_text).sliced(from, length).toString();
    }

    // Every fact as an item, in order, without cleaning: what the parsers return.
    [[nodiscard]] QList<HardwareItem> items() const;

    // Building, for the parsers.
    std::uint32_t addTitle(QString title);
    std::uint32_t addSection(QString text);
    std::uint32_t addContext(Context context);
    std::uint32_t addDevice(qsizetype start, qsizetype length);
    void addFact(const Fact &fact)
    {
        if ((m_factCount & (chunkSize - 1)) == 0) {
            m_factChunks.emplace_back().reserve(chunkSize);
        }
        m_factChunks.back().push_back(fact);
        ++m_factCount;
    }

private:
    QString m_text;
    QString m_source; // null: each context has its own
    // Facts in chunks of a fixed size: a large output's facts are never moved
    // to grow, and each chunk is an allocation of ordinary size.
    static constexpr int chunkBits = 15;
    static constexpr std::size_t chunkSize = std::size_t{1} << chunkBits;
    std::vector<std::vector<Fact>> m_factChunks;
    std::size_t m_factCount = 0;
    std::vector<QString> m_titles;
    std::vector<Section> m_sections;
    std::vector<Context> m_contexts;
    std::vector<Device> m_devices;
};
