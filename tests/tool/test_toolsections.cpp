// The listing's sections one at a time: their order, and what each prints on
// a machine where it finds nothing to read.
#include "tool/devicelisting.h"
#include "tool/iddatabase.h"
#include "tool/listing.h"
#include "tool/sections/section.h"
#include "tool/sysroot.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct EmptyMachineCase {
    const char *title;
    std::string expected;
};

// In printing order. Only the machine itself and its boot mode are always
// known; every other section prints nothing at all, not even its title.
const std::vector<EmptyMachineCase> &emptyMachineCases()
{
    static const std::vector<EmptyMachineCase> cases = {
        {"Platform", "Platform:\n  [platform: machine] This computer\n"},
        {"CPU", ""},
        {"Memory", ""},
        {"Graphics", ""},
        {"Network", ""},
        {"Storage", ""},
        {"Audio", ""},
        {"USB", ""},
        {"Battery", ""},
        {"PCI Devices", ""},
        {"Firmware", "Firmware:\n  [firmware: boot] Legacy BIOS\n    boot mode: Legacy BIOS\n"
                     "    dmi tables: not exposed by this system\n"},
    };
    return cases;
}

TEST(ToolSections, ComeInTheListingsOrder)
{
    std::vector<std::string> titles;
    for (const devices::Section *section : deviceSections()) {
        titles.emplace_back(section->title());
    }
    std::vector<std::string> expected;
    for (const EmptyMachineCase &row : emptyMachineCases()) {
        expected.emplace_back(row.title);
    }
    EXPECT_EQ(titles, expected);
}

class SectionOnEmptyMachine : public testing::TestWithParam<std::size_t> {};

TEST_P(SectionOnEmptyMachine, PrintsOnlyWhatItAlwaysKnows)
{
    const std::vector<const devices::Section *> &sections = deviceSections();
    ASSERT_LT(GetParam(), sections.size());
    const devices::Section &section = *sections[GetParam()];
    const EmptyMachineCase &row = emptyMachineCases()[GetParam()];
    ASSERT_EQ(section.title(), row.title);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const SysRoot root(dir.path().toStdString());
    IdDatabase ids(root);
    const std::vector<devices::PciFunction> noFunctions;
    Listing out;
    out.section(section.title());
    section.list(devices::Context{root, ids, noFunctions}, out);
    EXPECT_EQ(out.text(), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Sections, SectionOnEmptyMachine,
                         testing::Range<std::size_t>(0, emptyMachineCases().size()),
                         [](const testing::TestParamInfo<std::size_t> &info) {
                             std::string name = emptyMachineCases()[info.param].title;
                             std::erase(name, ' ');
                             return name;
                         });

} // namespace
