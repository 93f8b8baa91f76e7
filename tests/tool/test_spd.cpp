#include "model/hardwareitem.h"
#include "model/identifiermask.h"
#include "scanner/macparser.h"
#include "tool/jep106.h"
#include "tool/listing.h"
#include "tool/sections/memorymodules.h"
#include "tool/spd.h"
#include "tool/sysroot.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

using kestrin::tool::decodeSpd;
namespace fs = std::filesystem;

const fs::path spdFixtures = fs::path(KESTRIN_FIXTURES_DIR) / "spd";

std::vector<std::uint8_t> readFile(const fs::path &path)
{
    std::ifstream in(path.is_absolute() ? path : spdFixtures / path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// decode-dimms reads hex dumps, not binary. The first of a repeated key is the
// highest speed's.
std::map<std::string, std::string> decodeDimms(const fs::path &file)
{
    std::map<std::string, std::string> fields;
    const std::string command =
        "hexdump -vC '" + file.string() + "' | decode-dimms -c -x /dev/stdin 2>/dev/null";
    FILE *pipe = ::popen(command.c_str(), "r");
    std::array<char, 512> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe)) {
        std::string line(buffer.data());
        while (!line.empty() && (line.back() == '\n' || line.back() == ' '))
            line.pop_back();
        if (const auto gap = line.find("  "); gap != std::string::npos)
            fields.emplace(line.substr(0, gap), line.substr(line.find_first_not_of(' ', gap)));
    }
    if (pipe)
        ::pclose(pipe);
    return fields;
}

// Makers are compared by name without case, punctuation or the reference's
// "(former ...)" and "Inc." tails.
bool sameMaker(const std::string &ours, const std::string &reference)
{
    const auto normalised = [](const std::string &name) {
        std::string out;
        for (char c : name.substr(0, name.find(" (")))
            if (std::isalnum(static_cast<unsigned char>(c)))
                out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return out;
    };
    const std::string a = normalised(ours), b = normalised(reference);
    return !a.empty() && (b.rfind(a, 0) == 0 || a.rfind(b, 0) == 0);
}

std::string before(const std::string &text, const char *separator)
{
    return text.substr(0, text.find(separator));
}

TEST(Spd, AgreesWithDecodeDimmsOnEveryOlderFixture)
{
    int compared = 0;
    for (const auto &entry : fs::directory_iterator(spdFixtures)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("ddr2-", 0) != 0 && name.rfind("ddr3-", 0) != 0 &&
            name.rfind("ddr4-", 0) != 0)
            continue;
        SCOPED_TRACE(name);
        const auto info = decodeSpd(readFile(entry.path()));
        auto ref = decodeDimms(entry.path());
        ASSERT_FALSE(ref.empty()) << "decode-dimms did not run";
        ++compared;
        EXPECT_EQ(info.memoryType, ref["Fundamental Memory type"]);
        const std::string maker =
            ref.count("Module Manufacturer") ? ref["Module Manufacturer"] : ref["Manufacturer"];
        EXPECT_TRUE(sameMaker(info.manufacturer, maker)) << info.manufacturer << " / " << maker;
        EXPECT_EQ(info.partNumber, ref["Part Number"]);
        EXPECT_EQ(info.manufactureDate, ref["Manufacturing Date"]);
        if (!info.checksumOk) {
            // With a damaged base block only the manufacturing data is kept,
            // while decode-dimms -c decodes the bytes anyway.
            EXPECT_EQ(info.error, "spd: checksum mismatch");
            EXPECT_FALSE(info.sizeMiB.has_value());
            continue;
        }
        EXPECT_EQ(info.moduleType, before(ref["Module Type"], " ("));
        ASSERT_TRUE(info.sizeMiB.has_value());
        EXPECT_EQ(std::to_string(*info.sizeMiB) + " MB", ref["Size"]);
        ASSERT_TRUE(info.speedMts.has_value());
        EXPECT_EQ(std::to_string(*info.speedMts) + " MT/s",
                  before(ref["Maximum module speed"], " ("));
        const std::string timings = ref.count("AA-RCD-RP-RAS (cycles)")
                                        ? ref["AA-RCD-RP-RAS (cycles)"]
                                        : ref["tCL-tRCD-tRP-tRAS"];
        EXPECT_EQ(info.timings, before(timings, " as "));
        EXPECT_EQ(std::to_string(*info.ranks), ref["Ranks"]);
    }
    EXPECT_GE(compared, 13);
}

