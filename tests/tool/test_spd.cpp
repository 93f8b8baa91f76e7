#include "tool/spd.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

namespace {

using kestrin::tool::decodeSpd;

std::vector<std::uint8_t> readFixture(const std::string &name)
{
    std::ifstream in(std::string(KESTRIN_FIXTURES_DIR) + "/spd/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct FixtureCase {
    const char *file;
    const char *type;
    const char *module;
    bool crcOk;
};

// Types and form factors as decode-dimms 4.3 reports them for these files.
const FixtureCase kFixtures[] = {
    {"ddr3-samsung-m392b1g73db0-yh9-383b1789.bin", "DDR3 SDRAM", "RDIMM", true},
    {"ddr4-micron-4atf51264hz-3g2j1-t480s-spd19.bin", "DDR4 SDRAM", "SO-DIMM", true},
    {"ddr4-micron-4atf51264hz-2g3b2-t480s-spd8-badcrc.bin", "DDR4 SDRAM", "", false},
};

TEST(Spd, Fixtures)
{
    for (const auto &c : kFixtures) {
        SCOPED_TRACE(c.file);
        const auto data = readFixture(c.file);
        ASSERT_FALSE(data.empty());
        const auto info = decodeSpd(data);
        EXPECT_EQ(info.memoryType, c.type);
        EXPECT_EQ(info.moduleType, c.module);
        EXPECT_EQ(info.checksumOk, c.crcOk);
        if (!c.crcOk) {
            EXPECT_EQ(info.error, "spd: checksum mismatch");
        }
    }
}

TEST(Spd, DamagedInputs)
{
    const std::vector<std::uint8_t> empty;
    EXPECT_EQ(decodeSpd(empty).error, "spd: no data");
    const std::vector<std::uint8_t> ff(512, 0xff);
    EXPECT_EQ(decodeSpd(ff).error, "spd: unknown memory type");
    const std::vector<std::uint8_t> truncated = {0x23, 0x11, 0x0c, 0x03, 0x45};
    EXPECT_EQ(decodeSpd(truncated).error, "spd: truncated");
}

TEST(Spd, Crc16MatchesXmodemCheckValue)
{
    // The published check value of CRC-16/XMODEM over "123456789".
    const std::uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(kestrin::tool::spdCrc16(text), 0x31c3);
}

} // namespace
