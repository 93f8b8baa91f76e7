#include "tool/sections/platform.h"

#include "tool/firmwarerecords.h"
#include "tool/sections/sensors.h"
#include "tool/text.h"

#include <algorithm>
#include <optional>
#include <string>
#include <sys/utsname.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace devices {

namespace {

std::optional<std::string> hypervisorName(const SysRoot &root)
{
    if (const auto type = root.read("/sys/hypervisor/type")) {
        if (!type->empty()) {
            return *type;
        }
    }
    if (!root.isRealRoot()) {
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

} // namespace

// The model of the machine: what the firmware tables' world-readable part or
// the device tree say.
void PlatformSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    const auto vendor = root.read("/sys/class/dmi/id/sys_vendor");
    const auto product = root.read("/sys/class/dmi/id/product_name");
    std::optional<std::string> model = root.read("/sys/firmware/devicetree/base/model");
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
    out.device("platform", "machine", name);
    if (vendor) {
        out.property("manufacturer", *vendor);
    }
    if (product) {
        out.property("model", *product);
    }
    if (const auto family = root.read("/sys/class/dmi/id/product_family")) {
        out.property("family", *family);
    }
    if (model && (!product || *model != *product)) {
        out.property("device tree model", *model);
    }
    if (const auto type = root.readNumber("/sys/class/dmi/id/chassis_type")) {
        out.property("chassis", chassisTypeName(static_cast<unsigned>(*type)));
    }
    std::optional<std::string> architecture = root.read("/proc/sys/kernel/arch");
    if (!architecture && root.isRealRoot()) {
        utsname names{};
        if (::uname(&names) == 0) {
            architecture = names.machine;
        }
    }
    if (architecture) {
        out.property("architecture", *architecture);
    }
    if (const auto hypervisor = hypervisorName(root)) {
        out.property("hypervisor", *hypervisor);
    }
    // The firmware's thermal zones and the board's Super I/O chip measure the
    // machine as a whole, not one device in it.
    for (const std::string &chip :
         hwmonChips(root, {"acpitz", "nct6*", "nct7*", "it8*", "f71*", "f81*", "w83*", "sch56*"})) {
        sensorReadings(root, out, chip);
    }
}

} // namespace devices