struct Ddr5Case {
    const char *file, *module;
    unsigned long long sizeMiB;
    const char *maker, *part, *dramMaker;
};

// decode-dimms 4.3 predates DDR5: these are the fixture README's values,
// taken from each module's source. The desktop machine's listing pins the
// Team Group UDIMMs.
const Ddr5Case kDdr5[] = {
    {"ddr5-advantech-aqd-d5v16gr48-sb-illumos.bin", "RDIMM", 16384, "A-DATA Technology",
     "AQD-D5V16GR48-SB", "Samsung"},
    {"ddr5-samsung-m425r1gb4bb0-cqkod-system76-mtl.bin", "SO-DIMM", 8192, "Samsung",
     "M425R1GB4BB0-CQKOD", "Samsung"},
    {"ddr5-samsung-m425r1gb4bb0-cqkod-system76-rpl-512b.bin", "SO-DIMM", 8192, "", "", ""},
};

TEST(Spd, Ddr5Fixtures)
{
    for (const auto &c : kDdr5) {
        SCOPED_TRACE(c.file);
        const auto info = decodeSpd(readFile(c.file));
        EXPECT_EQ(info.memoryType, "DDR5 SDRAM");
        EXPECT_TRUE(info.checksumOk);
        EXPECT_EQ(info.moduleType, c.module);
        EXPECT_EQ(info.sizeMiB.value_or(0), c.sizeMiB);
        EXPECT_EQ(info.speedGrade, "DDR5-4800");
        EXPECT_EQ(info.subChannels.value_or(0), 2u);
        EXPECT_EQ(info.manufacturer, c.maker);
        EXPECT_EQ(info.partNumber, c.part);
        EXPECT_EQ(info.dramManufacturer, c.dramMaker);
    }
    const auto rdimm = decodeSpd(readFile(kDdr5[0].file));
    // Its date, 0xAF/0x82, is neither BCD nor a plausible binary year and week.
    EXPECT_EQ(rdimm.manufactureDate, "");
    // tAA = tRCD = tRP = 16.0 ns, tRAS = 32 ns at tCK 0.416 ns: 38.5 rounds up
    // to 39 cycles, CL takes the next supported (even) latency, 40; tRAS is
    // 76.9, so 77. That is the standard's DDR5-4800B grade.
    EXPECT_EQ(rdimm.timings, "40-39-39-77");
    EXPECT_EQ(rdimm.ecc, std::optional<bool>(true));
}

TEST(Spd, DamagedInputsKeepOnlyWhatCanBeTrusted)
{
    const auto ddr4 = readFile("ddr4-samsung-m393a1g40eb1-crc-21d86240.bin");
    auto flipped = ddr4;
    flipped[20] ^= 0x01;
    const struct {
        const char *what;
        std::vector<std::uint8_t> data;
        const char *error;
    } cases[] = {
        {"empty", {}, "spd: no data"},
        {"0xFF", std::vector<std::uint8_t>(512, 0xff), "spd: unknown memory type"},
        {"three bytes", {0x23, 0x11, 0x0c}, "spd: truncated"},
        {"DDR4 cut to 200", std::vector<std::uint8_t>(ddr4.begin(), ddr4.begin() + 200),
         "spd: truncated"},
        {"DDR5 header only", {0x30, 0x10, 0x12, 0x02}, "spd: truncated"},
        {"DDR4 bit flipped", flipped, "spd: checksum mismatch"},
        {"LPDDR5 with CRC 0", readFile("lpddr5-generated-coreboot-lp5-set0-spd1.bin"),
         "spd: checksum mismatch"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto info = decodeSpd(c.data);
        EXPECT_EQ(info.error, c.error);
        EXPECT_FALSE(info.sizeMiB.has_value());
    }
    // The type is still named. The manufacturing block that lies outside the
    // base CRC is checked as kept on the byte-swapped CRC fixture by the oracle.
    EXPECT_EQ(decodeSpd(cases[6].data).memoryType, "LPDDR5 SDRAM");
}

TEST(Spd, GarbageNeverThrows)
{
    std::uint32_t state = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(round % 1100));
        for (auto &byte : data) {
            state = state * 1103515245u + 12345u;
            byte = static_cast<std::uint8_t>(state >> 16);
        }
        if (data.size() > 2)
            data[2] = std::array<std::uint8_t, 5>{0x08, 0x0b, 0x0c, 0x12, 0x13}[round % 5];
        const auto info = decodeSpd(data);
        if (data.size() >= 4) {
            EXPECT_FALSE(info.memoryType.empty());
        }
    }
}

