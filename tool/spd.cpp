#include "tool/spd.h"

namespace kestrin::tool {

std::uint16_t spdCrc16(std::span<const std::uint8_t> data)
{
    std::uint16_t crc = 0;
    for (std::uint8_t byte : data) {
        crc ^= static_cast<std::uint16_t>(byte << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? static_cast<std::uint16_t>((crc << 1) ^ 0x1021)
                                 : static_cast<std::uint16_t>(crc << 1);
    }
    return crc;
}

namespace {

bool crcMatches(std::span<const std::uint8_t> data, std::size_t covered, std::size_t at)
{
    if (data.size() < at + 2)
        return false;
    const std::uint16_t stored = static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
    return spdCrc16(data.first(covered)) == stored;
}

std::string moduleTypeName(std::uint8_t code)
{
    // Byte 3 low nibble for DDR3/DDR4/DDR5; the codes that mean the same
    // form factor in all three.
    switch (code & 0x0f) {
    case 0x01:
        return "RDIMM";
    case 0x02:
        return "UDIMM";
    case 0x03:
        return "SO-DIMM";
    case 0x04:
        return "LRDIMM";
    default:
        return {};
    }
}

} // namespace

SpdInfo decodeSpd(std::span<const std::uint8_t> data)
{
    SpdInfo info;
    if (data.size() < 4) {
        info.error = data.empty() ? "spd: no data" : "spd: truncated";
        return info;
    }
    switch (data[2]) {
    case 0x08:
        info.memoryType = "DDR2 SDRAM";
        break;
    case 0x0b:
        info.memoryType = "DDR3 SDRAM";
        break;
    case 0x0c:
        info.memoryType = "DDR4 SDRAM";
        break;
    case 0x12:
        info.memoryType = "DDR5 SDRAM";
        break;
    case 0x13:
        info.memoryType = "LPDDR5 SDRAM";
        break;
    default:
        info.error = "spd: unknown memory type";
        return info;
    }
    switch (data[2]) {
    case 0x0b: {
        // Byte 0 bit 7 excludes the manufacturing bytes 117-125 from the CRC.
        const std::size_t covered = (data[0] & 0x80) ? 117 : 126;
        info.checksumOk = crcMatches(data, covered, 126);
        break;
    }
    case 0x0c:
        info.checksumOk = crcMatches(data, 126, 126) &&
                          (data.size() < 256 || crcMatches(data.subspan(128), 126, 126));
        break;
    case 0x12:
        info.checksumOk = crcMatches(data, 510, 510);
        break;
    default:
        info.checksumOk = true;
        break;
    }
    if (!info.checksumOk) {
        info.error = data.size() < 128 ? "spd: truncated" : "spd: checksum mismatch";
        return info;
    }
    if (data[2] != 0x08)
        info.moduleType = moduleTypeName(data[3]);
    return info;
}

} // namespace kestrin::tool
