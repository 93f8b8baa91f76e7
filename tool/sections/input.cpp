#include "tool/sections/input.h"

#include "tool/sections/sectionhelpers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace devices {

namespace {

// The kernel prints its bitmaps in words of its own `long`; the tool is built
// for the kernel it runs on, as every reader of these files assumes.
constexpr unsigned wordBits = sizeof(unsigned long) * CHAR_BIT;
// KEY_MAX is 0x2ff: no bitmap of the kernel's needs more words than this.
constexpr std::size_t maxWords = 1024 / wordBits;
// Names and paths are short; anything longer is not the kernel's.
constexpr std::size_t maxField = 512;

// Event types, properties, axes and buttons from the kernel's input codes.
constexpr unsigned evKey = 0x01;
constexpr unsigned evRel = 0x02;
constexpr unsigned evAbs = 0x03;
constexpr unsigned propButtonPad = 0x02;
constexpr unsigned propDirect = 0x01;
constexpr unsigned propPointingStick = 0x05;
constexpr unsigned propAccelerometer = 0x06;
constexpr unsigned absX = 0x00;
constexpr unsigned absY = 0x01;
constexpr unsigned absMtX = 0x35;
constexpr unsigned absMtY = 0x36;
constexpr unsigned relX = 0x00;
constexpr unsigned relY = 0x01;
constexpr unsigned btnLeft = 0x110;
constexpr unsigned btnJoystickFirst = 0x120; // trigger, thumb, ... then the gamepad's A, B, ...
constexpr unsigned btnGamepadLast = 0x13e;   // right thumb stick
constexpr unsigned btnToolPen = 0x140;
constexpr unsigned btnToolFinger = 0x145;
constexpr unsigned btnTouch = 0x14a;
constexpr unsigned btnStylus = 0x14b;
constexpr unsigned btnTriggerHappyFirst = 0x2c0;
constexpr unsigned btnTriggerHappyLast = 0x2e7;

// A capability bitmap: the lowest word first.
class Bitmap {
public:
    [[nodiscard]] static std::optional<Bitmap> parse(std::string_view text)
    {
        Bitmap bitmap;
        std::vector<unsigned long long> words;
        std::size_t at = 0;
        while (at < text.size()) {
            while (at < text.size() && text[at] == ' ') {
                ++at;
            }
            std::size_t end = at;
            while (end < text.size() && text[end] != ' ') {
                ++end;
            }
            if (end == at) {
                break;
            }
            const std::string_view word = text.substr(at, end - at);
            unsigned long long value = 0;
            const auto [rest, error] =
                std::from_chars(word.data(), word.data() + word.size(), value, 16);
            if (error != std::errc() || rest != word.data() + word.size() ||
                word.size() > wordBits / 4 || words.size() == maxWords) {
                return std::nullopt;
            }
            words.push_back(value);
            at = end;
        }
        std::reverse(words.begin(), words.end());
        bitmap.m_words = std::move(words);
        return bitmap;
    }

    [[nodiscard]] bool has(unsigned bit) const
    {
        const std::size_t word = bit / wordBits;
        return word < m_words.size() && ((m_words[word] >> (bit % wordBits)) & 1U) != 0;
    }

    [[nodiscard]] bool hasAny(unsigned first, unsigned last) const
    {
        for (unsigned bit = first; bit <= last; ++bit) {
            if (has(bit)) {
                return true;
            }
        }
        return false;
    }