TEST(Spd, Jep106FallbackNamesBankAndCode)
{
    // Named codes are checked through the fixtures.
    EXPECT_EQ(kestrin::tool::jep106Maker(3, 0x07), "bank 3, 0x07");
}

using devices::SpdDevice;

// The server and desktop machines pin the ee1004 and spd5118 drivers and
// their sensors; the generic EEPROM driver holds modules and board data alike.
TEST(SpdListing, TakesOnlyModulesFromTheGenericEepromDriver)
{
    const fs::path root = fs::temp_directory_path() / ("spd-root-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const auto ddr3 = readFile("ddr3-samsung-m392b1g73db0-yh9-383b1789.bin");
    const std::pair<const char *, std::string> files[] = {
        {"0-0052/eeprom", {ddr3.begin(), ddr3.end()}},
        {"0-0052/name", "spd\n"},
        {"1-0057/eeprom", std::string(256, '\x0b')},
        {"1-0057/name", "24c02\n"},
        {"bind", ""},
    };
    for (const auto &[path, bytes] : files) {
        const fs::path file = root / "sys/bus/i2c/drivers/at24" / path;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }
    const SysRoot sysroot(root.string());
    Listing out;
    out.section("Memory");
    devices::listMemoryModules(sysroot, devices::readSpdDevices(sysroot), out);
    const std::string text = out.text();
    fs::remove_all(root);
    EXPECT_NE(text.find("[dimm: 0-0052] Samsung M392B1G73DB0-YH9"), std::string::npos) << text;
    EXPECT_EQ(text.find("1-0057"), std::string::npos) << text;
}

TEST(SpdListing, SerialsNeverSurviveMasking)
{
    std::vector<SpdDevice> modules;
    std::vector<std::string> serials;
    int index = 0;
    for (const auto &entry : fs::directory_iterator(spdFixtures)) {
        if (entry.path().extension() != ".bin")
            continue;
        const auto data = readFile(entry.path());
        const std::string serial = decodeSpd(data).serialNumber;
        if (!serial.empty())
            serials.push_back(serial);
        modules.push_back({"0-00" + std::to_string(10 + index++), "/none",
                           std::string(data.begin(), data.end())});
    }
    ASSERT_GE(serials.size(), 6u);
    Listing out;
    out.section("Memory");
    devices::listMemoryModules(SysRoot("/nonexistent"), modules, out);
    const auto items = parseMacHardware(QString::fromStdString(out.text()));
    IdentifierMasker masker;
    masker.learnItems(items);
    for (const HardwareItem &item : masker.maskItems(items)) {
        for (const std::string &serial : serials) {
            const QString shown = item.title + u'\n' + item.value + u'\n' + item.detail;
            EXPECT_FALSE(shown.contains(QString::fromStdString(serial), Qt::CaseInsensitive))
                << shown.toStdString();
        }
    }
}

TEST(Spd, Ddr2At3NsIsDdr2_667)
{
    // decode-dimms truncates 2000 / 3 ns to "666 MT/s"; the grade is named
    // DDR2-667.
    auto data = readFile("ddr2-kingston-2g-udimm-a8cc8a87.bin");
    ASSERT_GE(data.size(), 64u);
    data[9] = 0x30;
    data[63] = static_cast<std::uint8_t>(std::accumulate(data.begin(), data.begin() + 63, 0u));
    EXPECT_EQ(decodeSpd(data).speedGrade, "DDR2-667");
}

} // namespace
