#include "tool/sections/memorymodules.h"

#include "tool/sections/sectionhelpers.h"
#include "tool/sections/sensors.h"
#include "tool/spd.h"

#include <optional>
#include <span>

namespace devices {

namespace {

// DDR5 hubs report their own temperature; a DDR4 module's sensor sits at
// 0x18 + n beside the EEPROM at 0x50 + n.
std::optional<std::string> moduleTemperature(const SysRoot &root, const SpdDevice &module)
{
    if (auto own = hwmonTemperature(root, module.path, {}))
        return own;
    const auto dash = module.id.find('-');
    if (dash == std::string::npos || module.id.size() != dash + 5)
        return std::nullopt;
    unsigned address = 0;
    try {
        address = static_cast<unsigned>(std::stoul(module.id.substr(dash + 1), nullptr, 16));
    } catch (...) {
        return std::nullopt;
    }
    if (address < 0x50 || address > 0x57)
        return std::nullopt;
    const std::string sensor =
        module.id.substr(0, dash) + "-00" + hex(address - 0x50 + 0x18, 2).substr(2);
    return hwmonTemperature(root, "/sys/bus/i2c/devices/" + sensor, "jc42");
}

} // namespace

std::vector<SpdDevice> readSpdDevices(const SysRoot &root)
{
    std::vector<SpdDevice> modules;
    for (const char *driver : {"ee1004", "spd5118", "at24"}) {
        const std::string directory = std::string("/sys/bus/i2c/drivers/") + driver;
        for (const std::string &id : root.list(directory)) {
            if (id.find('-') == std::string::npos)
                continue; // bind, unbind, uevent, module
            const std::string path = joinPath(directory, id);
            if (std::string_view(driver) == "at24" && root.read(path + "/name") != "spd")
                continue;
            if (auto bytes = root.readAll(path + "/eeprom", 4096))
                modules.push_back({id, path, std::move(*bytes)});
        }
    }
    return modules;
}

void listMemoryModules(const SysRoot &root, const std::vector<SpdDevice> &modules, Listing &out)
{
    for (const SpdDevice &module : modules) {
        const std::span<const std::uint8_t> bytes(
            reinterpret_cast<const std::uint8_t *>(module.bytes.data()), module.bytes.size());
        const kestrin::tool::SpdInfo info = kestrin::tool::decodeSpd(bytes);
        std::string name = info.manufacturer;
        if (!info.partNumber.empty())
            name += (name.empty() ? "" : " ") + info.partNumber;
        if (name.empty())
            name = info.memoryType.empty() ? "Memory module" : info.memoryType + " module";
        out.device("dimm", module.id, name);
        std::string type = info.memoryType;
        if (!info.moduleType.empty())
            type += (type.empty() ? "" : " ") + info.moduleType;
        out.property("type", type);
        if (!info.error.empty())
            out.property("spd", info.error.substr(info.error.find(' ') + 1));
        if (info.sizeMiB)
            out.property("size", binarySize(*info.sizeMiB * 1024 * 1024));
        if (info.subChannels && info.busWidth)
            out.property("organization", decimal(*info.subChannels) + " sub-channels × " +
                                             decimal(*info.busWidth) + " bits");
        else if (info.busWidth)
            out.property("bus width", decimal(*info.busWidth) + " bits");
        if (info.deviceWidth)
            out.property("device width", decimal(*info.deviceWidth) + " bits");
        if (info.speedMts)
            out.property("speed", decimal(*info.speedMts) + " MT/s (" + info.speedGrade + ")");
        out.property("manufacturer", info.manufacturer);
        out.property("part number", info.partNumber);
        out.property("serial number", info.serialNumber);
        out.property("manufactured", info.manufactureDate);
        if (info.ranks)
            out.property("ranks", decimal(*info.ranks) + (*info.ranks == 1 ? " rank" : " ranks") +
                                      (info.asymmetricRanks ? " (asymmetric)" : ""));
        out.property("voltage", info.voltage);
        if (info.ecc)
            out.property("ecc", *info.ecc ? "yes" : "no");
        out.property("timings", info.timings.empty() ? "" : info.timings + " (CL-tRCD-tRP-tRAS)");
        out.property("dram manufacturer", info.dramManufacturer);
        if (const auto temperature = moduleTemperature(root, module))
            out.property("temperature", *temperature);
    }
}

} // namespace devices