    [[nodiscard]] bool hasAll(unsigned first, unsigned last) const
    {
        for (unsigned bit = first; bit <= last; ++bit) {
            if (!has(bit)) {
                return false;
            }
        }
        return true;
    }

private:
    std::vector<unsigned long long> m_words;
};

// One block of the file, as the kernel wrote it.
struct Block {
    std::optional<unsigned> bus;
    unsigned vendor = 0;
    unsigned product = 0;
    std::string name;
    std::string sysfs;
    std::string unique;
    std::vector<std::string> handlers;
    Bitmap ev, key, rel, abs, prop;
};

std::string_view field(std::string_view text)
{
    return text.substr(0, std::min(text.size(), maxField));
}

std::optional<unsigned> hexField(std::string_view line, std::string_view name)
{
    const std::string wanted = std::string(name) + "=";
    std::size_t at = line.find(wanted);
    if (at == std::string_view::npos || (at > 0 && line[at - 1] != ' ')) {
        return std::nullopt;
    }
    at += wanted.size();
    unsigned value = 0;
    const auto [rest, error] =
        std::from_chars(line.data() + at, line.data() + line.size(), value, 16);
    if (error != std::errc() || (rest != line.data() + line.size() && *rest != ' ') ||
        value > 0xFFFF) {
        return std::nullopt;
    }
    return value;
}

// The value after "Key=" on a line, without its quotes.
std::string_view afterEquals(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    std::string_view value = line.substr(equals + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return field(value);
}

void readLine(Block &block, std::string_view line)
{
    if (line.size() < 3 || line[1] != ':' || line[2] != ' ') {
        return;
    }
    const char type = line[0];
    const std::string_view rest = line.substr(3);
    switch (type) {
    case 'I':
        block.bus = hexField(rest, "Bus");
        block.vendor = hexField(rest, "Vendor").value_or(0);
        block.product = hexField(rest, "Product").value_or(0);
        break;
    case 'N':
        block.name = std::string(afterEquals(rest));
        break;
    case 'S':
        block.sysfs = std::string(afterEquals(rest));
        break;
    case 'U':
        block.unique = std::string(afterEquals(rest));
        break;
    case 'H': {
        const std::string_view list = afterEquals(rest);
        std::size_t at = 0;
        while (at < list.size()) {
            std::size_t end = list.find(' ', at);
            if (end == std::string_view::npos) {
                end = list.size();
            }
            if (end > at) {
                block.handlers.emplace_back(list.substr(at, end - at));
            }
            at = end + 1;
        }
        break;
    }
    case 'B': {
        const std::size_t equals = rest.find('=');
        if (equals == std::string_view::npos) {
            return;
        }
        const std::string_view name = rest.substr(0, equals);
        // A bitmap that cannot be read counts as empty: the device may then
        // go unlisted, but no bit is ever guessed.
        const Bitmap bitmap = Bitmap::parse(rest.substr(equals + 1)).value_or(Bitmap());
        if (name == "EV") {
            block.ev = bitmap;
        } else if (name == "KEY") {
            block.key = bitmap;
        } else if (name == "REL") {
            block.rel = bitmap;
        } else if (name == "ABS") {
            block.abs = bitmap;
        } else if (name == "PROP") {
            block.prop = bitmap;
        }
        break;
    }
    default:
        break;
    }
}

// What the capabilities make of a device, in the order that tells the kinds
// apart: a pen tablet and a touchpad both report absolute positions, a
// touchpad also reports fingers, a touchscreen is "direct" (it is the screen),
// and a keyboard is told from a row of hotkeys by having the whole first block
// of keys, Escape through the letters A and S.
InputKind classify(const Block &block)
{
    // Software devices (uinput remappers, virtual keyboards) are no hardware.
    if (block.sysfs.rfind("/devices/virtual/", 0) == 0 || block.prop.has(propAccelerometer)) {
        return InputKind::none;
    }
    const bool keys = block.ev.has(evKey);
    const bool absolute = block.ev.has(evAbs) && ((block.abs.has(absX) && block.abs.has(absY)) ||
                                                  (block.abs.has(absMtX) && block.abs.has(absMtY)));
    const bool relative = block.ev.has(evRel) && block.rel.has(relX) && block.rel.has(relY);
    const bool direct = block.prop.has(propDirect);
    const bool pen = keys && (block.key.has(btnToolPen) || block.key.has(btnStylus));
    const bool finger = keys && block.key.has(btnToolFinger);
    const bool touch = keys && block.key.has(btnTouch);
    const bool mouseButton = keys && block.key.has(btnLeft);
    if (absolute && pen) {
        return InputKind::pen;
    }
    if (absolute && (finger || block.prop.has(propButtonPad)) && !direct) {
        return InputKind::touchpad;
    }
    if (absolute && touch && (direct || !mouseButton)) {
        return InputKind::touchscreen;
    }
    if (block.prop.has(propPointingStick) && relative) {
        return InputKind::pointingStick;
    }
    if (mouseButton && (relative || absolute)) {
        return InputKind::mouse;
    }
    const bool joystickHandler =
        std::any_of(block.handlers.begin(), block.handlers.end(), [](const std::string &h) {
            return h.size() > 2 && h.compare(0, 2, "js") == 0 &&
                   isDecimal(std::string_view(h).substr(2));
        });
    if (keys && (block.key.hasAny(btnJoystickFirst, btnGamepadLast) ||
                 block.key.hasAny(btnTriggerHappyFirst, btnTriggerHappyLast))) {
        return InputKind::gameController;
    }
    if (joystickHandler && absolute) {
        return InputKind::gameController;
    }
    if (keys && block.key.hasAll(1, 31)) {
        return InputKind::keyboard;
    }
    return InputKind::none;
}

std::string busText(unsigned bus)
{
    switch (bus) {
    case 0x01:
        return "PCI";
    case 0x03:
        return "USB";
    case 0x05:
        return "Bluetooth";
    case 0x10:
        return "ISA";
    case 0x11:
        return "PS/2";
    case 0x13:
        return "serial";
    case 0x14:
        return "gameport";
    case 0x18:
        return "I2C";
    case 0x19:
        return "host";
    case 0x1c:
        return "SPI";
    case 0x1d:
        return "RMI4 (SMBus)";
    case 0x1f:
        return "Intel ISH";
    case 0x20:
        return "AMD SFH";
    default:
        return "bus " + hex(bus, 4);
    }
}

// The physical device a node belongs to: the interfaces of one USB device, or
// the nodes one HID device makes (a touchpad's legacy "Mouse" beside it).
std::string physicalDevice(const Block &block)
{
    std::string path = block.sysfs;
    const std::size_t input = path.rfind("/input/");
    if (input != std::string::npos) {
        path.resize(input);
    }
    // A Bluetooth device also hangs under the USB adapter it talks through.
    if (block.bus == 0x03u) {
        if (const auto usb = usbAncestor(path)) {
            return "usb " + *usb;
        }
    }
    return path;
}

InputDevice deviceOf(const Block &block, InputKind kind)
{
    InputDevice device;
    device.kind = kind;
    device.name = block.name;
    device.busNumber = block.bus.value_or(0);
    device.bus = block.bus ? busText(*block.bus) : std::string();
    device.vendor = block.vendor;
    device.product = block.product;
    device.sysfs = block.sysfs;
    device.unique = block.unique;
    for (const std::string &handler : block.handlers) {
        if (handler.size() > 5 && handler.compare(0, 5, "event") == 0 &&
            isDecimal(std::string_view(handler).substr(5))) {
            device.node = handler;
            break;
        }
    }
    if (device.node.empty()) {
        const std::size_t slash = block.sysfs.rfind('/');
        device.node = slash == std::string::npos ? block.sysfs : block.sysfs.substr(slash + 1);
    }
    return device;
}

} // namespace

std::string_view inputKindName(InputKind kind)
{
    switch (kind) {
    case InputKind::keyboard:
        return "keyboard";
    case InputKind::mouse:
        return "mouse";
    case InputKind::pointingStick:
        return "pointing stick";
    case InputKind::touchpad:
        return "touchpad";
    case InputKind::touchscreen:
        return "touchscreen";
    case InputKind::pen:
        return "pen";
    case InputKind::gameController:
        return "game controller";
    case InputKind::none:
        break;
    }
    return "none";
}

std::vector<InputDevice> parseInputDevices(std::string_view text)
{
    std::vector<Block> blocks;
    bool open = false;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            open = false;
        } else {
            if (!open) {
                blocks.emplace_back();
                open = true;
            }
            readLine(blocks.back(), line);
        }
        at = end + 1;
    }

    struct Found {
        std::string physical;
        InputKind kind;
        const Block *block;
    };
    std::vector<Found> found;
    for (const Block &block : blocks) {
        const InputKind kind = classify(block);
        if (kind == InputKind::none || block.name.empty()) {
            continue;
        }
        found.push_back({physicalDevice(block), kind, &block});
    }
    std::vector<InputDevice> devices;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Found &item = found[i];
        const bool repeated = std::any_of(
            found.begin(), found.begin() + static_cast<long>(i), [&](const Found &other) {
                return other.physical == item.physical && other.kind == item.kind;
            });
        // A touchpad's legacy mouse collection is the same touchpad, and a
        // game controller's touchpad is part of the controller.
        const auto sameDeviceHas = [&](InputKind kind) {
            return std::any_of(found.begin(), found.end(), [&](const Found &other) {
                return other.physical == item.physical && other.kind == kind;
            });
        };
        const bool part =
            (item.kind == InputKind::mouse && sameDeviceHas(InputKind::touchpad)) ||
            (item.kind == InputKind::touchpad && sameDeviceHas(InputKind::gameController));
        if (!repeated && !part) {
            devices.push_back(deviceOf(*item.block, item.kind));
        }
    }
    return devices;
}

void InputSection::list(const Context &context, Listing &out) const
{
    const auto text = context.root.readAll("/proc/bus/input/devices", 1 << 20);
    if (!text) {
        return;
    }
    for (const InputDevice &device : parseInputDevices(*text)) {
        out.device("input", device.node, device.name);
        out.property("type", inputKindName(device.kind));
        out.property("bus", device.bus);
        // Only these buses carry the maker's own numbers.
        const bool numbered =
            device.busNumber == 0x03 || device.busNumber == 0x05 || device.busNumber == 0x18;
        if (numbered && device.vendor != 0) {
            out.property("vendor-id", hex(device.vendor, 4));
            out.property("product-id", hex(device.product, 4));
        }
        if (device.busNumber == 0x05) {
            out.property("bluetooth address", device.unique);
        } else if (device.busNumber == 0x03) {
            out.property("serial number", device.unique);
        }
        parentProperty(out, device.sysfs);
    }
}

} // namespace devices
