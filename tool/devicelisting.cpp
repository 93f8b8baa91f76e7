#include "tool/devicelisting.h"

#include "tool/firmwarerecords.h"
#include "tool/listing.h"
#include "tool/text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {

std::string hex(unsigned long long value, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%0*llx", digits, value);
    return buffer;
}

std::string decimal(unsigned long long value)
{
    return std::to_string(value);
}

using SizeUnits = std::array<const char *, 6>;

// A byte count in the largest unit it reaches: a whole number of bytes below
// the first step, otherwise the value formatted by `format(value, unit)`.
template <typename Format>
std::string scaledSize(unsigned long long bytes, double step, const SizeUnits &units,
                       Format &&format)
{
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    while (value >= step && unit + 1 < units.size()) {
        value /= step;
        ++unit;
    }
    char buffer[48];
    if (unit == 0) {
        std::snprintf(buffer, sizeof buffer, "%llu bytes", bytes);
    } else {
        format(buffer, sizeof buffer, value, units[unit]);
    }
    return buffer;
}

// Binary units, for memory: "15.5 GiB".
std::string binarySize(unsigned long long bytes)
{
    static constexpr SizeUnits units = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB"};
    return scaledSize(
        bytes, 1024.0, units, [](char *buffer, std::size_t size, double value, const char *unit) {
            const bool whole = value == static_cast<double>(static_cast<unsigned long long>(value));
            std::snprintf(buffer, size, value < 100.0 && !whole ? "%.1f %s" : "%.0f %s", value,
                          unit);
        });
}

// Decimal units, as drive makers label their drives: "1.02 TB".
std::string decimalSize(unsigned long long bytes)
{
    static constexpr SizeUnits units = {"bytes", "kB", "MB", "GB", "TB", "PB"};
    return scaledSize(
        bytes, 1000.0, units, [](char *buffer, std::size_t size, double value, const char *unit) {
            std::snprintf(buffer, size, value < 10.0 ? "%.2f %s" : "%.1f %s", value, unit);
        });
}

std::string fixed(double value, int decimals, std::string_view unit)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f %.*s", decimals, value,
                  static_cast<int>(unit.size()), unit.data());
    return buffer;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

