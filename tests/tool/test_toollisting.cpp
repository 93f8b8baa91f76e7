// The --mac-hardware listing of the fixture machines, read back through the
// application's own parser and classifier, and of damaged machines.
#include "model/hardwarecategory.h"
#include "tests/tool/tooltesthelpers.h"

#include <QMap>

#include <algorithm>
#include <numeric>

namespace {

using tooltest::fixture;

// The counts ("Category count", by title) are made by hand from the reviewed
// listing. Names that hold an earlier rule's keyword move, unless their section
// is named after a category: a host bridge named "...Core Processor Host
// Bridge" under "PCI Devices" counts as CPU, while a memory module labelled
// "CPU_SrcID#0..." stays under "Memory" (the server has 4 such labels).
TEST(FixtureMachine, PrintsTheReviewedListingThatReadsBackAsWritten)
{
    const std::pair<const char *, const char *> machines[] = {
        {"sysroot-laptop", "Audio 17, Battery 13, CPU 29, Firmware 10, GPU 41, Memory 3, "
                           "Network 32, PCI 57, Platform 8, Storage 21, USB 77"},
        {"sysroot-server", "CPU 26, Firmware 5, GPU 11, Memory 59, Network 58, PCI 21, "
                           "Platform 6, Storage 51, USB 28"},
        {"sysroot-desktop", "CPU 16, Firmware 7, GPU 47, Memory 34, Network 19, PCI 44, "
                            "Platform 10, Storage 43, USB 65"},
    };
    for (const auto &[name, expectedCounts] : machines) {
        SCOPED_TRACE(name);
        const QString root = fixture(name);
        const QByteArray listing = tooltest::checkedListing(root);
        EXPECT_EQ(listing, tooltest::readFile(root + u"/expected/mac-hardware.txt"_s));
        QMap<QString, int> counts;
        for (const HardwareItem &item : parseMacHardware(QString::fromUtf8(listing))) {
            ++counts[rawValue(item.category)];
            // The application drops one-character values as placeholders ("0",
            // "-"), so counts are written with their unit ("4 cores", not "4").
            EXPECT_GE(item.value.size(), 2) << item.title.toStdString();
        }
        QStringList actual;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            actual.append(it.key() + u' ' + QString::number(it.value()));
        }
        EXPECT_EQ(actual.join(u", "_s).toStdString(), expectedCounts);
    }
}

// A copy of the laptop to damage.
class HostileMachine : public tooltest::ScratchMachine {
protected:
    void SetUp() override { tooltest::copyTree(fixture("sysroot-laptop"), m_root); }
};

TEST_F(HostileMachine, StrangeAttributesStayInsideTheirLine)
{
    const QString usb = u"/sys/devices/pci0000:00/0000:00:14.0/usb1"_s;
    const QString nvme = u"/sys/devices/pci0000:00/0000:00:1d.0/0000:04:00.0/nvme/nvme0"_s;
    const QString wifi = u"/sys/devices/pci0000:00/0000:00:14.3/net/wlp0s20f3"_s;
    const QString battery = u"/sys/class/power_supply/BAT0"_s;
    files(usb, {"1-1/product=Mouse: with colon::\n", "1-4/manufacturer=CPU Memory USB Audio",
                "1-4/product=Storage:\nNetwork:\n[fake] device\n"});
    files(nvme, {"model=Evil\x01\x1B[31mDisk\r\nStorage:\n", "firmware_rev=\xC2\xA0\xC2\xA0"});
    set(wifi + u"/operstate"_s, ":");
    files(battery, {"manufacturer=\xFF\xFESMP\xC3", "model_name=" + QByteArray(65536, 'A'),
                    "technology=Li\xE2\x80\xA8ion\xC2\x85x\xE2\x80\xAEy"});
    set(u"/sys/class/drm/card0-Evil:Name/status"_s, "connected:");
    set(u"/proc/asound/cards"_s, " 0 [PCH            ]: HDA-Intel - ::\n");
    set(u"/sys/class/dmi/id/sys_vendor"_s, "");

    const QByteArray text = runListing();
    const QList<HardwareItem> items = parseMacHardware(QString::fromUtf8(text));
    auto valueOf = [&items](const char *device, const char *key) {
        const auto it = std::find_if(items.begin(), items.end(), [&](const HardwareItem &item) {
            return item.title.startsWith(QString::fromUtf8(device)) &&
                   item.title.endsWith(u" \u2022 "_s + QString::fromUtf8(key));
        });
        return it == items.end() ? u"<absent>"_s : it->value;
    };
    EXPECT_EQ(valueOf("[usb: 1-1]", "product"), u"Mouse: with colon"_s);
    EXPECT_EQ(valueOf("[usb: 1-4]", "product"), u"Storage: Network: [fake] device"_s);
    EXPECT_TRUE(
        text.contains("  [usb: 1-4] CPU Memory USB Audio Storage: Network: [fake] device\n"));
    EXPECT_EQ(valueOf("[disk: nvme0n1]", "model"), u"Evil [31mDisk Storage"_s);
    EXPECT_EQ(valueOf("[disk: nvme0n1]", "revision"), u"<absent>"_s);
    EXPECT_EQ(valueOf("[net: wlp0s20f3]", "link"), u"<absent>"_s);
    EXPECT_EQ(valueOf("[power: BAT0]", "manufacturer"), u"\uFFFD\uFFFDSMP\uFFFD"_s);
    EXPECT_EQ(valueOf("[power: BAT0]", "technology"), u"Li ion xy"_s);
    EXPECT_EQ(valueOf("[power: BAT0]", "model"), QString(256, u'A') + u'\u2026');
    EXPECT_EQ(valueOf("[pci: 0000:00:02.0]", "output Evil Name"), u"connected"_s);
    // The card has no name left: the sound card line falls back to its id.
    EXPECT_TRUE(text.contains("  [sound: card0] PCH\n"));
}

