#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrin::tool {

// Facts read from a memory module's SPD EEPROM. Only what does not depend on
// bytes a failed CRC covers is filled in when checksumOk is false.
struct SpdInfo {
    std::string memoryType; // "DDR4 SDRAM", empty when unknown
    std::string moduleType; // "SO-DIMM", "UDIMM", ...
    bool checksumOk = false;
    std::string error; // plain message, e.g. "spd: checksum mismatch"
};

[[nodiscard]] SpdInfo decodeSpd(std::span<const std::uint8_t> data);

// CRC-16/XMODEM (polynomial 0x1021, init 0) as JEDEC SPD uses it.
[[nodiscard]] std::uint16_t spdCrc16(std::span<const std::uint8_t> data);

} // namespace kestrin::tool
