#include "scanner/macparser.h"

#include "model/hardwarecategory.h"
#include "model/textservices.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace {

const QString &macSource()
{
    static const QString source = QStringLiteral("--mac-hardware");
    return source;
}

constexpr std::array<const char16_t *, 10> sectionWords = {
    u"CPU",     u"Memory", u"Platform", u"PCI",  u"Network",
    u"Storage", u"Audio",  u"USB",      u"BIOS", u"Baseboard",
};

bool containsAsciiWordIgnoringCase(QStringView line, std::u16string_view lowerWord)
{
    const qsizetype length = static_cast<qsizetype>(lowerWord.size());
    for (qsizetype start = 0; start + length <= line.size(); ++start) {
        qsizetype i = 0;
        while (i < length) {
            char16_t c = line[start + i].unicode();
            if (c >= u'A' && c <= u'Z') {
                c = static_cast<char16_t>(c + 32);
            }
            if (c != lowerWord[static_cast<std::size_t>(i)]) {
                break;
            }
            ++i;
        }
        if (i == length) {
            return true;
        }
    }
    return false;
}

// The header test with the position of the line's first colon already known.
bool isMacSectionHeader(QStringView line, qsizetype colon)
{
    if (line.endsWith(u':')) {
        return true;
    }
    if (colon >= 0) {
        return false;
    }
    if (Text::isAscii(line)) {
        // Same answer as the case-insensitive search below, without case folding
        // every character of every line.
        static constexpr std::array<std::u16string_view, 10> lowerWords = {
            u"cpu",     u"memory", u"platform", u"pci",  u"network",
            u"storage", u"audio",  u"usb",      u"bios", u"baseboard",
        };
        return std::any_of(lowerWords.begin(), lowerWords.end(), [line](std::u16string_view word) {
            return containsAsciiWordIgnoringCase(line, word);
        });
    }
    for (const char16_t *word : sectionWords) {
        if (line.contains(QStringView(word), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

// A section named exactly after a category files all its lines there, so a
// module from a maker whose name holds another category's keyword stays put.
std::optional<HardwareCategory> exactCategory(QStringView header)
{
    const QStringView name = Text::trimmed(header);
    for (HardwareCategory category : allCategories) {
        // The summary is the application's own, and "Other" is no home a
        // section would name on purpose.
        if (category != HardwareCategory::summary && category != HardwareCategory::raw &&
            name.compare(rawValue(category), Qt::CaseInsensitive) == 0) {
            return category;
        }
    }
    return std::nullopt;
}

} // namespace

bool isMacSectionHeader(QStringView line)
{
    return isMacSectionHeader(line, line.indexOf(u':'));
}

RunFacts parseMacFacts(QString output)
{
    RunFacts facts(std::move(output), macSource());
    const QString &text = facts.text();
    const QChar *const base = text.constData();
    // Every section is its facts' detail; each distinct one is stored once.
    QHash<QString, std::uint32_t> contexts;
    auto contextOf = [&](const QString &section) {
        auto known = contexts.constFind(section);
        if (known == contexts.cend()) {
            RunFacts::Context context;
            context.section = facts.addSection(section);
            known = contexts.insert(section, facts.addContext(std::move(context)));
        }
        return *known;
    };
    std::uint32_t context = contextOf(QString());
    std::uint32_t device = RunFacts::none;
    std::optional<HardwareCategory> sectionCategory;
    const std::uint32_t deviceTitle = facts.addTitle(QStringLiteral("Device"));
    TextIndex titles;

    Text::forEachLine(text, [&](QStringView raw) {
        const QStringView line = Text::trimmed(raw);
        if (line.isEmpty() || line.size() > RunFacts::maxLineLength) {
            return;
        }
        const qsizetype colon = line.indexOf(u':');
        if (isMacSectionHeader(line, colon)) {
            const QString section = colon < 0 ? facts.textPart(line.data() - base, line.size())
                                              : line.toString().remove(u':');
            context = contextOf(section);
            sectionCategory = exactCategory(section);
            device = RunFacts::none;
            return;
        }
        RunFacts::Fact fact;
        fact.lineStart = line.data() - base;
        fact.context = context;
        if (sectionCategory) {
            fact.category = *sectionCategory;
            fact.classified = true;
        }
        if (line.startsWith(u'[') && line.contains(u']')) {
            fact.valueLength = static_cast<std::uint32_t>(line.size());
            fact.title = deviceTitle;
            facts.addFact(fact);
            device = facts.addDevice(fact.lineStart, line.size());
            return;
        }
        if (colon < 0) {
            return;
        }
        const QStringView key = Text::trimmed(line.first(colon));
        const QStringView value = Text::trimmed(line.sliced(colon + 1));
        if (key.isEmpty() || value.isEmpty()) {
            return;
        }
        const std::uint32_t title = titles.findOrAdd(
            key, [&] { return facts.addTitle(facts.textPart(key.data() - base, key.size())); });
        fact.valueOffset = static_cast<std::uint32_t>(value.data() - line.data());
        fact.valueLength = static_cast<std::uint32_t>(value.size());
        fact.title = title;
        fact.device = device;
        facts.addFact(fact);
    });
    return facts;
}

QList<HardwareItem> parseMacHardware(QStringView output)
{
    return parseMacFacts(output.toString()).items();
}
