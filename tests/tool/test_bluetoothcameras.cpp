// Bluetooth controllers and cameras on a small machine built per test: named
// from the device they are part of, and filed where a person looks for them.
#include "tests/tool/tooltesthelpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>

namespace {

class Peripherals : public tooltest::ScratchMachine {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        set(QStringLiteral("/proc/cpuinfo"), "processor\t: 0\nmodel name\t: Test CPU\n\n");
        set(QStringLiteral("/usr/share/misc/usb.ids"), "04f2  Chicony Electronics Co., Ltd\n"
                                                       "8087  Intel Corp.\n"
                                                       "\t0026  AX201 Bluetooth\n");
    }

    // A USB device under the first controller, with one interface per driver.
    QString usbDevice(const QString &name, const char *vendor, const char *product,
                      const QStringList &drivers)
    {
        const QString device = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/") + name;
        set(device + QStringLiteral("/idVendor"), QByteArray(vendor) + "\n");
        set(device + QStringLiteral("/idProduct"), QByteArray(product) + "\n");
        link(QStringLiteral("../../../devices/pci0000:00/0000:00:14.0/usb1/") + name,
             QStringLiteral("/sys/bus/usb/devices/") + name);
        for (int i = 0; i < drivers.size(); ++i) {
            const QString interface = device + QStringLiteral("/%1:1.%2").arg(name).arg(i);
            set(interface + QStringLiteral("/bInterfaceNumber"), "00\n");
            link(QStringLiteral("../../../../../../bus/usb/drivers/") + drivers[i],
                 interface + QStringLiteral("/driver"));
        }
        return device;
    }

    std::string listing()
    {
        const QByteArray text = runListing();
        m_items = parseMacHardware(QString::fromUtf8(text));
        return text.toStdString();
    }

    // The category of every line of the device whose line starts so.
    void expectFiled(const char *deviceLine, HardwareCategory category, int lines)
    {
        int found = 0;
        for (const HardwareItem &item : m_items) {
            if (item.title.startsWith(QString::fromUtf8(deviceLine)) ||
                item.value.startsWith(QString::fromUtf8(deviceLine))) {
                EXPECT_EQ(item.category, category) << item.title.toStdString();
                ++found;
            }
        }
        EXPECT_EQ(found, lines) << deviceLine;
    }

    QList<HardwareItem> m_items;
};

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(Peripherals, BluetoothControllersAreNamedFromTheirDeviceUnderNetwork)
{
    const QString usb =
        usbDevice(QStringLiteral("1-10"), "8087", "0026", {QStringLiteral("btusb")});
    const QString hci0 = usb + QStringLiteral("/1-10:1.0/bluetooth/hci0");
    set(hci0 + QStringLiteral("/address"), "8c:c6:81:2a:5b:19\n");
    link(QStringLiteral("../../../1-10:1.0"), hci0 + QStringLiteral("/device"));
    link(QStringLiteral("../../devices/pci0000:00/0000:00:14.0/usb1/1-10/1-10:1.0/bluetooth/hci0"),
         QStringLiteral("/sys/class/bluetooth/hci0"));
    // A connection of hci0: no controller.
    set(hci0 + QStringLiteral("/hci0:256/type"), "ACL\n");
    link(QStringLiteral(
             "../../devices/pci0000:00/0000:00:14.0/usb1/1-10/1-10:1.0/bluetooth/hci0/hci0:256"),
         QStringLiteral("/sys/class/bluetooth/hci0:256"));
    // On a serial line, with an address that is none.
    const QString uart = QStringLiteral("/sys/devices/platform/serial8250/serial0/serial0-0");
    set(uart + QStringLiteral("/bluetooth/hci1/address"), "garbage\n");
    link(QStringLiteral("../../../serial0-0"), uart + QStringLiteral("/bluetooth/hci1/device"));
    link(QStringLiteral("../../../../../bus/serial/drivers/hci_uart_bcm"),
         uart + QStringLiteral("/driver"));
    link(QStringLiteral("../../devices/platform/serial8250/serial0/serial0-0/bluetooth/hci1"),
         QStringLiteral("/sys/class/bluetooth/hci1"));
    // Gone from the device tree: listed by its own name only.
    link(QStringLiteral("../../devices/nowhere/hci2"), QStringLiteral("/sys/class/bluetooth/hci2"));
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "Network:\n"
                               "  [bluetooth: hci0] Intel Corp. AX201 Bluetooth\n"
                               "    bus: USB\n"
                               "    vendor-id: 0x8087\n"
                               "    product-id: 0x0026\n"
                               "    driver: btusb\n"
                               "    bluetooth address: 8c:c6:81:2a:5b:19\n"
                               "    attached to: usb 1-10\n"
                               "  [bluetooth: hci1] Bluetooth controller\n"
                               "    bus: UART\n"
                               "    driver: hci_uart_bcm\n"
                               "  [bluetooth: hci2] Bluetooth controller\n"
                               "\n"))
        << text;
    EXPECT_FALSE(contains(text, "hci0:256"));
    expectFiled("[bluetooth: hci0]", HardwareCategory::network, 7);
    expectFiled("[bluetooth: hci1]", HardwareCategory::network, 3);
}

