#include "tool/spd.h"

#include "tool/jep106.h"

#include <cmath>
#include <cstdio>
#include <iterator>

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

std::uint8_t at(std::span<const std::uint8_t> d, std::size_t i)
{
    return i < d.size() ? d[i] : 0;
}

bool written(std::span<const std::uint8_t> d, std::size_t from, std::size_t count)
{
    bool all00 = true, allFf = true;
    for (std::size_t i = from; i < from + count; ++i) {
        all00 = all00 && at(d, i) == 0x00;
        allFf = allFf && at(d, i) == 0xff;
    }
    return !all00 && !allFf;
}

std::string partNumber(std::span<const std::uint8_t> d, std::size_t from, std::size_t count)
{
    std::string text;
    for (std::size_t i = from; i < from + count && i < d.size(); ++i) {
        if (d[i] < 0x20 || d[i] > 0x7e)
            break;
        text += static_cast<char>(d[i]);
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string serialHex(std::span<const std::uint8_t> d, std::size_t from)
{
    if (!written(d, from, 4) || d.size() < from + 4)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", d[from], d[from + 1], d[from + 2],
                  d[from + 3]);
    return text;
}

bool isBcd(std::uint8_t b)
{
    return (b >> 4) <= 9 && (b & 0x0f) <= 9;
}

// Year and week in BCD; anything else is not a date we can trust.
std::string bcdDate(std::span<const std::uint8_t> d, std::size_t from)
{
    const std::uint8_t year = at(d, from), week = at(d, from + 1);
    if (!written(d, from, 2) || !isBcd(year) || !isBcd(week) || week == 0 || week > 0x53)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "20%02X-W%02X", year, week);
    return text;
}

double signedFine(std::uint8_t b)
{
    return b & 0x80 ? b - 256.0 : b;
}

// Vendors round the minimum cycle time of the faster grades; snap it to the
// standard value within one fine time base step.
double snapCycle(double ctime, double ftbPs)
{
    for (int i = 7; i < 15; ++i) {
        if (ctime > 7.5 / i - ftbPs / 1000 && ctime < 7.5 / i + ftbPs / 1000)
            return 7.5 / i;
    }
    return ctime;
}

std::string cycles(int cl, int rcd, int rp, int ras)
{
    return std::to_string(cl) + "-" + std::to_string(rcd) + "-" + std::to_string(rp) + "-" +
           std::to_string(ras);
}

void setSpeed(SpdInfo &info, double ctimeNs, const char *family)
{
    if (!(ctimeNs > 0.1))
        return;
    info.speedMts = static_cast<int>(2000 / ctimeNs);
    info.speedGrade = std::string(family) + "-" + std::to_string(info.speedMts);
}

void decodeDdr3(std::span<const std::uint8_t> d, SpdInfo &info)
{
    static const char *const kTypes[] = {"",
                                         "RDIMM",
                                         "UDIMM",
                                         "SO-DIMM",
                                         "Micro-DIMM",
                                         "Mini-RDIMM",
                                         "Mini-UDIMM",
                                         "Mini-CDIMM",
                                         "72b-SO-UDIMM",
                                         "72b-SO-RDIMM",
                                         "72b-SO-CDIMM",
                                         "LRDIMM",
                                         "16b-SO-DIMM",
                                         "32b-SO-DIMM"};
    if (d[3] < std::size(kTypes))
        info.moduleType = kTypes[d[3]];
    info.deviceWidth = 4 << (d[7] & 7);
    info.ranks = ((d[7] >> 3) & 7) + 1;
    info.busWidth = 8 << (d[8] & 7);
    info.ecc = ((d[8] >> 3) & 3) == 1;
    const int densityMbit = 256 << (d[4] & 0x0f);
    info.sizeBytes = std::uint64_t(densityMbit) / 8 * info.busWidth / info.deviceWidth * info.ranks
                     << 20;
    std::string volts;
    if (!(d[6] & 1))
        volts = "1.5 V";
    if (d[6] & 2)
        volts += volts.empty() ? "1.35 V" : ", 1.35 V";
    if (d[6] & 4)
        volts += volts.empty() ? "1.25 V" : ", 1.25 V";
    info.voltage = volts;
    if ((d[9] & 0x0f) == 0 || d[11] == 0 || d[10] == 0)
        return;
    const double ftb = double(d[9] >> 4) / (d[9] & 0x0f);
    const double mtb = double(d[10]) / d[11];
    auto time = [&](std::size_t coarse, std::size_t fine) {
        return d[coarse] * mtb + signedFine(d[fine]) * ftb / 1000;
    };
    const double ctime = snapCycle(time(12, 34), ftb);
    setSpeed(info, ctime, "DDR3");
    if (info.speedMts == 0)
        return;
    const double tras = (((d[21] & 0x0f) << 8) + d[22]) * mtb;
    info.timings =
        cycles(int(std::ceil(time(16, 35) / ctime)), int(std::ceil(time(18, 36) / ctime)),
               int(std::ceil(time(20, 37) / ctime)), int(std::ceil(tras / ctime)));
}

