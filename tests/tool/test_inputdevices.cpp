// Input devices as /proc/bus/input/devices shows them on real machines: what is
// listed, as what, and which of the machine's own buttons are left out.
#include "tests/tool/tooltesthelpers.h"
#include "tool/sections/input.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using devices::InputKind;

// Captures of a laptop, of peripherals, and of a game pad with a touchpad and
// motion sensors of its own.
std::string capture(const char *name)
{
    return tooltest::readFile(tooltest::fixture("input-devices/") + QString::fromUtf8(name))
        .toStdString();
}

struct Expected {
    InputKind kind;
    const char *name, *bus, *node;
};

// Odd text costs only what it spoils. InputListing reads both real captures
// through a whole run.
TEST(InputDevices, ListsWhatAPersonTouchesOncePerDevice)
{
    const struct {
        std::string text;
        std::vector<Expected> expected;
    } cases[] = {
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
        // A bitmap with a word that is no hex, or too many words: no bit of it
        // is believed.
        {"N: Name=\"A\"\nB: EV=3\nB: KEY=fffffffffffffffg\n", {}},
        {"N: Name=\"A\"\nB: EV=3\nB: KEY=1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 fffffffffffffffe\n", {}},
        // Capabilities without their event type are not there.
        {"N: Name=\"A\"\nB: EV=1\nB: KEY=fffffffffffffffe\n", {}},
        // A device without a name is nothing a person can recognise.
        {"I: Bus=0011\nB: EV=3\nB: KEY=fffffffffffffffe\n", {}},
        // An accelerometer reports axes but is no pointer.
        {"N: Name=\"Accel\"\nB: PROP=40\nB: EV=9\nB: ABS=7\nB: KEY=10000 0 0 0 0\n", {}},
        {capture("gamepad.txt"),
         {{InputKind::gameController, "Sony Interactive Entertainment Wireless Controller", "USB",
           "event20"}}},
        // A joystick known only by its handler and axes.
        {"I: Bus=0014\nN: Name=\"Gameport joystick\"\nH: Handlers=js1 event20\nB: EV=9\nB: ABS=3\n",
         {{InputKind::gameController, "Gameport joystick", "gameport", "event20"}}},
    };
    for (const auto &testCase : cases) {
        SCOPED_TRACE(testCase.text.substr(0, 200));
        const std::vector<devices::InputDevice> found = devices::parseInputDevices(testCase.text);
        ASSERT_EQ(found.size(), testCase.expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            const Expected &e = testCase.expected[i];
            EXPECT_EQ(
                std::tie(found[i].kind, found[i].name, found[i].bus, found[i].node),
                std::tuple(e.kind, std::string(e.name), std::string(e.bus), std::string(e.node)));
        }
    }
}

TEST(InputDevices, HugeNamesAreCut)
{
    const auto found = devices::parseInputDevices("N: Name=\"" + std::string(100000, 'k') +
                                                  "\"\nB: EV=3\nB: KEY=fffffffffffffffe\n");
    ASSERT_EQ(found.size(), 1U);
    EXPECT_LE(found[0].name.size(), 512U);
}

using InputListing = tooltest::ScratchMachine;
const QString devicesFile = u"/proc/bus/input/devices"_s;

TEST_F(InputListing, ListsEachDeviceWithBusNumbersAndIdentifiers)
{
    set(devicesFile,
        QByteArray::fromStdString(capture("laptop.txt") + "\n" + capture("peripherals.txt")));
    const std::string text = listing();
    const std::string expected =
        tooltest::readFile(tooltest::fixture("input-devices/listing.txt")).toStdString();
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST_F(InputListing, AHugeFileWithoutStructureListsNoInputDevices)
{
    set(devicesFile, QByteArray(4 << 20, 'B'));
    EXPECT_FALSE(tooltest::contains(listing(), "[input:"));
}

} // namespace
