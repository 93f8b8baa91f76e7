// Input devices as /proc/bus/input/devices shows them on real machines: what is
// listed, as what, and which of the machine's own buttons are left out.
#include "tests/tool/tooltesthelpers.h"
#include "tool/sections/input.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using devices::InputKind;

// A laptop: buttons and switches of the platform, the built-in keyboard on the
// i8042 controller, an I2C touchpad with its legacy mouse collection, a
// TrackPoint behind the touchpad, a touchscreen, and the jack detection of the
// sound card.
constexpr const char *laptop = R"(I: Bus=0019 Vendor=0000 Product=0001 Version=0000
N: Name="Power Button"
P: Phys=PNP0C0C/button/input0
S: Sysfs=/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0C:00/input/input0
U: Uniq=
H: Handlers=kbd event0 
B: PROP=0
B: EV=3
B: KEY=10000000000000 0

I: Bus=0019 Vendor=0000 Product=0005 Version=0000
N: Name="Lid Switch"
P: Phys=PNP0C0D/button/input0
S: Sysfs=/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0D:00/input/input1
U: Uniq=
H: Handlers=event1 
B: PROP=0
B: EV=21
B: SW=1

I: Bus=0019 Vendor=0000 Product=0003 Version=0000
N: Name="Sleep Button"
P: Phys=PNP0C0E/button/input0
S: Sysfs=/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0E:00/input/input2
U: Uniq=
H: Handlers=kbd event2 
B: PROP=0
B: EV=3
B: KEY=4000 0 0

I: Bus=0011 Vendor=0001 Product=0001 Version=ab83
N: Name="AT Translated Set 2 keyboard"
P: Phys=isa0060/serio0/input0
S: Sysfs=/devices/platform/i8042/serio0/input/input3
U: Uniq=
H: Handlers=sysrq kbd leds event3 
B: PROP=0
B: EV=120013
B: KEY=402000000 3803078f800d001 feffffdfffefffff fffffffffffffffe
B: MSC=10
B: LED=7

I: Bus=0019 Vendor=0000 Product=0006 Version=0000
N: Name="Video Bus"
P: Phys=LNXVIDEO/video/input0
S: Sysfs=/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0A08:00/LNXVIDEO:00/input/input4
U: Uniq=
H: Handlers=kbd event4 
B: PROP=0
B: EV=3
B: KEY=3e000b00000000 0 0 0

I: Bus=0010 Vendor=001f Product=0001 Version=0100
N: Name="PC Speaker"
P: Phys=isa0061/input0
S: Sysfs=/devices/platform/pcspkr/input/input5
U: Uniq=
H: Handlers=kbd event5 
B: PROP=0
B: EV=40001
B: SND=6

I: Bus=0018 Vendor=04f3 Product=3140 Version=0100
N: Name="ELAN0672:00 04F3:3140 Mouse"
P: Phys=i2c-ELAN0672:00
S: Sysfs=/devices/pci0000:00/0000:00:15.0/i2c_designware.0/i2c-0/i2c-ELAN0672:00/0018:04F3:3140.0001/input/input14
U: Uniq=
H: Handlers=mouse0 event6 
B: PROP=0
B: EV=17
B: KEY=30000 0 0 0 0
B: REL=3
B: MSC=10

I: Bus=0018 Vendor=04f3 Product=3140 Version=0100
N: Name="ELAN0672:00 04F3:3140 Touchpad"
P: Phys=i2c-ELAN0672:00
S: Sysfs=/devices/pci0000:00/0000:00:15.0/i2c_designware.0/i2c-0/i2c-ELAN0672:00/0018:04F3:3140.0001/input/input15
U: Uniq=
H: Handlers=mouse1 event7 
B: PROP=5
B: EV=1b
B: KEY=e520 10000 0 0 0 0
B: ABS=2e0800000000003
B: MSC=20

I: Bus=0011 Vendor=0002 Product=000a Version=0000
N: Name="TPPS/2 Elan TrackPoint"
P: Phys=synaptics-pt/serio0/input0
S: Sysfs=/devices/platform/i8042/serio1/serio2/input/input19
U: Uniq=
H: Handlers=mouse2 event16 
B: PROP=21
B: EV=7
B: KEY=70000 0 0 0 0
B: REL=3

