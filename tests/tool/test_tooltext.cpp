// The cleaning every printed string goes through, and the listing's line shapes.
#include "tool/listing.h"
#include "tool/text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct RepairCase {
    const char *name;
    std::string input;
    std::string expected;
};

const std::string fffd = "\xEF\xBF\xBD";

class RepairUtf8 : public testing::TestWithParam<RepairCase> {};

TEST_P(RepairUtf8, ReplacesEachBadByte)
{
    EXPECT_EQ(tooltext::repairUtf8(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairUtf8,
    testing::Values(RepairCase{"ascii", "Intel Corporation", "Intel Corporation"},
                    RepairCase{"multibyte", "\xE4\xB8\x96\xE6\x81\x92 caf\xC3\xA9 \xF0\x9F\x92\xBE",
                               "\xE4\xB8\x96\xE6\x81\x92 caf\xC3\xA9 \xF0\x9F\x92\xBE"},
                    RepairCase{"latin1", "Caf\xE9", "Caf" + fffd},
                    RepairCase{"overlong", "\xC0\xAF", fffd + fffd},
                    RepairCase{"surrogate", "\xED\xA0\x80", fffd + fffd + fffd},
                    RepairCase{"beyond_unicode", "\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},
                    RepairCase{"truncated_at_end", "ok\xE2\x82", "ok" + fffd + fffd},
                    RepairCase{"lone_continuation", "\x80x", fffd + "x"},
                    RepairCase{"nul_is_valid", std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const testing::TestParamInfo<RepairCase> &info) { return std::string(info.param.name); });

struct CleanCase {
    const char *name;
    std::string input;
    std::string expected;
};

class CleanValue : public testing::TestWithParam<CleanCase> {};

TEST_P(CleanValue, GivesOneSafeLine)
{
    EXPECT_EQ(tooltext::cleanValue(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanValue,
    testing::Values(CleanCase{"plain", "Realtek ALC257", "Realtek ALC257"},
                    CleanCase{"surrounding_blanks", "  \tLENOVO \n", "LENOVO"},
                    CleanCase{"inner_line_breaks", "first\r\nsecond\nthird", "first second third"},
                    CleanCase{"unicode_line_breaks",
                              "a\xE2\x80\xA8"
                              "b\xC2\x85"
                              "c\xE2\x80\xA9"
                              "d",
                              "a b c d"},
                    CleanCase{"control_characters", "Evil\x01\x1B[31mDisk\x7F", "Evil [31mDisk"},
                    CleanCase{"nul", std::string("SMP\0\0", 5), "SMP"},
                    CleanCase{"trailing_colons", "Storage: :", "Storage"},
                    CleanCase{"only_colons", ":::", ""},
                    CleanCase{"colon_inside_kept", "00:11:22:33:44:55", "00:11:22:33:44:55"},
                    CleanCase{"no_break_space_only", "\xC2\xA0\xE3\x80\x80", ""},
                    CleanCase{"colon_then_no_break_space", "x:\xC2\xA0", "x"},
                    CleanCase{"direction_override_dropped",
                              "abc\xE2\x80\xAE"
                              "def",
                              "abcdef"},
                    CleanCase{"invalid_utf8", "\xFF\xFESMP", fffd + fffd + "SMP"},
                    CleanCase{"space_runs", "Intel    Corp", "Intel Corp"}),
    [](const testing::TestParamInfo<CleanCase> &info) { return std::string(info.param.name); });

std::size_t codePoints(const std::string &text)
{
    std::size_t count = 0;
    for (unsigned char c : text) {
        count += (c & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

TEST(CleanValue, CutsLongValuesAndMarksTheCut)
{
    const std::string value = tooltext::cleanValue(std::string(65536, 'A'));
    EXPECT_EQ(codePoints(value), tooltext::maxValueLength + 1);
    EXPECT_EQ(value.substr(value.size() - 3), "\xE2\x80\xA6");
    EXPECT_EQ(value.substr(0, 3), "AAA");
}

TEST(CleanValue, NeverCutsInsideACharacter)
{
    std::string input;
    for (int i = 0; i < 1000; ++i) {
        input += "\xE4\xB8\x96";
    }
    const std::string value = tooltext::cleanValue(input);
    EXPECT_EQ(tooltext::repairUtf8(value), value);
    EXPECT_EQ(codePoints(value), tooltext::maxValueLength + 1);
}

TEST(CleanValue, ShortValueIsNotMarked)
{
    const std::string exact(tooltext::maxValueLength, 'B');
    EXPECT_EQ(tooltext::cleanValue(exact), exact);
}

TEST(CleanKey, HasNoColonAndNoLeadingBracket)
{
    EXPECT_EQ(tooltext::cleanKey("output Evil:Name"), "output Evil Name");
    EXPECT_EQ(tooltext::cleanKey("[00:02.0] thing"), "00 02.0] thing");
    EXPECT_EQ(tooltext::cleanKey("key:"), "key");
    EXPECT_EQ(tooltext::cleanKey(": :"), "");
}

TEST(Listing, LeavesOutEmptyPropertiesAndEmptySections)
{
    Listing listing;
    listing.section("Audio");
    listing.section("Network");
    listing.device("net", "eth0", "Ethernet adapter");
    listing.property("mac address", "  ");
    listing.property("speed", "::");
    listing.property("", "value");
    listing.property("mtu", "1500");
    EXPECT_EQ(listing.text(), "Network:\n  [net: eth0] Ethernet adapter\n    mtu: 1500\n");
}

TEST(Listing, DeviceLinesAlwaysHoldAColon)
{
    Listing listing;
    listing.section("USB");
    listing.device("", "", "USB Audio CPU Memory");
    listing.device("usb", "1-2", "");
    listing.device("usb", "1-3", "Name ending in colon:");
    EXPECT_EQ(listing.text(), "USB:\n  [device: ] USB Audio CPU Memory\n  [usb: 1-2]\n"
                              "  [usb: 1-3] Name ending in colon\n");
}

} // namespace

// The databases this machine has installed, read as a real run reads them.
#include "tool/iddatabase.h"

#include <unistd.h>

namespace {

bool anyExists(std::initializer_list<const char *> paths)
{
    for (const char *path : paths) {
        if (::access(path, R_OK) == 0) {
            return true;
        }
    }
    return false;
}

TEST(SystemDatabases, NamePciDevices)
{
    if (!anyExists({"/usr/share/misc/pci.ids", "/usr/share/hwdata/pci.ids"})) {
        GTEST_SKIP() << "no pci.ids installed";
    }
    const SysRoot root;
    IdDatabase ids(root);
    EXPECT_EQ(ids.pciVendor(0x8086), "Intel Corporation");
    EXPECT_EQ(ids.pciDevice(0x1af4, 0x1041), "Virtio 1.0 network device");
    EXPECT_EQ(ids.pciClass(0x0300), "VGA compatible controller");
    EXPECT_EQ(ids.pciVendor(0x0002), std::nullopt);
}

TEST(SystemDatabases, NameUsbDevices)
{
    if (!anyExists({"/usr/lib/udev/hwdb.bin", "/etc/udev/hwdb.bin", "/usr/share/misc/usb.ids",
                    "/usr/share/hwdata/usb.ids", "/var/lib/usbutils/usb.ids"})) {
        GTEST_SKIP() << "no USB name database installed";
    }
    const SysRoot root;
    IdDatabase ids(root);
    EXPECT_EQ(ids.usbVendor(0x1d6b), "Linux Foundation");
    EXPECT_EQ(ids.usbProduct(0x1d6b, 0x0002), "2.0 root hub");
    EXPECT_EQ(ids.usbProduct(0x1d6b, 0xfffe), std::nullopt);
}

} // namespace
