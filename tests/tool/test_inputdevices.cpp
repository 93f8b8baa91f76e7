// Input devices as /proc/bus/input/devices shows them on real machines: what is
// listed, as what, and which of the machine's own buttons are left out.
#include "tests/tool/tooltesthelpers.h"
#include "tool/sections/input.h"

#include <string>
#include <vector>

namespace {

using devices::InputKind;

// A laptop: buttons and switches of the platform, the built-in keyboard on the
// i8042 controller, an I2C touchpad with its legacy mouse collection, a
// TrackPoint behind the touchpad, a touchscreen, and the jack detection of the
// sound card.
std::string laptop()
{
    return tooltest::readFile(tooltest::fixture("input-devices/laptop.txt")).toStdString();
}

// Peripherals: a USB keyboard and its media-key interface, a Bluetooth mouse,
// a game pad, a pen tablet with its button pad, and a remapper's virtual
// keyboard.
std::string peripherals()
{
    return tooltest::readFile(tooltest::fixture("input-devices/peripherals.txt")).toStdString();
}

struct Expected {
    InputKind kind;
    const char *name;
    const char *bus;
    const char *node;
};

void expectDevices(const std::string &text, const std::vector<Expected> &expected)
{
    const std::vector<devices::InputDevice> found = devices::parseInputDevices(text);
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found[i].kind, expected[i].kind) << expected[i].name;
        EXPECT_EQ(found[i].name, expected[i].name);
        EXPECT_EQ(found[i].bus, expected[i].bus) << expected[i].name;
        EXPECT_EQ(found[i].node, expected[i].node) << expected[i].name;
    }
}

// Real machines list what a person touches once per device; odd text costs
// only what it spoils.
TEST(InputDevices, ListsWhatAPersonTouchesOncePerDevice)
{
    const struct {
        std::string text;
        std::vector<Expected> expected;
    } cases[] = {
        {laptop(),
         {{InputKind::keyboard, "AT Translated Set 2 keyboard", "PS/2", "event3"},
          {InputKind::touchpad, "ELAN0672:00 04F3:3140 Touchpad", "I2C", "event7"},
          {InputKind::pointingStick, "TPPS/2 Elan TrackPoint", "PS/2", "event16"},
          {InputKind::touchscreen, "ELAN9008:00 04F3:2C43", "I2C", "event15"}}},
        // The keyboard's media keys and the tablet's buttons are parts of the
        // keyboard and the tablet; the virtual keyboard is software.
        {peripherals(),
         {{InputKind::keyboard, "Logitech USB Keyboard", "USB", "event11"},
          {InputKind::mouse, "MX Master 3 Mouse", "Bluetooth", "event13"},
          {InputKind::gameController, "Microsoft X-Box One S pad", "USB", "event14"},
          {InputKind::pen, "Wacom Intuos S Pen", "USB", "event15"}}},
        {"", {}},
        {"\n\n\n", {}},
        {"garbage without structure\x01\xff\n", {}},
        // No blank line at the end, Windows line ends.
        {"I: Bus=0003 Vendor=046d Product=c077 Version=0111\r\nN: Name=\"Logitech USB Optical "
         "Mouse\"\r\nS: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/0003:046D:C077.0001/input/"
         "input9\r\nH: Handlers=mouse0 event9\r\nB: EV=17\r\nB: KEY=1f0000 0 0 0 0\r\nB: REL=903",
         {{InputKind::mouse, "Logitech USB Optical Mouse", "USB", "event9"}}},
        // An unreadable bus: listed without it; no event node: named by sysfs.
        {"I: Bus=zz Vendor=0001\nN: Name=\"Keyboard\"\nS: "
         "Sysfs=/devices/platform/i8042/serio0/input/input3\n"
         "H: Handlers=kbd\nB: EV=3\nB: KEY=fffffffffffffffe\n",
         {{InputKind::keyboard, "Keyboard", "", "input3"}}},
        // A bitmap with a word that is no hex, or too wide, or too many words:
        // no bit of it is believed.
        {"N: Name=\"A\"\nB: EV=3\nB: KEY=fffffffffffffffg\n", {}},
        {"N: Name=\"A\"\nB: EV=3\nB: KEY=1fffffffffffffffe\n", {}},
        {"N: Name=\"A\"\nB: EV=3\nB: KEY=1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 fffffffffffffffe\n", {}},
        // Capabilities without their event type are not there.
        {"N: Name=\"A\"\nB: EV=1\nB: KEY=fffffffffffffffe\n", {}},
        // A device without a name is nothing a person can recognise.
        {"I: Bus=0011\nB: EV=3\nB: KEY=fffffffffffffffe\n", {}},
        // An accelerometer reports axes but is no pointer.
        {"N: Name=\"Accel\"\nB: PROP=40\nB: EV=9\nB: ABS=7\nB: KEY=10000 0 0 0 0\n", {}},
        // A game pad with a touchpad and motion sensors of its own.
        {"I: Bus=0003 Vendor=054c Product=09cc Version=8111\n"
         "N: Name=\"Sony Interactive Entertainment Wireless Controller\"\nS: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.3/0003:054C:09CC.0007/input/"
         "input31\n"
         "H: Handlers=event20 js1 \nB: PROP=0\nB: EV=20000b\nB: KEY=7fdb000000000000 0 0 0 0\nB: "
         "ABS=3003f\n\nI: Bus=0003 Vendor=054c Product=09cc Version=8111\n"
         "N: Name=\"Sony Interactive Entertainment Wireless Controller Motion Sensors\"\nS: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.3/0003:054C:09CC.0007/input/"
         "input32\nH: Handlers=event21 \nB: PROP=40\nB: EV=19\nB: ABS=3f\n\n"
         "I: Bus=0003 Vendor=054c Product=09cc Version=8111\n"
         "N: Name=\"Sony Interactive Entertainment Wireless Controller Touchpad\"\nS: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.3/0003:054C:09CC.0007/input/"
         "input33\nH: Handlers=mouse6 event22 \nB: PROP=5\nB: EV=b\nB: KEY=2420 10000 0 0 0 0\nB: "
         "ABS=260800000000003\n",
         {{InputKind::gameController, "Sony Interactive Entertainment Wireless Controller", "USB",
           "event20"}}},
        // A joystick known only by its handler and axes.
        {"I: Bus=0014\nN: Name=\"Gameport joystick\"\nH: Handlers=js1 event20\nB: EV=9\nB: ABS=3\n",
         {{InputKind::gameController, "Gameport joystick", "gameport", "event20"}}},
    };
    for (const auto &testCase : cases) {
        SCOPED_TRACE(testCase.text.substr(0, 200));
        expectDevices(testCase.text, testCase.expected);
    }
}