I: Bus=0018 Vendor=04f3 Product=2c43 Version=0100
N: Name="ELAN9008:00 04F3:2C43"
P: Phys=i2c-ELAN9008:00
S: Sysfs=/devices/pci0000:00/0000:00:15.1/i2c_designware.1/i2c-1/i2c-ELAN9008:00/0018:04F3:2C43.0005/input/input18
U: Uniq=
H: Handlers=mouse3 event15 
B: PROP=2
B: EV=1b
B: KEY=400 0 0 0 0 0
B: ABS=3273800000000003
B: MSC=20

I: Bus=0000 Vendor=0000 Product=0000 Version=0000
N: Name="HDA Intel PCH Mic"
P: Phys=ALSA
S: Sysfs=/devices/pci0000:00/0000:00:1f.3/sound/card0/input16
U: Uniq=
H: Handlers=event8 
B: PROP=0
B: EV=21
B: SW=10

I: Bus=0000 Vendor=0000 Product=0000 Version=0000
N: Name="HDA Intel PCH Headphone"
P: Phys=ALSA
S: Sysfs=/devices/pci0000:00/0000:00:1f.3/sound/card0/input17
U: Uniq=
H: Handlers=event9 
B: PROP=0
B: EV=21
B: SW=4

I: Bus=0019 Vendor=17aa Product=5054 Version=4101
N: Name="ThinkPad Extra Buttons"
P: Phys=thinkpad_acpi/input0
S: Sysfs=/devices/platform/thinkpad_acpi/input/input11
U: Uniq=
H: Handlers=kbd event10 rfkill 
B: PROP=0
B: EV=33
B: KEY=10040 0 18040000 0 50000000000000 0 1701b02102004 c000280051115000 10e000000000000 0
B: MSC=10
B: SW=8
)";

// Peripherals: a USB keyboard and its media-key interface, a Bluetooth mouse,
// a game pad, a pen tablet with its button pad, and a remapper's virtual
// keyboard.
constexpr const char *peripherals = R"(I: Bus=0003 Vendor=046d Product=c31c Version=0110
N: Name="Logitech USB Keyboard"
P: Phys=usb-0000:00:14.0-2/input0
S: Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:046D:C31C.0002/input/input20
U: Uniq=
H: Handlers=sysrq kbd leds event11 
B: PROP=0
B: EV=120013
B: KEY=1000000000007 ff800000000007ff febeffdff3cfffff fffffffffffffffe
B: MSC=10
B: LED=1f

I: Bus=0003 Vendor=046d Product=c31c Version=0110
N: Name="Logitech USB Keyboard Consumer Control"
P: Phys=usb-0000:00:14.0-2/input1
S: Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:046D:C31C.0003/input/input21
U: Uniq=
H: Handlers=kbd event12 
B: PROP=0
B: EV=1f
B: KEY=306ff 0 0 483ffff17aff32d bfd4444600000000 1 130ff38b17c000 677bfad9415fed 9ed68000004400 10000002
B: REL=1040
B: ABS=100000000
B: MSC=10

I: Bus=0005 Vendor=046d Product=b023 Version=0012
N: Name="MX Master 3 Mouse"
P: Phys=8c:c6:81:2a:5b:18
S: Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-10/1-10:1.0/bluetooth/hci0/hci0:3585/0005:046D:B023.0006/input/input30
U: Uniq=d4:41:5e:7a:90:11
H: Handlers=mouse4 event13 
B: PROP=0
B: EV=17
B: KEY=ffff0000 0 0 0 0
B: REL=1943
B: MSC=10

I: Bus=0003 Vendor=045e Product=02ea Version=0301
N: Name="Microsoft X-Box One S pad"
P: Phys=usb-0000:00:14.0-3/input0
S: Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/input/input22
U: Uniq=
H: Handlers=event14 js0 
B: PROP=0
B: EV=20000b
B: KEY=7cdb000000000000 0 0 0 0
B: ABS=3003f
B: FF=107030000 0

I: Bus=0003 Vendor=056a Product=0374 Version=0100
N: Name="Wacom Intuos S Pen"
P: Phys=usb-0000:00:14.0-4/input0
S: Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/0003:056A:0374.0004/input/input24
U: Uniq=8GH01M1234567
H: Handlers=mouse5 event15 
B: PROP=1
B: EV=1b
B: KEY=1c03 0 0 0 0 0
B: ABS=1000003
B: MSC=1

