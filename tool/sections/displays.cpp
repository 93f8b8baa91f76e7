#include "tool/sections/displays.h"

#include "tool/edid.h"
#include "tool/sections/sectionhelpers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace devices {

namespace {

using kestrin::tool::decodeEdid;
using kestrin::tool::describeMode;
using kestrin::tool::EdidInfo;

// 256 blocks is the most an EDID can announce.
constexpr std::size_t maxEdidBytes = 256 * 128;

// "card0-DP-1" is connector "DP-1" of card "card0".
bool splitConnector(const std::string &entry, std::string &card, std::string &connector)
{
    if (entry.rfind("card", 0) != 0) {
        return false;
    }
    const std::size_t dash = entry.find('-');
    if (dash == std::string::npos || dash == 4 || dash + 1 >= entry.size() ||
        !isDecimal(std::string_view(entry).substr(4, dash - 4))) {
        return false;
    }
    card = entry.substr(0, dash);
    connector = entry.substr(dash + 1);
    return true;
}

std::string connectorType(std::string_view connector)
{
    const std::string_view type = connector.substr(0, connector.rfind('-'));
    if (type == "DP") {
        return "DisplayPort";
    }
    if (type == "eDP") {
        return "eDP (built-in panel)";
    }
    if (type == "LVDS") {
        return "LVDS (built-in panel)";
    }
    if (type == "DSI") {
        return "DSI (built-in panel)";
    }
    if (type.rfind("HDMI", 0) == 0) {
        return "HDMI";
    }
    if (type.rfind("DVI", 0) == 0) {
        return "DVI";
    }
    return std::string(type);
}

std::string join(const std::vector<std::string> &parts, std::string_view separator = ", ")
{
    std::string text;
    for (const std::string &part : parts) {
        if (!text.empty()) {
            text += separator;
        }
        text += part;
    }
    return text;
}

std::string monitorName(const EdidInfo &edid, const std::string &maker)
{
    if (!edid.name.empty()) {
        return edid.name;
    }
    // Laptop panels carry no name, only their part number as free text.
    std::string name = maker;
    if (!edid.texts.empty()) {
        name += " " + edid.texts.back();
    } else if (edid.productCode) {
        name += " " + hex(*edid.productCode, 4);
    }
    return name;
}

void listMonitor(const Context &context, Listing &out, const std::string &connector,
                 const std::string &cardPath, const std::string &bytes)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const EdidInfo edid = decodeEdid(std::span<const std::uint8_t>(data, bytes.size()));
    std::string maker = edid.manufacturer;
    if (edid.valid) {
        if (const auto name = context.ids.pnpName(edid.manufacturer)) {
            maker = *name;
        }
    }
    out.device("display", connector, edid.valid ? monitorName(edid, maker) : "Monitor");
    if (edid.valid) {
        out.property("manufacturer",
                     maker == edid.manufacturer ? maker : maker + " (" + edid.manufacturer + ")");
        out.property("model name", edid.name);
        for (const std::string &text : edid.texts) {
            out.property("panel text", text);
        }
        if (edid.productCode) {
            out.property("product code", hex(*edid.productCode, 4));
        }
        out.property("serial number", edid.serial);
        if (edid.modelYear) {
            out.property("model year", decimal(edid.year));
        } else if (edid.week != 0) {
            out.property("manufactured",
                         "week " + decimal(edid.week) + " of " + decimal(edid.year));
        } else {
            out.property("manufactured", decimal(edid.year));
        }
        out.property("edid version", decimal(edid.versionMajor) + "." + decimal(edid.versionMinor));
        if (edid.widthCm != 0 && edid.heightCm != 0) {
            const double inches = std::hypot(double(edid.widthCm), double(edid.heightCm)) / 2.54;
            char diagonal[32];
            std::snprintf(diagonal, sizeof diagonal, "%.1f\u2033", inches);
            out.property("screen size", decimal(edid.widthCm) + " \u00d7 " +
                                            decimal(edid.heightCm) + " cm (" + diagonal + ")");
        }
        if (edid.preferred) {
            out.property("preferred mode", describeMode(*edid.preferred));
        } else if (edid.displayIdPreferred) {
            out.property("preferred mode", describeMode(*edid.displayIdPreferred));
        } else if (edid.firstDetailed) {
            out.property("first detailed mode", describeMode(*edid.firstDetailed));
        }
        std::string input = edid.digital ? "digital" : "analog";
        if (!edid.interface.empty()) {
            input += ", " + edid.interface;
        }
        if (edid.bitsPerColour != 0) {
            input += ", " + decimal(edid.bitsPerColour) + " bits per colour";
        }
        out.property("input", input);
    }
    out.property("connector", connectorType(connector));
    if (const auto card = context.root.resolve(cardPath + "/device")) {
        if (const auto address = pciAncestor(*card)) {
            const PciFunction *gpu = findPciFunction(context.pci, *address);
            out.property("gpu", gpu != nullptr && !gpu->name.empty()
                                    ? gpu->name + " (pci " + *address + ")"
                                    : "pci " + *address);
        }
    }
    if (edid.valid) {
        out.property("extension blocks", join(edid.extensions));
        if (edid.basicAudio || edid.audioBlocks) {
            out.property("audio", "yes");
        }
        out.property("hdr transfer functions", join(edid.hdrTransfer));
    }
    out.property("edid", join(edid.problems, "; "));
}

} // namespace

void DisplaysSection::list(const Context &context, Listing &out) const
{
    const SysRoot &root = context.root;
    for (const std::string &entry : root.list("/sys/class/drm")) {
        std::string card;
        std::string connector;
        if (!splitConnector(entry, card, connector)) {
            continue;
        }
        const std::string path = "/sys/class/drm/" + entry;
        if (root.read(path + "/status") != "connected") {
            continue;
        }
        const auto edid = root.readAll(path + "/edid", maxEdidBytes);
        if (!edid || edid->empty()) {
            continue;
        }
        listMonitor(context, out, connector, "/sys/class/drm/" + card, *edid);
    }
}

} // namespace devices
