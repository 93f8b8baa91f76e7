#include "tool/sections/cpu.h"

#include "tool/sections/sectionhelpers.h"
#include "tool/sections/sensors.h"
#include "tool/text.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace devices {

namespace {

struct CpuInfoBlock {
    std::map<std::string, std::string, std::less<>> fields;
};

std::vector<CpuInfoBlock> cpuInfo(const SysRoot &root)
{
    std::vector<CpuInfoBlock> blocks;
    const auto text = root.readAll("/proc/cpuinfo");
    if (!text) {
        return blocks;
    }
    CpuInfoBlock current;
    tooltext::LineReader lines(*text);
    std::string_view line;
    while (lines.next(line)) {
        const std::size_t colon = line.find(':');
        if (tooltext::trimAscii(line).empty()) {
            if (!current.fields.empty()) {
                blocks.push_back(std::move(current));
                current = {};
            }
            continue;
        }
        if (colon == std::string_view::npos) {
            continue;
        }
        current.fields.emplace(std::string(tooltext::trimAscii(line.substr(0, colon))),
                               std::string(tooltext::trimAscii(line.substr(colon + 1))));
    }
    if (!current.fields.empty()) {
        blocks.push_back(std::move(current));
    }
    return blocks;
}

std::optional<std::string> field(const CpuInfoBlock &block, std::string_view key)
{
    const auto it = block.fields.find(key);
    if (it == block.fields.end() || it->second.empty()) {
        return std::nullopt;
    }
    return it->second;
}

bool naturalLessString(const std::string &a, const std::string &b)
{
    return naturalLess(a, b);
}

std::string cacheSize(const std::string &sysfsSize)
{
    // sysfs writes "48K"; show "48 KiB".
    if (!sysfsSize.empty() && (sysfsSize.back() == 'K' || sysfsSize.back() == 'M')) {
        unsigned long long amount = 0;
        for (char c : sysfsSize.substr(0, sysfsSize.size() - 1)) {
            if (c < '0' || c > '9') {
                return sysfsSize;
            }
            amount = amount * 10 + static_cast<unsigned>(c - '0');
        }
        const unsigned long long bytes = amount * (sysfsSize.back() == 'K' ? 1024ULL : 1048576ULL);
        return binarySize(bytes);
    }
    return sysfsSize;
}

void cpuFrequencies(const SysRoot &root, Listing &out, const CpuInfoBlock &first)
{
    const auto maxKHz = root.readNumber("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    const auto minKHz = root.readNumber("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_min_freq");
    if (maxKHz && *maxKHz > 0) {
        out.property("max frequency", decimal(*maxKHz / 1000) + " MHz");
    }
    if (minKHz && *minKHz > 0) {
        out.property("min frequency", decimal(*minKHz / 1000) + " MHz");
    }
    if (!maxKHz) {
        if (const auto mhz = field(first, "cpu MHz")) {
            out.property("frequency", std::string(mhz->substr(0, mhz->find('.'))) + " MHz");
        }
    }
}

// One entry per cache level and type, with its size and how many there are.
std::vector<std::pair<std::string, std::string>> cpuCaches(const SysRoot &root)
{
    std::vector<std::pair<std::string, std::string>> caches;
    const std::string base = "/sys/devices/system/cpu/cpu0/cache";
    const std::vector<std::string> cpus = root.list("/sys/devices/system/cpu");
    for (const std::string &index : root.list(base)) {
        if (index.rfind("index", 0) != 0) {
            continue;
        }
        const std::string dir = joinPath(base, index);
        const auto level = root.read(dir + "/level");
        const auto type = root.read(dir + "/type");
        const auto size = root.read(dir + "/size");
        if (!level || !type || !size || size->empty()) {
            continue;
        }
        std::string label = "L" + *level;
        if (*type == "Data") {
            label += "d";
        } else if (*type == "Instruction") {
            label += "i";
        }
        // Count distinct sharing groups over all processors: the instances.
        std::set<std::string> groups;
        for (const std::string &cpu : cpus) {
            if (cpu.rfind("cpu", 0) != 0 || !isDecimal(std::string_view(cpu).substr(3))) {
                continue;
            }
            std::string sharedList = "/sys/devices/system/cpu/" + cpu;
            sharedList += "/cache/";
            sharedList += index;
            sharedList += "/shared_cpu_list";
            if (const auto shared = root.read(sharedList)) {
                groups.insert(*shared);
            }
        }
        std::string value = cacheSize(*size);
        if (groups.size() > 1) {
            value += " (" + decimal(groups.size()) + " instances)";
        }
        caches.emplace_back(label + " cache", value);
    }
    return caches;
}

// A one-line kernel attribute worth showing: not empty, not the "-1" some
// drivers write for "unknown", not cut off at the read bound.
std::optional<std::string> attribute(const SysRoot &root, std::string_view path)
{
    constexpr std::size_t bound = 512;
    auto text = root.read(path, bound);
    if (!text || text->empty() || text->size() >= bound || *text == "-1" ||
        text->find('\n') != std::string::npos) {
        return std::nullopt;
    }
    return text;
}

void cpuPolicy(const SysRoot &root, Listing &out)
{
    if (const auto driver =
            attribute(root, "/sys/devices/system/cpu/cpu0/cpufreq/scaling_driver")) {
        out.property("frequency driver", *driver);
    }
    if (const auto governor =
            attribute(root, "/sys/devices/system/cpu/cpu0/cpufreq/scaling_governor")) {
        out.property("governor", *governor);
    }
    if (const auto smt = attribute(root, "/sys/devices/system/cpu/smt/control")) {
        out.property("smt", *smt);
    }
}

// Each file names one weakness and the kernel's verdict on it
// ("spectre_v2" -> "spectre v2: Mitigation: ...").
void cpuVulnerabilities(const SysRoot &root, Listing &out)
{
    const std::string base = "/sys/devices/system/cpu/vulnerabilities";
    for (const std::string &name : root.list(base)) {
        const auto verdict = attribute(root, joinPath(base, name));
        if (!verdict) {
            continue;
        }
        std::string label = name;
        for (char &c : label) {
            if (c == '_') {
                c = ' ';
            }
        }
        out.property(label, *verdict);
    }
}

} // namespace

void CpuSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    const std::vector<CpuInfoBlock> blocks = cpuInfo(root);
    // Blocks describing a logical processor; some architectures add a
    // trailing block of machine-wide fields.
    std::vector<const CpuInfoBlock *> processors;
    std::vector<const CpuInfoBlock *> machineWide;
    for (const CpuInfoBlock &block : blocks) {
        (block.fields.count("processor") != 0 ? processors : machineWide).push_back(&block);
    }
    if (processors.empty()) {
        return;
    }
    // Group logical processors by package ("physical id"; absent: one package).
    std::map<std::string, std::vector<const CpuInfoBlock *>, decltype(&naturalLessString)> packages(
        &naturalLessString);
    for (const CpuInfoBlock *block : processors) {
        packages[field(*block, "physical id").value_or("0")].push_back(block);
    }
    const std::vector<std::pair<std::string, std::string>> caches = cpuCaches(root);
    for (const auto &[package, threads] : packages) {
        const CpuInfoBlock &first = *threads.front();
        std::optional<std::string> name = field(first, "model name");
        for (const CpuInfoBlock *block : machineWide) {
            if (!name) {
                name = field(*block, "Hardware");
            }
            if (!name) {
                name = field(*block, "model name");
            }
        }
        if (!name) {
            name = field(first, "cpu model");
        }
        if (!name) {
            name = field(first, "Processor");
        }
        if (!name) {
            // Device-tree systems name the core: "arm,cortex-a72" (a NUL-separated list).
            if (const auto compatible =
                    root.read("/sys/devices/system/cpu/cpu0/of_node/compatible")) {
                const std::string firstEntry = compatible->substr(0, compatible->find('\0'));
                if (!firstEntry.empty()) {
                    name = firstEntry;
                }
            }
        }
        out.device("cpu", "package " + package, name.value_or("Processor"));
        if (const auto vendor = field(first, "vendor_id")) {
            out.property("vendor", *vendor);
        }
        if (name) {
            out.property("model name", *name);
        }
        std::set<std::string> coreIds;
        for (const CpuInfoBlock *block : threads) {
            if (const auto core = field(*block, "core id")) {
                coreIds.insert(*core);
            }
        }
        // Counts carry their unit: the application drops one-character values
        // (placeholders such as "0" or "-"), which would hide "4" cores.
        std::optional<std::string> cores;
        if (!coreIds.empty()) {
            cores = decimal(coreIds.size());
        } else {
            cores = field(first, "cpu cores");
        }
        if (cores) {
            out.property("cores", *cores + " cores, " + decimal(threads.size()) + " threads");
        } else {
            out.property("processors", decimal(threads.size()) + " logical processors");
        }
        const auto family = field(first, "cpu family");
        const auto model = field(first, "model");
        const auto stepping = field(first, "stepping");
        if (family || model || stepping) {
            std::string signature;
            const auto append = [&](const char *label, const std::optional<std::string> &part) {
                if (part) {
                    signature += (signature.empty() ? "" : ", ") + std::string(label) + " " + *part;
                }
            };
            append("Family", family);
            append("Model", model);
            append("Stepping", stepping);
            out.property("signature", signature);
        }
        if (const auto microcode = field(first, "microcode")) {
            out.property("microcode", *microcode);
        }
        cpuFrequencies(root, out, first);
        for (const auto &[label, value] : caches) {
            out.property(label, value);
        }
        if (const auto flags = field(first, "flags")) {
            const std::string padded = " " + *flags + " ";
            if (padded.find(" vmx ") != std::string::npos) {
                out.property("virtualization", "VT-x");
            } else if (padded.find(" svm ") != std::string::npos) {
                out.property("virtualization", "AMD-V");
            }
        }
        if (const auto sizes = field(first, "address sizes")) {
            out.property("address sizes", *sizes);
        }
        cpuPolicy(root, out);
        cpuVulnerabilities(root, out);
        // The temperature drivers report the package the listing is on; one
        // package is the common case, so several chips go under the first.
        if (package == packages.begin()->first) {
            for (const std::string &chip : hwmonChips(root, {"k10temp", "coretemp", "zenpower"})) {
                sensorReadings(root, out, chip);
            }
        }
    }
}

} // namespace devices
