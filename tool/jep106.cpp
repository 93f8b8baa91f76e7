#include "tool/jep106.h"

#include <array>
#include <bit>
#include <cstdio>

namespace kestrin::tool {

namespace {

struct Maker {
    std::uint8_t bank; // 1-based
    std::uint8_t code; // without the parity bit
    const char *name;
};

// Makers of memory modules and DRAM that turn up in PCs and servers; the
// codes are JEP106's, the names as users know the companies.
constexpr std::array kMakers = {
    Maker{1, 0x01, "AMD"},
    Maker{1, 0x09, "Intel"},
    Maker{1, 0x2c, "Micron Technology"},
    Maker{1, 0x2d, "SK Hynix"},
    Maker{1, 0x41, "Infineon"},
    Maker{1, 0x4e, "Samsung"},
    Maker{1, 0x54, "Hewlett-Packard"},
    Maker{1, 0x5a, "Winbond"},
    Maker{2, 0x14, "Smart Modular"},
    Maker{2, 0x18, "Kingston"},
    Maker{2, 0x32, "Mushkin"},
    Maker{2, 0x3a, "PNY Technologies"},
    Maker{2, 0x40, "Viking Components"},
    Maker{2, 0x45, "Micron CMS"},
    Maker{2, 0x4f, "Transcend Information"},
    Maker{2, 0x7a, "Apacer Technology"},
    Maker{3, 0x1e, "Corsair"},
    Maker{3, 0x7e, "Elpida"},
    Maker{4, 0x0b, "Nanya Technology"},
    Maker{4, 0x13, "Golden Empire"},
    Maker{4, 0x16, "Netlist"},
    Maker{4, 0x25, "Kingmax Semiconductor"},
    Maker{4, 0x5a, "Swissbit"},
    Maker{5, 0x30, "OCZ"},
    Maker{5, 0x43, "Ramaxel Technology"},
    Maker{5, 0x4b, "A-DATA Technology"},
    Maker{5, 0x4d, "G.Skill"},
    Maker{5, 0x6f, "Team Group Inc."},
    Maker{6, 0x02, "Patriot Memory"},
    Maker{6, 0x1b, "Crucial Technology"},
    Maker{6, 0x3a, "Virtium Technology"},
    Maker{6, 0x51, "Qimonda"},
    Maker{7, 0x34, "Super Talent"},
    Maker{7, 0x41, "ASint Technology"},
    Maker{7, 0x53, "Silicon Power"},
    Maker{7, 0x63, "ATP Electronics"},
    Maker{7, 0x71, "InnoDisk Corporation"},
    Maker{8, 0x07, "Unifosa"},
    Maker{8, 0x5d, "Wilk Elektronik (Goodram)"},
    Maker{8, 0x6f, "Zentel Electronics"},
    Maker{9, 0x18, "Essencore"},
    Maker{9, 0x48, "Lenovo"},
    Maker{9, 0x71, "Asgard"},
    Maker{10, 0x03, "Hewlett Packard Enterprise"},
    Maker{10, 0x4d, "Longsys"},
    Maker{10, 0x68, "Kimtigo Semiconductor"},
    Maker{10, 0x77, "Netac Technology"},
    Maker{11, 0x11, "CXMT"},
    Maker{11, 0x31, "Biwin Semiconductor"},
    Maker{11, 0x42, "Thermaltake"},
    Maker{11, 0x48, "Advantech"},
    Maker{11, 0x56, "Longsys"},
    Maker{11, 0x76, "Lexar"},
    Maker{12, 0x12, "Kingbank Technology"},
};

} // namespace

std::string jep106Name(std::uint8_t continuation, std::uint8_t code)
{
    if ((continuation == 0 && code == 0) || (continuation == 0xff && code == 0xff))
        return {};
    // A code without odd parity, or code 0, is not an identifier at all.
    if (std::popcount(code) % 2 != 1 || (code & 0x7f) == 0)
        return {};
    const int bank = (continuation & 0x7f) + 1;
    for (const Maker &maker : kMakers) {
        if (maker.bank == bank && maker.code == (code & 0x7f))
            return maker.name;
    }
    char text[32];
    std::snprintf(text, sizeof text, "bank %d, 0x%02X", bank, code);
    return text;
}

} // namespace kestrin::tool
