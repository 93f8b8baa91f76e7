// Device classes read from small machines built per test: each checks what a
// user reads, and that one odd file costs only its own line.
#include "tests/tool/tooltesthelpers.h"

#include <string>

namespace {

using tooltest::contains;

using SmallMachine = tooltest::ScratchMachine;

// The fixture machines pin the readable policy and verdict lines.
TEST_F(SmallMachine, OddCpuAttributesCostOnlyTheirLine)
{
    set(u"/sys/devices/system/cpu/smt/control"_s, "");
    const QString v = u"/sys/devices/system/cpu/vulnerabilities"_s;
    files(v, {"spec_store_bypass=Mitigation: Speculative Store Bypass disabled via prctl\n",
              "empty=", "unknown=-1\n", "two_lines=a\nb\n", "huge=" + QByteArray(100000, 'x')});
    mkdir(v + u"/folder"_s);
    link(u"nowhere"_s, v + u"/dangling"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    spec store bypass: Mitigation: Speculative Store Bypass "
                               "disabled via prctl\n"))
        << text;
    for (const char *odd : {"smt", "empty", "unknown", "two lines", "huge", "folder", "dangling"}) {
        EXPECT_FALSE(contains(text, std::string("    ") + odd + ":")) << odd;
    }
}

// The fixture machines pin labels, limits, fans and voltages. One decimal,
// rounded half away from zero.
TEST_F(SmallMachine, CpuSensorsRoundAndSkipBadReadingsAndOtherChips)
{
    const QString chip = u"/sys/devices/pci0000:00/0000:00:18.3/hwmon/hwmon2"_s;
    files(chip, {"name=k10temp\n", "temp1_input=40250\n", "temp1_label=Tctl\n",
                 "temp2_input=-250\n", "temp3_input=-1\n", "temp4_input=hot\n",
                 "temp5_input=", "temp6_input=40.5\n", "temp7_input=99999999999999999999999\n",
                 "temp10_input=40249\n", "power1_average=15310000\n", "power1_input=99000000\n"});
    linkTo(chip, u"/sys/class/hwmon/hwmon2"_s);
    // A module's own sensor belongs to the module, not the processor.
    files(u"/sys/class/hwmon/hwmon3"_s, {"name=spd5118\n", "temp1_input=31000\n"});
    link(u"nowhere"_s, u"/sys/class/hwmon/hwmon4"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    sensor chip: k10temp\n    temperature (Tctl): 40.3 °C\n"
                               "    temperature 2: -0.3 °C\n    temperature 10: 40.2 °C\n"
                               "    power: 15.3 W\n"))
        << text;
    EXPECT_FALSE(contains(text, "31.0")) << text;
    EXPECT_FALSE(contains(text, "99.0")) << text;
}

