#include "tool/sections/storage.h"

#include "tool/sections/sectionhelpers.h"
#include "tool/sections/sensors.h"

#include <cctype>
#include <optional>
#include <string>
#include <string_view>

namespace devices {

namespace {

std::string transportOf(std::string_view name, std::string_view path)
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

// The ata port's number in a SATA disk's device path ("ata3" gives 3).
std::optional<std::string> ataPort(std::string_view path)
{
    for (std::string_view part : components(path)) {
        if (part.substr(0, 3) == "ata" && part.size() > 3 && isDecimal(part.substr(3))) {
            return std::string(part.substr(3));
        }
    }
    return std::nullopt;
}

// The speed the port's link was negotiated at, "6.0 Gbps"; "<unknown>" while
// it is down.
std::optional<std::string> sataSpeed(const SysRoot &root, std::string_view diskPath)
{
    const auto port = ataPort(diskPath);
    if (!port) {
        return std::nullopt;
    }
    const std::string speedFile = "/sys/class/ata_link/link" + *port + "/sata_spd";
    const auto speed = root.read(speedFile, 32);
    if (!speed || speed->size() < 6 || speed->size() >= 32 ||
        !std::isdigit(static_cast<unsigned char>(speed->front())) || !speed->ends_with(" Gbps")) {
        return std::nullopt;
    }
    return speed;
}

// One byte of the eMMC's health report as the kernel prints it: "0x01".
std::optional<unsigned> emmcByte(std::string_view text)
{
    if (text.size() != 4 || text.substr(0, 2) != "0x" ||
        !std::isxdigit(static_cast<unsigned char>(text[2])) ||
        !std::isxdigit(static_cast<unsigned char>(text[3]))) {
        return std::nullopt;
    }
    return static_cast<unsigned>(std::stoul(std::string(text.substr(2)), nullptr, 16));
}

// Device life time estimate: 0x01 is 0-10% used, each step ten points more,
// 0x0b past the rated life; 0x00 is not reported.
std::optional<std::string> lifeUsed(unsigned estimate)
{
    if (estimate >= 1 && estimate <= 10) {
        return std::to_string((estimate - 1) * 10) + "-" + std::to_string(estimate * 10) + "% used";
    }
    if (estimate == 11) {
        return std::string("past its rated life");
    }
    return std::nullopt;
}

void emmcWear(const SysRoot &root, Listing &out, const std::string &device)
{
    if (const auto lifeTime = root.read(device + "/life_time", 32)) {
        const auto blank = lifeTime->find(' ');
        if (blank != std::string::npos) {
            const auto typeA = emmcByte(std::string_view(*lifeTime).substr(0, blank));
            const auto typeB = emmcByte(std::string_view(*lifeTime).substr(blank + 1));
            if (const auto used = typeA ? lifeUsed(*typeA) : std::nullopt) {
                out.property("wear (type A)", *used);
            }
            if (const auto used = typeB ? lifeUsed(*typeB) : std::nullopt) {
                out.property("wear (type B)", *used);
            }
        }
    }
    if (const auto eol = root.read(device + "/pre_eol_info", 32)) {
        // How much of the blocks kept in reserve for worn ones is spent.
        static constexpr const char *states[] = {nullptr, "normal",
                                                 "warning (80% of reserved blocks used)",
                                                 "urgent (90% of reserved blocks used)"};
        if (const auto state = emmcByte(*eol); state && *state >= 1 && *state <= 3) {
            out.property("end of life", states[*state]);
        }
    }
}

} // namespace

void StorageSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const PciFunction &function : context.pci) {
        if (homeOf(function) == PciHome::storage) {
            pciDevice(out, context.ids, function);
        }
    }
    for (const std::string &disk : root.list("/sys/block")) {
        const std::string classPath = "/sys/block/" + disk;
        // Loop, RAM, compressed-swap and mapper devices have no device behind them.
        if (!root.exists(classPath + "/device")) {
            continue;
        }
        const std::string path = root.resolve(classPath).value_or(classPath);
        std::optional<std::string> model = root.read(classPath + "/device/model");
        if (!model && disk.rfind("mmcblk", 0) == 0) {
            // Memory cards carry a product name instead of a model.
            model = root.read(classPath + "/device/name");
        }
        // SCSI-like devices name their vendor next to the model; elsewhere
        // (virtio) a "vendor" file holds a number.
        const auto vendor = model ? root.read(classPath + "/device/vendor") : std::nullopt;
        std::string name;
        if (model && !model->empty()) {
            name = *model;
            // SCSI disks report the vendor separately, often as "ATA".
            if (vendor && !vendor->empty() && *vendor != "ATA" && model->rfind(*vendor, 0) != 0) {
                name = *vendor + " " + *model;
            }
        } else if (const auto address = pciAncestor(path); address && !usbAncestor(path)) {
            if (const PciFunction *function = findPciFunction(context.pci, *address)) {
                name = function->name;
            }
        }
        if (name.empty()) {
            name = "Disk";
        }
        out.device("disk", disk, name);
        if (model) {
            out.property("model", *model);
        }
        if (vendor && *vendor != "ATA") {
            out.property("vendor", *vendor);
        }
        const auto sectors = root.readNumber(classPath + "/size");
        const auto removable = root.read(classPath + "/removable");
        if (sectors && *sectors > 0) {
            // The kernel counts in 512-byte units whatever the drive's block size.
            out.property("size", decimalSize(*sectors * 512));
        } else if (removable && *removable == "1") {
            out.property("medium", "none inserted");
        }
        if (const auto rotational = root.read(classPath + "/queue/rotational")) {
            out.property("rotational", *rotational == "1" ? "yes" : "no");
        }
        if (removable) {
            out.property("removable", *removable == "1" ? "yes" : "no");
        }
        const std::string transport = transportOf(disk, path);
        if (!transport.empty()) {
            out.property("transport", transport);
        }
        std::optional<std::string> revision = root.read(classPath + "/device/firmware_rev");
        if (!revision) {
            revision = root.read(classPath + "/device/rev");
        }
        if (revision) {
            out.property("revision", *revision);
        }
        if (const auto blockSize = root.read(classPath + "/queue/logical_block_size")) {
            out.property("logical block size", *blockSize + " bytes");
        }
        if (const auto driver = driverOf(root, classPath)) {
            out.property("driver", *driver);
        }
        if (transport == "SATA") {
            if (const auto speed = sataSpeed(root, path)) {
                out.property("sata link", *speed);
            }
        }
        if (transport == "MMC/SD") {
            emmcWear(root, out, classPath + "/device");
        }
        if (transport == "NVMe") {
            if (const auto serial = root.read(classPath + "/device/serial", 64);
                serial && !serial->empty() && serial->size() < 64) {
                out.property("serial number", *serial);
            }
        }
        // The disk's own sensor hangs below the device it serves: the NVMe
        // controller, or the SCSI device for drivetemp.
        if (const auto controller = root.resolve(classPath + "/device")) {
            for (const std::string &chip : hwmonChips(root, {"nvme", "drivetemp"})) {
                const auto chipPath = root.resolve(chip);
                if (chipPath && chipPath->rfind(*controller + "/", 0) == 0) {
                    sensorReadings(root, out, chip);
                }
            }
        }
        parentProperty(out, path);
    }
}

} // namespace devices
