#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kestrin::tool {

// One video timing as a monitor describes it.
struct EdidMode {
    unsigned width = 0;
    unsigned height = 0;
    bool interlaced = false;
    double refreshHz = 0; // field rate for an interlaced mode
};

// What a monitor's EDID says about it. A damaged EDID still gives what the
// undamaged blocks hold; `problems` names the damage in plain words.
struct EdidInfo {
    bool valid = false;       // a base block with the EDID header was found
    std::string manufacturer; // PNP id, "DEL"
    std::optional<unsigned> productCode;
    std::string serial;             // descriptor 0xFF, else the 32-bit number when not 0
    std::string name;               // descriptor 0xFC
    std::vector<std::string> texts; // descriptors 0xFE (panel part numbers)
    unsigned week = 0;              // 0 when not given
    unsigned year = 0;              // 0 when not given
    bool modelYear = false;         // `year` is the model year, not the year made
    unsigned versionMajor = 0;
    unsigned versionMinor = 0;
    unsigned widthCm = 0; // 0 when not given (a projector or a TV)
    unsigned heightCm = 0;
    bool digital = false;
    std::string interface;                      // "DisplayPort", "HDMI", ...: EDID 1.4 only
    unsigned bitsPerColour = 0;                 // EDID 1.4 only
    std::optional<EdidMode> preferred;          // flagged as preferred in the base block
    std::optional<EdidMode> firstDetailed;      // the first detailed timing, flagged or not
    std::optional<EdidMode> displayIdPreferred; // a DisplayID timing flagged preferred
    std::vector<std::string> extensions;        // "CTA-861 revision 3", "DisplayID 1.3"
    bool basicAudio = false;                    // CTA-861
    bool audioBlocks = false;                   // CTA-861 short audio descriptors
    std::vector<std::string> hdrTransfer;       // CTA-861 HDR static metadata EOTFs
    std::vector<std::string> problems;          // "checksum error in block 1"
};

[[nodiscard]] EdidInfo decodeEdid(std::span<const std::uint8_t> data);

// "2560 × 1440 @ 59.95 Hz", "1920 × 1080i @ 60.00 Hz"
[[nodiscard]] std::string describeMode(const EdidMode &mode);

} // namespace kestrin::tool
