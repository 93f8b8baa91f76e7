#include "tool/spd.h"

#include "tool/jep106.h"

#include <cmath>
#include <cstdio>

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

using Bytes = std::span<const std::uint8_t>;

bool crcMatches(Bytes data, std::size_t covered, std::size_t at)
{
    if (data.size() < at + 2 || covered > at)
        return false;
    const std::uint16_t stored = static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
    return spdCrc16(data.first(covered)) == stored;
}

// All 0x00 or all 0xFF: a field the maker left blank.
bool written(Bytes data, std::size_t from, std::size_t count)
{
    if (data.size() < from + count)
        return false;
    bool all00 = true;
    bool allFf = true;
    for (std::size_t i = from; i < from + count; ++i) {
        all00 = all00 && data[i] == 0x00;
        allFf = allFf && data[i] == 0xff;
    }
    return !all00 && !allFf;
}

bool oddParity(unsigned value)
{
    unsigned bits = 0;
    for (; value; value >>= 1)
        bits += value & 1;
    return bits & 1;
}

// The two-byte form of DDR3 and later: continuation count, then the code.
std::string maker(Bytes data, std::size_t at)
{
    if (!written(data, at, 2))
        return {};
    const unsigned code = data[at + 1];
    if (!oddParity(code) || (code & 0x7f) == 0)
        return {};
    return jep106Maker((data[at] & 0x7f) + 1, code);
}

// The older form: one 0x7F per bank before the code.
std::string makerDdr2(Bytes data, std::size_t at, std::size_t count)
{
    if (!written(data, at, count))
        return {};
    unsigned bank = 1;
    for (std::size_t i = at; i < at + count; ++i) {
        if (data[i] != 0x7f) {
            if (!oddParity(data[i]) || (data[i] & 0x7f) == 0)
                return {};
            return jep106Maker(bank, data[i]);
        }
        ++bank;
    }
    return {};
}

