#include "tool/sections/firmware.h"

#include <string>
#include <unistd.h>

namespace devices {

void FirmwareSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    const bool uefi = root.isDirectory("/sys/firmware/efi");
    out.device("firmware", "boot", uefi ? "UEFI" : "Legacy BIOS");
    out.property("boot mode", uefi ? "UEFI" : "Legacy BIOS");
    if (uefi) {
        if (const auto bits = root.read("/sys/firmware/efi/fw_platform_size")) {
            out.property("uefi word size", *bits + "-bit");
        }
        const auto secureBoot = root.readAll(
            "/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c", 64);
        // Four bytes of attributes, then the one-byte value.
        if (secureBoot && secureBoot->size() >= 5) {
            out.property("secure boot", (*secureBoot)[4] == 1 ? "enabled" : "disabled");
        }
    }
    if (root.exists("/sys/firmware/dmi/tables/DMI")) {
        const bool readable =
            ::access(root.hostPath("/sys/firmware/dmi/tables/DMI").c_str(), R_OK) == 0;
        out.property("dmi tables", readable ? "present" : "present, readable by root only");
    } else {
        out.property("dmi tables", "not exposed by this system");
    }
    std::string tables;
    for (const std::string &table : root.list("/sys/firmware/acpi/tables")) {
        if (table == "data" || table == "dynamic") {
            continue;
        }
        tables += (tables.empty() ? "" : " ") + table;
    }
    if (!tables.empty()) {
        out.property("acpi tables", tables);
    }
    for (const std::string &tpm : root.list("/sys/class/tpm")) {
        if (const auto major = root.read("/sys/class/tpm/" + tpm + "/tpm_version_major")) {
            out.property("tpm", *major == "2" ? std::string("TPM 2.0") : "TPM " + *major + ".x");
        }
    }
}

} // namespace devices
