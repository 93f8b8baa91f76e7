#include "tool/jep106.h"

#include <cstdio>

namespace kestrin::tool {

namespace {

struct Maker {
    unsigned bank;
    unsigned code;
    const char *name;
};

// Module and DRAM makers only: a full JEP106 list is thousands of entries,
// and a module names one of a few dozen makers.
constexpr Maker kMakers[] = {
    {1, 0x2c, "Micron Technology"},
    {1, 0x45, "Western Digital (SanDisk)"},
    {1, 0x54, "Hewlett-Packard"},
    {1, 0x89, "Intel"},
    {1, 0xad, "SK hynix"},
    {1, 0xc1, "Infineon"},
    {1, 0xc8, "Apple"},
    {1, 0xce, "Samsung"},
    {1, 0xda, "Winbond"},
    {2, 0x32, "Mushkin Enhanced Memory"},
    {2, 0x40, "Viking Components"},
    {2, 0x4f, "Transcend Information"},
    {2, 0x61, "Wintec Industries"},
    {2, 0x7a, "Apacer Technology"},
    {2, 0x94, "Smart Modular"},
    {2, 0x98, "Kingston"},
    {2, 0xba, "PNY Technologies"},
    {2, 0xce, "Unigen"},
    {3, 0x9e, "Corsair"},
    {3, 0xfe, "Elpida"},
    {4, 0x0b, "Nanya Technology"},
    {4, 0x13, "Golden Empire"},
    {4, 0x16, "Netlist"},
    {4, 0x25, "Kingmax Semiconductor"},
    {4, 0x83, "Buffalo"},
    {4, 0x94, "Mushkin"},
    {4, 0xda, "Swissbit"},
    {5, 0x43, "Ramaxel Technology"},
    {5, 0xb0, "OCZ"},
    {5, 0xcb, "A-DATA Technology"},
    {5, 0xcd, "G.Skill"},
    {5, 0xef, "Team Group"},
    {6, 0x02, "Patriot Memory"},
    {6, 0x51, "Qimonda"},
    {6, 0x9b, "Crucial Technology"},
    {6, 0xba, "Virtium Technology"},
    {6, 0xf7, "Avant Technology"},
    {7, 0x34, "Super Talent"},
    {7, 0x5e, "Lexar Media"},
    {7, 0x6d, "V-Color Technology"},
    {7, 0xd3, "Silicon Power"},
    {7, 0xf1, "Innodisk"},
    {9, 0x98, "Essencore"},
    {9, 0xc8, "Lenovo"},
    {10, 0xcd, "Longsys"},
    {11, 0x31, "Biwin Semiconductor"},
    {11, 0x91, "CXMT"},
    {11, 0xc2, "Thermaltake"},
    {11, 0x6b, "Acer"},
    {12, 0x92, "Kingbank Technology"},
};

} // namespace

std::string jep106Maker(unsigned bank, unsigned code)
{
    for (const Maker &maker : kMakers) {
        if (maker.bank == bank && maker.code == (code & 0xff))
            return maker.name;
    }
    char text[32];
    std::snprintf(text, sizeof text, "bank %u, 0x%02X", bank, code & 0xff);
    return text;
}

} // namespace kestrin::tool