std::string partNumber(Bytes data, std::size_t at, std::size_t count)
{
    std::string text;
    for (std::size_t i = at; i < at + count && i < data.size(); ++i) {
        if (data[i] < 0x20 || data[i] >= 0x7f)
            break;
        text += static_cast<char>(data[i]);
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

std::string serial(Bytes data, std::size_t at)
{
    if (!written(data, at, 4))
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X", data[at], data[at + 1], data[at + 2],
                  data[at + 3]);
    return text;
}

// Year and week in BCD, as the standard has it; some makers write them in
// binary, which is taken when it makes sense. Anything else is no date.
std::string date(Bytes data, std::size_t at)
{
    if (!written(data, at, 2))
        return {};
    const unsigned year = data[at];
    const unsigned week = data[at + 1];
    char text[16];
    const auto bcd = [](unsigned v) { return (v >> 4) <= 9 && (v & 0x0f) <= 9; };
    if (bcd(year) && bcd(week)) {
        const unsigned w = (week >> 4) * 10 + (week & 0x0f);
        if (w < 1 || w > 53)
            return {};
        std::snprintf(text, sizeof text, "%u%02X-W%02u", year >= 0x80 ? 19u : 20u, year, w);
        return text;
    }
    if (year <= 99 && week >= 1 && week <= 53) {
        std::snprintf(text, sizeof text, "%u%02u-W%02u", year >= 80 ? 19u : 20u, year, week);
        return text;
    }
    return {};
}

int signedByte(std::uint8_t byte)
{
    return byte & 0x80 ? static_cast<int>(byte) - 0x100 : byte;
}

// Makers round the cycle time of the faster grades; snap it to the standard
// value it stands for.
double adjustCycleTime(double ctime, double ftbNs)
{
    for (int i = 7; i < 15; ++i) {
        if (ctime > 7.5 / i - ftbNs && ctime < 7.5 / i + ftbNs)
            return 7.5 / i;
    }
    return ctime;
}

std::string cycles(long long value)
{
    return std::to_string(value);
}

void setSpeed(SpdInfo &info, const char *generation, double ctime)
{
    if (!(ctime > 0.0) || !std::isfinite(ctime))
        return;
    const double mts = 2.0 * (1000.0 / ctime);
    if (mts < 1.0 || mts > 100000.0)
        return;
    auto value = static_cast<unsigned>(mts);
    // 3 ns is DDR2-667 by name, though 2000/3 rounds down to 666.
    if (value == 666)
        value = 667;
    info.speedMts = value;
    info.speedGrade = std::string(generation) + "-" + std::to_string(value);
}

void decodeDdr2(Bytes data, SpdInfo &info)
{
    if (data.size() < 64) {
        info.error = "spd: truncated";
        return;
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i < 63; ++i)
        sum += data[i];
    info.checksumOk = (sum & 0xff) == data[63];
    if (data.size() >= 99) {
        info.manufacturer = makerDdr2(data, 64, 8);
        info.partNumber = partNumber(data, 73, 18);
        info.manufactureDate = date(data, 93);
        info.serialNumber = serial(data, 95);
    }
    if (!info.checksumOk) {
        info.error = "spd: checksum mismatch";
        return;
    }
    static const char *const kTypes[] = {"RDIMM",      "UDIMM",      "SO-DIMM",
                                         "Micro-DIMM", "Mini-RDIMM", "Mini-UDIMM"};
    for (unsigned bit = 0; bit < 6; ++bit) {
        if (data[20] & (1u << bit)) {
            info.moduleType = kTypes[bit];
            break;
        }
    }
    const int ii = (data[3] & 0x0f) + (data[4] & 0x0f) - 17;
    const unsigned k = ((data[5] & 0x7u) + 1) * data[17];
    if (ii > 0 && ii <= 12 && k > 0)
        info.sizeMiB = (1ull << ii) * k;
    info.ranks = (data[5] & 7u) + 1;
    info.deviceWidth = data[13];
    info.ecc = (data[11] & 0x02) != 0;
    info.busWidth = data[6] - ((data[11] & 0x03) ? 8u : 0u);
    if (data[8] == 0x05)
        info.voltage = "1.8 V";
    const auto cycleTime = [](std::uint8_t byte) {
        static const double kTenths[16] = {0,   0.1, 0.2,  0.3,  0.4,  0.5,  0.6, 0.7,
                                           0.8, 0.9, 0.25, 0.33, 0.66, 0.75, 0,   0};
        return (byte >> 4) + kTenths[byte & 0x0f];
    };
    const double ctime = cycleTime(data[9]);
    setSpeed(info, "DDR2", ctime);
    unsigned highestCas = 0;
    for (unsigned i = 2; i < 7; ++i) {
        if (data[18] & (1u << i))
            highestCas = i;
    }
    if (highestCas && ctime > 0) {
        const double trcd = (data[29] >> 2) + (data[29] & 3) * 0.25;
        const double trp = (data[27] >> 2) + (data[27] & 3) * 0.25;
        const double tras = data[30];
        info.timings = cycles(highestCas) + "-" + cycles(std::llround(std::ceil(trcd / ctime))) +
                       "-" + cycles(std::llround(std::ceil(trp / ctime))) + "-" +
                       cycles(std::llround(std::ceil(tras / ctime)));
    }
}

void decodeDdr3(Bytes data, SpdInfo &info)
{
    if (data.size() < 128) {
        info.error = "spd: truncated";
        return;
    }
    // Byte 0 bit 7 leaves the manufacturing bytes 117-125 out of the CRC.
    const bool shortCrc = data[0] & 0x80;
    info.checksumOk = crcMatches(data, shortCrc ? 117 : 126, 126);
    if (info.checksumOk || shortCrc) {
        info.manufacturer = maker(data, 117);
        info.manufactureDate = date(data, 120);
        info.serialNumber = serial(data, 122);
    }
    if (data.size() >= 150) {
        info.partNumber = partNumber(data, 128, 18);
        info.dramManufacturer = maker(data, 148);
    }
    if (!info.checksumOk) {
        info.error = "spd: checksum mismatch";
        return;
    }
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
    if (data[3] < std::size(kTypes))
        info.moduleType = kTypes[data[3]];
    const int cap = (data[4] & 15) + 28 + (data[8] & 7) + 3 - ((data[7] & 7) + 2) - 23;
    const unsigned ranks = ((data[7] >> 3) & 31u) + 1;
    if (cap >= 0 && cap < 40)
        info.sizeMiB = (1ull << cap) * ranks;
    info.ranks = ranks;
    info.deviceWidth = 1u << ((data[7] & 7) + 2);
    info.busWidth = 8u << (data[8] & 7);
    info.ecc = (data[8] & 0x18) != 0;
    std::string voltage;
    if (!(data[6] & 0x01))
        voltage = "1.5 V";
    if (data[6] & 0x02)
        voltage += voltage.empty() ? "1.35 V" : ", 1.35 V";
    if (data[6] & 0x04)
        voltage += voltage.empty() ? "1.25 V" : ", 1.25 V";
    info.voltage = voltage;
    if ((data[9] & 0x0f) == 0 || data[11] == 0)
        return;
    const double ftb = static_cast<double>(data[9] >> 4) / (data[9] & 0x0f);
    const double mtb = static_cast<double>(data[10]) / data[11];
    const auto time = [&](std::size_t coarse, std::size_t fine) {
        return data[coarse] * mtb + signedByte(data[fine]) * ftb / 1000;
    };
    const double ctime = adjustCycleTime(time(12, 34), ftb / 1000);
    if (!(ctime > 0))
        return;
    setSpeed(info, "DDR3", ctime);
    const double taa = time(16, 35);
    const double trcd = time(18, 36);
    const double trp = time(20, 37);
    const double tras = (((data[21] & 0x0f) << 8) + data[22]) * mtb;
    info.timings = cycles(std::llround(std::ceil(taa / ctime))) + "-" +
                   cycles(std::llround(std::ceil(trcd / ctime))) + "-" +
                   cycles(std::llround(std::ceil(trp / ctime))) + "-" +
                   cycles(std::llround(std::ceil(tras / ctime)));
}

void decodeDdr4(Bytes data, SpdInfo &info)
{
    if (data.size() < 256) {
        info.error = "spd: truncated";
        return;
    }
    const bool base = crcMatches(data, 126, 126);
    info.checksumOk = base && crcMatches(data.subspan(128), 126, 126);
    if (data.size() >= 352) {
        info.manufacturer = maker(data, 320);
        info.manufactureDate = date(data, 323);
        info.serialNumber = serial(data, 325);
        info.partNumber = partNumber(data, 329, 20);
        info.dramManufacturer = maker(data, 350);
    }
    if (!info.checksumOk)
        info.error = "spd: checksum mismatch";
    // Block 1 holds only module-specific details nothing here is taken from.
    if (!base)
        return;
    static const char *const kTypes[16] = {"",
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
    info.moduleType = kTypes[data[3] & 0x0f];
    const unsigned width = 4u << (data[12] & 0x07);
    const unsigned ranks = ((data[12] >> 3) & 0x07u) + 1;
    const unsigned bus = 8u << (data[13] & 0x07);
    const unsigned dies = ((data[6] >> 4) & 0x07u) + 1;
    if ((data[4] & 0x0f) <= 9 && width <= bus) {
        unsigned long long cap = (256ull << (data[4] & 0x0f)) / 8 * (bus / width) * ranks;
        if ((data[6] & 0x03) == 0x02)
            cap *= dies; // 3DS: the dies of a stack are not ranks of their own
        info.sizeMiB = cap;
    }
    info.ranks = ranks;
    info.asymmetricRanks = ranks > 1 && (data[12] & 0x40);
    info.deviceWidth = width;
    info.busWidth = bus;
    info.ecc = (data[13] & 0x18) != 0;
    if (data[11] & 0x01)
        info.voltage = "1.2 V";
    if ((data[17] & 0xc3) != 0)
        return;
    const auto time = [&](std::size_t coarse, std::size_t fine) {
        return (data[coarse] * 125.0 + signedByte(data[fine])) / 1000;
    };
    const double ctime = adjustCycleTime(time(18, 125), 0.001);
    if (!(ctime > 0))
        return;
    setSpeed(info, "DDR4", ctime);
    // The standard's rounding: a 2.5 % guard band before rounding up.
    const auto nck = [&](double t) { return std::llround(std::ceil(t / ctime - 0.025)); };
    const double tras = (((data[27] & 0x0f) << 8) + data[28]) * 125.0 / 1000;
    info.timings = cycles(nck(time(24, 123))) + "-" + cycles(nck(time(25, 122))) + "-" +
                   cycles(nck(time(26, 121))) + "-" + cycles(nck(tras));
}

unsigned long long ddr5DieMiB(std::uint8_t density)
{
    static const unsigned kGbit[9] = {0, 4, 8, 12, 16, 24, 32, 48, 64};
    const unsigned code = density & 0x1f;
    return code < 9 ? kGbit[code] * 1024ull / 8 : 0;
}

unsigned ddr5DiesPerPackage(std::uint8_t density)
{
    static const unsigned kDies[8] = {1, 0, 2, 4, 8, 16, 0, 0};
    return kDies[density >> 5];
}

void decodeDdr5(Bytes data, SpdInfo &info)
{
    if (data.size() < 512) {
        info.error = "spd: truncated";
        return;
    }
    info.checksumOk = crcMatches(data, 510, 510);
    // Bytes 512-639 carry no CRC; a 512-byte image simply lacks them.
    if (data.size() >= 554) {
        info.manufacturer = maker(data, 512);
        info.manufactureDate = date(data, 515);
        info.serialNumber = serial(data, 517);
        info.partNumber = partNumber(data, 521, 30);
        info.dramManufacturer = maker(data, 552);
    }
    if (!info.checksumOk) {
        info.error = "spd: checksum mismatch";
        return;
    }
    switch (data[3] & 0x0f) {
    case 0x01:
        info.moduleType = "RDIMM";
        break;
    case 0x02:
        info.moduleType = "UDIMM";
        break;
    case 0x03:
        info.moduleType = "SO-DIMM";
        break;
    case 0x04:
        info.moduleType = "LRDIMM";
        break;
    case 0x0b:
        info.moduleType = "soldered down";
        break;
    default:
        break;
    }
    const unsigned ranks = ((data[234] >> 3) & 0x07u) + 1;
    const bool asymmetric = data[234] & 0x40;
    const unsigned bus = 8u << (data[235] & 0x07);
    const unsigned channels = ((data[235] >> 5) & 0x03u) + 1;
    const auto rankMiB = [&](std::size_t density, std::size_t width) {
        const unsigned io = 4u << (data[width] >> 5);
        if (bus > 64 || io > 32 || io > bus)
            return 0ull;
        return ddr5DieMiB(data[density]) * ddr5DiesPerPackage(data[density]) * (bus / io);
    };
    unsigned long long perChannel = 0;
    for (unsigned rank = 0; rank < ranks; ++rank)
        perChannel += (asymmetric && rank % 2 == 1) ? rankMiB(8, 10) : rankMiB(4, 6);
    if (perChannel && channels <= 2)
        info.sizeMiB = perChannel * channels;
    info.ranks = ranks;
    info.asymmetricRanks = asymmetric;
    info.deviceWidth = 4u << (data[6] >> 5);
    info.busWidth = bus;
    info.subChannels = channels;
    info.ecc = ((data[235] >> 3) & 0x03) != 0;
    if ((data[16] >> 4) == 0)
        info.voltage = "1.1 V";
    const unsigned tck = data[20] | (data[21] << 8);
    if (tck == 0)
        return;
    // Cycle times are truncated to the picosecond; the grades are 200 MT/s apart.
    const unsigned mts = (2000000 / tck + 100) / 200 * 200;
    if (mts == 0)
        return;
    info.speedMts = mts;
    info.speedGrade = "DDR5-" + std::to_string(mts);
    // The standard's integer rounding, with its 0.3 % guard band.
    const auto nck = [&](std::size_t at) {
        const unsigned long long t = data[at] | (data[at + 1] << 8);
        return (t * 997 / tck + 1000) / 1000;
    };
    unsigned long long cl = nck(30);
    const unsigned long long supported = static_cast<unsigned long long>(data[24]) |
                                         (static_cast<unsigned long long>(data[25]) << 8) |
                                         (static_cast<unsigned long long>(data[26]) << 16) |
                                         (static_cast<unsigned long long>(data[27]) << 24) |
                                         (static_cast<unsigned long long>(data[28]) << 32);
    for (unsigned bit = 0; bit < 40; ++bit) {
        const unsigned latency = 20 + 2 * bit;
        if ((supported >> bit) & 1 && latency >= cl) {
            cl = latency;
            break;
        }
    }
    info.timings =
        cycles(static_cast<long long>(cl)) + "-" + cycles(static_cast<long long>(nck(32))) + "-" +
        cycles(static_cast<long long>(nck(34))) + "-" + cycles(static_cast<long long>(nck(36)));
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
        decodeDdr2(data, info);
        break;
    case 0x0b:
        info.memoryType = "DDR3 SDRAM";
        decodeDdr3(data, info);
        break;
    case 0x0c:
        info.memoryType = "DDR4 SDRAM";
        decodeDdr4(data, info);
        break;
    case 0x12:
        info.memoryType = "DDR5 SDRAM";
        decodeDdr5(data, info);
        break;
    case 0x13:
        // LPDDR5 parts are soldered down; beyond its type and CRC nothing is
        // decoded, its layout differing from DDR5's.
        info.memoryType = "LPDDR5 SDRAM";
        info.checksumOk = crcMatches(data, 510, 510);
        if (!info.checksumOk)
            info.error = data.size() < 512 ? "spd: truncated" : "spd: checksum mismatch";
        else if ((data[3] & 0x0f) == 0x0e)
            info.moduleType = "soldered down";
        break;
    default:
        info.error = "spd: unknown memory type";
        break;
    }
    return info;
}

} // namespace kestrin::tool
