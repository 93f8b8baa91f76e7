// The EDID decoder against edid-decode on every real monitor in the shared
// fixtures, and on damaged data.
#include "tool/edid.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <numeric>
#include <regex>
#include <string>
#include <vector>

namespace {

using kestrin::tool::decodeEdid;
using kestrin::tool::EdidInfo;
using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string run(const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        for (int c = 0; (c = fgetc(pipe)) != EOF;)
            output += static_cast<char>(c);
        pclose(pipe);
    }
    return output;
}

// Manufacturer, model, date, name, size and preferred mode, in edid-decode's words.
using Facts = std::array<std::string, 6>;

std::string firstMatch(const std::string &text, const std::regex &pattern, int group = 1)
{
    std::smatch match;
    return std::regex_search(text, match, pattern) ? match[group].str() : std::string();
}

// A timing line as "WxH[i] @ R.RR"; edid-decode prints the refresh to six places.
std::string timingAfter(const std::string &text, const std::string &heading)
{
    static const std::regex timing(R"((\d+)x(\d+)(i?)\s+([0-9.]+) Hz)");
    const std::size_t at = text.find(heading);
    std::smatch m;
    const std::string rest = at == std::string::npos ? "" : text.substr(at + heading.size());
    if (!std::regex_search(rest, m, timing)) {
        return {};
    }
    char out[64];
    std::snprintf(out, sizeof out, "%sx%s%s @ %.2f", m[1].str().c_str(), m[2].str().c_str(),
                  m[3].str().c_str(), std::stod(m[4].str()));
    return out;
}

Facts referenceFor(const std::filesystem::path &file)
{
    const std::string text = run("edid-decode -p '" + file.string() + "' 2>/dev/null");
    std::string preferred = timingAfter(text, "Preferred Video Timing if only Block 0 is parsed:");
    if (preferred.empty()) {
        preferred =
            timingAfter(text, "Preferred Video Timing if Block 0 and DisplayID Blocks are parsed:");
    }
    return {firstMatch(text, std::regex(R"(Manufacturer: (\S+))")),
            firstMatch(text, std::regex(R"(\n\s+Model: (\d+))")),
            firstMatch(text, std::regex(R"((Made in|Model year): ([^\n]+))"), 0),
            firstMatch(text, std::regex(R"(Display Product Name: '([^']*)')")),
            firstMatch(text, std::regex(R"(Maximum image size: (\d+ cm x \d+ cm))")),
            preferred};
}

Facts ours(const EdidInfo &info)
{
    Facts facts{info.manufacturer,
                info.productCode ? std::to_string(*info.productCode) : std::string()};
    const std::string week = info.week != 0 ? "week " + std::to_string(info.week) + " of " : "";
    facts[2] = (info.modelYear ? "Model year: " : "Made in: " + week) + std::to_string(info.year);
    facts[3] = info.name;
    if (info.widthCm != 0) {
        facts[4] = std::to_string(info.widthCm) + " cm x " + std::to_string(info.heightCm) + " cm";
    }
    if (const auto &mode = info.preferred ? info.preferred : info.displayIdPreferred) {
        char text[64];
        std::snprintf(text, sizeof text, "%ux%u%s @ %.2f", mode->width, mode->height,
                      mode->interlaced ? "i" : "", mode->refreshHz);
        facts[5] = text;
    }
    return facts;
}

TEST(Edid, AgreesWithEdidDecodeOnEveryFixture)
{
    ASSERT_FALSE(run("command -v edid-decode").empty()) << "edid-decode is not installed";
    std::size_t files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(KESTRIN_FIXTURES_DIR "/edid")) {
        if (entry.path().extension() != ".bin") {
            continue;
        }
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        const EdidInfo info = decodeEdid(readFile(entry.path()));
        ASSERT_TRUE(info.valid);
        // edid-decode names no preferred mode for an EDID 1.4 whose first timing
        // is not flagged native, and for an unflagged EDID 1.0: neither do we,
        // unless a DisplayID block flags one (which edid-decode also reports).
        EXPECT_EQ(ours(info), referenceFor(entry.path()));
    }
    EXPECT_GE(files, 20u);
}

void fixChecksum(Bytes &data, std::size_t block)
{
    const auto start = data.begin() + static_cast<std::ptrdiff_t>(block * 128);
    start[127] = static_cast<std::uint8_t>(-std::accumulate(start, start + 127, 0));
}

