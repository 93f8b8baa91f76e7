#include "scanner/classicparser.h"

#include "model/textservices.h"

#include <QHash>

#include <utility>
#include <vector>

namespace {

const QString &classicSource()
{
    static const QString source = QStringLiteral("dmidecode -q");
    return source;
}

bool isUsefulKey(const QString &lowerKey, const QSet<QString> &usefulKeys)
{
    return usefulKeys.contains(lowerKey) || lowerKey.contains(u"speed") ||
           lowerKey.contains(u"serial") || lowerKey.contains(u"version");
}

struct KeyInfo {
    std::uint32_t title = RunFacts::none;
    bool useful = false;
};

} // namespace

RunFacts parseClassicFacts(QString output, const QSet<QString> &usefulKeys)
{
    RunFacts facts(std::move(output), classicSource());
    const QString &text = facts.text();
    const QChar *const base = text.constData();
    // Keys and sections repeat in every record: each distinct one is looked at
    // once. The views point into the text, which does not change. A detail
    // with a handle line belongs to one record (handles are unique), so only
    // the bare section details are shared.
    TextIndex keyIndex;
    std::vector<KeyInfo> keys;
    TextIndex sections;
    QHash<std::uint32_t, std::uint32_t> sectionContexts;
    std::uint32_t section = RunFacts::none;
    QStringView handleLine;
    std::uint32_t context = RunFacts::none;

    Text::forEachLine(text, [&](QStringView raw) {
        const QStringView line = Text::trimmed(raw);
        if (line.isEmpty() || line.size() > RunFacts::maxLineLength) {
            return;
        }
        if (line.front() == u'H' && line.startsWith(u"Handle ")) {
            handleLine = line;
            context = RunFacts::none;
            return;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0) {
            if (!raw.startsWith(u'\t')) {
                section = sections.findOrAdd(line, [&] {
                    return facts.addSection(facts.textPart(line.data() - base, line.size()));
                });
                context = RunFacts::none;
            }
            return;
        }
        const QStringView key = Text::trimmed(line.first(colon));
        const QStringView value = Text::trimmed(line.sliced(colon + 1));
        if (key.isEmpty() || value.isEmpty()) {
            return;
        }
        const KeyInfo &known = keys[keyIndex.findOrAdd(key, [&] {
            KeyInfo info;
            info.useful = isUsefulKey(Text::lowered(key.toString()), usefulKeys);
            if (info.useful) {
                info.title = facts.addTitle(facts.textPart(key.data() - base, key.size()));
            }
            keys.push_back(info);
            return static_cast<std::uint32_t>(keys.size() - 1);
        })];
        if (!known.useful) {
            return;
        }
        if (context == RunFacts::none) {
            if (section == RunFacts::none) {
                // Facts before any section title have an empty section.
                section = facts.addSection(QString());
            }
            auto shared =
                handleLine.isEmpty() ? sectionContexts.constFind(section) : sectionContexts.cend();
            if (shared != sectionContexts.cend()) {
                context = *shared;
            } else {
                RunFacts::Context added;
                added.section = section;
                added.handleStart = handleLine.isEmpty() ? 0 : handleLine.data() - base;
                added.handleLength = handleLine.size();
                context = facts.addContext(std::move(added));
                if (handleLine.isEmpty()) {
                    sectionContexts.insert(section, context);
                }
            }
        }
        RunFacts::Fact fact;
        fact.lineStart = line.data() - base;
        fact.valueOffset = static_cast<std::uint32_t>(value.data() - line.data());
        fact.valueLength = static_cast<std::uint32_t>(value.size());
        fact.title = known.title;
        fact.context = context;
        facts.addFact(fact);
    });
    return facts;
}

QList<HardwareItem> parseClassicDMIDecode(QStringView output, const QSet<QString> &usefulKeys)
{
    return parseClassicFacts(output.toString(), usefulKeys).items();
}
