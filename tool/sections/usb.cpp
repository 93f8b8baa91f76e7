#include "tool/sections/usb.h"

#include "tool/sections/sectionhelpers.h"

#include <algorithm>
#include <string>
#include <vector>

namespace devices {

namespace {

std::string usbSpeed(const std::string &megabits)
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

} // namespace

void UsbSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const PciFunction &function : context.pci) {
        if (homeOf(function) == PciHome::usb) {
            pciDevice(out, context.ids, function);
        }
    }
    const std::vector<std::string> entries = root.list("/sys/bus/usb/devices");
    for (const std::string &entry : entries) {
        // Interfaces ("1-2:1.0") are parts of the devices listed here.
        if (entry.find(':') != std::string::npos) {
            continue;
        }
        const std::string path = "/sys/bus/usb/devices/" + entry;
        out.device("usb", entry, usbName(root, context.ids, path));
        const auto vendor = root.readHex(path + "/idVendor");
        const auto product = root.readHex(path + "/idProduct");
        if (vendor) {
            out.property("vendor-id", hex(*vendor, 4));
        }
        if (product) {
            out.property("product-id", hex(*product, 4));
        }
        if (const auto manufacturer = root.read(path + "/manufacturer")) {
            out.property("manufacturer", *manufacturer);
        }
        if (const auto productString = root.read(path + "/product")) {
            out.property("product", *productString);
        }
        if (const auto speed = root.read(path + "/speed")) {
            out.property("speed", usbSpeed(*speed));
        }
        if (const auto version = root.read(path + "/version")) {
            out.property("usb version", *version);
        }
        // What the interfaces are driven by: tells a mouse from a camera.
        std::vector<std::string> drivers;
        for (const std::string &interface : entries) {
            if (interface.rfind(entry + ":", 0) != 0) {
                continue;
            }
            if (const auto driver =
                    root.linkName(joinPath("/sys/bus/usb/devices", interface) + "/driver")) {
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
            out.property("drivers", joined);
        }
        if (entry.rfind("usb", 0) == 0) {
            if (const auto resolved = root.resolve(path)) {
                if (const auto address = pciAncestor(*resolved)) {
                    out.property("attached to", "pci " + *address);
                }
            }
        }
    }
}

} // namespace devices
