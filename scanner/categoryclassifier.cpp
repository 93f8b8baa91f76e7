#include "scanner/categoryclassifier.h"

#include <QString>

#include <array>
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

struct Candidate {
    std::u16string_view keyword;
    int rule;
};

// Keywords by their first character, so one pass over the probe finds every
// rule that matches; the earliest matching rule decides.
const std::array<std::vector<Candidate>, 128> &candidatesByFirstChar()
{
    static const std::array<std::vector<Candidate>, 128> table = [] {
        std::array<std::vector<Candidate>, 128> result;
        const std::vector<Rule> &all = rules();
        for (int rule = 0; rule < static_cast<int>(all.size()); ++rule) {
            for (std::u16string_view keyword : all[static_cast<std::size_t>(rule)].keywords) {
                result[keyword.front()].push_back({keyword, rule});
            }
        }
        return result;
    }();
    return table;
}

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

} // namespace

HardwareCategory categoryFor(QStringView section, QStringView line)
{
    // The probe is lower-cased with full Unicode rules; ASCII text takes a
    // shortcut with the same result (only non-ASCII letters such as the Kelvin
    // sign can lower-case into ASCII keywords).
    thread_local std::u16string probe;
    if (isAscii(section) && isAscii(line)) {
        probe.resize(static_cast<std::size_t>(section.size() + line.size() + 1));
        std::size_t out = 0;
        for (QChar c : section) {
            probe[out++] = asciiLower(c.unicode());
        }
        probe[out++] = u' ';
        for (QChar c : line) {
            probe[out++] = asciiLower(c.unicode());
        }
    } else {
        QString joined;
        joined.reserve(section.size() + line.size() + 1);
        joined += section;
        joined += QLatin1Char(' ');
        joined += line;
        joined = std::move(joined).toLower();
        probe.assign(reinterpret_cast<const char16_t *>(joined.utf16()),
                     static_cast<std::size_t>(joined.size()));
    }

    const auto &candidates = candidatesByFirstChar();
    const std::u16string_view view(probe);
    int best = static_cast<int>(rules().size());
    for (std::size_t i = 0; i < view.size() && best > 0; ++i) {
        const char16_t c = view[i];
        if (c >= 128) {
            continue;
        }
        for (const Candidate &candidate : candidates[c]) {
            if (candidate.rule < best &&
                view.substr(i, candidate.keyword.size()) == candidate.keyword) {
                best = candidate.rule;
            }
        }
    }
    return best < static_cast<int>(rules().size())
               ? rules()[static_cast<std::size_t>(best)].category
               : HardwareCategory::raw;
}