TEST_F(SmallMachine, PcieLinkShowsAsAUserReadsIt)
{
    const struct {
        QByteArray current, currentWidth, max, maxWidth, portWidth;
        const char *expected; // the lines under the device, "" for none
    } cases[] = {
        {"16.0 GT/s PCIe\n", "4\n", "16.0 GT/s PCIe\n", "16\n", "16\n",
         "    link: PCIe 4.0 x4, capable of PCIe 4.0 x16\n"
         "    link note: runs at x4 although the device and its port both allow x16\n"},
        // The slot itself has only four lanes: nothing to remark.
        {"16.0 GT/s PCIe\n", "4\n", "16.0 GT/s PCIe\n", "16\n", "4\n",
         "    link: PCIe 4.0 x4, capable of PCIe 4.0 x16\n"},
        {"8.0 GT/s PCIe\n", "8\n", "", "16\n", "16\n", "    link: PCIe 3.0 x8 (8.0 GT/s)\n"},
        {"5 GT/s\n", "1\n", "5 GT/s\n", "1\n", "16\n", "    link: PCIe 2.0 x1 (5.0 GT/s)\n"},
        {"16.0 GT/s PCIe\n", "-1\n", "16.0 GT/s PCIe\n", "16\n", "16\n", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        restart();
        const QString port = u"/sys/devices/pci0000:00/0000:00:01.1"_s;
        const QString gpu = port + u"/0000:03:00.0"_s;
        files(port, {"vendor=0x1022\n", "device=0x1483\n", "class=0x060400\n",
                     "max_link_speed=16.0 GT/s PCIe\n", "max_link_width=" + c.portWidth});
        files(gpu, {"vendor=0x1002\n", "device=0x73df\n", "class=0x030000\n",
                    "current_link_speed=" + c.current, "current_link_width=" + c.currentWidth,
                    "max_link_speed=" + c.max, "max_link_width=" + c.maxWidth});
        linkTo(port, u"/sys/bus/pci/devices/0000:00:01.1"_s);
        linkTo(gpu, u"/sys/bus/pci/devices/0000:03:00.0"_s);
        const std::string text = listing();
        EXPECT_TRUE(*c.expected ? contains(text, c.expected) : !contains(text, "link:")) << text;
        EXPECT_EQ(contains(text, "link note"), contains(c.expected, "link note")) << text;
    }
}

QByteArray efiVariable(char value)
{
    return QByteArray("\x06\x00\x00\x00", 4) + value;
}

TEST_F(SmallMachine, EfiFlagsAreReadOnlyFromAWellFormedVariable)
{
    const struct {
        QByteArray secureBoot, setupMode; // null: no file
        const char *expected;             // the lines after "boot mode: UEFI"
    } cases[] = {
        {efiVariable(0), efiVariable(1), "    secure boot: disabled\n    setup mode: on\n"},
        {QByteArray(), QByteArray(), ""},
        // Too long: not the variable the firmware writes.
        {efiVariable(1) + QByteArray(1 << 20, '\1'), efiVariable(0), "    setup mode: off\n"},
        {efiVariable('1'), efiVariable(1), "    setup mode: on\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        restart();
        const QString vars = u"/sys/firmware/efi/efivars/"_s;
        mkdir(vars);
        for (const auto &[name, bytes] :
             {std::pair(u"SecureBoot"_s, c.secureBoot), std::pair(u"SetupMode"_s, c.setupMode)}) {
            if (!bytes.isNull()) {
                set(vars + name + u"-8be4df61-93ca-11d2-aa0d-00e098032b8c"_s, bytes);
            }
        }
        const std::string text = listing();
        EXPECT_TRUE(
            contains(text, std::string("    boot mode: UEFI\n") + c.expected + "    dmi tables:"))
            << text;
    }
}

TEST_F(SmallMachine, TpmNamesTheDeviceAndDriverBehindIt)
{
    const struct {
        const char *hid;      // firmware_node/hid, nullptr: none
        const char *modalias; // nullptr: none
        const char *driver;   // driver link name, nullptr: none
        const char *expected; // the lines after "tpm: TPM 2.0"
    } cases[] = {
        {"", "acpi:IFX0102:PNP0C31:\n", nullptr, "    tpm device: IFX0102\n"},
        {"MSFT 0101 <b>\n", "platform:MSFT0101:00\n", "tpm_crb", "    tpm driver: tpm_crb\n"},
    };
    const QString device = u"/sys/devices/platform/MSFT0101:00"_s;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        restart();
        set(device + u"/tpm/tpm0/tpm_version_major"_s, "2\n");
        linkTo(device + u"/tpm/tpm0"_s, u"/sys/class/tpm/tpm0"_s);
        linkTo(device, device + u"/tpm/tpm0/device"_s);
        if (c.hid != nullptr) {
            set(u"/sys/devices/LNXSYSTM:00/MSFT0101:00/hid"_s, c.hid);
            linkTo(u"/sys/devices/LNXSYSTM:00/MSFT0101:00"_s, device + u"/firmware_node"_s);
        }
        if (c.modalias != nullptr) {
            set(device + u"/modalias"_s, c.modalias);
        }
        if (c.driver != nullptr) {
            const QString driver = u"/sys/bus/platform/drivers/"_s + QString::fromUtf8(c.driver);
            mkdir(driver);
            linkTo(driver, device + u"/driver"_s);
        }
        const std::string text = listing();
        EXPECT_TRUE(contains(text, std::string("    tpm: TPM 2.0\n") + c.expected)) << text;
    }
    // Nothing behind it but a loop, and beside one that is no version.
    restart();
    set(u"/sys/class/tpm/tpm0/tpm_version_major"_s, "2\n");
    link(u"device"_s, u"/sys/class/tpm/tpm0/device"_s);
    set(u"/sys/class/tpm/tpm1/tpm_version_major"_s, "two\n");
    link(u"nowhere"_s, u"/sys/class/tpm/tpm1/device"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    tpm: TPM 2.0\n")) << text;
    EXPECT_FALSE(contains(text, "tpm device") || contains(text, "tpm driver")) << text;
    EXPECT_FALSE(contains(text, "TPM two")) << text;
}

// The fixture machines pin the thermal zone and a board chip's plain readings.
TEST_F(SmallMachine, PlatformSuperIoChipKeepsEachFanAndSkipsBadReadings)
{
    const QString sio = u"/sys/devices/platform/nct6775.656/hwmon/hwmon4"_s;
    // Two fans at the same speed (2 and 6) are two fans.
    files(sio, {"name=nct6798\n", "fan1_input=0\n", "fan2_input=1104\n", "fan6_input=1104\n",
                "fan3_input=-1\n", "fan4_input=fast\n", "in0_input=1040\n", "in0_label=Vcore\n",
                "in1_input=" + QByteArray(100000, '7'), "in2_input=3312\n",
                "in2_label=" + QByteArray(100000, 'L')});
    mkdir(sio + u"/fan5_input"_s);
    linkTo(sio, u"/sys/class/hwmon/hwmon4"_s);
    // A chip without a name is no board chip.
    files(u"/sys/class/hwmon/hwmon6"_s, {"name=\n", "temp1_input=66000\n"});
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    sensor chip: nct6798\n"
                               "    fan 1: stopped (0 RPM)\n    fan 2: 1104 RPM\n"
                               "    fan 6: 1104 RPM\n"
                               "    voltage (Vcore): 1.040 V\n    voltage 2: 3.312 V\n"))
        << text;
    EXPECT_FALSE(contains(text, "66.0")) << text;
}