TEST(InputDevices, HugeNamesAreCut)
{
    const std::string text =
        "N: Name=\"" + std::string(100000, 'k') + "\"\nB: EV=3\nB: KEY=fffffffffffffffe\n";
    const std::vector<devices::InputDevice> found = devices::parseInputDevices(text);
    ASSERT_EQ(found.size(), 1U);
    EXPECT_LE(found[0].name.size(), 512U);
}

class InputListing : public tooltest::ScratchMachine {
protected:
    std::string listing() { return runListing().toStdString(); }

    QString m_devices = m_root + u"/proc/bus/input/devices"_s;
};

TEST_F(InputListing, ListsEachDeviceWithBusNumbersAndIdentifiers)
{
    tooltest::writeFile(m_devices, QByteArray::fromStdString(laptop() + "\n" + peripherals()));
    const std::string text = listing();
    const std::string expected = "USB:\n  [input: event3] AT Translated Set 2 keyboard\n"
                                 "    type: keyboard\n    bus: PS/2\n"
                                 "  [input: event7] ELAN0672:00 04F3:3140 Touchpad\n"
                                 "    type: touchpad\n    bus: I2C\n    vendor-id: 0x04f3\n"
                                 "    product-id: 0x3140\n    attached to: pci 0000:00:15.0\n"
                                 "  [input: event16] TPPS/2 Elan TrackPoint\n"
                                 "    type: pointing stick\n    bus: PS/2\n"
                                 "  [input: event15] ELAN9008:00 04F3:2C43\n    type: touchscreen\n"
                                 "    bus: I2C\n    vendor-id: 0x04f3\n    product-id: 0x2c43\n"
                                 "    attached to: pci 0000:00:15.1\n"
                                 "  [input: event11] Logitech USB Keyboard\n    type: keyboard\n"
                                 "    bus: USB\n    vendor-id: 0x046d\n    product-id: 0xc31c\n"
                                 "    attached to: usb 1-2\n  [input: event13] MX Master 3 Mouse\n"
                                 "    type: mouse\n    bus: Bluetooth\n    vendor-id: 0x046d\n"
                                 "    product-id: 0xb023\n"
                                 "    bluetooth address: d4:41:5e:7a:90:11\n"
                                 "    attached to: usb 1-10\n"
                                 "  [input: event14] Microsoft X-Box One S pad\n"
                                 "    type: game controller\n    bus: USB\n    vendor-id: 0x045e\n"
                                 "    product-id: 0x02ea\n    attached to: usb 1-3\n"
                                 "  [input: event15] Wacom Intuos S Pen\n    type: pen\n"
                                 "    bus: USB\n    vendor-id: 0x056a\n    product-id: 0x0374\n"
                                 "    serial number: 8GH01M1234567\n    attached to: usb 1-4\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
    // Filed under USB by the section title, whatever the lines say.
    int filed = 0;
    for (const HardwareItem &item : parseMacHardware(QString::fromStdString(text))) {
        // Properties are titled "[input: event3] name • key".
        if (item.title.startsWith(u"[input:"_s) || item.value.startsWith(u"[input:"_s)) {
            EXPECT_EQ(item.category, HardwareCategory::usb) << item.value.toStdString();
            ++filed;
        }
    }
    // Every line of the eight devices.
    EXPECT_EQ(filed, 44);
}

TEST_F(InputListing, AnUnreadableFileListsNoInputDevices)
{
    for (int odd = 0; odd < 3; ++odd) {
        QDir(m_root).removeRecursively();
        if (odd == 0) {
            QDir().mkpath(m_devices); // a directory in its place
        } else if (odd == 1) {
            tooltest::writeFile(m_devices, QByteArray(4 << 20, 'B')); // huge, without structure
        } else {
            QDir().mkpath(QFileInfo(m_devices).path());
            ASSERT_TRUE(QFile::link(u"nowhere"_s, m_devices));
        }
        tooltest::writeFile(m_root + u"/proc/cpuinfo"_s,
                            "processor\t: 0\nmodel name\t: Test CPU\n\n");
        const std::string text = listing();
        EXPECT_EQ(text.find("[input:"), std::string::npos) << odd;
    }
}

} // namespace
