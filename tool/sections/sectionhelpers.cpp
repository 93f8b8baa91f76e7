#include "tool/sections/sectionhelpers.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <utility>

namespace devices {

namespace {

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

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
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

std::string pciName(IdDatabase &ids, unsigned vendor, unsigned device)
{
    const auto vendorName = ids.pciVendor(vendor);
    const auto deviceName = ids.pciDevice(vendor, device);
    if (vendorName && deviceName) {
        return *vendorName + " " + *deviceName;
    }
    if (vendorName) {
        return *vendorName + " device " + hex(device, 4);
    }
    return "PCI device " + hex(vendor, 4).substr(2) + ":" + hex(device, 4).substr(2);
}

void pciProperties(Listing &out, IdDatabase &ids, const PciFunction &function)
{
    pciIdentity(out, function);
    if (function.revision) {
        out.property("revision-id", hex(*function.revision, 2));
    }
    out.property("class-code", hex(function.classCode, 6));
    if (const auto name = ids.pciClass(function.classCode >> 8)) {
        out.property("class", *name);
    }
    if (const auto name = ids.pciVendor(function.vendor)) {
        out.property("vendor", *name);
    }
    if (function.subVendor && function.subDevice) {
        if (const auto name = ids.pciSubsystem(function.vendor, function.device,
                                               *function.subVendor, *function.subDevice)) {
            const auto subVendorName = ids.pciVendor(*function.subVendor);
            out.property("subsystem", subVendorName ? *subVendorName + " " + *name : *name);
        }
    }
    if (function.driver) {
        out.property("driver", *function.driver);
    }
    if (function.link) {
        out.property("link", *function.link);
    }
    if (function.linkNote) {
        out.property("link note", *function.linkNote);
    }
}

struct PcieLink {
    std::string rate;       // "16.0 GT/s"
    std::string generation; // "4.0"
    unsigned width = 0;
};

// sysfs writes "16.0 GT/s PCIe" (older kernels "5 GT/s") and "Unknown" when
// the link is down; the width is a lane count, 0 when down.
std::optional<PcieLink> pcieLink(const SysRoot &root, const std::string &base, const char *which)
{
    const auto speed = root.read(base + "/" + which + "_link_speed", 64);
    const auto width = root.readNumber(base + "/" + which + "_link_width");
    if (!speed || !width || *width == 0 || *width > 32) {
        return std::nullopt;
    }
    static const std::pair<const char *, const char *> generations[] = {
        {"2.5", "1.0"},  {"5.0", "2.0"},  {"5", "2.0"},   {"8.0", "3.0"},
        {"16.0", "4.0"}, {"32.0", "5.0"}, {"64.0", "6.0"}};
    const std::string number = speed->substr(0, speed->find(' '));
    for (const auto &[rate, generation] : generations) {
        if (number == rate) {
            const std::string shown = number == "5" ? "5.0" : number;
            return PcieLink{shown + " GT/s", generation, static_cast<unsigned>(*width)};
        }
    }
    return std::nullopt;
}

std::string pcieText(const PcieLink &link)
{
    return "PCIe " + link.generation + " x" + std::to_string(link.width);
}

void readPcieLink(const SysRoot &root, const std::string &base, PciFunction &function)
{
    const auto current = pcieLink(root, base, "current");
    if (!current) {
        return;
    }
    const auto max = pcieLink(root, base, "max");
    if (!max || (max->generation == current->generation && max->width == current->width)) {
        function.link = pcieText(*current) + " (" + current->rate + ")";
    } else {
        function.link = pcieText(*current) + ", capable of " + pcieText(*max);
    }
    // A slower rate alone is the link saving power; fewer lanes than both the
    // device and its port allow is a seating or slot problem.
    const auto path = root.resolve(base);
    if (!max || !path || current->width >= max->width) {
        return;
    }
    const std::string parent = path->substr(0, path->rfind('/'));
    const std::string parentName = parent.substr(parent.rfind('/') + 1);
    if (parentName.find(':') == std::string::npos || parentName.find('.') == std::string::npos) {
        return;
    }
    const auto port = pcieLink(root, parent, "max");
    if (port && current->width < port->width) {
        function.linkNote = "runs at x" + std::to_string(current->width) +
                            " although the device and its port both allow x" +
                            std::to_string(std::min(max->width, port->width));
    }
}

} // namespace

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

bool isDecimal(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
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

// Only names below a USB root hub ("usb1") count, so "0-0050" on an I2C bus
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

std::vector<PciFunction> readPciFunctions(const SysRoot &root, IdDatabase &ids)
{
    std::vector<PciFunction> functions;
    for (const std::string &address : root.list("/sys/bus/pci/devices")) {
        const std::string base = joinPath("/sys/bus/pci/devices", address);
        const auto vendor = root.readNumber(base + "/vendor");
        const auto device = root.readNumber(base + "/device");
        const auto classCode = root.readNumber(base + "/class");
        if (!vendor || !device || !classCode) {
            continue;
        }
        PciFunction function;
        function.address = address;
        function.vendor = static_cast<unsigned>(*vendor & 0xFFFF);
        function.device = static_cast<unsigned>(*device & 0xFFFF);
        function.classCode = static_cast<unsigned>(*classCode & 0xFFFFFF);
        if (const auto value = root.readNumber(base + "/subsystem_vendor")) {
            function.subVendor = static_cast<unsigned>(*value & 0xFFFF);
        }
        if (const auto value = root.readNumber(base + "/subsystem_device")) {
            function.subDevice = static_cast<unsigned>(*value & 0xFFFF);
        }
        if (const auto value = root.readNumber(base + "/revision")) {
            function.revision = static_cast<unsigned>(*value & 0xFF);
        }
        function.driver = root.linkName(base + "/driver");
        function.name = pciName(ids, function.vendor, function.device);
        readPcieLink(root, base, function);
        functions.push_back(std::move(function));
    }
    // Fixed-width hex addresses: plain order is bus order.
    std::sort(functions.begin(), functions.end(),
              [](const PciFunction &a, const PciFunction &b) { return a.address < b.address; });
    return functions;
}

const PciFunction *findPciFunction(const std::vector<PciFunction> &functions,
                                   std::string_view address)
{
    for (const PciFunction &function : functions) {
        if (function.address == address) {
            return &function;
        }
    }
    return nullptr;
}

void pciDevice(Listing &out, IdDatabase &ids, const PciFunction &function)
{
    out.device("pci", function.address, function.name);
    pciProperties(out, ids, function);
}

void pciIdentity(Listing &out, const PciFunction &function)
{
    out.property("vendor-id", hex(function.vendor, 4));
    out.property("device-id", hex(function.device, 4));
    if (function.subVendor && function.subDevice &&
        (*function.subVendor != 0 || *function.subDevice != 0)) {
        out.property("subsystem-vendor-id", hex(*function.subVendor, 4));
        out.property("subsystem-id", hex(*function.subDevice, 4));
    }
}

void parentProperty(Listing &out, std::string_view devicePath)
{
    if (const auto usbDevice = usbAncestor(devicePath)) {
        out.property("attached to", "usb " + *usbDevice);
    } else if (const auto address = pciAncestor(devicePath)) {
        out.property("attached to", "pci " + *address);
    }
}

std::optional<std::string> driverOf(const SysRoot &root, std::string_view classPath)
{
    return root.linkName(joinPath(classPath, "device/driver"));
}

std::string usbName(const SysRoot &root, IdDatabase &ids, const std::string &devicePath)
{
    const auto vendor = root.readHex(devicePath + "/idVendor");
    const auto product = root.readHex(devicePath + "/idProduct");
    if (vendor && product) {
        const unsigned v = static_cast<unsigned>(*vendor);
        const unsigned p = static_cast<unsigned>(*product);
        const auto vendorName = ids.usbVendor(v);
        const auto productName = ids.usbProduct(v, p);
        if (vendorName && productName) {
            return *vendorName + " " + *productName;
        }
    }
    // The device's own strings.
    const auto manufacturer = root.read(devicePath + "/manufacturer");
    const auto productString = root.read(devicePath + "/product");
    if (productString && !productString->empty()) {
        if (manufacturer && !manufacturer->empty() && productString->rfind(*manufacturer, 0) != 0) {
            return *manufacturer + " " + *productString;
        }
        return *productString;
    }
    if (vendor && product) {
        if (const auto vendorName = ids.usbVendor(static_cast<unsigned>(*vendor))) {
            return *vendorName + " device " + hex(*product, 4);
        }
        return "USB device " + hex(*vendor, 4).substr(2) + ":" + hex(*product, 4).substr(2);
    }
    return "USB device";
}

} // namespace devices