void decodeDdr4(std::span<const std::uint8_t> d, SpdInfo &info)
{
    static const char *const kTypes[] = {"",
                                         "RDIMM",
                                         "UDIMM",
                                         "SO-DIMM",
                                         "LRDIMM",
                                         "Mini-RDIMM",
                                         "Mini-UDIMM",
                                         "",
                                         "72b-SO-RDIMM",
                                         "72b-SO-UDIMM",
                                         "",
                                         "",
                                         "16b-SO-DIMM",
                                         "32b-SO-DIMM",
                                         "",
                                         ""};
    info.moduleType = kTypes[d[3] & 0x0f];
    info.deviceWidth = 4 << (d[12] & 7);
    info.ranks = ((d[12] >> 3) & 7) + 1;
    info.busWidth = 8 << (d[13] & 7);
    info.ecc = ((d[13] >> 3) & 3) == 1;
    info.asymmetricRanks = info.ranks > 1 && (d[12] & 0x40);
    auto rankMiB = [&](int densityCode, std::uint8_t package) {
        const int dies = ((package >> 4) & 7) + 1;
        std::uint64_t mib =
            std::uint64_t(256 << (densityCode & 0x0f)) / 8 * info.busWidth / info.deviceWidth;
        return (package & 3) == 2 ? mib * dies : mib; // only 3DS stacks add capacity per rank
    };
    const std::uint64_t even = rankMiB(d[4] & 0x0f, d[6]);
    std::uint64_t odd = even;
    if (info.asymmetricRanks) {
        // The secondary package's density is given as steps below the primary's.
        const int code = (d[4] & 0x0f) - ((d[10] >> 2) & 3);
        odd = code >= 0 ? rankMiB(code, d[10]) : 0;
    }
    const int evenRanks = (info.ranks + 1) / 2, oddRanks = info.ranks / 2;
    info.sizeBytes = (even * evenRanks + odd * oddRanks) << 20;
    if (d[11] & 1)
        info.voltage = "1.2 V";
    if ((d[17] & 0xc3) != 0)
        return;
    auto time = [&](std::size_t coarse, std::size_t fine) {
        return (d[coarse] * 125 + signedFine(d[fine])) / 1000;
    };
    const double ctime = snapCycle(time(18, 125), 1);
    setSpeed(info, ctime, "DDR4");
    if (info.speedMts == 0)
        return;
    // DDR4 rounds a time to cycles with a 2.5 % guard band.
    auto nck = [&](double t) { return int(std::ceil(t / ctime - 0.025)); };
    const double tras = (((d[27] & 0x0f) << 8) + d[28]) * 125.0 / 1000;
    info.timings = cycles(nck(time(24, 123)), nck(time(25, 122)), nck(time(26, 121)), nck(tras));
}