TEST_F(HostileMachine, MissingOrDamagedDatabasesGiveNumbersNotAnEnd)
{
    for (bool damaged : {false, true}) {
        QDir(m_root + u"/usr"_s).removeRecursively();
        if (damaged) {
            set(u"/usr/share/misc/pci.ids"_s, "8086  Intel Corporation\n\tnot an id at all\n");
            set(u"/usr/share/misc/usb.ids"_s, QByteArray("\t\t\xFF\n04\n\tc077\n", 14));
        }
        const QByteArray text = runListing();
        EXPECT_TRUE(text.contains("  [pci: 0000:00:02.0] PCI device 8086:9a49\n"));
        EXPECT_TRUE(text.contains("  [usb: 1-10] USB device 8087:0026\n"));
        EXPECT_TRUE(text.contains("  [usb: 1-1] Logitech USB Optical Mouse\n"));
        EXPECT_TRUE(damaged || !text.contains("    class: "));
        EXPECT_TRUE(text.contains("Firmware:\n"));
    }
}

TEST_F(HostileMachine, AnEmptyMachineStillSaysHowItBoots)
{
    QDir(m_root).removeRecursively();
    mkdir(u"/"_s);
    EXPECT_EQ(runListing(),
              "Platform:\n  [platform: machine] This computer\n\n"
              "Firmware:\n  [firmware: boot] Legacy BIOS\n    boot mode: Legacy BIOS\n"
              "    dmi tables: not exposed by this system\n");
}

