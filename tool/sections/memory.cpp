#include "tool/sections/memory.h"

#include "tool/sections/memorymodules.h"
#include "tool/sections/sectionhelpers.h"
#include "tool/text.h"

#include <optional>
#include <string>
#include <string_view>

namespace devices {

namespace {

std::optional<unsigned long long> meminfoKiB(std::string_view text, std::string_view key)
{
    tooltext::LineReader lines(text);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || tooltext::trimAscii(line.substr(0, colon)) != key) {
            continue;
        }
        unsigned long long value = 0;
        bool any = false;
        for (char c : tooltext::trimAscii(line.substr(colon + 1))) {
            if (c < '0' || c > '9') {
                break;
            }
            value = value * 10 + static_cast<unsigned>(c - '0');
            any = true;
        }
        if (any) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace

void MemorySection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    const std::vector<SpdDevice> modules = readSpdDevices(root);
    if (const auto meminfo = root.readAll("/proc/meminfo", 1 << 20)) {
        if (const auto total = meminfoKiB(*meminfo, "MemTotal")) {
            out.device("mem", "system", "System memory");
            out.property("total", binarySize(*total * 1024));
            std::size_t nodes = 0;
            for (const std::string &name : root.list("/sys/devices/system/node")) {
                if (name.rfind("node", 0) == 0 && isDecimal(std::string_view(name).substr(4))) {
                    ++nodes;
                }
            }
            if (nodes > 1) {
                out.property("numa nodes", decimal(nodes) + " nodes");
            }
            if (modules.empty()) {
                out.property("memory modules",
                             "not exposed; load the ee1004 (DDR4) or spd5118 (DDR5) kernel "
                             "module, or read the firmware tables as administrator");
            }
        }
    }
    listMemoryModules(root, modules, out);
    // Memory modules, as the error-detection drivers see them (readable by
    // every user, unlike the firmware's memory device records).
    for (const std::string &controller : root.list("/sys/devices/system/edac/mc")) {
        if (controller.rfind("mc", 0) != 0) {
            continue;
        }
        const std::string controllerPath = "/sys/devices/system/edac/mc/" + controller;
        for (const std::string &dimm : root.list(controllerPath)) {
            if (dimm.rfind("dimm", 0) != 0 && dimm.rfind("rank", 0) != 0) {
                continue;
            }
            const std::string path = joinPath(controllerPath, dimm);
            const auto sizeMiB = root.readNumber(path + "/size");
            if (!sizeMiB || *sizeMiB == 0) {
                continue;
            }
            const auto type = root.read(path + "/dimm_mem_type");
            std::string name = binarySize(*sizeMiB * 1024 * 1024);
            if (type && !type->empty()) {
                name += " " + *type;
            }
            std::string id = controller;
            id += ' ';
            id += dimm;
            out.device("dimm", id, name);
            out.property("size", binarySize(*sizeMiB * 1024 * 1024));
            if (type) {
                out.property("type", *type);
            }
            if (const auto label = root.read(path + "/dimm_label")) {
                out.property("label", *label);
            }
            if (const auto location = root.read(path + "/dimm_location")) {
                out.property("location", *location);
            }
            if (const auto mode = root.read(path + "/dimm_edac_mode")) {
                out.property("error correction", *mode);
            }
        }
    }
}

} // namespace devices
