// The --mac-hardware listing of the fixture machines, read back through the
// application's own parser and classifier.
#include "model/hardwarecategory.h"
#include "scanner/macparser.h"
#include "tests/tool/tooltesthelpers.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <fstream>
#include <gtest/gtest.h>

namespace {

using tooltest::expectRoundTrip;
using tooltest::fixture;
using tooltest::runTool;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    // A fixture attribute may be a relative symbolic link: replace, not follow.
    QFile::remove(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

QMap<HardwareCategory, int> countByCategory(const QByteArray &listing)
{
    QMap<HardwareCategory, int> counts;
    for (const HardwareItem &item : parseMacHardware(QString::fromUtf8(listing))) {
        ++counts[item.category];
    }
    return counts;
}

QByteArray listingOf(const QString &root)
{
    const tooltest::ToolRun run =
        runTool({QStringLiteral("--sysroot"), root, QStringLiteral("--mac-hardware")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.standardError.isEmpty()) << run.standardError.toStdString();
    return run.standardOutput;
}

struct FixtureCase {
    const char *name;
    QMap<HardwareCategory, int> counts;
};

class FixtureMachine : public testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureMachine, PrintsTheReviewedListing)
{
    const QString root = fixture(GetParam().name);
    EXPECT_EQ(listingOf(root), readFile(root + QStringLiteral("/expected/mac-hardware.txt")));
}

TEST_P(FixtureMachine, EveryLineReadsBackAsWritten)
{
    expectRoundTrip(listingOf(fixture(GetParam().name)));
}

// Counted by hand from the reviewed listing. Names that hold an earlier rule's
// keyword move: a host bridge named "...Core Processor Host Bridge" counts as
// CPU, and so does a memory module labelled "CPU_SrcID#0...".
TEST_P(FixtureMachine, FilesEveryFactUnderItsCategory)
{
    EXPECT_EQ(countByCategory(listingOf(fixture(GetParam().name))), GetParam().counts);
}

// The application drops one-character values as placeholders ("0", "-"), so
// counts are written with their unit ("4 cores, 8 threads", not "4").
TEST_P(FixtureMachine, NoValueIsTooShortToBeShown)
{
    for (const HardwareItem &item :
         parseMacHardware(QString::fromUtf8(listingOf(fixture(GetParam().name))))) {
        EXPECT_GE(item.value.size(), 2) << item.title.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, FixtureMachine,
                         testing::Values(FixtureCase{"sysroot-laptop",
                                                     {{HardwareCategory::platform, 6},
                                                      {HardwareCategory::cpu, 14 + 2},
                                                      {HardwareCategory::memory, 2},
                                                      {HardwareCategory::pci, 46},
                                                      {HardwareCategory::gpu, 14},
                                                      {HardwareCategory::network, 24},
                                                      {HardwareCategory::storage, 19},
                                                      {HardwareCategory::audio, 17},
                                                      {HardwareCategory::usb, 50},
                                                      {HardwareCategory::battery, 13},
                                                      {HardwareCategory::firmware, 7}}},
                                         FixtureCase{"sysroot-server",
                                                     {{HardwareCategory::platform, 6},
                                                      {HardwareCategory::cpu, 26 + 4},
                                                      {HardwareCategory::memory, 23},
                                                      {HardwareCategory::pci, 10},
                                                      {HardwareCategory::gpu, 11},
                                                      {HardwareCategory::network, 58},
                                                      {HardwareCategory::storage, 50},
                                                      {HardwareCategory::usb, 28},
                                                      {HardwareCategory::firmware, 5}}}),
                         [](const testing::TestParamInfo<FixtureCase> &info) {
                             return std::string(info.param.name).substr(8);
                         });

class HostileMachine : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/root");
        tooltest::copyTree(fixture("sysroot-laptop"), m_root);
    }

    void set(const char *path, const QByteArray &bytes)
    {
        writeFile(m_root + QString::fromUtf8(path), bytes);
    }

    // The value of the property `key` of the device whose line starts with `device`.
    QString valueOf(const QList<HardwareItem> &items, const QString &device, const QString &key)
    {
        for (const HardwareItem &item : items) {
            if (item.title.startsWith(device) &&
                item.title.endsWith(QStringLiteral(" \u2022 ") + key)) {
                return item.value;
            }
        }
        return QStringLiteral("<absent>");
    }

    QTemporaryDir m_dir;
    QString m_root;
};

constexpr const char *mouse = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1";
constexpr const char *camera = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4";
constexpr const char *nvme = "/sys/devices/pci0000:00/0000:00:1d.0/0000:04:00.0/nvme/nvme0";
constexpr const char *wifi = "/sys/devices/pci0000:00/0000:00:14.3/net/wlp0s20f3";

TEST_F(HostileMachine, StrangeAttributesStayInsideTheirLine)
{
    set((std::string(mouse) + "/product").c_str(), "Mouse: with colon::\n");
    set((std::string(camera) + "/manufacturer").c_str(), "CPU Memory USB Audio");
    set((std::string(camera) + "/product").c_str(), "Storage:\nNetwork:\n[fake] device\n");
    set((std::string(nvme) + "/model").c_str(), "Evil\x01\x1B[31mDisk\r\nStorage:\n");
    set((std::string(nvme) + "/firmware_rev").c_str(), "\xC2\xA0\xC2\xA0");
    set((std::string(wifi) + "/address").c_str(), "   \n");
    set((std::string(wifi) + "/operstate").c_str(), ":");
    set("/sys/class/power_supply/BAT0/manufacturer", "\xFF\xFESMP\xC3");
    set("/sys/class/power_supply/BAT0/model_name", QByteArray(65536, 'A'));
    set("/sys/class/power_supply/BAT0/technology", "Li\xE2\x80\xA8ion\xC2\x85x\xE2\x80\xAEy");
    set("/sys/class/drm/card0-Evil:Name/status", "connected:");
    set("/proc/asound/cards", " 0 [PCH            ]: HDA-Intel - ::\n");
    set("/sys/class/dmi/id/sys_vendor", "");

    const QByteArray listing = listingOf(m_root);
    expectRoundTrip(listing);
    const QList<HardwareItem> items = parseMacHardware(QString::fromUtf8(listing));

    EXPECT_EQ(valueOf(items, QStringLiteral("[usb: 1-1]"), QStringLiteral("product")),
              QStringLiteral("Mouse: with colon"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[usb: 1-4]"), QStringLiteral("product")),
              QStringLiteral("Storage: Network: [fake] device"));
    EXPECT_TRUE(
        listing.contains("  [usb: 1-4] CPU Memory USB Audio Storage: Network: [fake] device\n"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[disk: nvme0n1]"), QStringLiteral("model")),
              QStringLiteral("Evil [31mDisk Storage"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[disk: nvme0n1]"), QStringLiteral("revision")),
              QStringLiteral("<absent>"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[net: wlp0s20f3]"), QStringLiteral("mac address")),
              QStringLiteral("<absent>"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[net: wlp0s20f3]"), QStringLiteral("link")),
              QStringLiteral("<absent>"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[power: BAT0]"), QStringLiteral("manufacturer")),
              QStringLiteral("\uFFFD\uFFFDSMP\uFFFD"));
    EXPECT_EQ(valueOf(items, QStringLiteral("[power: BAT0]"), QStringLiteral("technology")),
              QStringLiteral("Li ion xy"));
    const QString model = valueOf(items, QStringLiteral("[power: BAT0]"), QStringLiteral("model"));
    EXPECT_EQ(model.size(), 257);
    EXPECT_TRUE(model.endsWith(u'\u2026'));
    EXPECT_EQ(
        valueOf(items, QStringLiteral("[pci: 0000:00:02.0]"), QStringLiteral("output Evil Name")),
        QStringLiteral("connected"));
    // The card has no name left: the sound card line falls back to its id.
    EXPECT_TRUE(listing.contains("  [sound: card0] PCH\n"));
}

TEST_F(HostileMachine, WithoutDatabasesShowsTheNumbers)
{
    QDir(m_root + QStringLiteral("/usr")).removeRecursively();
    const QByteArray listing = listingOf(m_root);
    expectRoundTrip(listing);
    EXPECT_TRUE(listing.contains("  [pci: 0000:00:02.0] PCI device 8086:9a49\n"));
    EXPECT_TRUE(listing.contains("  [usb: 1-10] USB device 8087:0026\n"));
    // A device's own strings still name it.
    EXPECT_TRUE(listing.contains("  [usb: 1-1] Logitech USB Optical Mouse\n"));
    EXPECT_FALSE(listing.contains("    class: "));
}

TEST_F(HostileMachine, ADamagedDatabaseGivesNumbersNotAnEnd)
{
    set("/usr/share/misc/pci.ids", "8086  Intel Corporation\n\tnot an id at all\n");
    set("/usr/share/misc/usb.ids", QByteArray("\t\t\xFF\n04\n\tc077\n", 14));
    const QByteArray listing = listingOf(m_root);
    expectRoundTrip(listing);
    EXPECT_TRUE(listing.contains("  [pci: 0000:00:02.0] PCI device 8086:9a49\n"));
    EXPECT_TRUE(listing.contains("  [usb: 1-10] USB device 8087:0026\n"));
    EXPECT_TRUE(listing.contains("Firmware:\n"));
}

TEST_F(HostileMachine, AnEmptyMachineStillSaysHowItBoots)
{
    QDir(m_root).removeRecursively();
    QDir().mkpath(m_root);
    const QByteArray listing = listingOf(m_root);
    expectRoundTrip(listing);
    EXPECT_EQ(listing, "Platform:\n  [platform: machine] This computer\n\n"
                       "Firmware:\n  [firmware: boot] Legacy BIOS\n    boot mode: Legacy BIOS\n"
                       "    dmi tables: not exposed by this system\n");
}

TEST_F(HostileMachine, ReadsLessCommonBusLayouts)
{
    QDir(m_root).removeRecursively();
    const QString function = QStringLiteral("/sys/devices/pci10000:e0/10000:e1:00.0");
    set((function + QStringLiteral("/vendor")).toUtf8().constData(), "0x144d\n");
    set((function + QStringLiteral("/device")).toUtf8().constData(), "0xa80a\n");
    set((function + QStringLiteral("/class")).toUtf8().constData(), "0x010802\n");
    const QString disk = function + QStringLiteral("/nvme/nvme0/nvme0n1");
    set((disk + QStringLiteral("/size")).toUtf8().constData(), "2000\n");
    set((function + QStringLiteral("/nvme/nvme0/model")).toUtf8().constData(), "Disk behind VMD\n");
    ASSERT_TRUE(
        QFile::link(QStringLiteral("../../nvme0"), m_root + disk + QStringLiteral("/device")));
    QDir().mkpath(m_root + QStringLiteral("/sys/block"));
    ASSERT_TRUE(QFile::link(QStringLiteral("..") + disk.mid(4),
                            m_root + QStringLiteral("/sys/block/nvme0n1")));
    // A network interface whose path has an I2C-style "0-0050" part.
    const QString interface = QStringLiteral("/sys/devices/platform/i2c-0/0-0050/net/can0");
    set((interface + QStringLiteral("/type")).toUtf8().constData(), "280\n");
    QDir().mkpath(m_root + interface + QStringLiteral("/device"));
    QDir().mkpath(m_root + QStringLiteral("/sys/class/net"));
    ASSERT_TRUE(QFile::link(QStringLiteral("../..") + interface.mid(4),
                            m_root + QStringLiteral("/sys/class/net/can0")));

    // A memory card: named by its card, not a model.
    const QString card =
        QStringLiteral("/sys/devices/platform/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa");
    set((card + QStringLiteral("/name")).toUtf8().constData(), "SC64G\n");
    set((card + QStringLiteral("/block/mmcblk0/size")).toUtf8().constData(), "124735488\n");
    set((card + QStringLiteral("/block/mmcblk0/removable")).toUtf8().constData(), "0\n");
    ASSERT_TRUE(QFile::link(QStringLiteral("../../../mmc0:aaaa"),
                            m_root + card + QStringLiteral("/block/mmcblk0/device")));
    ASSERT_TRUE(QFile::link(QStringLiteral("..") + card.mid(4) + QStringLiteral("/block/mmcblk0"),
                            m_root + QStringLiteral("/sys/block/mmcblk0")));

    const QByteArray listing = listingOf(m_root);
    expectRoundTrip(listing);
    EXPECT_TRUE(listing.contains("  [disk: mmcblk0] SC64G\n    model: SC64G\n    size: 63.9 GB\n"
                                 "    removable: no\n    transport: MMC/SD\n"))
        << listing.toStdString();
    EXPECT_TRUE(listing.contains("  [disk: nvme0n1] Disk behind VMD\n"));
    EXPECT_TRUE(listing.contains("    transport: NVMe\n    attached to: pci 10000:e1:00.0\n"));
    EXPECT_TRUE(listing.contains("  [net: can0] Network interface\n    type: link type 280\n"));
    EXPECT_FALSE(listing.contains("attached to: usb"));
}

TEST_F(HostileMachine, NamesDeviceTreeProcessors)
{
    QDir(m_root).removeRecursively();
    set("/proc/cpuinfo", "processor\t: 0\nBogoMIPS\t: 108.00\nCPU part\t: 0xd08\n\n"
                         "processor\t: 1\nBogoMIPS\t: 108.00\nCPU part\t: 0xd08\n");
    set("/sys/devices/system/cpu/cpu0/of_node/compatible", QByteArray("arm,cortex-a72\0", 15));
    set("/sys/firmware/devicetree/base/model", QByteArray("Raspberry Pi 4 Model B Rev 1.4\0", 31));
    const QByteArray listing = listingOf(m_root);
    expectRoundTrip(listing);
    EXPECT_TRUE(listing.startsWith(
        "Platform:\n  [platform: machine] Raspberry Pi 4 Model B Rev 1.4\n"
        "    device tree model: Raspberry Pi 4 Model B Rev 1.4\n\n"
        "CPU:\n  [cpu: package 0] arm,cortex-a72\n    model name: arm,cortex-a72\n"
        "    processors: 2 logical processors\n"))
        << listing.toStdString();
}

TEST(ToolArguments, SysrootNeedsADirectory)
{
    const tooltest::ToolRun run = runTool({QStringLiteral("--sysroot")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.standardOutput.isEmpty());
    EXPECT_TRUE(run.standardError.contains("--sysroot needs a directory"));
}

} // namespace
