#include "tool/sections/graphics.h"

#include "tool/sections/sectionhelpers.h"
#include "tool/sections/sensors.h"

#include <string>

namespace devices {

void GraphicsSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const PciFunction &function : context.pci) {
        if (homeOf(function) != PciHome::graphics) {
            continue;
        }
        pciDevice(out, context.ids, function);
        const std::string base = "/sys/bus/pci/devices/" + function.address;
        if (const auto bootVga = root.read(base + "/boot_vga")) {
            out.property("boot display", *bootVga == "1" ? "yes" : "no");
        }
        if (const auto vram = root.readNumber(base + "/mem_info_vram_total"); vram && *vram > 0) {
            out.property("video memory", binarySize(*vram));
        }
        for (const std::string &chip :
             hwmonChips(root, {"amdgpu", "nouveau", "radeon", "i915", "xe"})) {
            const auto chipDevice = root.resolve(chip + "/device");
            if (chipDevice && pciAncestor(*chipDevice) == function.address) {
                sensorReadings(root, out, chip);
            }
        }
        // Display outputs of the cards driven by this function.
        for (const std::string &card : root.list("/sys/class/drm")) {
            if (card.rfind("card", 0) != 0 || card.find('-') != std::string::npos) {
                continue;
            }
            const auto cardDevice = root.resolve("/sys/class/drm/" + card + "/device");
            if (!cardDevice || pciAncestor(*cardDevice) != function.address) {
                continue;
            }
            for (const std::string &connector : root.list("/sys/class/drm")) {
                if (connector.rfind(card + "-", 0) != 0) {
                    continue;
                }
                if (const auto status = root.read("/sys/class/drm/" + connector + "/status")) {
                    out.property("output " + connector.substr(card.size() + 1), *status);
                }
            }
        }
    }
}

} // namespace devices
