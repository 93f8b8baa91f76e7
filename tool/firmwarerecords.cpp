#include "tool/firmwarerecords.h"

#include "tool/text.h"

#include <array>
#include <string_view>

namespace {

struct Field {
    const char *key;
    const char *file;
};

struct Record {
    const char *title;
    std::array<Field, 7> fields;
};

// Record titles and keys as dmidecode prints them, in its order.
constexpr std::array<Record, 4> records = {{
    {"BIOS Information",
     {{{"Vendor", "bios_vendor"},
       {"Version", "bios_version"},
       {"Release Date", "bios_date"},
       {"BIOS Revision", "bios_release"},
       {"Firmware Revision", "ec_firmware_release"},
       {nullptr, nullptr},
       {nullptr, nullptr}}}},
    {"System Information",
     {{{"Manufacturer", "sys_vendor"},
       {"Product Name", "product_name"},
       {"Version", "product_version"},
       {"Serial Number", "product_serial"},
       {"UUID", "product_uuid"},
       {"SKU Number", "product_sku"},
       {"Family", "product_family"}}}},
    {"Base Board Information",
     {{{"Manufacturer", "board_vendor"},
       {"Product Name", "board_name"},
       {"Version", "board_version"},
       {"Serial Number", "board_serial"},
       {"Asset Tag", "board_asset_tag"},
       {nullptr, nullptr},
       {nullptr, nullptr}}}},
    {"Chassis Information",
     {{{"Manufacturer", "chassis_vendor"},
       {"Type", "chassis_type"},
       {"Version", "chassis_version"},
       {"Serial Number", "chassis_serial"},
       {"Asset Tag", "chassis_asset_tag"},
       {nullptr, nullptr},
       {nullptr, nullptr}}}},
}};

std::string chassisTypeFromText(std::string_view number)
{
    if (number.empty() || number.size() > 3) {
        return std::string(number);
    }
    unsigned value = 0;
    for (char c : number) {
        if (c < '0' || c > '9') {
            return std::string(number);
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return chassisTypeName(value);
}

} // namespace

std::string chassisTypeName(unsigned code)
{
    static constexpr std::array<const char *, 37> names = {
        nullptr,
        "Other",
        "Unknown",
        "Desktop",
        "Low Profile Desktop",
        "Pizza Box",
        "Mini Tower",
        "Tower",
        "Portable",
        "Laptop",
        "Notebook",
        "Hand Held",
        "Docking Station",
        "All In One",
        "Sub Notebook",
        "Space-saving",
        "Lunch Box",
        "Main Server Chassis",
        "Expansion Chassis",
        "Sub Chassis",
        "Bus Expansion Chassis",
        "Peripheral Chassis",
        "RAID Chassis",
        "Rack Mount Chassis",
        "Sealed-case PC",
        "Multi-system",
        "CompactPCI",
        "AdvancedTCA",
        "Blade",
        "Blade Enclosing",
        "Tablet",
        "Convertible",
        "Detachable",
        "IoT Gateway",
        "Embedded PC",
        "Mini PC",
        "Stick PC",
    };
    const unsigned type = code & 0x7F; // the top bit flags a chassis lock
    if (type < names.size() && names[type] != nullptr) {
        return names[type];
    }
    return "<OUT OF SPEC>";
}

std::string firmwareRecords(const SysRoot &root, std::size_t *unreadable)
{
    std::string out;
    std::size_t missed = 0;
    for (const Record &record : records) {
        std::string body;
        for (const Field &field : record.fields) {
            if (field.key == nullptr) {
                continue;
            }
            const std::string path = std::string("/sys/class/dmi/id/") + field.file;
            const auto raw = root.read(path);
            if (!raw) {
                if (root.exists(path)) {
                    ++missed;
                }
                continue;
            }
            std::string value = std::string_view(field.file) == "chassis_type"
                                    ? chassisTypeFromText(*raw)
                                    : tooltext::cleanValue(*raw);
            if (value.empty()) {
                continue;
            }
            body += '\t';
            body += field.key;
            body += ": ";
            body += value;
            body += '\n';
        }
        if (body.empty()) {
            continue;
        }
        if (!out.empty()) {
            out += '\n';
        }
        out += record.title;
        out += '\n';
        out += body;
    }
    if (unreadable != nullptr) {
        *unreadable = missed;
    }
    return out;
}