I: Bus=0003 Vendor=056a Product=0374 Version=0100
N: Name="Wacom Intuos S Pad"
P: Phys=usb-0000:00:14.0-4/input0
S: Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/0003:056A:0374.0004/input/input25
U: Uniq=8GH01M1234567
H: Handlers=event16 
B: PROP=1
B: EV=1b
B: KEY=3ff 0 0 0 0
B: ABS=3000003

I: Bus=0006 Vendor=0fac Product=0ade Version=0001
N: Name="keyd virtual keyboard"
P: Phys=
S: Sysfs=/devices/virtual/input/input40
U: Uniq=
H: Handlers=sysrq kbd leds event17 
B: PROP=0
B: EV=120003
B: KEY=ffffffffffffffff ffffffffffffffff ffffffffffffffff fffffffffffffffe
)";

struct Expected {
    InputKind kind;
    const char *name;
    const char *bus;
    const char *node;
};

void expectDevices(const char *text, const std::vector<Expected> &expected)
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

TEST(InputDevices, LaptopListsWhatAPersonTouchesAndNotItsSwitches)
{
    expectDevices(laptop,
                  {
                      {InputKind::keyboard, "AT Translated Set 2 keyboard", "PS/2", "event3"},
                      {InputKind::touchpad, "ELAN0672:00 04F3:3140 Touchpad", "I2C", "event7"},
                      {InputKind::pointingStick, "TPPS/2 Elan TrackPoint", "PS/2", "event16"},
                      {InputKind::touchscreen, "ELAN9008:00 04F3:2C43", "I2C", "event15"},
                  });
}

TEST(InputDevices, PeripheralsOncePerDevice)
{
    // The keyboard's media keys and the tablet's buttons are parts of the
    // keyboard and the tablet; the virtual keyboard is software.
    expectDevices(peripherals,
                  {
                      {InputKind::keyboard, "Logitech USB Keyboard", "USB", "event11"},
                      {InputKind::mouse, "MX Master 3 Mouse", "Bluetooth", "event13"},
                      {InputKind::gameController, "Microsoft X-Box One S pad", "USB", "event14"},
                      {InputKind::pen, "Wacom Intuos S Pen", "USB", "event15"},
                  });
    const std::vector<devices::InputDevice> found = devices::parseInputDevices(peripherals);
    ASSERT_EQ(found.size(), 4U);
    EXPECT_EQ(found[1].unique, "d4:41:5e:7a:90:11");
    EXPECT_EQ(found[1].vendor, 0x046dU);
    EXPECT_EQ(found[1].product, 0xb023U);
}