// A base block with a valid header and checksum, announcing `extensions`.
Bytes baseBlock(std::uint8_t extensions)
{
    Bytes block = {0, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0, 0x10, 0xac}; // "DEL"
    block.resize(128);
    block[18] = 1;
    block[19] = 4;
    block[126] = extensions;
    fixChecksum(block, 0);
    return block;
}

// A base block and a CTA-861 block claiming basic audio, with these data blocks.
Bytes withCta(const Bytes &dataBlocks)
{
    Bytes data = baseBlock(1);
    data.insert(data.end(), {0x02, 3, static_cast<std::uint8_t>(4 + dataBlocks.size()), 0x40});
    data.insert(data.end(), dataBlocks.begin(), dataBlocks.end());
    data.resize(256);
    fixChecksum(data, 1);
    return data;
}

TEST(Edid, DamagedDataGivesWhatCanBeTrustedAndSaysWhy)
{
    const Bytes good = baseBlock(0);
    Bytes badBase = good;
    badBase[127] ^= 1;
    Bytes noHeader = good;
    noHeader[0] = 0x20;
    Bytes partial = baseBlock(1);
    partial.resize(200, 0x02);
    Bytes badExtension = withCta({});
    badExtension.back() ^= 0x55;
    const struct {
        const char *what;
        Bytes data;
        bool valid;
        std::vector<std::string> problems;
    } cases[] = {
        {"nothing", {}, false, {"empty"}},
        {"127 bytes", Bytes(good.begin(), good.end() - 1), false, {"truncated block 0"}},
        {"not an EDID", noHeader, false, {"not an EDID (no header)"}},
        {"base checksum", badBase, true, {"checksum error in block 0"}},
        {"missing extensions", baseBlock(3), true, {"announces 3 extension blocks but holds 0"}},
        {"cut extension",
         partial,
         true,
         {"announces 1 extension block but holds 0", "truncated block 1"}},
        {"extension checksum", badExtension, true, {"checksum error in block 1"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const EdidInfo info = decodeEdid(c.data);
        EXPECT_EQ(info.valid, c.valid);
        EXPECT_EQ(info.problems, c.problems);
    }
    // Nothing is read from a block whose checksum fails.
    const EdidInfo info = decodeEdid(badExtension);
    EXPECT_FALSE(info.basicAudio);
    EXPECT_EQ(info.extensions, std::vector<std::string>{"CTA-861"});
    EXPECT_EQ(info.manufacturer, "DEL");
}

TEST(Edid, CtaDataBlocks)
{
    const struct {
        const char *what;
        Bytes dataBlocks;
        bool audioBlocks;
        std::vector<std::string> hdr;
    } cases[] = {
        {"audio and HDR PQ and HLG",
         {0x23, 0x09, 0x07, 0x07, 0xe3, 0x06, 0x0d, 0x01},
         true,
         {"SDR", "PQ (SMPTE ST 2084)", "HLG"}},
        // The length runs past the data block collection: ignored, not read.
        {"overrunning block", {0xe6, 0x06, 0x0f}, false, {}},
        {"zero-length block", {0x20, 0xe3, 0x06, 0x04, 0x00}, false, {"PQ (SMPTE ST 2084)"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const EdidInfo info = decodeEdid(withCta(c.dataBlocks));
        EXPECT_TRUE(info.problems.empty());
        EXPECT_TRUE(info.basicAudio);
        EXPECT_EQ(info.audioBlocks, c.audioBlocks);
        EXPECT_EQ(info.hdrTransfer, c.hdr);
    }
}

TEST(Edid, EveryPrefixOfARealEdidDecodesWithoutReadingPastIt)
{
    const Bytes full = readFile(KESTRIN_FIXTURES_DIR "/edid/hdmi-dell-g3223q-8cfcd7a8fee9.bin");
    ASSERT_EQ(full.size(), 512u);
    for (std::size_t size = 0; size <= full.size(); ++size) {
        // A copy of exactly `size` bytes, so a sanitizer sees any overread.
        const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size));
        const EdidInfo info = decodeEdid(prefix);
        EXPECT_EQ(info.valid, size >= 128) << size;
        EXPECT_EQ(info.problems.empty(), size == 512) << size;
    }
}

// The fixture listings show progressive modes only.
TEST(Edid, DescribesInterlacedModes)
{
    EXPECT_EQ(kestrin::tool::describeMode({1920, 1080, true, 60.0}),
              "1920 \u00d7 1080i @ 60.00 Hz");
}

} // namespace
