#include "tool/edid.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kestrin::tool {

namespace {

constexpr std::size_t blockSize = 128;
constexpr std::array<std::uint8_t, 8> header = {0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x00};

using Block = std::span<const std::uint8_t, blockSize>;

bool checksumOk(Block block)
{
    unsigned sum = 0;
    for (std::uint8_t byte : block) {
        sum += byte;
    }
    return (sum & 0xff) == 0;
}

unsigned le16(Block block, std::size_t at)
{
    return block[at] | (block[at + 1] << 8);
}

// Descriptor text: 13 bytes, ended by a line feed and padded with spaces.
std::string descriptorText(Block block, std::size_t descriptor)
{
    std::string text;
    for (std::size_t i = descriptor + 5; i < descriptor + 18; ++i) {
        // Readers stop at the first byte that is not printable ASCII: some
        // panels pad with binary data after the part number.
        if (block[i] < 0x20 || block[i] > 0x7e) {
            break;
        }
        text += static_cast<char>(block[i]);
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

EdidMode detailedTiming(Block block, std::size_t at)
{
    const unsigned clock10kHz = le16(block, at);
    const unsigned hActive = block[at + 2] | ((block[at + 4] & 0xf0) << 4);
    const unsigned hBlank = block[at + 3] | ((block[at + 4] & 0x0f) << 8);
    const unsigned vActive = block[at + 5] | ((block[at + 7] & 0xf0) << 4);
    const unsigned vBlank = block[at + 6] | ((block[at + 7] & 0x0f) << 8);
    EdidMode mode;
    mode.width = hActive;
    mode.interlaced = (block[at + 17] & 0x80) != 0;
    const double hTotal = hActive + hBlank;
    // An interlaced timing describes one field; a frame holds two of them
    // plus the half line between.
    const double vTotal = mode.interlaced ? (vActive + vBlank) + 0.5 : vActive + vBlank;
    mode.height = mode.interlaced ? vActive * 2 : vActive;
    if (hTotal > 0 && vTotal > 0) {
        mode.refreshHz = clock10kHz * 10000.0 / (hTotal * vTotal);
    }
    return mode;
}

void decodeBase(Block block, EdidInfo &info)
{
    const unsigned id = (block[8] << 8) | block[9];
    for (int shift : {10, 5, 0}) {
        const unsigned letter = (id >> shift) & 0x1f;
        info.manufacturer +=
            (letter >= 1 && letter <= 26) ? static_cast<char>('A' + letter - 1) : '?';
    }
    info.productCode = le16(block, 10);
    const std::uint32_t serial = block[12] | (block[13] << 8) | (block[14] << 16) |
                                 (static_cast<std::uint32_t>(block[15]) << 24);
    info.versionMajor = block[18];
    info.versionMinor = block[19];
    if (block[16] == 0xff) {
        info.modelYear = true;
        info.year = 1990u + block[17];
    } else {
        info.week = block[16] <= 54 ? block[16] : 0;
        info.year = 1990u + block[17];
    }
    info.digital = (block[20] & 0x80) != 0;
    const bool v14 = info.versionMajor == 1 && info.versionMinor >= 4;
    if (info.digital && v14) {
        static const std::array<unsigned, 8> depths = {0, 6, 8, 10, 12, 14, 16, 0};
        info.bitsPerColour = depths[(block[20] >> 4) & 0x07];
        switch (block[20] & 0x0f) {
        case 1:
            info.interface = "DVI";
            break;
        case 2:
        case 3:
            info.interface = "HDMI";
            break;
        case 4:
            info.interface = "MDDI";
            break;
        case 5:
            info.interface = "DisplayPort";
            break;
        default:
            break;
        }
    }
    // One of the two zero means an aspect ratio in EDID 1.4, not a size.
    if (block[21] != 0 && block[22] != 0) {
        info.widthCm = block[21];
        info.heightCm = block[22];
    }
    const bool firstIsPreferred = (block[24] & 0x02) != 0;
    // Older laptop panels (the SPWG layout): two timings, then two 0xFE
    // descriptors of which the first holds the panel maker's part number in
    // bytes 11-17 and the second binary settings, not text.
    const bool spwg = le16(block, 54) != 0 && le16(block, 72) != 0 && le16(block, 90) == 0 &&
                      block[93] == 0xfe && le16(block, 108) == 0 && block[111] == 0xfe;
    bool firstDescriptor = true;
    for (std::size_t at = 54; at < 126; at += 18) {
        if (le16(block, at) != 0) {
            const EdidMode mode = detailedTiming(block, at);
            if (firstDescriptor) {
                info.firstDetailed = mode;
                if (firstIsPreferred) {
                    info.preferred = mode;
                }
            }
            firstDescriptor = false;
            continue;
        }
        firstDescriptor = false;
        switch (block[at + 3]) {
        case 0xff:
            info.serial = descriptorText(block, at);
            break;
        case 0xfc:
            info.name = descriptorText(block, at);
            break;
        case 0xfe:
            if (spwg) {
                if (at == 90) {
                    std::string part;
                    for (std::size_t i = at + 11;
                         i < at + 18 && block[i] >= 0x20 && block[i] <= 0x7e; ++i) {
                        part += static_cast<char>(block[i]);
                    }
                    while (!part.empty() && part.back() == ' ') {
                        part.pop_back();
                    }
                    if (!part.empty()) {
                        info.texts.push_back(std::move(part));
                    }
                }
            } else if (std::string text = descriptorText(block, at); !text.empty()) {
                info.texts.push_back(std::move(text));
            }
            break;
        default:
            break;
        }
    }
    if (info.serial.empty() && serial != 0) {
        info.serial = std::to_string(serial);
    }
}

void decodeCta(Block block, EdidInfo &info)
{
    const unsigned revision = block[1];
    info.extensions.push_back("CTA-861 revision " + std::to_string(revision));
    if (revision >= 2 && (block[3] & 0x40) != 0) {
        info.basicAudio = true;
    }
    // Data blocks run from byte 4 to the offset of the first detailed timing.
    const std::size_t end = std::min<std::size_t>(block[2], 127);
    std::size_t at = 4;
    while (at < end) {
        const unsigned tag = block[at] >> 5;
        const std::size_t length = block[at] & 0x1f;
        if (at + 1 + length > end) {
            break;
        }
        if (tag == 1 && length >= 3) {
            info.audioBlocks = true;
        } else if (tag == 7 && length >= 2 && block[at + 1] == 0x06) {
            const std::uint8_t eotf = block[at + 2];
            static const std::array<const char *, 4> names = {"SDR", "HDR (traditional gamma)",
                                                              "PQ (SMPTE ST 2084)", "HLG"};
            for (std::size_t bit = 0; bit < names.size(); ++bit) {
                if ((eotf & (1u << bit)) != 0 &&
                    std::find(info.hdrTransfer.begin(), info.hdrTransfer.end(), names[bit]) ==
                        info.hdrTransfer.end()) {
                    info.hdrTransfer.emplace_back(names[bit]);
                }
            }
        }
        at += 1 + length;
    }
}

// Type I (DisplayID 1.x, 10 kHz clock units) and type VII (DisplayID 2.0,
// 1 kHz units) detailed timings share one 20-byte layout.
void decodeDisplayIdTimings(Block block, std::size_t at, std::size_t length, double clockUnitHz,
                            EdidInfo &info)
{
    for (std::size_t d = at; d + 20 <= at + length; d += 20) {
        if ((block[d + 3] & 0x80) == 0 || info.displayIdPreferred) {
            continue;
        }
        const double clock =
            ((block[d] | (block[d + 1] << 8) | (block[d + 2] << 16)) + 1.0) * clockUnitHz;
        EdidMode mode;
        mode.width = le16(block, d + 4) + 1;
        const unsigned hBlank = le16(block, d + 6) + 1;
        mode.height = le16(block, d + 12) + 1;
        const unsigned vBlank = le16(block, d + 14) + 1;
        mode.interlaced = (block[d + 3] & 0x10) != 0;
        mode.refreshHz = clock / (double(mode.width + hBlank) * double(mode.height + vBlank));
        info.displayIdPreferred = mode;
    }
}

void decodeDisplayId(Block block, EdidInfo &info)
{
    const unsigned version = block[1];
    info.extensions.push_back("DisplayID " + std::to_string(version >> 4) + "." +
                              std::to_string(version & 0x0f));
    // The section: version, length, product type, extension count, then data
    // blocks of three header bytes and their payload; byte 127 is the checksum.
    const std::size_t end = std::min<std::size_t>(5 + block[2], 127);
    std::size_t at = 5;
    while (at + 3 <= end) {
        const unsigned tag = block[at];
        const std::size_t length = block[at + 2];
        if (tag == 0 || at + 3 + length > end) {
            break;
        }
        if (tag == 0x03 && version < 0x20) {
            decodeDisplayIdTimings(block, at + 3, length, 10000.0, info);
        } else if (tag == 0x22 && version >= 0x20) {
            decodeDisplayIdTimings(block, at + 3, length, 1000.0, info);
        }
        at += 3 + length;
    }
}

std::string extensionName(std::uint8_t tag)
{
    switch (tag) {
    case 0x02:
        return "CTA-861";
    case 0x70:
        return "DisplayID";
    case 0x10:
        return "Video Timing Block";
    case 0x40:
        return "Display Information (DI-EXT)";
    case 0x50:
        return "Localized String";
    case 0x60:
        return "Digital Packet Video Link";
    case 0xf0:
        return "Block Map";
    case 0xff:
        return "manufacturer-specific";
    default:
        char text[32];
        std::snprintf(text, sizeof text, "unknown (tag 0x%02x)", tag);
        return text;
    }
}

} // namespace

EdidInfo decodeEdid(std::span<const std::uint8_t> data)
{
    EdidInfo info;
    if (data.empty()) {
        info.problems.emplace_back("empty");
        return info;
    }
    if (data.size() < blockSize) {
        info.problems.emplace_back("truncated block 0");
        return info;
    }
    const Block base = data.first<blockSize>();
    if (!std::equal(header.begin(), header.end(), base.begin())) {
        info.problems.emplace_back("not an EDID (no header)");
        return info;
    }
    info.valid = true;
    if (!checksumOk(base)) {
        info.problems.emplace_back("checksum error in block 0");
    }
    decodeBase(base, info);

    const std::size_t announced = base[126];
    const std::size_t whole = data.size() / blockSize - 1;
    if (announced > whole) {
        info.problems.push_back("announces " + std::to_string(announced) +
                                (announced == 1 ? " extension block" : " extension blocks") +
                                " but holds " + std::to_string(whole));
        if (data.size() % blockSize != 0) {
            info.problems.push_back("truncated block " + std::to_string(whole + 1));
        }
    }
    const std::size_t blocks = std::min(announced, whole);
    for (std::size_t index = 1; index <= blocks; ++index) {
        const Block block = data.subspan(index * blockSize).first<blockSize>();
        // A damaged block is named, but nothing is read from it.
        if (!checksumOk(block)) {
            info.problems.push_back("checksum error in block " + std::to_string(index));
            info.extensions.push_back(extensionName(block[0]));
            continue;
        }
        switch (block[0]) {
        case 0x02:
            decodeCta(block, info);
            break;
        case 0x70:
            decodeDisplayId(block, info);
            break;
        default:
            info.extensions.push_back(extensionName(block[0]));
            break;
        }
    }
    return info;
}

std::string describeMode(const EdidMode &mode)
{
    char text[64];
    std::snprintf(text, sizeof text, "%u \u00d7 %u%s @ %.2f Hz", mode.width, mode.height,
                  mode.interlaced ? "i" : "", mode.refreshHz);
    return text;
}

} // namespace kestrin::tool
