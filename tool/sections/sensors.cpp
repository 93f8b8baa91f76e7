#include "tool/sections/sensors.h"

#include "tool/sections/sectionhelpers.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace devices {

namespace {

std::optional<std::string> label(const SysRoot &root, const std::string &prefix)
{
    auto text = root.read(prefix + "_label", 128);
    if (!text || text->empty() || text->size() >= 128 || text->find('\n') != std::string::npos) {
        return std::nullopt;
    }
    return text;
}

// An unlabelled channel of a chip with several of its kind keeps its number:
// two fans at the same speed are two facts, not one repeated.
std::string key(const char *kind, const std::optional<std::string> &name, int channel,
                std::size_t channelsOfKind)
{
    if (name)
        return std::string(kind) + " (" + *name + ")";
    return channelsOfKind > 1 ? std::string(kind) + " " + std::to_string(channel)
                              : std::string(kind);
}

// The channel numbers of files named "<kind><n>_input" ("temp1_input").
std::vector<int> channels(const std::vector<std::string> &entries, std::string_view kind,
                          std::string_view suffix)
{
    std::vector<int> found;
    for (const std::string &entry : entries) {
        const std::string_view name(entry);
        if (name.size() <= kind.size() + suffix.size() || name.substr(0, kind.size()) != kind ||
            name.substr(name.size() - suffix.size()) != suffix) {
            continue;
        }
        const std::string_view digits =
            name.substr(kind.size(), name.size() - kind.size() - suffix.size());
        int channel = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), channel);
        if (error == std::errc() && end == digits.data() + digits.size()) {
            found.push_back(channel);
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace

std::optional<long long> hwmonValue(const SysRoot &root, const std::string &path)
{
    const auto text = root.read(path, 64);
    if (!text || text->empty() || *text == "-1") {
        return std::nullopt;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (error != std::errc() || end != text->data() + text->size()) {
        return std::nullopt;
    }
    return value;
}

std::string celsius(long long millidegrees)
{
    // Whole tenths in integers, half away from zero: 40250 is 40.3, where the
    // binary double 40.25 would print 40.2.
    const long long tenths =
        millidegrees >= 0 ? (millidegrees + 50) / 100 : (millidegrees - 50) / 100;
    const long long whole = tenths / 10;
    const long long tenth = tenths % 10;
    return std::string(tenths < 0 && whole == 0 ? "-" : "") + std::to_string(whole) + "." +
           std::to_string(tenth < 0 ? -tenth : tenth) + " °C";
}

std::optional<std::string> hwmonTemperature(const SysRoot &root, const std::string &devicePath,
                                            std::string_view chip)
{
    const std::string hwmon = devicePath + "/hwmon";
    for (const std::string &entry : root.list(hwmon)) {
        const std::string path = joinPath(hwmon, entry);
        if (!chip.empty() && root.read(path + "/name", 64) != chip) {
            continue;
        }
        if (const auto value = hwmonValue(root, path + "/temp1_input")) {
            return celsius(*value);
        }
    }
    return std::nullopt;
}

std::vector<std::string> hwmonChips(const SysRoot &root,
                                    std::initializer_list<std::string_view> names)
{
    std::vector<std::string> chips;
    for (const std::string &entry : root.list("/sys/class/hwmon")) {
        const std::string chip = joinPath("/sys/class/hwmon", entry);
        const auto name = root.read(chip + "/name", 64);
        // A trailing '*' matches a family of chips ("nct6*": nct6775, nct6798...).
        const auto matches = [&name](std::string_view wanted) {
            return wanted.ends_with('*') ? name->starts_with(wanted.substr(0, wanted.size() - 1))
                                         : *name == wanted;
        };
        if (name && !name->empty() && std::any_of(names.begin(), names.end(), matches)) {
            chips.push_back(chip);
        }
    }
    return chips;
}

void sensorReadings(const SysRoot &root, Listing &out, const std::string &chip)
{
    const std::vector<std::string> entries = root.list(chip);
    if (const auto name = root.read(chip + "/name", 64); name && !name->empty()) {
        out.property("sensor chip", *name);
    }
    const std::vector<int> temps = channels(entries, "temp", "_input");
    for (const int n : temps) {
        const std::string prefix = chip + "/temp" + std::to_string(n);
        const auto value = hwmonValue(root, prefix + "_input");
        if (!value) {
            continue;
        }
        std::string text = celsius(*value);
        std::vector<std::string> limits;
        if (const auto high = hwmonValue(root, prefix + "_max")) {
            limits.push_back("high " + celsius(*high));
        }
        if (const auto critical = hwmonValue(root, prefix + "_crit")) {
            limits.push_back("critical " + celsius(*critical));
        }
        if (!limits.empty()) {
            text += " (" + limits.front() + (limits.size() > 1 ? ", " + limits.back() : "") + ")";
        }
        out.property(key("temperature", label(root, prefix), n, temps.size()), text);
    }
    const std::vector<int> fans = channels(entries, "fan", "_input");
    for (const int n : fans) {
        const std::string prefix = chip + "/fan" + std::to_string(n);
        // Fans report whole RPM, not milli-units.
        if (const auto rpm = hwmonValue(root, prefix + "_input"); rpm && *rpm >= 0) {
            out.property(key("fan", label(root, prefix), n, fans.size()),
                         *rpm == 0 ? std::string("stopped (0 RPM)")
                                   : std::to_string(*rpm) + " RPM");
        }
    }
    const std::vector<int> voltages = channels(entries, "in", "_input");
    for (const int n : voltages) {
        const std::string prefix = chip + "/in" + std::to_string(n);
        if (const auto mv = hwmonValue(root, prefix + "_input")) {
            out.property(key("voltage", label(root, prefix), n, voltages.size()),
                         fixed(static_cast<double>(*mv) / 1000.0, 3, "V"));
        }
    }
    std::vector<int> powerSeen;
    const std::size_t powers = std::max(channels(entries, "power", "_average").size(),
                                        channels(entries, "power", "_input").size());
    for (const char *suffix : {"_average", "_input"}) {
        for (const int n : channels(entries, "power", suffix)) {
            if (std::find(powerSeen.begin(), powerSeen.end(), n) != powerSeen.end()) {
                continue;
            }
            powerSeen.push_back(n);
            const std::string prefix = chip + "/power" + std::to_string(n);
            // Power is written in microwatts.
            if (const auto uw = hwmonValue(root, prefix + suffix); uw && *uw >= 0) {
                out.property(key("power", label(root, prefix), n, powers),
                             fixed(static_cast<double>(*uw) / 1e6, 1, "W"));
            }
        }
    }
}

} // namespace devices