bool isDecimal(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// domain:bus:device.function, as "0000:00:02.0"; the domain may be longer
// ("10000:e1:00.0" behind a volume management device).
bool isPciAddress(std::string_view name)
{
    const std::size_t length = name.size();
    if (length < 12 || name[length - 8] != ':' || name[length - 5] != ':' ||
        name[length - 2] != '.') {
        return false;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (i != length - 8 && i != length - 5 && i != length - 2 && !isHexDigit(name[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> components(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos < path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > pos) {
            parts.push_back(path.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return parts;
}

// The PCI function a device hangs under: the last PCI address in its path.
std::optional<std::string> pciAncestor(std::string_view devicePath)
{
    std::optional<std::string> found;
    for (std::string_view part : components(devicePath)) {
        if (isPciAddress(part)) {
            found = std::string(part);
        }
    }
    return found;
}

// The USB device a device hangs under ("1-2", "3-1.4"), not its interface:
// only names below a USB root hub ("usb1") count, so "0-0050" on an I2C bus
// does not.
std::optional<std::string> usbAncestor(std::string_view devicePath)
{
    std::optional<std::string> found;
    bool belowRootHub = false;
    for (std::string_view part : components(devicePath)) {
        if (part.size() > 3 && part.substr(0, 3) == "usb" && isDecimal(part.substr(3))) {
            belowRootHub = true;
            continue;
        }
        const std::size_t dash = part.find('-');
        if (belowRootHub && dash != std::string_view::npos && dash > 0 &&
            part.find(':') == std::string_view::npos && isDecimal(part.substr(0, dash))) {
            found = std::string(part);
        }
    }
    return found;
}

struct PciFunction {
    std::string address;
    unsigned vendor = 0;
    unsigned device = 0;
    unsigned classCode = 0;
    std::optional<unsigned> subVendor;
    std::optional<unsigned> subDevice;
    std::optional<unsigned> revision;
    std::optional<std::string> driver;
    std::string name;

    [[nodiscard]] unsigned baseClass() const { return classCode >> 16; }
    [[nodiscard]] unsigned subClass() const { return (classCode >> 8) & 0xFF; }
};

enum class PciHome { graphics, network, storage, audio, usb, other };

PciHome homeOf(const PciFunction &function)
{
    switch (function.baseClass()) {
    case 0x01:
        return PciHome::storage;
    case 0x02:
        return PciHome::network;
    case 0x03:
        return PciHome::graphics;
    case 0x04:
        // Audio and HD Audio devices; video capture and telephony stay generic.
        return function.subClass() == 0x01 || function.subClass() == 0x03 ? PciHome::audio
                                                                          : PciHome::other;
    case 0x0C:
        return function.subClass() == 0x03 ? PciHome::usb : PciHome::other;
    default:
        return PciHome::other;
    }
}

class Scanner {
public:
    Scanner(const SysRoot &root, IdDatabase &ids) : m_root(root), m_ids(ids) {}

    std::string run()
    {
        readPci();
        platform();
        cpu();
        memory();
        graphics();
        network();
        storage();
        audio();
        usb();
        battery();
        otherPci();
        firmware();
        return m_out.text();
    }

private:
    const SysRoot &m_root;
    IdDatabase &m_ids;
    Listing m_out;
    std::vector<PciFunction> m_pci;

    void readPci()
    {
        for (const std::string &address : m_root.list("/sys/bus/pci/devices")) {
            const std::string base = joinPath("/sys/bus/pci/devices", address);
            const auto vendor = m_root.readNumber(base + "/vendor");
            const auto device = m_root.readNumber(base + "/device");
            const auto classCode = m_root.readNumber(base + "/class");
            if (!vendor || !device || !classCode) {
                continue;
            }
            PciFunction function;
            function.address = address;
            function.vendor = static_cast<unsigned>(*vendor & 0xFFFF);
            function.device = static_cast<unsigned>(*device & 0xFFFF);
            function.classCode = static_cast<unsigned>(*classCode & 0xFFFFFF);
            if (const auto value = m_root.readNumber(base + "/subsystem_vendor")) {
                function.subVendor = static_cast<unsigned>(*value & 0xFFFF);
            }
            if (const auto value = m_root.readNumber(base + "/subsystem_device")) {
                function.subDevice = static_cast<unsigned>(*value & 0xFFFF);
            }
            if (const auto value = m_root.readNumber(base + "/revision")) {
                function.revision = static_cast<unsigned>(*value & 0xFF);
            }
            function.driver = m_root.linkName(base + "/driver");
            function.name = pciName(function.vendor, function.device);
            m_pci.push_back(std::move(function));
        }
        // Fixed-width hex addresses: plain order is bus order.
        std::sort(m_pci.begin(), m_pci.end(),
                  [](const PciFunction &a, const PciFunction &b) { return a.address < b.address; });
    }

    std::string pciName(unsigned vendor, unsigned device)
    {
        const auto vendorName = m_ids.pciVendor(vendor);
        const auto deviceName = m_ids.pciDevice(vendor, device);
        if (vendorName && deviceName) {
            return *vendorName + " " + *deviceName;
        }
        if (vendorName) {
            return *vendorName + " device " + hex(device, 4);
        }
        return "PCI device " + hex(vendor, 4).substr(2) + ":" + hex(device, 4).substr(2);
    }

    const PciFunction *pciFunction(std::string_view address) const
    {
        for (const PciFunction &function : m_pci) {
            if (function.address == address) {
                return &function;
            }
        }
        return nullptr;
    }

    void pciDevice(const PciFunction &function)
    {
        m_out.device("pci", function.address, function.name);
        pciProperties(function);
    }

    void pciProperties(const PciFunction &function)
    {
        m_out.property("vendor-id", hex(function.vendor, 4));
        m_out.property("device-id", hex(function.device, 4));
        if (function.subVendor && function.subDevice &&
            (*function.subVendor != 0 || *function.subDevice != 0)) {
            m_out.property("subsystem-vendor-id", hex(*function.subVendor, 4));
            m_out.property("subsystem-id", hex(*function.subDevice, 4));
        }
        if (function.revision) {
            m_out.property("revision-id", hex(*function.revision, 2));
        }
        m_out.property("class-code", hex(function.classCode, 6));
        if (const auto name = m_ids.pciClass(function.classCode >> 8)) {
            m_out.property("class", *name);
        }
        if (const auto name = m_ids.pciVendor(function.vendor)) {
            m_out.property("vendor", *name);
        }
        if (function.subVendor && function.subDevice) {
            if (const auto name = m_ids.pciSubsystem(function.vendor, function.device,
                                                     *function.subVendor, *function.subDevice)) {
                const auto subVendorName = m_ids.pciVendor(*function.subVendor);
                m_out.property("subsystem", subVendorName ? *subVendorName + " " + *name : *name);
            }
        }
        if (function.driver) {
            m_out.property("driver", *function.driver);
        }
    }

    // "attached to: pci 0000:00:17.0" (or "usb 1-2") for a device hanging under one.
    void parentProperty(std::string_view devicePath)
    {
        if (const auto usbDevice = usbAncestor(devicePath)) {
            m_out.property("attached to", "usb " + *usbDevice);
        } else if (const auto address = pciAncestor(devicePath)) {
            m_out.property("attached to", "pci " + *address);
        }
    }

    std::optional<std::string> driverOf(std::string_view classPath)
    {
        return m_root.linkName(joinPath(classPath, "device/driver"));
    }

    // The model of the machine: what the firmware tables' world-readable part
    // or the device tree say.
    void platform()
    {
        m_out.section("Platform");
        const auto vendor = m_root.read("/sys/class/dmi/id/sys_vendor");
        const auto product = m_root.read("/sys/class/dmi/id/product_name");
        std::optional<std::string> model = m_root.read("/sys/firmware/devicetree/base/model");
        if (model) {
            // Device tree strings end in NUL.
            model = tooltext::cleanValue(*model);
        }
        std::string name;
        if (vendor && product) {
            name = *vendor + " " + *product;
        } else if (product) {
            name = *product;
        } else if (model) {
            name = *model;
        } else {
            name = "This computer";
        }
        m_out.device("platform", "machine", name);
        if (vendor) {
            m_out.property("manufacturer", *vendor);
        }
        if (product) {
            m_out.property("model", *product);
        }
        if (const auto family = m_root.read("/sys/class/dmi/id/product_family")) {
            m_out.property("family", *family);
        }
        if (model && (!product || *model != *product)) {
            m_out.property("device tree model", *model);
        }
        if (const auto type = m_root.readNumber("/sys/class/dmi/id/chassis_type")) {
            m_out.property("chassis", chassisTypeName(static_cast<unsigned>(*type)));
        }
        std::optional<std::string> architecture = m_root.read("/proc/sys/kernel/arch");
        if (!architecture && m_root.isRealRoot()) {
            utsname names{};
            if (::uname(&names) == 0) {
                architecture = names.machine;
            }
        }
        if (architecture) {
            m_out.property("architecture", *architecture);
        }
        if (const auto hypervisor = hypervisorName()) {
            m_out.property("hypervisor", *hypervisor);
        }
    }

    std::optional<std::string> hypervisorName()
    {
        if (const auto type = m_root.read("/sys/hypervisor/type")) {
            if (!type->empty()) {
                return *type;
            }
        }
        if (!m_root.isRealRoot()) {
            return std::nullopt;
        }
#if defined(__x86_64__) || defined(__i386__)
        unsigned eax = 0;
        unsigned ebx = 0;
        unsigned ecx = 0;
        unsigned edx = 0;
        __cpuid(1, eax, ebx, ecx, edx);
        if ((ecx & (1U << 31)) == 0) {
            return std::nullopt;
        }
        __cpuid(0x40000000, eax, ebx, ecx, edx);
        char signature[13] = {};
        std::copy_n(reinterpret_cast<const char *>(&ebx), 4, signature);
        std::copy_n(reinterpret_cast<const char *>(&ecx), 4, signature + 4);
        std::copy_n(reinterpret_cast<const char *>(&edx), 4, signature + 8);
        const std::string text = tooltext::cleanValue(signature);
        return text.empty() ? std::string("present") : text;
#else
        return std::nullopt;
#endif
    }

    struct CpuInfoBlock {
        std::map<std::string, std::string, std::less<>> fields;
    };

    std::vector<CpuInfoBlock> cpuInfo()
    {
        std::vector<CpuInfoBlock> blocks;
        const auto text = m_root.readAll("/proc/cpuinfo");
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

    static std::optional<std::string> field(const CpuInfoBlock &block, std::string_view key)
    {
        const auto it = block.fields.find(key);
        if (it == block.fields.end() || it->second.empty()) {
            return std::nullopt;
        }
        return it->second;
    }

    void cpu()
    {
        m_out.section("CPU");
        const std::vector<CpuInfoBlock> blocks = cpuInfo();
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
        std::map<std::string, std::vector<const CpuInfoBlock *>, decltype(&naturalLessString)>
            packages(&naturalLessString);
        for (const CpuInfoBlock *block : processors) {
            packages[field(*block, "physical id").value_or("0")].push_back(block);
        }
        const std::vector<std::pair<std::string, std::string>> caches = cpuCaches();
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
                        m_root.read("/sys/devices/system/cpu/cpu0/of_node/compatible")) {
                    const std::string firstEntry = compatible->substr(0, compatible->find('\0'));
                    if (!firstEntry.empty()) {
                        name = firstEntry;
                    }
                }
            }
            m_out.device("cpu", "package " + package, name.value_or("Processor"));
            if (const auto vendor = field(first, "vendor_id")) {
                m_out.property("vendor", *vendor);
            }
            if (name) {
                m_out.property("model name", *name);
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
                m_out.property("cores", *cores + " cores, " + decimal(threads.size()) + " threads");
            } else {
                m_out.property("processors", decimal(threads.size()) + " logical processors");
            }
            const auto family = field(first, "cpu family");
            const auto model = field(first, "model");
            const auto stepping = field(first, "stepping");
            if (family || model || stepping) {
                std::string signature;
                const auto append = [&](const char *label, const std::optional<std::string> &part) {
                    if (part) {
                        signature +=
                            (signature.empty() ? "" : ", ") + std::string(label) + " " + *part;
                    }
                };
                append("Family", family);
                append("Model", model);
                append("Stepping", stepping);
                m_out.property("signature", signature);
            }
            if (const auto microcode = field(first, "microcode")) {
                m_out.property("microcode", *microcode);
            }
            cpuFrequencies(first);
            for (const auto &[label, value] : caches) {
                m_out.property(label, value);
            }
            if (const auto flags = field(first, "flags")) {
                const std::string padded = " " + *flags + " ";
                if (padded.find(" vmx ") != std::string::npos) {
                    m_out.property("virtualization", "VT-x");
                } else if (padded.find(" svm ") != std::string::npos) {
                    m_out.property("virtualization", "AMD-V");
                }
            }
            if (const auto sizes = field(first, "address sizes")) {
                m_out.property("address sizes", *sizes);
            }
        }
    }

    static bool naturalLessString(const std::string &a, const std::string &b)
    {
        return naturalLess(a, b);
    }

    void cpuFrequencies(const CpuInfoBlock &first)
    {
        const auto maxKHz =
            m_root.readNumber("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
        const auto minKHz =
            m_root.readNumber("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_min_freq");
        if (maxKHz && *maxKHz > 0) {
            m_out.property("max frequency", decimal(*maxKHz / 1000) + " MHz");
        }
        if (minKHz && *minKHz > 0) {
            m_out.property("min frequency", decimal(*minKHz / 1000) + " MHz");
        }
        if (!maxKHz) {
            if (const auto mhz = field(first, "cpu MHz")) {
                m_out.property("frequency", std::string(mhz->substr(0, mhz->find('.'))) + " MHz");
            }
        }
    }

    // One entry per cache level and type, with its size and how many there are.
    std::vector<std::pair<std::string, std::string>> cpuCaches()
    {
        std::vector<std::pair<std::string, std::string>> caches;
        const std::string base = "/sys/devices/system/cpu/cpu0/cache";
        const std::vector<std::string> cpus = m_root.list("/sys/devices/system/cpu");
        for (const std::string &index : m_root.list(base)) {
            if (index.rfind("index", 0) != 0) {
                continue;
            }
            const std::string dir = joinPath(base, index);
            const auto level = m_root.read(dir + "/level");
            const auto type = m_root.read(dir + "/type");
            const auto size = m_root.read(dir + "/size");
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
                if (const auto shared = m_root.read("/sys/devices/system/cpu/" + cpu + "/cache/" +
                                                    index + "/shared_cpu_list")) {
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

    static std::string cacheSize(const std::string &sysfsSize)
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
            const unsigned long long bytes =
                amount * (sysfsSize.back() == 'K' ? 1024ULL : 1048576ULL);
            return binarySize(bytes);
        }
        return sysfsSize;
    }

    std::optional<unsigned long long> meminfoKiB(std::string_view text, std::string_view key)
    {
        tooltext::LineReader lines(text);
        std::string_view line;
        while (lines.next(line)) {
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos ||
                tooltext::trimAscii(line.substr(0, colon)) != key) {
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

    void memory()
    {
        m_out.section("Memory");
        if (const auto meminfo = m_root.readAll("/proc/meminfo", 1 << 20)) {
            if (const auto total = meminfoKiB(*meminfo, "MemTotal")) {
                m_out.device("mem", "system", "System memory");
                m_out.property("total", binarySize(*total * 1024));
                std::size_t nodes = 0;
                for (const std::string &name : m_root.list("/sys/devices/system/node")) {
                    if (name.rfind("node", 0) == 0 && isDecimal(std::string_view(name).substr(4))) {
                        ++nodes;
                    }
                }
                if (nodes > 1) {
                    m_out.property("numa nodes", decimal(nodes) + " nodes");
                }
            }
        }
        // Memory modules, as the error-detection drivers see them (readable by
        // every user, unlike the firmware's memory device records).
        for (const std::string &controller : m_root.list("/sys/devices/system/edac/mc")) {
            if (controller.rfind("mc", 0) != 0) {
                continue;
            }
            const std::string controllerPath = "/sys/devices/system/edac/mc/" + controller;
            for (const std::string &dimm : m_root.list(controllerPath)) {
                if (dimm.rfind("dimm", 0) != 0 && dimm.rfind("rank", 0) != 0) {
                    continue;
                }
                const std::string path = controllerPath + "/" + dimm;
                const auto sizeMiB = m_root.readNumber(path + "/size");
                if (!sizeMiB || *sizeMiB == 0) {
                    continue;
                }
                const auto type = m_root.read(path + "/dimm_mem_type");
                std::string name = binarySize(*sizeMiB * 1024 * 1024);
                if (type && !type->empty()) {
                    name += " " + *type;
                }
                m_out.device("dimm", controller + " " + dimm, name);
                m_out.property("size", binarySize(*sizeMiB * 1024 * 1024));
                if (type) {
                    m_out.property("type", *type);
                }
                if (const auto label = m_root.read(path + "/dimm_label")) {
                    m_out.property("label", *label);
                }
                if (const auto location = m_root.read(path + "/dimm_location")) {
                    m_out.property("location", *location);
                }
                if (const auto mode = m_root.read(path + "/dimm_edac_mode")) {
                    m_out.property("error correction", *mode);
                }
            }
        }
    }

    void graphics()
    {
        m_out.section("Graphics");
        for (const PciFunction &function : m_pci) {
            if (homeOf(function) != PciHome::graphics) {
                continue;
            }
            pciDevice(function);
            const std::string base = "/sys/bus/pci/devices/" + function.address;
            if (const auto bootVga = m_root.read(base + "/boot_vga")) {
                m_out.property("boot display", *bootVga == "1" ? "yes" : "no");
            }
            // Display outputs of the cards driven by this function.
            for (const std::string &card : m_root.list("/sys/class/drm")) {
                if (card.rfind("card", 0) != 0 || card.find('-') != std::string::npos) {
                    continue;
                }
                const auto cardDevice = m_root.resolve("/sys/class/drm/" + card + "/device");
                if (!cardDevice || pciAncestor(*cardDevice) != function.address) {
                    continue;
                }
                for (const std::string &connector : m_root.list("/sys/class/drm")) {
                    if (connector.rfind(card + "-", 0) != 0) {
                        continue;
                    }
                    if (const auto status =
                            m_root.read("/sys/class/drm/" + connector + "/status")) {
                        m_out.property("output " + connector.substr(card.size() + 1), *status);
                    }
                }
            }
        }
    }

    void network()
    {
        m_out.section("Network");
        std::set<std::string> functionsWithInterfaces;
        struct Interface {
            std::string name;
            std::string path;
        };
        std::vector<Interface> interfaces;
        for (const std::string &name : m_root.list("/sys/class/net")) {
            const std::string classPath = "/sys/class/net/" + name;
            // Interfaces without a device are software: loopback, bridges, tunnels.
            if (!m_root.exists(classPath + "/device")) {
                continue;
            }
            const auto path = m_root.resolve(classPath);
            interfaces.push_back({name, path.value_or(classPath)});
            if (path) {
                if (const auto address = pciAncestor(*path); address && !usbAncestor(*path)) {
                    functionsWithInterfaces.insert(*address);
                }
            }
        }
        for (const Interface &interface : interfaces) {
            const std::string classPath = "/sys/class/net/" + interface.name;
            const bool wireless =
                m_root.exists(classPath + "/wireless") || m_root.exists(classPath + "/phy80211");
            const PciFunction *function = nullptr;
            const auto usbDevice = usbAncestor(interface.path);
            if (!usbDevice) {
                if (const auto address = pciAncestor(interface.path)) {
                    function = pciFunction(*address);
                }
            }
            std::string name;
            if (function != nullptr) {
                name = function->name;
            } else if (usbDevice) {
                name = usbName("/sys/bus/usb/devices/" + *usbDevice);
            } else {
                name = wireless ? "Wireless interface" : "Network interface";
            }
            m_out.device("net", interface.name, name);
            if (wireless) {
                m_out.property("type", "Wi-Fi");
            } else if (const auto type = m_root.readNumber(classPath + "/type")) {
                m_out.property("type", *type == 1    ? std::string("Ethernet")
                                       : *type == 32 ? std::string("InfiniBand")
                                                     : "link type " + decimal(*type));
            }
            if (const auto address = m_root.read(classPath + "/address")) {
                m_out.property("mac address", *address);
            }
            if (const auto state = m_root.read(classPath + "/operstate")) {
                m_out.property("link", *state);
                if (*state == "up") {
                    const auto speed = m_root.read(classPath + "/speed");
                    if (speed && !speed->empty() && speed->front() != '-' && *speed != "0") {
                        m_out.property("speed", *speed + " Mb/s");
                    }
                    const auto duplex = m_root.read(classPath + "/duplex");
                    if (duplex && *duplex != "unknown") {
                        m_out.property("duplex", *duplex);
                    }
                }
            }
            if (const auto mtu = m_root.read(classPath + "/mtu")) {
                m_out.property("mtu", *mtu);
            }
            if (const auto driver = driverOf(classPath)) {
                m_out.property("driver", *driver);
            }
            parentProperty(interface.path);
            if (function != nullptr) {
                pciIdentity(*function);
            }
        }
        // Network controllers with no interface (no driver, or switched off).
        for (const PciFunction &function : m_pci) {
            if (homeOf(function) == PciHome::network &&
                functionsWithInterfaces.count(function.address) == 0) {
                pciDevice(function);
            }
        }
    }

    // The PCI numbers of a device shown under its own name (an interface, a card).
    void pciIdentity(const PciFunction &function)
    {
        m_out.property("vendor-id", hex(function.vendor, 4));
        m_out.property("device-id", hex(function.device, 4));
        if (function.subVendor && function.subDevice &&
            (*function.subVendor != 0 || *function.subDevice != 0)) {
            m_out.property("subsystem-vendor-id", hex(*function.subVendor, 4));
            m_out.property("subsystem-id", hex(*function.subDevice, 4));
        }
    }

    static std::string transportOf(std::string_view name, std::string_view path)
    {
        const auto has = [&](std::string_view part) {
            return path.find(part) != std::string_view::npos;
        };
        if (name.rfind("nvme", 0) == 0 || has("/nvme/")) {
            return "NVMe";
        }
        if (name.rfind("mmcblk", 0) == 0 || has("/mmc_host/")) {
            return "MMC/SD";
        }
        if (usbAncestor(path)) {
            return "USB";
        }
        if (has("/virtio")) {
            return "virtio";
        }
        for (std::string_view part : components(path)) {
            if (part.substr(0, 3) == "ata" && isDecimal(part.substr(3))) {
                return "SATA";
            }
        }
        if (has("/host")) {
            return "SCSI";
        }
        return {};
    }

    void storage()
    {
        m_out.section("Storage");
        for (const PciFunction &function : m_pci) {
            if (homeOf(function) == PciHome::storage) {
                pciDevice(function);
            }
        }
        for (const std::string &disk : m_root.list("/sys/block")) {
            const std::string classPath = "/sys/block/" + disk;
            // Loop, RAM, compressed-swap and mapper devices have no device behind them.
            if (!m_root.exists(classPath + "/device")) {
                continue;
            }
            const std::string path = m_root.resolve(classPath).value_or(classPath);
            std::optional<std::string> model = m_root.read(classPath + "/device/model");
            if (!model && disk.rfind("mmcblk", 0) == 0) {
                // Memory cards carry a product name instead of a model.
                model = m_root.read(classPath + "/device/name");
            }
            // SCSI-like devices name their vendor next to the model; elsewhere
            // (virtio) a "vendor" file holds a number.
            const auto vendor = model ? m_root.read(classPath + "/device/vendor") : std::nullopt;
            std::string name;
            if (model && !model->empty()) {
                name = *model;
                // SCSI disks report the vendor separately, often as "ATA".
                if (vendor && !vendor->empty() && *vendor != "ATA" &&
                    model->rfind(*vendor, 0) != 0) {
                    name = *vendor + " " + *model;
                }
            } else if (const auto address = pciAncestor(path); address && !usbAncestor(path)) {
                if (const PciFunction *function = pciFunction(*address)) {
                    name = function->name;
                }
            }
            if (name.empty()) {
                name = "Disk";
            }
            m_out.device("disk", disk, name);
            if (model) {
                m_out.property("model", *model);
            }
            if (vendor && *vendor != "ATA") {
                m_out.property("vendor", *vendor);
            }
            const auto sectors = m_root.readNumber(classPath + "/size");
            const auto removable = m_root.read(classPath + "/removable");
            if (sectors && *sectors > 0) {
                // The kernel counts in 512-byte units whatever the drive's block size.
                m_out.property("size", decimalSize(*sectors * 512));
            } else if (removable && *removable == "1") {
                m_out.property("medium", "none inserted");
            }
            if (const auto rotational = m_root.read(classPath + "/queue/rotational")) {
                m_out.property("rotational", *rotational == "1" ? "yes" : "no");
            }
            if (removable) {
                m_out.property("removable", *removable == "1" ? "yes" : "no");
            }
            const std::string transport = transportOf(disk, path);
            if (!transport.empty()) {
                m_out.property("transport", transport);
            }
            std::optional<std::string> revision = m_root.read(classPath + "/device/firmware_rev");
            if (!revision) {
                revision = m_root.read(classPath + "/device/rev");
            }
            if (revision) {
                m_out.property("revision", *revision);
            }
            if (const auto blockSize = m_root.read(classPath + "/queue/logical_block_size")) {
                m_out.property("logical block size", *blockSize + " bytes");
            }
            if (const auto driver = driverOf(classPath)) {
                m_out.property("driver", *driver);
            }
            parentProperty(path);
        }
    }

    struct SoundCard {
        std::string driver;
        std::string shortName;
        std::string longName;
    };

    // /proc/asound/cards: " 0 [PCH            ]: HDA-Intel - HDA Intel PCH"
    // followed by an indented line with the long name.
    std::map<unsigned, SoundCard> soundCards()
    {
        std::map<unsigned, SoundCard> cards;
        const auto text = m_root.readAll("/proc/asound/cards", 1 << 20);
        if (!text) {
            return cards;
        }
        std::optional<unsigned> last;
        tooltext::LineReader lines(*text);
        std::string_view line;
        while (lines.next(line)) {
            const std::string_view trimmed = tooltext::trimAscii(line);
            std::size_t digits = 0;
            while (digits < trimmed.size() && trimmed[digits] >= '0' && trimmed[digits] <= '9') {
                ++digits;
            }
            const std::size_t marker = trimmed.find("]: ");
            if (digits > 0 && digits < 4 && marker != std::string_view::npos) {
                const unsigned index =
                    static_cast<unsigned>(std::stoul(std::string(trimmed.substr(0, digits))));
                const std::string_view rest = trimmed.substr(marker + 3);
                const std::size_t dash = rest.find(" - ");
                SoundCard card;
                card.driver =
                    std::string(dash == std::string_view::npos ? rest : rest.substr(0, dash));
                card.shortName =
                    std::string(dash == std::string_view::npos ? rest : rest.substr(dash + 3));
                cards[index] = card;
                last = index;
            } else if (last && !trimmed.empty()) {
                cards[*last].longName = std::string(trimmed);
                last.reset();
            }
        }
        return cards;
    }

    void audio()
    {
        m_out.section("Audio");
        for (const PciFunction &function : m_pci) {
            if (homeOf(function) == PciHome::audio) {
                pciDevice(function);
            }
        }
        const std::map<unsigned, SoundCard> cards = soundCards();
        for (const std::string &entry : m_root.list("/sys/class/sound")) {
            if (entry.rfind("card", 0) != 0) {
                continue;
            }
            const std::string number = entry.substr(4);
            if (number.size() > 9 || !isDecimal(number)) {
                continue;
            }
            const std::string classPath = "/sys/class/sound/" + entry;
            const std::string path = m_root.resolve(classPath).value_or(classPath);
            const auto found = cards.find(static_cast<unsigned>(std::stoul(number)));
            const auto id = m_root.read(classPath + "/id");
            std::string name;
            if (found != cards.end() && !tooltext::cleanValue(found->second.shortName).empty()) {
                name = found->second.shortName;
            } else {
                name = id.value_or("Sound card");
            }
            m_out.device("sound", entry, name);
            if (id) {
                m_out.property("card id", *id);
            }
            if (found != cards.end() && !found->second.longName.empty()) {
                m_out.property("description", found->second.longName);
            }
            // HD Audio codecs of this card: hwC<card>D<address>.
            for (const std::string &codec : m_root.list("/sys/class/sound")) {
                if (codec.rfind("hwC" + number + "D", 0) != 0) {
                    continue;
                }
                const std::string codecPath = "/sys/class/sound/" + codec;
                const auto vendorName = m_root.read(codecPath + "/vendor_name");
                const auto chipName = m_root.read(codecPath + "/chip_name");
                std::string codecName;
                if (vendorName && chipName) {
                    codecName = *vendorName + " " + *chipName;
                } else if (chipName) {
                    codecName = *chipName;
                } else if (const auto vendorId = m_root.readNumber(codecPath + "/vendor_id")) {
                    codecName = hex(*vendorId, 8);
                }
                m_out.property("codec", codecName);
            }
            if (const auto driver = driverOf(classPath)) {
                m_out.property("driver", *driver);
            }
            parentProperty(path);
        }
    }

    std::string usbName(const std::string &devicePath)
    {
        const auto vendor = m_root.readHex(devicePath + "/idVendor");
        const auto product = m_root.readHex(devicePath + "/idProduct");
        if (vendor && product) {
            const unsigned v = static_cast<unsigned>(*vendor);
            const unsigned p = static_cast<unsigned>(*product);
            const auto vendorName = m_ids.usbVendor(v);
            const auto productName = m_ids.usbProduct(v, p);
            if (vendorName && productName) {
                return *vendorName + " " + *productName;
            }
        }
        // The device's own strings.
        const auto manufacturer = m_root.read(devicePath + "/manufacturer");
        const auto productString = m_root.read(devicePath + "/product");
        if (productString && !productString->empty()) {
            if (manufacturer && !manufacturer->empty() &&
                productString->rfind(*manufacturer, 0) != 0) {
                return *manufacturer + " " + *productString;
            }
            return *productString;
        }
        if (vendor && product) {
            if (const auto vendorName = m_ids.usbVendor(static_cast<unsigned>(*vendor))) {
                return *vendorName + " device " + hex(*product, 4);
            }
            return "USB device " + hex(*vendor, 4).substr(2) + ":" + hex(*product, 4).substr(2);
        }
        return "USB device";
    }

    static std::string usbSpeed(const std::string &megabits)
    {
        if (megabits == "1.5") {
            return "1.5 Mb/s (Low Speed)";
        }
        if (megabits == "12") {
            return "12 Mb/s (Full Speed)";
        }
        if (megabits == "480") {
            return "480 Mb/s (High Speed)";
        }
        if (megabits == "5000") {
            return "5 Gb/s (SuperSpeed)";
        }
        if (megabits == "10000") {
            return "10 Gb/s (SuperSpeed+)";
        }
        if (megabits == "20000") {
            return "20 Gb/s (SuperSpeed+ 2x2)";
        }
        return megabits + " Mb/s";
    }

    void usb()
    {
        m_out.section("USB");
        for (const PciFunction &function : m_pci) {
            if (homeOf(function) == PciHome::usb) {
                pciDevice(function);
            }
        }
        const std::vector<std::string> entries = m_root.list("/sys/bus/usb/devices");
        for (const std::string &entry : entries) {
            // Interfaces ("1-2:1.0") are parts of the devices listed here.
            if (entry.find(':') != std::string::npos) {
                continue;
            }
            const std::string path = "/sys/bus/usb/devices/" + entry;
            m_out.device("usb", entry, usbName(path));
            const auto vendor = m_root.readHex(path + "/idVendor");
            const auto product = m_root.readHex(path + "/idProduct");
            if (vendor) {
                m_out.property("vendor-id", hex(*vendor, 4));
            }
            if (product) {
                m_out.property("product-id", hex(*product, 4));
            }
            if (const auto manufacturer = m_root.read(path + "/manufacturer")) {
                m_out.property("manufacturer", *manufacturer);
            }
            if (const auto productString = m_root.read(path + "/product")) {
                m_out.property("product", *productString);
            }
            if (const auto speed = m_root.read(path + "/speed")) {
                m_out.property("speed", usbSpeed(*speed));
            }
            if (const auto version = m_root.read(path + "/version")) {
                m_out.property("usb version", *version);
            }
            // What the interfaces are driven by: tells a mouse from a camera.
            std::vector<std::string> drivers;
            for (const std::string &interface : entries) {
                if (interface.rfind(entry + ":", 0) != 0) {
                    continue;
                }
                if (const auto driver =
                        m_root.linkName(joinPath("/sys/bus/usb/devices", interface) + "/driver")) {
                    if (std::find(drivers.begin(), drivers.end(), *driver) == drivers.end()) {
                        drivers.push_back(*driver);
                    }
                }
            }
            if (!drivers.empty()) {
                std::string joined;
                for (const std::string &driver : drivers) {
                    joined += (joined.empty() ? "" : ", ") + driver;
                }
                m_out.property("drivers", joined);
            }
            if (entry.rfind("usb", 0) == 0) {
                if (const auto resolved = m_root.resolve(path)) {
                    if (const auto address = pciAncestor(*resolved)) {
                        m_out.property("attached to", "pci " + *address);
                    }
                }
            }
        }
    }

    void battery()
    {
        m_out.section("Battery");
        for (const std::string &supply : m_root.list("/sys/class/power_supply")) {
            const std::string path = "/sys/class/power_supply/" + supply;
            const auto type = m_root.read(path + "/type");
            if (type == "Battery") {
                // Peripherals' batteries (a mouse, a pen) are not the machine's.
                if (m_root.read(path + "/scope") == "Device") {
                    continue;
                }
                const auto manufacturer = m_root.read(path + "/manufacturer");
                const auto model = m_root.read(path + "/model_name");
                std::string name;
                if (manufacturer && !manufacturer->empty()) {
                    name = *manufacturer;
                }
                if (model && !model->empty()) {
                    name += (name.empty() ? "" : " ") + *model;
                }
                m_out.device("power", supply, name.empty() ? "Battery" : name);
                batteryProperties(path, manufacturer, model);
            } else if (type == "Mains") {
                m_out.device("power", supply, "AC adapter");
                if (const auto online = m_root.read(path + "/online")) {
                    m_out.property("online", *online == "1" ? "yes" : "no");
                }
            }
        }
    }

    void batteryProperties(const std::string &path, const std::optional<std::string> &manufacturer,
                           const std::optional<std::string> &model)
    {
        if (manufacturer) {
            m_out.property("manufacturer", *manufacturer);
        }
        if (model) {
            m_out.property("model", *model);
        }
        if (const auto technology = m_root.read(path + "/technology")) {
            m_out.property("technology", *technology);
        }
        if (const auto status = m_root.read(path + "/status")) {
            m_out.property("status", *status);
        }
        if (const auto capacity = m_root.readNumber(path + "/capacity")) {
            m_out.property("charge", decimal(*capacity) + "%");
        }
        // Energy in µWh, or charge in µAh on batteries that count that way.
        std::optional<unsigned long long> full = m_root.readNumber(path + "/energy_full");
        std::optional<unsigned long long> design = m_root.readNumber(path + "/energy_full_design");
        std::string unit = "Wh";
        if (!full && !design) {
            full = m_root.readNumber(path + "/charge_full");
            design = m_root.readNumber(path + "/charge_full_design");
            unit = "Ah";
        }
        if (design && *design > 0) {
            m_out.property("design capacity",
                           fixed(static_cast<double>(*design) / 1e6, unit == "Wh" ? 1 : 2, unit));
        }
        if (full && *full > 0) {
            m_out.property("full charge capacity",
                           fixed(static_cast<double>(*full) / 1e6, unit == "Wh" ? 1 : 2, unit));
        }
        if (full && design && *design > 0) {
            m_out.property("health", decimal((*full * 100 + *design / 2) / *design) + "%");
        }
        if (const auto cycles = m_root.readNumber(path + "/cycle_count"); cycles && *cycles > 0) {
            m_out.property("cycle count", decimal(*cycles) + " cycles");
        }
        if (const auto voltage = m_root.readNumber(path + "/voltage_now");
            voltage && *voltage > 0) {
            m_out.property("voltage", fixed(static_cast<double>(*voltage) / 1e6, 2, "V"));
        }
    }

    void otherPci()
    {
        m_out.section("PCI Devices");
        for (const PciFunction &function : m_pci) {
            if (homeOf(function) == PciHome::other) {
                pciDevice(function);
            }
        }
    }

    void firmware()
    {
        m_out.section("Firmware");
        const bool uefi = m_root.isDirectory("/sys/firmware/efi");
        m_out.device("firmware", "boot", uefi ? "UEFI" : "Legacy BIOS");
        m_out.property("boot mode", uefi ? "UEFI" : "Legacy BIOS");
        if (uefi) {
            if (const auto bits = m_root.read("/sys/firmware/efi/fw_platform_size")) {
                m_out.property("uefi word size", *bits + "-bit");
            }
            const auto secureBoot = m_root.readAll(
                "/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c", 64);
            // Four bytes of attributes, then the one-byte value.
            if (secureBoot && secureBoot->size() >= 5) {
                m_out.property("secure boot", (*secureBoot)[4] == 1 ? "enabled" : "disabled");
            }
        }
        if (m_root.exists("/sys/firmware/dmi/tables/DMI")) {
            const bool readable =
                ::access(m_root.hostPath("/sys/firmware/dmi/tables/DMI").c_str(), R_OK) == 0;
            m_out.property("dmi tables", readable ? "present" : "present, readable by root only");
        } else {
            m_out.property("dmi tables", "not exposed by this system");
        }
        std::string tables;
        for (const std::string &table : m_root.list("/sys/firmware/acpi/tables")) {
            if (table == "data" || table == "dynamic") {
                continue;
            }
            tables += (tables.empty() ? "" : " ") + table;
        }
        if (!tables.empty()) {
            m_out.property("acpi tables", tables);
        }
        for (const std::string &tpm : m_root.list("/sys/class/tpm")) {
            if (const auto major = m_root.read("/sys/class/tpm/" + tpm + "/tpm_version_major")) {
                m_out.property("tpm",
                               *major == "2" ? std::string("TPM 2.0") : "TPM " + *major + ".x");
            }
        }
    }
};

} // namespace

std::string deviceListing(const SysRoot &root, IdDatabase &ids)
{
    return Scanner(root, ids).run();
}