TEST_F(HostileMachine, ReadsLessCommonBusLayouts)
{
    restart();
    // A disk behind a VMD domain.
    const QString function = u"/sys/devices/pci10000:e0/10000:e1:00.0"_s;
    files(function, {"vendor=0x144d\n", "device=0xa80a\n", "class=0x010802\n",
                     "nvme/nvme0/model=Disk behind VMD\n", "nvme/nvme0/nvme0n1/size=2000\n"});
    const QString disk = function + u"/nvme/nvme0/nvme0n1"_s;
    linkTo(function + u"/nvme/nvme0"_s, disk + u"/device"_s);
    linkTo(disk, u"/sys/block/nvme0n1"_s);
    // A network interface whose path has an I2C-style "0-0050" part.
    const QString interface = u"/sys/devices/platform/i2c-0/0-0050/net/can0"_s;
    set(interface + u"/type"_s, "280\n");
    mkdir(interface + u"/device"_s);
    linkTo(interface, u"/sys/class/net/can0"_s);
    const QByteArray text = runListing();
    EXPECT_TRUE(text.contains("  [disk: nvme0n1] Disk behind VMD\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("    transport: NVMe\n    attached to: pci 10000:e1:00.0\n"));
    EXPECT_TRUE(text.contains("  [net: can0] Network interface\n    type: link type 280\n"));
    EXPECT_FALSE(text.contains("attached to: usb"));
}

// Monitors land in GPU whatever words their names hold.
TEST_F(HostileMachine, ListsTheMonitorsOfConnectedOutputs)
{
    const QString card = u"/sys/devices/pci0000:00/0000:00:02.0/drm/card0/"_s;
    const QByteArray panel = tooltest::readFile(
        QStringLiteral(KESTRIN_FIXTURES_DIR "/edid/edp-sharp-lq156d1-001a60581a2e.bin"));
    QByteArray monitor = tooltest::readFile(
        QStringLiteral(KESTRIN_FIXTURES_DIR "/edid/dp-dell-u2515h-012cc00c4665.bin"));
    // The name descriptor (0xFC at byte 90), renamed; the checksum mended.
    monitor.replace(95, 13, QByteArray("USB Audio\n   "));
    monitor[127] = static_cast<char>(-std::accumulate(monitor.begin(), monitor.begin() + 127, 0));
    set(card + u"card0-eDP-1/edid"_s, panel);
    set(card + u"card0-DP-1/status"_s, "connected\n");
    set(card + u"card0-DP-1/edid"_s, monitor);
    // Disconnected: its stale EDID is not a monitor.
    set(card + u"card0-HDMI-A-1/status"_s, "disconnected\n");
    set(card + u"card0-HDMI-A-1/edid"_s, panel);
    set(u"/usr/share/hwdata/pnp.ids"_s, "SHP\tSharp Corporation\n");

    const QByteArray text = runListing();
    // A panel without a status file is connected.
    EXPECT_TRUE(text.contains("  [display: eDP-1] Sharp Corporation 7PHPT\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("  [display: DP-1] USB Audio\n    manufacturer: DEL\n"));
    EXPECT_FALSE(text.contains("[display: HDMI-A-1]"));
    int displays = 0;
    for (const HardwareItem &item : parseMacHardware(QString::fromUtf8(text))) {
        if (item.title.startsWith(u"[display:"_s)) {
            ++displays;
            EXPECT_EQ(item.category, HardwareCategory::gpu) << item.title.toStdString();
        }
    }
    EXPECT_GE(displays, 20);

    // A damaged EDID still names its output, and why nothing more is shown.
    set(card + u"card0-DP-1/edid"_s, monitor.left(100));
    const QByteArray damaged = runListing();
    EXPECT_TRUE(damaged.contains("  [display: DP-1] Monitor\n    connector: DisplayPort\n"))
        << damaged.toStdString();
    EXPECT_TRUE(damaged.contains("    edid: truncated block 0\n"));
}

TEST_F(HostileMachine, NamesDeviceTreeProcessors)
{
    restart();
    set(u"/proc/cpuinfo"_s, "processor\t: 0\nBogoMIPS\t: 108.00\nCPU part\t: 0xd08\n\n"
                            "processor\t: 1\nBogoMIPS\t: 108.00\nCPU part\t: 0xd08\n");
    set(u"/sys/devices/system/cpu/cpu0/of_node/compatible"_s, QByteArray("arm,cortex-a72\0", 15));
    set(u"/sys/firmware/devicetree/base/model"_s,
        QByteArray("Raspberry Pi 4 Model B Rev 1.4\0", 31));
    const QByteArray text = runListing();
    EXPECT_TRUE(text.startsWith("Platform:\n  [platform: machine] Raspberry Pi 4 Model B Rev 1.4\n"
                                "    device tree model: Raspberry Pi 4 Model B Rev 1.4\n\n"
                                "CPU:\n  [cpu: package 0] arm,cortex-a72\n"
                                "    model name: arm,cortex-a72\n"
                                "    processors: 2 logical processors\n"))
        << text.toStdString();
}

TEST(ToolArguments, SysrootNeedsADirectory)
{
    const tooltest::ToolRun run = tooltest::runTool({u"--sysroot"_s});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.standardOutput.isEmpty());
    EXPECT_TRUE(run.standardError.contains("--sysroot needs a directory"));
}

} // namespace