TEST(InputDevices, OddTextCostsOnlyWhatItSpoils)
{
    const struct {
        const char *text;
        std::vector<Expected> expected;
    } cases[] = {
        {"", {}},
        {"\n\n\n", {}},
        {"garbage without structure\x01\xff\n", {}},
        // No blank line at the end, Windows line ends.
        {"I: Bus=0003 Vendor=046d Product=c077 Version=0111\r\nN: Name=\"Logitech USB Optical "
         "Mouse\"\r\n"
         "S: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/0003:046D:C077.0001/input/"
         "input9\r\n"
         "H: Handlers=mouse0 event9\r\nB: EV=17\r\nB: KEY=1f0000 0 0 0 0\r\nB: REL=903",
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
         "N: Name=\"Sony Interactive Entertainment Wireless Controller\"\n"
         "S: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.3/0003:054C:09CC.0007/input/"
         "input31\n"
         "H: Handlers=event20 js1 \nB: PROP=0\nB: EV=20000b\nB: KEY=7fdb000000000000 0 0 0 0\nB: "
         "ABS=3003f\n\n"
         "I: Bus=0003 Vendor=054c Product=09cc Version=8111\n"
         "N: Name=\"Sony Interactive Entertainment Wireless Controller Motion Sensors\"\n"
         "S: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.3/0003:054C:09CC.0007/input/"
         "input32\n"
         "H: Handlers=event21 \nB: PROP=40\nB: EV=19\nB: ABS=3f\n\n"
         "I: Bus=0003 Vendor=054c Product=09cc Version=8111\n"
         "N: Name=\"Sony Interactive Entertainment Wireless Controller Touchpad\"\n"
         "S: "
         "Sysfs=/devices/pci0000:00/0000:00:14.0/usb1/1-5/1-5:1.3/0003:054C:09CC.0007/input/"
         "input33\n"
         "H: Handlers=mouse6 event22 \nB: PROP=5\nB: EV=b\nB: KEY=2420 10000 0 0 0 0\nB: "
         "ABS=260800000000003\n",
         {{InputKind::gameController, "Sony Interactive Entertainment Wireless Controller", "USB",
           "event20"}}},
        // A joystick known only by its handler and axes.
        {"I: Bus=0014\nN: Name=\"Gameport joystick\"\nH: Handlers=js1 event20\nB: EV=9\nB: ABS=3\n",
         {{InputKind::gameController, "Gameport joystick", "gameport", "event20"}}},
    };
    for (const auto &testCase : cases) {
        SCOPED_TRACE(testCase.text);
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

    QString m_devices = m_root + QStringLiteral("/proc/bus/input/devices");
};

TEST_F(InputListing, ListsEachDeviceWithBusNumbersAndIdentifiers)
{
    tooltest::writeFile(m_devices, QByteArray(laptop) + "\n" + peripherals);
    const std::string text = listing();
    const std::string expected = "USB:\n"
                                 "  [input: event3] AT Translated Set 2 keyboard\n"
                                 "    type: keyboard\n"
                                 "    bus: PS/2\n"
                                 "  [input: event7] ELAN0672:00 04F3:3140 Touchpad\n"
                                 "    type: touchpad\n"
                                 "    bus: I2C\n"
                                 "    vendor-id: 0x04f3\n"
                                 "    product-id: 0x3140\n"
                                 "    attached to: pci 0000:00:15.0\n"
                                 "  [input: event16] TPPS/2 Elan TrackPoint\n"
                                 "    type: pointing stick\n"
                                 "    bus: PS/2\n"
                                 "  [input: event15] ELAN9008:00 04F3:2C43\n"
                                 "    type: touchscreen\n"
                                 "    bus: I2C\n"
                                 "    vendor-id: 0x04f3\n"
                                 "    product-id: 0x2c43\n"
                                 "    attached to: pci 0000:00:15.1\n"
                                 "  [input: event11] Logitech USB Keyboard\n"
                                 "    type: keyboard\n"
                                 "    bus: USB\n"
                                 "    vendor-id: 0x046d\n"
                                 "    product-id: 0xc31c\n"
                                 "    attached to: usb 1-2\n"
                                 "  [input: event13] MX Master 3 Mouse\n"
                                 "    type: mouse\n"
                                 "    bus: Bluetooth\n"
                                 "    vendor-id: 0x046d\n"
                                 "    product-id: 0xb023\n"
                                 "    bluetooth address: d4:41:5e:7a:90:11\n"
                                 "    attached to: usb 1-10\n"
                                 "  [input: event14] Microsoft X-Box One S pad\n"
                                 "    type: game controller\n"
                                 "    bus: USB\n"
                                 "    vendor-id: 0x045e\n"
                                 "    product-id: 0x02ea\n"
                                 "    attached to: usb 1-3\n"
                                 "  [input: event15] Wacom Intuos S Pen\n"
                                 "    type: pen\n"
                                 "    bus: USB\n"
                                 "    vendor-id: 0x056a\n"
                                 "    product-id: 0x0374\n"
                                 "    serial number: 8GH01M1234567\n"
                                 "    attached to: usb 1-4\n";
    EXPECT_NE(text.find(expected), std::string::npos) << text;
    // Filed under USB by the section title, whatever the lines say.
    int filed = 0;
    for (const HardwareItem &item : parseMacHardware(QString::fromStdString(text))) {
        // Properties are titled "[input: event3] name • key".
        if (item.title.startsWith(QStringLiteral("[input:")) ||
            item.value.startsWith(QStringLiteral("[input:"))) {
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
            ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), m_devices));
        }
        tooltest::writeFile(m_root + QStringLiteral("/proc/cpuinfo"),
                            "processor\t: 0\nmodel name\t: Test CPU\n\n");
        const std::string text = listing();
        EXPECT_EQ(text.find("[input:"), std::string::npos) << odd;
    }
}

} // namespace
