#include "tool/sections/bluetooth.h"

#include "tool/sections/sectionhelpers.h"

#include <cctype>
#include <string>
#include <vector>

namespace devices {

namespace {

constexpr std::string_view classDirectory = "/sys/class/bluetooth";

// "hci0", not a connection ("hci0:256") listed beside it.
bool isController(std::string_view name)
{
    return name.size() > 3 && name.substr(0, 3) == "hci" && isDecimal(name.substr(3));
}

// "00:1a:7d:da:71:13", the only shape a controller's address has.
bool isAddress(std::string_view text)
{
    if (text.size() != 17) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (i % 3 == 2 ? c != ':' : std::isxdigit(c) == 0) {
            return false;
        }
    }
    return true;
}

// A controller on a serial line hangs under a serdev device ("serial0-0").
bool onSerialLine(std::string_view devicePath)
{
    for (std::string_view part : components(devicePath)) {
        const std::size_t dash = part.find('-');
        if (part.size() > 6 && part.substr(0, 6) == "serial" && dash != std::string_view::npos &&
            isDecimal(part.substr(6, dash - 6)) && isDecimal(part.substr(dash + 1))) {
            return true;
        }
        if (part.size() > 3 && part.substr(0, 3) == "tty") {
            return true;
        }
    }
    return false;
}

} // namespace

void BluetoothSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const std::string &entry : root.list(classDirectory)) {
        if (!isController(entry)) {
            continue;
        }
        const std::string classPath = joinPath(classDirectory, entry);
        // Without its place in the device tree a controller cannot be named.
        const auto devicePath = root.resolve(classPath);
        const auto usb = devicePath ? usbAncestor(*devicePath) : std::nullopt;
        const bool serial = devicePath && !usb && onSerialLine(*devicePath);
        const auto pciAddress =
            devicePath && !usb && !serial ? pciAncestor(*devicePath) : std::nullopt;
        const PciFunction *pci = pciAddress ? findPciFunction(context.pci, *pciAddress) : nullptr;
        const std::string usbPath = usb ? "/sys/bus/usb/devices/" + *usb : std::string();

        std::string name = "Bluetooth controller";
        if (usb) {
            name = usbName(root, context.ids, usbPath);
        } else if (pci != nullptr) {
            name = pci->name;
        }
        out.device("bluetooth", entry, name);
        if (usb) {
            out.property("bus", "USB");
            if (const auto vendor = root.readHex(usbPath + "/idVendor")) {
                out.property("vendor-id", hex(*vendor, 4));
            }
            if (const auto product = root.readHex(usbPath + "/idProduct")) {
                out.property("product-id", hex(*product, 4));
            }
        } else if (serial) {
            out.property("bus", "UART");
        } else if (pci != nullptr) {
            out.property("bus", "PCI");
            pciIdentity(out, *pci);
        }
        if (const auto driver = driverOf(root, classPath)) {
            out.property("driver", *driver);
        }
        if (const auto address = root.read(classPath + "/address", 64);
            address && isAddress(*address)) {
            out.property("bluetooth address", *address);
        }
        if (devicePath) {
            parentProperty(out, *devicePath);
        }
    }
}

} // namespace devices
