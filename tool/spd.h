#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kestrin::tool {

// Facts read from a memory module's SPD EEPROM. When checksumOk is false only
// the facts outside the bytes the failed CRC covers are filled in: the memory
// type (needed to find the CRC at all) and the manufacturing block, which no
// CRC covers in DDR4/DDR5 and which DDR3 may exclude.
struct SpdInfo {
    std::string memoryType; // "DDR4 SDRAM", empty when unknown
    std::string moduleType; // "SO-DIMM", "UDIMM", ...
    bool checksumOk = false;
    std::string error; // plain message, e.g. "spd: checksum mismatch"

    std::uint64_t sizeBytes = 0; // 0 when not computable
    int ranks = 0;
    int busWidth = 0;    // primary data bits per module (DDR5: per sub-channel)
    int deviceWidth = 0; // data bits per SDRAM device
    int subChannels = 0; // DDR5 only
    bool asymmetricRanks = false;
    std::optional<bool> ecc;

    int speedMts = 0;       // highest supported data rate
    std::string speedGrade; // "DDR4-2666"
    std::string timings;    // "CL-tRCD-tRP-tRAS" in cycles at speedMts
    std::string voltage;    // "1.2 V"

    std::string manufacturer; // module maker
    std::string partNumber;
    std::string serialNumber;    // 8 hex digits
    std::string manufactureDate; // "2017-W10"
};

[[nodiscard]] SpdInfo decodeSpd(std::span<const std::uint8_t> data);

// CRC-16/XMODEM (polynomial 0x1021, init 0) as JEDEC SPD uses it.
[[nodiscard]] std::uint16_t spdCrc16(std::span<const std::uint8_t> data);

} // namespace kestrin::tool
