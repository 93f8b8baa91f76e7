#include "itemtesthelpers.h"
#include "scanner/macparser.h"

#include <gtest/gtest.h>

namespace {

const QString mac = QStringLiteral("--mac-hardware");

struct Case {
    const char *name;
    const char *text;
    std::vector<ItemText> expected;
};

TEST(MacParser, Lines)
{
    const std::vector<Case> cases = {
        {"device line and device property",
         "PCI Devices:\n[00:02.0] Intel Graphics\nvendor-id: 0x8086\n",
         {{HardwareCategory::gpu, q("Device"), q("[00:02.0] Intel Graphics"), q("PCI Devices"),
           mac},
          {HardwareCategory::pci, q("[00:02.0] Intel Graphics • vendor-id"), q("0x8086"),
           q("PCI Devices"), mac}}},
        {"property before any header",
         "Model: Mac14,2\n",
         {{HardwareCategory::raw, q("Model"), q("Mac14,2"), q(""), mac}}},
        {"category word without colon is a header; with colon a property",
         "Memory\nMemory: 16 GB\n",
         {{HardwareCategory::memory, q("Memory"), q("16 GB"), q("Memory"), mac}}},
        {"bracketed header word wins over the device test",
         "[Audio Output]\n[dev: 1] Speaker\n",
         {{HardwareCategory::audio, q("Device"), q("[dev: 1] Speaker"), q("[Audio Output]"), mac}}},
        {"a header empties the current device",
         "USB:\n[usb: 1-2] Mouse\nProperties:\nspeed: 12\n",
         {{HardwareCategory::usb, q("Device"), q("[usb: 1-2] Mouse"), q("USB"), mac},
          {HardwareCategory::raw, q("speed"), q("12"), q("Properties"), mac}}},
        {"all colons leave the header",
         "Slot: A:\nx: y\n",
         {{HardwareCategory::raw, q("x"), q("y"), q("Slot A"), mac}}},
        {"empty value after trimming becomes a header",
         "name: \nkey: v\n",
         {{HardwareCategory::raw, q("key"), q("v"), q("name"), mac}}},
        {"header test is case-insensitive and matches inside words",
         "usb bus\na: 1\nCPUs\nb: 2\nBASEBOARD\nc: 3\n",
         {{HardwareCategory::usb, q("a"), q("1"), q("usb bus"), mac},
          {HardwareCategory::cpu, q("b"), q("2"), q("CPUs"), mac},
          {HardwareCategory::baseboard, q("c"), q("3"), q("BASEBOARD"), mac}}},
        {"other colon-free lines do nothing",
         "Graphics:\n[gpu: 0] X\nThunderbolt Bus\nk: v\n",
         {{HardwareCategory::gpu, q("Device"), q("[gpu: 0] X"), q("Graphics"), mac},
          {HardwareCategory::gpu, q("[gpu: 0] X • k"), q("v"), q("Graphics"), mac}}},
        {"a '[' without ']' is a property line",
         "[broken: value\n",
         {{HardwareCategory::raw, q("[broken"), q("value"), q(""), mac}}},
        {"indentation carries no meaning; header line's own spaces stay",
         "   Network :\n\t\t[net: eth0] Ethernet\n",
         {{HardwareCategory::network, q("Device"), q("[net: eth0] Ethernet"), q("Network "), mac}}},
        {"device line without colon naming a category word is a header",
         "[pci 00-1f.3] Audio device\nk: v\n",
         {{HardwareCategory::audio, q("k"), q("v"), q("[pci 00-1f.3] Audio device"), mac}}},
        {"empty text", "", {}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(texts(parseMacHardware(QString::fromUtf8(c.text))), c.expected) << c.name;
    }
}

TEST(MacParser, SectionHeaderTest)
{
    struct HeaderCase {
        const char *line;
        bool header;
    };
    const HeaderCase cases[] = {
        {"Memory", true},      {"Memory: 16 GB", false},
        {"Properties:", true}, {"Thunderbolt Bus", false},
        {"[usb: 1] x", false}, {"[usb 1] x", true},
        {"pcie", true},        {"a: b:", true},
        {"", false},
    };
    for (const HeaderCase &c : cases) {
        EXPECT_EQ(isMacSectionHeader(q(c.line)), c.header) << c.line;
    }
}

} // namespace