void decodeDdr5(std::span<const std::uint8_t> d, SpdInfo &info)
{
    static const char *const kTypes[] = {"", "RDIMM", "UDIMM", "SO-DIMM", "LRDIMM"};
    if ((d[3] & 0x0f) < std::size(kTypes))
        info.moduleType = kTypes[d[3] & 0x0f];
    static const int kDensityGbit[] = {0, 4, 8, 12, 16, 24, 32, 48, 64};
    static const int kDies[] = {1, 0, 2, 4, 8, 16, 0, 0};
    info.ranks = ((d[234] >> 3) & 7) + 1;
    info.asymmetricRanks = info.ranks > 1 && (d[234] & 0x40);
    info.busWidth = (d[235] & 7) <= 3 ? 8 << (d[235] & 7) : 0;
    info.ecc = ((d[235] >> 3) & 3) != 0;
    info.subChannels = ((d[235] >> 5) & 3) == 1 ? 2 : ((d[235] >> 5) & 3) == 0 ? 1 : 0;
    info.deviceWidth = 4 << (d[6] >> 5);
    // Bytes per rank and sub-channel for the SDRAM described at `at`.
    auto rankBytes = [&](std::size_t density, std::size_t width) -> std::uint64_t {
        const int code = d[density] & 0x1f;
        const int gbit = code < int(std::size(kDensityGbit)) ? kDensityGbit[code] : 0;
        const int dies = kDies[d[density] >> 5];
        const int devWidth = 4 << (d[width] >> 5);
        if (info.busWidth == 0 || devWidth > 32)
            return 0;
        return (std::uint64_t(gbit) << 30) / 8 * dies * (info.busWidth / devWidth);
    };
    const std::uint64_t even = rankBytes(4, 6);
    const std::uint64_t odd = info.asymmetricRanks ? rankBytes(8, 10) : even;
    if (even && odd)
        info.sizeBytes = std::uint64_t(info.subChannels) *
                         (even * ((info.ranks + 1) / 2) + odd * (info.ranks / 2));
    if ((d[16] >> 4) == 0)
        info.voltage = "1.1 V";
    const unsigned tck = d[20] | (d[21] << 8);
    if (tck < 100)
        return;
    // Data rates are whole hundreds; the cycle time is truncated to picoseconds.
    info.speedMts = int(2000000 / tck) / 100 * 100;
    info.speedGrade = "DDR5-" + std::to_string(info.speedMts);
    // The DDR5 rounding rule: a 0.3 % guard band in integer arithmetic.
    auto nck = [&](std::size_t at) {
        const unsigned ps = d[at] | (d[at + 1] << 8);
        return int((ps * 997 / tck + 1000) / 1000);
    };
    int cl = nck(30);
    const std::uint64_t mask = std::uint64_t(d[24]) | std::uint64_t(d[25]) << 8 |
                               std::uint64_t(d[26]) << 16 | std::uint64_t(d[27]) << 24 |
                               std::uint64_t(d[28]) << 32;
    for (int bit = 0; bit < 40; ++bit) {
        if ((mask >> bit & 1) && 20 + 2 * bit >= cl) {
            cl = 20 + 2 * bit;
            break;
        }
    }
    info.timings = cycles(cl, nck(32), nck(34), nck(36));
}

void decodeDdr2(std::span<const std::uint8_t> d, SpdInfo &info)
{
    static const char *const kTypes[] = {"RDIMM",      "UDIMM",      "SO-DIMM",
                                         "Micro-DIMM", "Mini-RDIMM", "Mini-UDIMM"};
    for (int i = 0; i < 6; ++i) {
        if (d[20] & (1 << i)) {
            info.moduleType = kTypes[i];
            break;
        }
    }
    info.ranks = (d[5] & 7) + 1;
    info.deviceWidth = d[13];
    info.ecc = (d[11] & 0x02) != 0;
    info.busWidth = d[6] - ((d[11] & 3) ? 8 : 0);
    const int shift = (d[3] & 0x0f) + (d[4] & 0x0f) - 17;
    const int banks = info.ranks * d[17];
    if (shift > 0 && shift <= 12 && banks > 0)
        info.sizeBytes = (std::uint64_t(1) << shift) * banks << 20;
    if (d[8] == 0x05)
        info.voltage = "1.8 V";
    auto cycleNs = [](std::uint8_t b) {
        static const double kTenths[] = {0,   0.1, 0.2,  0.3,  0.4,  0.5,  0.6, 0.7,
                                         0.8, 0.9, 0.25, 0.33, 0.66, 0.75, 0,   0};
        return (b >> 4) + kTenths[b & 0x0f];
    };
    const double ctime = cycleNs(d[9]);
    setSpeed(info, ctime, "DDR2");
    int cl = 0;
    for (int i = 2; i < 7; ++i) {
        if (d[18] & (1 << i))
            cl = i;
    }
    if (info.speedMts == 0 || cl == 0)
        return;
    const double trcd = (d[29] >> 2) + (d[29] & 3) * 0.25;
    const double trp = (d[27] >> 2) + (d[27] & 3) * 0.25;
    info.timings = cycles(cl, int(std::ceil(trcd / ctime)), int(std::ceil(trp / ctime)),
                          int(std::ceil(d[30] / ctime)));
}

