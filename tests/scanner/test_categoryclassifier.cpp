#include "itemtesthelpers.h"
#include "scanner/categoryclassifier.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char *section;
    const char *line;
    HardwareCategory expected;
};

const Case cases[] = {
    {"BIOS Information", "Vendor: Apple Inc.", HardwareCategory::bios},
    {"Processor Information", "Core Count: 8", HardwareCategory::cpu},
    {"Memory Device", "Type: LPDDR4", HardwareCategory::memory},
    {"System Information", "Product Name: Mac", HardwareCategory::platform},
    {"Base Board Information", "Manufacturer: Apple Inc.", HardwareCategory::baseboard},
    {"Chassis Information", "Type: Laptop", HardwareCategory::raw},
    // The value takes part: keywords inside values move the fact.
    {"System Information", "Serial Number: XRAM12", HardwareCategory::memory},
    {"BIOS Information", "Vendor: VGA Corp", HardwareCategory::gpu},
    {"PROCESSOR", "", HardwareCategory::cpu},
    {"", "", HardwareCategory::raw},
    {"Chassis Information", "Name: AppleHDA", HardwareCategory::audio},
    {"USB Graphics", "", HardwareCategory::gpu},
    {"PCI Devices", "[00:02.0] Intel Graphics", HardwareCategory::gpu},
    {"PCI Devices", "[00:02.0] Intel Graphics • vendor-id: 0x8086", HardwareCategory::gpu},
    {"PCI Devices", "vendor-id: 0x8086", HardwareCategory::pci},
    {"", "MAC Address: 00:11:22:33:44:55", HardwareCategory::network},
    {"Onboard Device", "Type: Ethernet", HardwareCategory::network},
    {"", "Wi-Fi: yes", HardwareCategory::network},
    {"Storage", "Model: X", HardwareCategory::storage},
    {"", "NVMe: 1", HardwareCategory::storage},
    {"", "xHCI controller", HardwareCategory::usb},
    {"", "Thread Count: 16", HardwareCategory::cpu},
    {"", "Board-ID: Mac-1", HardwareCategory::platform},
    {"", "Firmware Revision: 1.2", HardwareCategory::firmware},
    {"", "ROM Size: 16 MB", HardwareCategory::firmware},
    {"", "Design Capacity: 5000 mWh battery", HardwareCategory::battery},
    {"", "class-code: 0x030000", HardwareCategory::pci},
    {"", "Motherboard", HardwareCategory::baseboard},
    {"Portable Battery", "Name: DIMM", HardwareCategory::memory}, // memory rule first
    {"Cache Information", "Socket Designation: L1", HardwareCategory::raw},
    // Keywords with a space may span the space between section and line.
    {"Onboard MAC", "Address: 1", HardwareCategory::network},
    {"SYSTEM", "Information: x", HardwareCategory::platform},
    {"Base", "Board: x", HardwareCategory::baseboard},
    {"Thread", "Count: 2", HardwareCategory::cpu},
    {"Mac", "", HardwareCategory::raw},
    {"Mac", "Addresses", HardwareCategory::network},
    {"Mac ", "Address", HardwareCategory::raw},           // two spaces: no keyword
    {"Memory Mac", "Address", HardwareCategory::network}, // network comes before memory
    // Non-ASCII case mapping still finds the keywords.
    {"PROCESSOR İNFO", "", HardwareCategory::cpu},
    {"", "ＣＰＵ", HardwareCategory::raw}, // full-width letters are other characters
};

TEST(CategoryFor, RuleTable)
{
    for (const Case &c : cases) {
        EXPECT_EQ(categoryFor(q(c.section), q(c.line)), c.expected) << c.section << " / " << c.line;
    }
}

TEST(CategoryFor, NeverYieldsSummary)
{
    for (const char *text : {"summary", "Summary", "Overview", "App parser"}) {
        EXPECT_NE(categoryFor(q(text), q(text)), HardwareCategory::summary);
    }
}

} // namespace
