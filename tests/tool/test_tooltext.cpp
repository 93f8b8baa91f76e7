// The cleaning every printed string goes through, and the listing's line shapes.
#include "tool/listing.h"
#include "tool/text.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

const std::string fffd = "\xEF\xBF\xBD";

TEST(ToolText, RepairUtf8ReplacesEachBadByte)
{
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xC3\xA9 \xF0\x9F\x92\xBE", "caf\xC3\xA9 \xF0\x9F\x92\xBE"},
        {"Caf\xE9", "Caf" + fffd},
        {"\xC0\xAF", fffd + fffd},                        // overlong
        {"\xED\xA0\x80", fffd + fffd + fffd},             // surrogate
        {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // beyond Unicode
        {"ok\xE2\x82", "ok" + fffd + fffd},               // truncated at the end
        {"\x80x", fffd + "x"},                            // lone continuation
        {std::string("a\0b", 3), std::string("a\0b", 3)}, // NUL is valid
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(tooltext::repairUtf8(input), expected) << input;
    }
}

// Line breaks, control bytes, trailing colons and spaces, bidirectional
// overrides and blank values are pinned through a real run by
// HostileMachine.StrangeAttributes.
TEST(ToolText, CleanValueGivesOneSafeLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {std::string("SMP\0\0", 5), "SMP"},
        {"Intel    Corp", "Intel Corp"},
    };
    for (const auto &[input, expected] : cases) {
        EXPECT_EQ(tooltext::cleanValue(input), expected) << input;
    }
    // Long values are cut after 256 code points, never inside a character.
    const std::string exact(256, 'B');
    EXPECT_EQ(tooltext::cleanValue(exact), exact);
    std::string wide;
    for (int i = 0; i < 300; ++i) {
        wide += "\xE4\xB8\x96";
    }
    EXPECT_EQ(tooltext::cleanValue(wide), wide.substr(0, 3 * 256) + "\xE2\x80\xA6");
}

TEST(ToolText, CleanKeyHasNoColonAndNoLeadingBracket)
{
    EXPECT_EQ(tooltext::cleanKey("[00:02.0] thing"), "00 02.0] thing");
    EXPECT_EQ(tooltext::cleanKey("key:"), "key");
    EXPECT_EQ(tooltext::cleanKey(": :"), "");
}

// The fixture and damaged machines pin the rest of the line shapes.
TEST(Listing, DeviceLinesAlwaysHoldAColon)
{
    Listing listing;
    listing.section("Audio"); // empty: left out
    listing.section("USB");
    listing.device("", "", "USB Audio CPU Memory");
    listing.device("usb", "1-2", "");
    listing.property("", "value");
    EXPECT_EQ(listing.text(), "USB:\n  [device: ] USB Audio CPU Memory\n  [usb: 1-2]\n");
}

} // namespace
