#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kestrin::tool {

// Facts read from a memory module's SPD EEPROM. When checksumOk is false,
// only facts from bytes outside the failed CRC's range are filled in (the
// manufacturing block is never covered by one).
struct SpdInfo {
    std::string memoryType; // "DDR4 SDRAM", empty when unknown
    std::string moduleType; // "SO-DIMM", "UDIMM", ...
    bool checksumOk = false;
    std::string error; // plain message, e.g. "spd: checksum mismatch"

    std::optional<unsigned long long> sizeMiB;
    std::optional<unsigned> ranks;
    std::optional<unsigned> busWidth;    // data bits per module (DDR5: per sub-channel)
    std::optional<unsigned> deviceWidth; // bits per DRAM device
    std::optional<unsigned> subChannels; // DDR5
    bool asymmetricRanks = false;
    std::optional<bool> ecc;
    std::optional<unsigned> speedMts; // 2400
    std::string speedGrade;           // "DDR4-2400"
    std::string timings;              // "17-17-17-39" (CL-tRCD-tRP-tRAS)
    std::string voltage;              // "1.2 V"

    std::string manufacturer;
    std::string dramManufacturer;
    std::string partNumber;
    std::string serialNumber;    // eight hex digits
    std::string manufactureDate; // "2018-W05"
};

[[nodiscard]] SpdInfo decodeSpd(std::span<const std::uint8_t> data);

// CRC-16/XMODEM (polynomial 0x1021, init 0) as JEDEC SPD uses it.
[[nodiscard]] std::uint16_t spdCrc16(std::span<const std::uint8_t> data);

} // namespace kestrin::tool