TEST_F(SmallMachine, WifiTemperatureGoesToItsCard)
{
    const QString first = u"/sys/devices/pci0000:00/0000:00:14.3"_s;
    const QString second = u"/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0"_s;
    mkdir(u"/sys/bus/pci/drivers/iwlwifi"_s);
    for (const QString &card : {first, second}) {
        const QString net = card + (card == first ? u"/net/wlan0"_s : u"/net/wlan1"_s);
        mkdir(net + u"/wireless"_s);
        set(net + u"/operstate"_s, "down\n");
        linkTo(card, net + u"/device"_s);
        linkTo(u"/sys/bus/pci/drivers/iwlwifi"_s, card + u"/driver"_s);
        linkTo(net, u"/sys/class/net/"_s + QFileInfo(net).fileName());
    }
    // The thermal zone's chip, with no card of its own, and the second card's own chip.
    const QString zone = u"/sys/devices/virtual/thermal/thermal_zone3/hwmon7"_s;
    files(zone, {"name=iwlwifi_1\n", "temp1_input=42000\n"});
    linkTo(zone, u"/sys/class/hwmon/hwmon7"_s);
    files(second + u"/hwmon/hwmon8"_s, {"name=iwlwifi_2\n", "temp1_input=47000\n"});
    linkTo(second + u"/hwmon/hwmon8"_s, u"/sys/class/hwmon/hwmon8"_s);
    // The laptop's listing pins the zone's chip on its card; here each card is
    // read up to the next.
    const std::string text = listing();
    const auto wlan1 = text.find("[net: wlan1]");
    ASSERT_NE(wlan1, std::string::npos) << text;
    EXPECT_TRUE(
        contains(text.substr(wlan1), "    sensor chip: iwlwifi_2\n    temperature: 47.0 °C\n"))
        << text;
    EXPECT_FALSE(contains(text.substr(0, wlan1), "47.0")) << text;
    EXPECT_FALSE(contains(text.substr(wlan1), "42.0")) << text;
}

TEST_F(SmallMachine, SataShowsTheLinkOfThePortTheDiskHangsOn)
{
    const std::pair<QByteArray, std::string> cases[] = {
        {"3.0 Gbps\n", "3.0 Gbps"},
        {"<unknown>\n", ""},
    };
    for (const auto &[speed, expected] : cases) {
        SCOPED_TRACE(expected);
        restart();
        const QString disk =
            u"/sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0"_s;
        files(disk, {"model=Samsung SSD 870 EVO 1TB\n", "block/sda/size=1953525168\n"});
        linkTo(disk, disk + u"/block/sda/device"_s);
        linkTo(disk + u"/block/sda"_s, u"/sys/block/sda"_s);
        // Another port's link must not be taken for this one.
        set(u"/sys/class/ata_link/link1/sata_spd"_s, "1.5 Gbps\n");
        set(u"/sys/class/ata_link/link3/sata_spd"_s, speed);
        const std::string text = listing();
        EXPECT_TRUE(contains(text, "[disk: sda] Samsung SSD 870 EVO 1TB\n")) << text;
        EXPECT_TRUE(expected.empty() ? !contains(text, "sata link")
                                     : contains(text, "    sata link: " + expected + "\n"))
            << text;
    }
}

TEST_F(SmallMachine, EmmcDecodesTheWearReport)
{
    const struct {
        QByteArray lifeTime, preEol;
        const char *expected; // lines of the disk, "" for no wear lines at all
    } cases[] = {
        {"0x0a 0x0B\n", "0x02\n",
         "    wear (type A): 90-100% used\n    wear (type B): past its rated life\n"
         "    end of life: warning (80% of reserved blocks used)\n"},
        {"0x00 0x03\n", "0x03\n",
         "    transport: MMC/SD\n    wear (type B): 20-30% used\n"
         "    end of life: urgent (90% of reserved blocks used)\n"},
        {"0x0c 0xzz\n", "0x04\n", ""},
        {QByteArray(100000, '0'), QByteArray(100000, '1'), ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        restart();
        const QString card = u"/sys/devices/platform/mmc0/mmc_host/mmc0/mmc0:0001"_s;
        files(card, {"name=DA4064\n", "life_time=" + c.lifeTime, "pre_eol_info=" + c.preEol,
                     "block/mmcblk0/size=122142720\n"});
        linkTo(card, card + u"/block/mmcblk0/device"_s);
        linkTo(card + u"/block/mmcblk0"_s, u"/sys/block/mmcblk0"_s);
        const std::string text = listing();
        EXPECT_TRUE(contains(text, "[disk: mmcblk0] DA4064\n")) << text;
        EXPECT_TRUE(*c.expected ? contains(text, c.expected)
                                : !contains(text, "wear") && !contains(text, "end of life"))
            << text;
    }
}

} // namespace