TEST_F(Peripherals, CamerasOncePerDeviceUnderUsb)
{
    const QString usb = usbDevice(
        QStringLiteral("1-4"), "04f2", "b6cb",
        {QStringLiteral("uvcvideo"), QStringLiteral("uvcvideo"), QStringLiteral("uvcvideo")});
    set(usb + QStringLiteral("/manufacturer"), "Chicony Electronics Co.,Ltd.\n");
    set(usb + QStringLiteral("/product"), "Integrated Camera\n");
    struct Node {
        const char *name;
        const char *interface;
        const char *label;
        QByteArray index;
    };
    const Node nodes[] = {
        {"video0", "1-4:1.0", "Integrated Camera: Integrated C\n", "0\n"},
        {"video1", "1-4:1.0", "Integrated Camera: Integrated C\n", "1\n"}, // its metadata
        {"video2", "1-4:1.2", "Integrated Camera: Integrated I\n", "0\n"}, // the infrared one
        {"video3", "1-4:1.2", "Integrated Camera: Integrated I\n", "1\n"},
        {"video10", "1-4:1.1", "", ""}, // no name, no index: listed by its device
    };
    for (const Node &node : nodes) {
        const QString name = QString::fromUtf8(node.name);
        const QString interface = QString::fromUtf8(node.interface);
        const QString path =
            usb + QLatin1Char('/') + interface + QStringLiteral("/video4linux/") + name;
        set(path + QStringLiteral("/name"), node.label);
        set(path + QStringLiteral("/index"), node.index);
        link(QStringLiteral("../../../") + interface, path + QStringLiteral("/device"));
        link(QStringLiteral("../../devices/pci0000:00/0000:00:14.0/usb1/1-4/") + interface +
                 QStringLiteral("/video4linux/") + name,
             QStringLiteral("/sys/class/video4linux/") + name);
    }
    link(QStringLiteral("nowhere"), QStringLiteral("/sys/class/video4linux/video11"));
    const std::string text = listing();
    const std::string camera = "    type: video capture\n"
                               "    device: Chicony Electronics Co.,Ltd. Integrated Camera\n"
                               "    driver: uvcvideo\n"
                               "    attached to: usb 1-4\n";
    EXPECT_TRUE(
        contains(text, "  [camera: video0] Integrated Camera: Integrated C\n" + camera +
                           "  [camera: video2] Integrated Camera: Integrated I\n" + camera +
                           "  [camera: video10] Chicony Electronics Co.,Ltd. Integrated Camera\n" +
                           camera + "  [camera: video11] Video device\n    type: video capture\n"))
        << text;
    EXPECT_FALSE(contains(text, "video1]"));
    EXPECT_FALSE(contains(text, "video3]"));
    expectFiled("[camera: video0]", HardwareCategory::usb, 5);
    expectFiled("[camera: video11]", HardwareCategory::usb, 2);
}

TEST_F(Peripherals, ACaptureUnitOnPciIsOneCamera)
{
    const QString ipu = QStringLiteral("/sys/devices/pci0000:00/0000:00:05.0");
    set(ipu + QStringLiteral("/vendor"), "0x8086\n");
    set(ipu + QStringLiteral("/device"), "0xa75d\n");
    set(ipu + QStringLiteral("/class"), "0x048000\n");
    link(QStringLiteral("../../../bus/pci/drivers/intel-ipu6"), ipu + QStringLiteral("/driver"));
    link(QStringLiteral("../../../devices/pci0000:00/0000:00:05.0"),
         QStringLiteral("/sys/bus/pci/devices/0000:00:05.0"));
    set(QStringLiteral("/usr/share/misc/pci.ids"),
        "8086  Intel Corporation\n\ta75d  Raptor Lake IPU\n");
    for (int i = 0; i < 3; ++i) {
        const QString node = QStringLiteral("video%1").arg(i);
        const QString path = ipu + QStringLiteral("/video4linux/") + node;
        set(path + QStringLiteral("/name"),
            QStringLiteral("Intel IPU6 ISYS Capture %1\n").arg(i).toUtf8());
        set(path + QStringLiteral("/index"), "0\n");
        link(QStringLiteral("../../../0000:00:05.0"), path + QStringLiteral("/device"));
        link(QStringLiteral("../../devices/pci0000:00/0000:00:05.0/video4linux/") + node,
             QStringLiteral("/sys/class/video4linux/") + node);
    }
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "  [camera: video0] Intel IPU6 ISYS Capture 0\n"
                               "    type: video capture\n"
                               "    device: Intel Corporation Raptor Lake IPU\n"
                               "    driver: intel-ipu6\n"
                               "    attached to: pci 0000:00:05.0\n"))
        << text;
    EXPECT_FALSE(contains(text, "[camera: video1]"));
    EXPECT_FALSE(contains(text, "[camera: video2]"));
    expectFiled("[camera: video0]", HardwareCategory::usb, 5);
}

} // namespace
