// Bluetooth controllers and cameras on a small machine built per test, named
// from the device they are part of. Which category a section's lines land in
// is pinned by the fixture machines' counts.
#include "tests/tool/tooltesthelpers.h"

#include <string>

namespace {

class Peripherals : public tooltest::ScratchMachine {
protected:
    void SetUp() override
    {
        restart();
        set(u"/usr/share/misc/usb.ids"_s, "04f2  Chicony Electronics Co., Ltd\n8087  Intel Corp.\n"
                                          "\t0026  AX201 Bluetooth\n");
    }

    QString usbDevice(const QString &name, const char *vendor, const char *product,
                      const QStringList &drivers)
    {
        const QString device = u"/sys/devices/pci0000:00/0000:00:14.0/usb1/"_s + name;
        files(device,
              {"idVendor=" + QByteArray(vendor) + "\n", "idProduct=" + QByteArray(product) + "\n"});
        linkTo(device, u"/sys/bus/usb/devices/"_s + name);
        for (int i = 0; i < drivers.size(); ++i) {
            const QString interface = device + u"/%1:1.%2"_s.arg(name).arg(i);
            set(interface + u"/bInterfaceNumber"_s, "00\n");
            linkTo(u"/sys/bus/usb/drivers/"_s + drivers[i], interface + u"/driver"_s);
        }
        return device;
    }
};

using tooltest::contains;

TEST_F(Peripherals, BluetoothControllersAreNamedFromTheirDeviceUnderNetwork)
{
    const QString usb = usbDevice(u"1-10"_s, "8087", "0026", {u"btusb"_s});
    const QString hci0 = usb + u"/1-10:1.0/bluetooth/hci0"_s;
    set(hci0 + u"/address"_s, "8c:c6:81:2a:5b:19\n");
    linkTo(usb + u"/1-10:1.0"_s, hci0 + u"/device"_s);
    linkTo(hci0, u"/sys/class/bluetooth/hci0"_s);
    // A connection of hci0: no controller.
    set(hci0 + u"/hci0:256/type"_s, "ACL\n");
    linkTo(hci0 + u"/hci0:256"_s, u"/sys/class/bluetooth/hci0:256"_s);
    // On a serial line, with an address that is none.
    const QString uart = u"/sys/devices/platform/serial8250/serial0/serial0-0"_s;
    set(uart + u"/bluetooth/hci1/address"_s, "garbage\n");
    linkTo(uart, uart + u"/bluetooth/hci1/device"_s);
    linkTo(u"/sys/bus/serial/drivers/hci_uart_bcm"_s, uart + u"/driver"_s);
    linkTo(uart + u"/bluetooth/hci1"_s, u"/sys/class/bluetooth/hci1"_s);
    // Gone from the device tree: listed by its own name only.
    link(u"../../devices/nowhere/hci2"_s, u"/sys/class/bluetooth/hci2"_s);
    const std::string text = listing();
    // The laptop's listing pins the rest of a USB controller.
    EXPECT_TRUE(contains(text, "    driver: btusb\n    bluetooth address: 8c:c6:81:2a:5b:19\n"
                               "    attached to: usb 1-10\n"
                               "  [bluetooth: hci1] Bluetooth controller\n    bus: UART\n"
                               "    driver: hci_uart_bcm\n"
                               "  [bluetooth: hci2] Bluetooth controller\n\n"))
        << text;
    EXPECT_FALSE(contains(text, "hci0:256"));
}

TEST_F(Peripherals, CamerasOncePerDeviceUnderUsb)
{
    const QString usb =
        usbDevice(u"1-4"_s, "04f2", "b6cb", {u"uvcvideo"_s, u"uvcvideo"_s, u"uvcvideo"_s});
    files(usb, {"manufacturer=Chicony Electronics Co.,Ltd.\n", "product=Integrated Camera\n"});
    const struct {
        const char *name, *interface, *label, *index;
    } nodes[] = {
        // The laptop's listing pins the colour camera and its metadata node.
        {"video2", "1-4:1.2", "Integrated Camera: Integrated I\n", "0\n"}, // the infrared one
        {"video3", "1-4:1.2", "Integrated Camera: Integrated I\n", "1\n"}, // its metadata
        {"video10", "1-4:1.1", "", ""}, // no name, no index: listed by its device
    };
    for (const auto &node : nodes) {
        const QString interface = usb + u'/' + QString::fromUtf8(node.interface);
        const QString path = interface + u"/video4linux/"_s + QString::fromUtf8(node.name);
        files(path, {"name=" + QByteArray(node.label), "index=" + QByteArray(node.index)});
        linkTo(interface, path + u"/device"_s);
        linkTo(path, u"/sys/class/video4linux/"_s + QString::fromUtf8(node.name));
    }
    link(u"nowhere"_s, u"/sys/class/video4linux/video11"_s);
    const std::string text = listing();
    const std::string camera = "    type: video capture\n"
                               "    device: Chicony Electronics Co.,Ltd. Integrated Camera\n"
                               "    driver: uvcvideo\n    attached to: usb 1-4\n";
    EXPECT_TRUE(
        contains(text, "  [camera: video2] Integrated Camera: Integrated I\n" + camera +
                           "  [camera: video10] Chicony Electronics Co.,Ltd. Integrated Camera\n" +
                           camera + "  [camera: video11] Video device\n    type: video capture\n"))
        << text;
    EXPECT_FALSE(contains(text, "video3]"));
}

TEST_F(Peripherals, ACaptureUnitOnPciIsOneCamera)
{
    const QString ipu = u"/sys/devices/pci0000:00/0000:00:05.0"_s;
    files(ipu, {"vendor=0x8086\n", "device=0xa75d\n", "class=0x048000\n"});
    linkTo(u"/sys/bus/pci/drivers/intel-ipu6"_s, ipu + u"/driver"_s);
    linkTo(ipu, u"/sys/bus/pci/devices/0000:00:05.0"_s);
    set(u"/usr/share/misc/pci.ids"_s, "8086  Intel Corporation\n\ta75d  Raptor Lake IPU\n");
    for (int i = 0; i < 3; ++i) {
        const QString path = ipu + u"/video4linux/video%1"_s.arg(i);
        files(path, {"name=Intel IPU6 ISYS Capture " + QByteArray::number(i) + "\n", "index=0\n"});
        linkTo(ipu, path + u"/device"_s);
        linkTo(path, u"/sys/class/video4linux/video%1"_s.arg(i));
    }
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "  [camera: video0] Intel IPU6 ISYS Capture 0\n"
                               "    type: video capture\n"
                               "    device: Intel Corporation Raptor Lake IPU\n"
                               "    driver: intel-ipu6\n    attached to: pci 0000:00:05.0\n"))
        << text;
    EXPECT_FALSE(contains(text, "[camera: video1]") || contains(text, "[camera: video2]"));
}

} // namespace
