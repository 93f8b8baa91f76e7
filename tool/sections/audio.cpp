#include "tool/sections/audio.h"

#include "tool/sections/sectionhelpers.h"
#include "tool/text.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace devices {

namespace {

struct SoundCard {
    std::string driver;
    std::string shortName;
    std::string longName;
};

// /proc/asound/cards: " 0 [PCH            ]: HDA-Intel - HDA Intel PCH"
// followed by an indented line with the long name.
std::map<unsigned, SoundCard> soundCards(const SysRoot &root)
{
    std::map<unsigned, SoundCard> cards;
    const auto text = root.readAll("/proc/asound/cards", 1 << 20);
    if (!text) {
        return cards;
    }
    std::optional<unsigned> last;
    tooltext::LineReader lines(*text);
    std::string_view line;
    while (lines.next(line)) {
        const std::string_view trimmed = tooltext::trimAscii(line);
        std::size_t digits = 0;
        while (digits < trimmed.size() && trimmed[digits] >= '0' && trimmed[digits] <= '9') {
            ++digits;
        }
        const std::size_t marker = trimmed.find("]: ");
        if (digits > 0 && digits < 4 && marker != std::string_view::npos) {
            const unsigned index =
                static_cast<unsigned>(std::stoul(std::string(trimmed.substr(0, digits))));
            const std::string_view rest = trimmed.substr(marker + 3);
            const std::size_t dash = rest.find(" - ");
            SoundCard card;
            card.driver = std::string(dash == std::string_view::npos ? rest : rest.substr(0, dash));
            card.shortName =
                std::string(dash == std::string_view::npos ? rest : rest.substr(dash + 3));
            cards[index] = card;
            last = index;
        } else if (last && !trimmed.empty()) {
            cards[*last].longName = std::string(trimmed);
            last.reset();
        }
    }
    return cards;
}

} // namespace

void AudioSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const PciFunction &function : context.pci) {
        if (homeOf(function) == PciHome::audio) {
            pciDevice(out, context.ids, function);
        }
    }
    const std::map<unsigned, SoundCard> cards = soundCards(root);
    for (const std::string &entry : root.list("/sys/class/sound")) {
        if (entry.rfind("card", 0) != 0) {
            continue;
        }
        const std::string number = entry.substr(4);
        if (number.size() > 9 || !isDecimal(number)) {
            continue;
        }
        const std::string classPath = "/sys/class/sound/" + entry;
        const std::string path = root.resolve(classPath).value_or(classPath);
        const auto found = cards.find(static_cast<unsigned>(std::stoul(number)));
        const auto id = root.read(classPath + "/id");
        std::string name;
        if (found != cards.end() && !tooltext::cleanValue(found->second.shortName).empty()) {
            name = found->second.shortName;
        } else {
            name = id.value_or("Sound card");
        }
        out.device("sound", entry, name);
        if (id) {
            out.property("card id", *id);
        }
        if (found != cards.end() && !found->second.longName.empty()) {
            out.property("description", found->second.longName);
        }
        // HD Audio codecs of this card: hwC<card>D<address>.
        for (const std::string &codec : root.list("/sys/class/sound")) {
            if (codec.rfind("hwC" + number + "D", 0) != 0) {
                continue;
            }
            const std::string codecPath = "/sys/class/sound/" + codec;
            const auto vendorName = root.read(codecPath + "/vendor_name");
            const auto chipName = root.read(codecPath + "/chip_name");
            std::string codecName;
            if (vendorName && chipName) {
                codecName = *vendorName + " " + *chipName;
            } else if (chipName) {
                codecName = *chipName;
            } else if (const auto vendorId = root.readNumber(codecPath + "/vendor_id")) {
                codecName = hex(*vendorId, 8);
            }
            out.property("codec", codecName);
        }
        if (const auto driver = driverOf(root, classPath)) {
            out.property("driver", *driver);
        }
        parentProperty(out, path);
    }
}

} // namespace devices