void manufacturing(std::span<const std::uint8_t> d, SpdInfo &info, std::size_t maker,
                   std::size_t date, std::size_t serial, std::size_t part, std::size_t partLength)
{
    if (d.size() < part + partLength)
        return;
    info.manufacturer = jep106Name(d[maker], d[maker + 1]);
    info.manufactureDate = bcdDate(d, date);
    info.serialNumber = serialHex(d, serial);
    info.partNumber = partNumber(d, part, partLength);
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
    case 0x07:
        info.memoryType = "DDR SDRAM";
        break;
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
    // LPDDR5 is soldered memory described in its own layout; only the type is certain here.
    case 0x13:
        info.memoryType = "LPDDR5 SDRAM";
        info.checksumOk = true;
        return info;
    default:
        info.error = "spd: unknown memory type";
        return info;
    }
    const std::size_t needed = data[2] == 0x12 ? 512 : data[2] == 0x0c ? 256 : 128;
    if (data.size() < needed) {
        info.error = "spd: truncated";
        return info;
    }
    bool baseOk = true;
    switch (data[2]) {
    case 0x07:
    case 0x08: {
        unsigned sum = 0;
        for (std::size_t i = 0; i < 63; ++i)
            sum += data[i];
        baseOk = (sum & 0xff) == data[63];
        info.checksumOk = baseOk;
        break;
    }
    case 0x0b: {
        // Byte 0 bit 7 excludes the manufacturing bytes 117-125 from the CRC.
        const std::size_t covered = (data[0] & 0x80) ? 117 : 126;
        baseOk = info.checksumOk = crcMatches(data, covered, 126);
        break;
    }
    case 0x0c:
        baseOk = crcMatches(data, 126, 126);
        // Block 1 holds only module-specific details this decoder does not use.
        info.checksumOk = baseOk && crcMatches(data.subspan(128), 126, 126);
        break;
    case 0x12:
        baseOk = info.checksumOk = crcMatches(data, 510, 510);
        break;
    }
    if (!info.checksumOk)
        info.error = "spd: checksum mismatch";
    switch (data[2]) {
    case 0x08:
        if (baseOk)
            decodeDdr2(data, info);
        // The DDR2 checksum covers only bytes 0-62.
        manufacturing(data, info, 64, 93, 95, 73, 18);
        if (data.size() >= 72) {
            std::size_t i = 64;
            while (i < 71 && data[i] == 0x7f)
                ++i;
            info.manufacturer =
                written(data, 64, 8) ? jep106Name(std::uint8_t(i - 64), data[i]) : "";
        }
        break;
    case 0x0b:
        if (baseOk)
            decodeDdr3(data, info);
        // Maker, date and serial sit inside the CRC unless byte 0 bit 7 excludes them.
        if (baseOk || (data[0] & 0x80))
            manufacturing(data, info, 117, 120, 122, 128, 18);
        else
            info.partNumber = partNumber(data, 128, 18);
        break;
    case 0x0c:
        if (baseOk)
            decodeDdr4(data, info);
        manufacturing(data, info, 320, 323, 325, 329, 20);
        break;
    case 0x12:
        if (baseOk)
            decodeDdr5(data, info);
        manufacturing(data, info, 512, 515, 517, 521, 30);
        break;
    }
    return info;
}

} // namespace kestrin::tool
