#include "tool/sections/network.h"

#include "tool/sections/sectionhelpers.h"
#include "tool/sections/sensors.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

namespace devices {

namespace {

// The Wi-Fi driver's own temperature chip ("iwlwifi_1"). It hangs under the
// thermal zone the driver registers, which the kernel does not link to the
// card, so a chip with no PCI device of its own goes to the first card the
// same driver runs.
void wifiSensors(const SysRoot &root, Listing &out, const std::string &interfacePath,
                 const std::string &classPath)
{
    const auto card = pciAncestor(interfacePath);
    const auto driver = driverOf(root, classPath);
    bool firstOfItsDriver = driver && *driver == "iwlwifi";
    if (firstOfItsDriver) {
        for (const std::string &other : root.list("/sys/class/net")) {
            const std::string otherPath = "/sys/class/net/" + other;
            if (otherPath == classPath) {
                break;
            }
            if (driverOf(root, otherPath) == driver) {
                firstOfItsDriver = false;
            }
        }
    }
    for (const std::string &chip : hwmonChips(root, {"iwlwifi*"})) {
        std::optional<std::string> chipCard;
        for (const std::string &path : {chip, chip + "/device"}) {
            if (const auto resolved = root.resolve(path); resolved && !chipCard) {
                chipCard = pciAncestor(*resolved);
            }
        }
        if (chipCard ? chipCard == card : firstOfItsDriver) {
            sensorReadings(root, out, chip);
        }
    }
}

} // namespace

void NetworkSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    std::set<std::string> functionsWithInterfaces;
    struct Interface {
        std::string name;
        std::string path;
    };
    std::vector<Interface> interfaces;
    for (const std::string &name : root.list("/sys/class/net")) {
        const std::string classPath = "/sys/class/net/" + name;
        // Interfaces without a device are software: loopback, bridges, tunnels.
        if (!root.exists(classPath + "/device")) {
            continue;
        }
        const auto path = root.resolve(classPath);
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
            root.exists(classPath + "/wireless") || root.exists(classPath + "/phy80211");
        const PciFunction *function = nullptr;
        const auto usbDevice = usbAncestor(interface.path);
        if (!usbDevice) {
            if (const auto address = pciAncestor(interface.path)) {
                function = findPciFunction(context.pci, *address);
            }
        }
        std::string name;
        if (function != nullptr) {
            name = function->name;
        } else if (usbDevice) {
            name = usbName(root, context.ids, "/sys/bus/usb/devices/" + *usbDevice);
        } else {
            name = wireless ? "Wireless interface" : "Network interface";
        }
        out.device("net", interface.name, name);
        if (wireless) {
            out.property("type", "Wi-Fi");
        } else if (const auto type = root.readNumber(classPath + "/type")) {
            out.property("type", *type == 1    ? std::string("Ethernet")
                                 : *type == 32 ? std::string("InfiniBand")
                                               : "link type " + decimal(*type));
        }
        if (const auto address = root.read(classPath + "/address")) {
            out.property("mac address", *address);
        }
        if (const auto state = root.read(classPath + "/operstate")) {
            out.property("link", *state);
            if (*state == "up") {
                const auto speed = root.read(classPath + "/speed");
                if (speed && !speed->empty() && speed->front() != '-' && *speed != "0") {
                    out.property("speed", *speed + " Mb/s");
                }
                const auto duplex = root.read(classPath + "/duplex");
                if (duplex && *duplex != "unknown") {
                    out.property("duplex", *duplex);
                }
            }
        }
        if (const auto mtu = root.read(classPath + "/mtu")) {
            out.property("mtu", *mtu);
        }
        if (const auto driver = driverOf(root, classPath)) {
            out.property("driver", *driver);
        }
        parentProperty(out, interface.path);
        if (function != nullptr) {
            pciIdentity(out, *function);
        }
        if (wireless) {
            wifiSensors(root, out, interface.path, classPath);
        }
    }
    // Network controllers with no interface (no driver, or switched off).
    for (const PciFunction &function : context.pci) {
        if (homeOf(function) == PciHome::network &&
            functionsWithInterfaces.count(function.address) == 0) {
            pciDevice(out, context.ids, function);
        }
    }
}

} // namespace devices
