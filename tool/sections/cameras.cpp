#include "tool/sections/cameras.h"

#include "tool/sections/sectionhelpers.h"

#include <algorithm>
#include <string>
#include <vector>

namespace devices {

namespace {

constexpr std::string_view classDirectory = "/sys/class/video4linux";

bool isVideoNode(std::string_view name)
{
    return name.size() > 5 && name.substr(0, 5) == "video" && isDecimal(name.substr(5));
}

} // namespace

void CamerasSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    // The devices already listed: a capture unit (a PCI image processor, a
    // tuner card) gives each of its inputs a node of its own, all first ones.
    std::vector<std::string> listed;
    for (const std::string &entry : root.list(classDirectory)) {
        if (!isVideoNode(entry)) {
            continue;
        }
        const std::string classPath = joinPath(classDirectory, entry);
        // A device makes several nodes (its metadata, a second stream); the
        // first of them stands for it. An unreadable index hides nothing.
        if (const auto index = root.readNumber(classPath + "/index"); index && *index != 0) {
            continue;
        }
        if (const auto owner = root.resolve(classPath + "/device")) {
            if (std::find(listed.begin(), listed.end(), *owner) != listed.end()) {
                continue;
            }
            listed.push_back(*owner);
        }
        const auto devicePath = root.resolve(classPath);
        const auto usb = devicePath ? usbAncestor(*devicePath) : std::nullopt;
        const auto pciAddress = devicePath && !usb ? pciAncestor(*devicePath) : std::nullopt;
        const PciFunction *pci = pciAddress ? findPciFunction(context.pci, *pciAddress) : nullptr;
        std::string device;
        if (usb) {
            device = usbName(root, context.ids, "/sys/bus/usb/devices/" + *usb);
        } else if (pci != nullptr) {
            device = pci->name;
        }
        const auto name = root.read(classPath + "/name", 256);
        const bool named = name && !name->empty();
        out.device("camera", entry,
                   named ? *name : (device.empty() ? std::string("Video device") : device));
        out.property("type", "video capture");
        out.property("device", device);
        if (const auto driver = driverOf(root, classPath)) {
            out.property("driver", *driver);
        }
        if (devicePath) {
            parentProperty(out, *devicePath);
        }
    }
}

} // namespace devices
