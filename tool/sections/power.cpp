#include "tool/sections/power.h"

#include "tool/sections/sectionhelpers.h"

#include <optional>
#include <string>

namespace devices {

namespace {

void batteryProperties(const SysRoot &root, Listing &out, const std::string &path,
                       const std::optional<std::string> &manufacturer,
                       const std::optional<std::string> &model)
{
    if (manufacturer) {
        out.property("manufacturer", *manufacturer);
    }
    if (model) {
        out.property("model", *model);
    }
    if (const auto technology = root.read(path + "/technology")) {
        out.property("technology", *technology);
    }
    if (const auto status = root.read(path + "/status")) {
        out.property("status", *status);
    }
    if (const auto capacity = root.readNumber(path + "/capacity")) {
        out.property("charge", decimal(*capacity) + "%");
    }
    // Energy in µWh, or charge in µAh on batteries that count that way.
    std::optional<unsigned long long> full = root.readNumber(path + "/energy_full");
    std::optional<unsigned long long> design = root.readNumber(path + "/energy_full_design");
    std::string unit = "Wh";
    if (!full && !design) {
        full = root.readNumber(path + "/charge_full");
        design = root.readNumber(path + "/charge_full_design");
        unit = "Ah";
    }
    if (design && *design > 0) {
        out.property("design capacity",
                     fixed(static_cast<double>(*design) / 1e6, unit == "Wh" ? 1 : 2, unit));
    }
    if (full && *full > 0) {
        out.property("full charge capacity",
                     fixed(static_cast<double>(*full) / 1e6, unit == "Wh" ? 1 : 2, unit));
    }
    if (full && design && *design > 0) {
        out.property("health", decimal((*full * 100 + *design / 2) / *design) + "%");
    }
    if (const auto cycles = root.readNumber(path + "/cycle_count"); cycles && *cycles > 0) {
        out.property("cycle count", decimal(*cycles) + " cycles");
    }
    if (const auto voltage = root.readNumber(path + "/voltage_now"); voltage && *voltage > 0) {
        out.property("voltage", fixed(static_cast<double>(*voltage) / 1e6, 2, "V"));
    }
}

} // namespace

void PowerSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const std::string &supply : root.list("/sys/class/power_supply")) {
        const std::string path = "/sys/class/power_supply/" + supply;
        const auto type = root.read(path + "/type");
        if (type == "Battery") {
            // Peripherals' batteries (a mouse, a pen) are not the machine's.
            if (root.read(path + "/scope") == "Device") {
                continue;
            }
            const auto manufacturer = root.read(path + "/manufacturer");
            const auto model = root.read(path + "/model_name");
            std::string name;
            if (manufacturer && !manufacturer->empty()) {
                name = *manufacturer;
            }
            if (model && !model->empty()) {
                name += (name.empty() ? "" : " ") + *model;
            }
            out.device("power", supply, name.empty() ? "Battery" : name);
            batteryProperties(root, out, path, manufacturer, model);
        } else if (type == "Mains") {
            out.device("power", supply, "AC adapter");
            if (const auto online = root.read(path + "/online")) {
                out.property("online", *online == "1" ? "yes" : "no");
            }
        }
    }
}

} // namespace devices
