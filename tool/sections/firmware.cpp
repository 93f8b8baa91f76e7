#include "tool/sections/firmware.h"

#include "tool/sections/sectionhelpers.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace devices {

namespace {

// A one-byte UEFI global variable: four bytes of attributes, then the value.
// Any other size, or a value other than 0 or 1, is not what the firmware
// writes for it, so nothing is said rather than a guess.
std::optional<bool> efiFlag(const SysRoot &root, std::string_view name)
{
    const auto bytes = root.readAll("/sys/firmware/efi/efivars/" + std::string(name) +
                                        "-8be4df61-93ca-11d2-aa0d-00e098032b8c",
                                    64);
    if (!bytes || bytes->size() != 5 || static_cast<unsigned char>((*bytes)[4]) > 1) {
        return std::nullopt;
    }
    return (*bytes)[4] == 1;
}

// An ACPI or PNP id ("MSFT0101", "IFX0102"): letters and digits only.
std::optional<std::string> plainId(std::optional<std::string> text)
{
    if (!text || text->empty() || text->size() > 16 ||
        !std::all_of(text->begin(), text->end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; })) {
        return std::nullopt;
    }
    return text;
}

// The firmware id of the device a TPM hangs under: its ACPI node's hid, else
// the id in its modalias ("acpi:MSFT0101:"), else its PNP id.
std::optional<std::string> tpmDeviceId(const SysRoot &root, const std::string &device)
{
    if (auto hid = plainId(root.read(device + "/firmware_node/hid", 64))) {
        return hid;
    }
    if (const auto alias = root.read(device + "/modalias", 256);
        alias && alias->rfind("acpi:", 0) == 0) {
        const std::string rest = alias->substr(5);
        if (auto id = plainId(rest.substr(0, rest.find(':')))) {
            return id;
        }
    }
    if (const auto pnp = root.read(device + "/id", 64)) {
        return plainId(pnp->substr(0, pnp->find('\n')));
    }
    return std::nullopt;
}

} // namespace

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
        if (const auto secureBoot = efiFlag(root, "SecureBoot")) {
            out.property("secure boot", *secureBoot ? "enabled" : "disabled");
        }
        // In setup mode no platform key is enrolled and anyone may enrol one.
        if (const auto setupMode = efiFlag(root, "SetupMode")) {
            out.property("setup mode", *setupMode ? "on" : "off");
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
        const std::string path = "/sys/class/tpm/" + tpm;
        if (const auto major = root.read(path + "/tpm_version_major", 16);
            major && isDecimal(*major)) {
            out.property("tpm", *major == "2" ? std::string("TPM 2.0") : "TPM " + *major + ".x");
        }
        const std::string device = path + "/device";
        if (const auto id = tpmDeviceId(root, device)) {
            out.property("tpm device", *id);
        }
        if (const auto driver = driverOf(root, path)) {
            out.property("tpm driver", *driver);
        }
    }
}

} // namespace devices
