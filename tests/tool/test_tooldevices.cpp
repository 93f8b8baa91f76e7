// Device classes read from small machines built per test: each checks what a
// user reads, and that one odd file costs only its own line.
#include "tests/tool/tooltesthelpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class SmallMachine : public tooltest::ScratchMachine {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        set(u"/proc/cpuinfo"_s,
            "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: Test CPU 8-Core\n"
            "physical id\t: 0\ncore id\t: 0\n\n");
    }

    std::string listing() { return runListing().toStdString(); }
};

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(SmallMachine, CpuShowsPolicyAndEveryVulnerabilityVerdict)
{
    const QString cpu = u"/sys/devices/system/cpu"_s;
    set(cpu + u"/cpu0/cpufreq/scaling_driver"_s, "amd-pstate-epp\n");
    set(cpu + u"/cpu0/cpufreq/scaling_governor"_s, "powersave\n");
    set(cpu + u"/smt/control"_s, "on\n");
    const QString v = cpu + u"/vulnerabilities/"_s;
    set(v + u"spectre_v2"_s, "Mitigation: Retpolines; IBPB: conditional; STIBP: always-on\n");
    set(v + u"meltdown"_s, "Not affected\n");
    set(v + u"spec_store_bypass"_s, "Mitigation: Speculative Store Bypass disabled via prctl\n");
    set(v + u"empty"_s, "");
    set(v + u"unknown"_s, "-1\n");
    set(v + u"two_lines"_s, "a\nb\n");
    set(v + u"huge"_s, QByteArray(100000, 'x'));
    mkdir(v + u"folder"_s);
    link(u"nowhere"_s, v + u"dangling"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    frequency driver: amd-pstate-epp\n    governor: powersave\n"
                               "    smt: on\n    meltdown: Not affected\n"
                               "    spec store bypass: Mitigation: Speculative Store Bypass "
                               "disabled via prctl\n"
                               "    spectre v2: Mitigation: Retpolines; IBPB: conditional; "
                               "STIBP: always-on\n"))
        << text;
    for (const char *odd : {"empty", "unknown", "two lines", "huge", "folder", "dangling"}) {
        EXPECT_FALSE(contains(text, std::string("    ") + odd + ":")) << odd;
    }
}

TEST_F(SmallMachine, CpuWithoutPolicyFilesListsNoPolicy)
{
    set(u"/sys/devices/system/cpu/smt/control"_s, "");
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "[cpu: package 0] Test CPU 8-Core")) << text;
    EXPECT_FALSE(contains(text, "governor"));
    EXPECT_FALSE(contains(text, "smt:"));
}

TEST_F(SmallMachine, CpuTemperatureSensorsReadAsAUserReadsThem)
{
    const QString chip = u"/sys/devices/pci0000:00/0000:00:18.3/hwmon/hwmon2"_s;
    set(chip + u"/name"_s, "k10temp\n");
    set(chip + u"/temp1_input"_s, "45310\n");
    set(chip + u"/temp1_label"_s, "Tctl\n");
    set(chip + u"/temp1_max"_s, "80000\n");
    set(chip + u"/temp1_crit"_s, "100000\n");
    set(chip + u"/temp3_input"_s, "-1\n");
    set(chip + u"/temp4_input"_s, "hot\n");
    set(chip + u"/temp5_input"_s, "");
    set(chip + u"/temp10_input"_s, "38000\n");
    set(chip + u"/fan1_input"_s, "0\n");
    set(chip + u"/fan2_input"_s, "1187\n");
    set(chip + u"/in0_input"_s, "1208\n");
    set(chip + u"/power1_average"_s, "15310000\n");
    set(chip + u"/power1_input"_s, "99000000\n");
    link(u"../../devices/pci0000:00/0000:00:18.3/hwmon/hwmon2"_s, u"/sys/class/hwmon/hwmon2"_s);
    // A module's own sensor belongs to the module, not the processor.
    set(u"/sys/class/hwmon/hwmon3/name"_s, "spd5118\n");
    set(u"/sys/class/hwmon/hwmon3/temp1_input"_s, "31000\n");
    link(u"nowhere"_s, u"/sys/class/hwmon/hwmon4"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    sensor chip: k10temp\n"
                               "    temperature (Tctl): 45.3 °C (high 80.0 °C, critical 100.0 °C)\n"
                               "    temperature 10: 38.0 °C\n"
                               "    fan 1: stopped (0 RPM)\n    fan 2: 1187 RPM\n"
                               "    voltage: 1.208 V\n    power: 15.3 W\n"))
        << text;
    EXPECT_FALSE(contains(text, "31.0")) << text;
    EXPECT_FALSE(contains(text, "99.0")) << text;
}

TEST_F(SmallMachine, GpuShowsItsMemoryAndOnlyItsOwnSensors)
{
    const QString gpu = u"/sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0"_s;
    set(gpu + u"/vendor"_s, "0x1002\n");
    set(gpu + u"/device"_s, "0x73df\n");
    set(gpu + u"/class"_s, "0x030000\n");
    set(gpu + u"/mem_info_vram_total"_s, "12868124672\n");
    link(u"../../../devices/pci0000:00/0000:00:01.1/0000:03:00.0"_s,
         u"/sys/bus/pci/devices/0000:03:00.0"_s);
    set(gpu + u"/hwmon/hwmon5/name"_s, "amdgpu\n");
    set(gpu + u"/hwmon/hwmon5/temp1_input"_s, "51000\n");
    set(gpu + u"/hwmon/hwmon5/temp1_label"_s, "edge\n");
    link(u"../.."_s, gpu + u"/hwmon/hwmon5/device"_s);
    link(u"../../devices/pci0000:00/0000:00:01.1/0000:03:00.0/hwmon/hwmon5"_s,
         u"/sys/class/hwmon/hwmon5"_s);
    // Another card's chip.
    set(u"/sys/class/hwmon/hwmon6/name"_s, "amdgpu\n");
    set(u"/sys/class/hwmon/hwmon6/temp1_input"_s, "77000\n");
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    video memory: 12.0 GiB\n    sensor chip: amdgpu\n"
                               "    temperature (edge): 51.0 °C\n"))
        << text;
    EXPECT_FALSE(contains(text, "77.0")) << text;
}

struct LinkCase {
    const char *current;
    const char *currentWidth;
    const char *max;
    const char *maxWidth;
    const char *portWidth;
    const char *expected; // the lines under the device, "" for none
};

class PcieLinkTable : public SmallMachine, public testing::WithParamInterface<LinkCase> {};

TEST_P(PcieLinkTable, ShowsTheLinkAsAUserReadsIt)
{
    const LinkCase &c = GetParam();
    const QString port = u"/sys/devices/pci0000:00/0000:00:01.1"_s;
    const QString gpu = port + u"/0000:03:00.0"_s;
    set(port + u"/vendor"_s, "0x1022\n");
    set(port + u"/device"_s, "0x1483\n");
    set(port + u"/class"_s, "0x060400\n");
    set(port + u"/max_link_speed"_s, "16.0 GT/s PCIe\n");
    set(port + u"/max_link_width"_s, c.portWidth);
    set(gpu + u"/vendor"_s, "0x1002\n");
    set(gpu + u"/device"_s, "0x73df\n");
    set(gpu + u"/class"_s, "0x030000\n");
    set(gpu + u"/current_link_speed"_s, c.current);
    set(gpu + u"/current_link_width"_s, c.currentWidth);
    set(gpu + u"/max_link_speed"_s, c.max);
    set(gpu + u"/max_link_width"_s, c.maxWidth);
    link(u"../../../devices/pci0000:00/0000:00:01.1"_s, u"/sys/bus/pci/devices/0000:00:01.1"_s);
    link(u"../../../devices/pci0000:00/0000:00:01.1/0000:03:00.0"_s,
         u"/sys/bus/pci/devices/0000:03:00.0"_s);
    const std::string text = listing();
    if (std::string(c.expected).empty()) {
        EXPECT_FALSE(contains(text, "link:")) << text;
    } else {
        EXPECT_TRUE(contains(text, c.expected)) << text;
    }
    if (!contains(c.expected, "link note")) {
        EXPECT_FALSE(contains(text, "link note")) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Links, PcieLinkTable,
    testing::Values(
        LinkCase{"16.0 GT/s PCIe\n", "16\n", "16.0 GT/s PCIe\n", "16\n", "16\n",
                 "    link: PCIe 4.0 x16 (16.0 GT/s)\n"},
        // Idling at the lowest rate is power saving: no remark.
        LinkCase{"2.5 GT/s PCIe\n", "16\n", "16.0 GT/s PCIe\n", "16\n", "16\n",
                 "    link: PCIe 1.0 x16, capable of PCIe 4.0 x16\n"},
        LinkCase{"16.0 GT/s PCIe\n", "4\n", "16.0 GT/s PCIe\n", "16\n", "16\n",
                 "    link: PCIe 4.0 x4, capable of PCIe 4.0 x16\n"
                 "    link note: runs at x4 although the device and its port both allow x16\n"},
        // The slot itself has only four lanes: nothing to remark.
        LinkCase{"16.0 GT/s PCIe\n", "4\n", "16.0 GT/s PCIe\n", "16\n", "4\n",
                 "    link: PCIe 4.0 x4, capable of PCIe 4.0 x16\n"},
        LinkCase{"8.0 GT/s PCIe\n", "8\n", "", "16\n", "16\n",
                 "    link: PCIe 3.0 x8 (8.0 GT/s)\n"},
        LinkCase{"5 GT/s\n", "1\n", "5 GT/s\n", "1\n", "16\n",
                 "    link: PCIe 2.0 x1 (5.0 GT/s)\n"},
        LinkCase{"Unknown\n", "0\n", "16.0 GT/s PCIe\n", "16\n", "16\n", ""},
        LinkCase{"16.0 GT/s PCIe\n", "-1\n", "16.0 GT/s PCIe\n", "16\n", "16\n", ""},
        LinkCase{"", "", "", "", "", ""}));

} // namespace

namespace {

struct TemperatureCase {
    const char *millidegrees;
    const char *expected; // the temperature line, "" for none
};

class TemperatureTable : public SmallMachine,
                         public testing::WithParamInterface<TemperatureCase> {};

TEST_P(TemperatureTable, OneDecimalRoundedHalfAwayFromZero)
{
    const QString chip = u"/sys/class/hwmon/hwmon2"_s;
    set(chip + u"/name"_s, "coretemp\n");
    set(chip + u"/temp1_input"_s, GetParam().millidegrees);
    const std::string text = listing();
    if (std::string(GetParam().expected).empty()) {
        EXPECT_FALSE(contains(text, "temperature:")) << text;
    } else {
        EXPECT_TRUE(contains(text, std::string("    temperature: ") + GetParam().expected + "\n"))
            << text;
    }
    EXPECT_TRUE(contains(text, "    sensor chip: coretemp\n")) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Readings, TemperatureTable,
    testing::Values(TemperatureCase{"40250\n", "40.3 °C"}, TemperatureCase{"40249\n", "40.2 °C"},
                    TemperatureCase{"40150\n", "40.2 °C"}, TemperatureCase{"0\n", "0.0 °C"},
                    TemperatureCase{"49\n", "0.0 °C"}, TemperatureCase{"-250\n", "-0.3 °C"},
                    TemperatureCase{"-40250\n", "-40.3 °C"},
                    TemperatureCase{"105000\n", "105.0 °C"}, TemperatureCase{"", ""},
                    TemperatureCase{"-1\n", ""}, TemperatureCase{"40.5\n", ""},
                    TemperatureCase{"99999999999999999999999\n", ""}));

} // namespace

namespace {

struct EfiFlagCase {
    QByteArray secureBoot; // null: no file
    QByteArray setupMode;
    const char *expected; // the lines after "boot mode: UEFI"
};

QByteArray efiVariable(char value)
{
    return QByteArray("\x06\x00\x00\x00", 4) + value;
}

class EfiFlagTable : public SmallMachine, public testing::WithParamInterface<EfiFlagCase> {};

TEST_P(EfiFlagTable, ReadsOnlyAWellFormedVariable)
{
    const EfiFlagCase &c = GetParam();
    const QString vars = u"/sys/firmware/efi/efivars/"_s;
    mkdir(vars);
    if (!c.secureBoot.isNull()) {
        set(vars + u"SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c"_s, c.secureBoot);
    }
    if (!c.setupMode.isNull()) {
        set(vars + u"SetupMode-8be4df61-93ca-11d2-aa0d-00e098032b8c"_s, c.setupMode);
    }
    const std::string text = listing();
    EXPECT_TRUE(
        contains(text, std::string("    boot mode: UEFI\n") + c.expected + "    dmi tables:"))
        << text;
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, EfiFlagTable,
    testing::Values(EfiFlagCase{efiVariable(1), efiVariable(0),
                                "    secure boot: enabled\n    setup mode: off\n"},
                    EfiFlagCase{efiVariable(0), efiVariable(1),
                                "    secure boot: disabled\n    setup mode: on\n"},
                    EfiFlagCase{QByteArray(), QByteArray(), ""},
                    EfiFlagCase{QByteArray(""), QByteArray(""), ""},
                    EfiFlagCase{QByteArray("\x06\x00\x00\x00", 4),
                                QByteArray("\x06\x00\x00\x00", 4), ""},
                    // One byte too many, then far too many: not the variable the firmware writes.
                    EfiFlagCase{efiVariable(1) + '\0', efiVariable(1) + '\0', ""},
                    EfiFlagCase{efiVariable(1) + QByteArray(1 << 20, '\1'), efiVariable(0),
                                "    setup mode: off\n"},
                    EfiFlagCase{efiVariable(1), efiVariable(2), "    secure boot: enabled\n"},
                    EfiFlagCase{efiVariable('1'), efiVariable(1), "    setup mode: on\n"}));

struct TpmCase {
    const char *hid;      // firmware_node/hid, nullptr: none
    const char *modalias; // nullptr: none
    const char *driver;   // driver link name, nullptr: none
    const char *expected; // the lines after "tpm: TPM 2.0"
};

class TpmTable : public SmallMachine, public testing::WithParamInterface<TpmCase> {};

TEST_P(TpmTable, NamesTheDeviceAndDriverBehindIt)
{
    const TpmCase &c = GetParam();
    const QString device = u"/sys/devices/platform/MSFT0101:00"_s;
    set(device + u"/tpm/tpm0/tpm_version_major"_s, "2\n");
    link(u"../../devices/platform/MSFT0101:00/tpm/tpm0"_s, u"/sys/class/tpm/tpm0"_s);
    link(u"../../../MSFT0101:00"_s, device + u"/tpm/tpm0/device"_s);
    if (c.hid != nullptr) {
        set(u"/sys/devices/LNXSYSTM:00/MSFT0101:00/hid"_s, c.hid);
        link(u"../../LNXSYSTM:00/MSFT0101:00"_s, device + u"/firmware_node"_s);
    }
    if (c.modalias != nullptr) {
        set(device + u"/modalias"_s, c.modalias);
    }
    if (c.driver != nullptr) {
        mkdir(u"/sys/bus/platform/drivers/"_s + QString::fromUtf8(c.driver));
        link(u"../../../bus/platform/drivers/"_s + QString::fromUtf8(c.driver),
             device + u"/driver"_s);
    }
    const std::string text = listing();
    EXPECT_TRUE(contains(text, std::string("    tpm: TPM 2.0\n") + c.expected)) << text;
    if (std::string(c.expected).empty()) {
        EXPECT_FALSE(contains(text, "tpm device")) << text;
        EXPECT_FALSE(contains(text, "tpm driver")) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Devices, TpmTable,
    testing::Values(TpmCase{"MSFT0101\n", nullptr, "tpm_crb",
                            "    tpm device: MSFT0101\n    tpm driver: tpm_crb\n"},
                    TpmCase{nullptr, "acpi:MSFT0101:\n", "tpm_tis",
                            "    tpm device: MSFT0101\n    tpm driver: tpm_tis\n"},
                    TpmCase{"", "acpi:IFX0102:PNP0C31:\n", nullptr, "    tpm device: IFX0102\n"},
                    TpmCase{"MSFT 0101 <b>\n", "platform:MSFT0101:00\n", "tpm_crb",
                            "    tpm driver: tpm_crb\n"},
                    TpmCase{nullptr, nullptr, nullptr, ""}));

TEST_F(SmallMachine, TpmBehindALoopKeepsItsVersion)
{
    set(u"/sys/class/tpm/tpm0/tpm_version_major"_s, "2\n");
    link(u"device"_s, u"/sys/class/tpm/tpm0/device"_s);
    set(u"/sys/class/tpm/tpm1/tpm_version_major"_s, "two\n");
    link(u"nowhere"_s, u"/sys/class/tpm/tpm1/device"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    tpm: TPM 2.0\n")) << text;
    EXPECT_FALSE(contains(text, "tpm device")) << text;
    EXPECT_FALSE(contains(text, "TPM two")) << text;
}

} // namespace

namespace {

TEST_F(SmallMachine, PlatformCarriesThermalZonesAndTheSuperIoChip)
{
    set(u"/sys/class/dmi/id/sys_vendor"_s, "Example\n");
    set(u"/sys/class/dmi/id/product_name"_s, "Board\n");
    const QString zone = u"/sys/devices/virtual/thermal/thermal_zone0/hwmon1"_s;
    set(zone + u"/name"_s, "acpitz\n");
    set(zone + u"/temp1_input"_s, "27800\n");
    set(zone + u"/temp1_crit"_s, "119000\n");
    link(u"../../devices/virtual/thermal/thermal_zone0/hwmon1"_s, u"/sys/class/hwmon/hwmon1"_s);
    const QString sio = u"/sys/devices/platform/nct6775.656/hwmon/hwmon4"_s;
    set(sio + u"/name"_s, "nct6798\n");
    set(sio + u"/fan1_input"_s, "0\n");
    set(sio + u"/fan2_input"_s, "1104\n");
    // Two fans at the same speed are two fans.
    set(sio + u"/fan6_input"_s, "1104\n");
    set(sio + u"/fan3_input"_s, "-1\n");
    set(sio + u"/fan4_input"_s, "fast\n");
    mkdir(sio + u"/fan5_input"_s);
    set(sio + u"/in0_input"_s, "1040\n");
    set(sio + u"/in0_label"_s, "Vcore\n");
    set(sio + u"/in1_input"_s, QByteArray(100000, '7'));
    set(sio + u"/in2_input"_s, "3312\n");
    set(sio + u"/in2_label"_s, QByteArray(100000, 'L'));
    link(u"../../devices/platform/nct6775.656/hwmon/hwmon4"_s, u"/sys/class/hwmon/hwmon4"_s);
    // Not a board chip: stays out of the platform.
    set(u"/sys/class/hwmon/hwmon5/name"_s, "nvme\n");
    set(u"/sys/class/hwmon/hwmon5/temp1_input"_s, "33000\n");
    set(u"/sys/class/hwmon/hwmon6/name"_s, "\n");
    set(u"/sys/class/hwmon/hwmon6/temp1_input"_s, "66000\n");
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "[platform: machine] Example Board\n")) << text;
    EXPECT_TRUE(contains(text, "    sensor chip: acpitz\n"
                               "    temperature: 27.8 °C (critical 119.0 °C)\n"
                               "    sensor chip: nct6798\n"
                               "    fan 1: stopped (0 RPM)\n    fan 2: 1104 RPM\n"
                               "    fan 6: 1104 RPM\n"
                               "    voltage (Vcore): 1.040 V\n    voltage 2: 3.312 V\n"))
        << text;
    EXPECT_FALSE(contains(text, "33.0")) << text;
    EXPECT_FALSE(contains(text, "66.0")) << text;
}

TEST_F(SmallMachine, WifiTemperatureGoesToItsCard)
{
    const QString first = u"/sys/devices/pci0000:00/0000:00:14.3"_s;
    const QString second = u"/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0"_s;
    mkdir(u"/sys/bus/pci/drivers/iwlwifi"_s);
    for (const QString &card : {first, second}) {
        const QString name = card == first ? u"wlan0"_s : u"wlan1"_s;
        mkdir(card + u"/net/"_s + name + u"/wireless"_s);
        set(card + u"/net/"_s + name + u"/operstate"_s, "down\n");
        link(u"../.."_s, card + u"/net/"_s + name + u"/device"_s);
        link(u"/bus/pci/drivers/iwlwifi"_s.prepend(card == second ? u"../../../.."_s
                                                                  : u"../../.."_s),
             card + u"/driver"_s);
        link(u"../../"_s + card.mid(5) + u"/net/"_s + name, u"/sys/class/net/"_s + name);
    }
    // The thermal zone's chip, with no card of its own, and the second card's own chip.
    const QString zone = u"/sys/devices/virtual/thermal/thermal_zone3/hwmon7"_s;
    set(zone + u"/name"_s, "iwlwifi_1\n");
    set(zone + u"/temp1_input"_s, "42000\n");
    link(u"../../devices/virtual/thermal/thermal_zone3/hwmon7"_s, u"/sys/class/hwmon/hwmon7"_s);
    set(second + u"/hwmon/hwmon8/name"_s, "iwlwifi_2\n");
    set(second + u"/hwmon/hwmon8/temp1_input"_s, "47000\n");
    link(u"../../devices/pci0000:00/0000:00:1c.0/0000:02:00.0/hwmon/hwmon8"_s,
         u"/sys/class/hwmon/hwmon8"_s);
    const std::string text = listing();
    const auto wlan0 = text.find("[net: wlan0]");
    const auto wlan1 = text.find("[net: wlan1]");
    ASSERT_NE(wlan0, std::string::npos) << text;
    ASSERT_NE(wlan1, std::string::npos) << text;
    const std::string firstCard = text.substr(wlan0, wlan1 - wlan0);
    const std::string secondCard = text.substr(wlan1, text.find("\n[", wlan1) - wlan1);
    EXPECT_TRUE(contains(firstCard, "    sensor chip: iwlwifi_1\n    temperature: 42.0 °C\n"))
        << text;
    EXPECT_FALSE(contains(firstCard, "47.0")) << text;
    EXPECT_TRUE(contains(secondCard, "    sensor chip: iwlwifi_2\n    temperature: 47.0 °C\n"))
        << text;
    EXPECT_FALSE(contains(secondCard, "42.0")) << text;
}

} // namespace

namespace {

struct SataCase {
    QByteArray speed; // null: a directory in its place
    const char *expected;
};

class SataTable : public SmallMachine, public testing::WithParamInterface<SataCase> {};

TEST_P(SataTable, ShowsTheLinkOfThePortTheDiskHangsOn)
{
    const QString disk = u"/sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0"_s;
    set(disk + u"/model"_s, "Samsung SSD 870 EVO 1TB\n");
    set(disk + u"/block/sda/size"_s, "1953525168\n");
    link(u"../.."_s, disk + u"/block/sda/device"_s);
    link(QStringLiteral(
             "../devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0/block/sda"),
         u"/sys/block/sda"_s);
    // Another port's link must not be taken for this one.
    set(u"/sys/class/ata_link/link1/sata_spd"_s, "1.5 Gbps\n");
    const QString speed = u"/sys/class/ata_link/link3/sata_spd"_s;
    if (GetParam().speed.isNull()) {
        mkdir(speed);
    } else {
        set(speed, GetParam().speed);
    }
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "[disk: sda] Samsung SSD 870 EVO 1TB\n")) << text;
    EXPECT_TRUE(contains(text, "    transport: SATA\n")) << text;
    if (std::string(GetParam().expected).empty()) {
        EXPECT_FALSE(contains(text, "sata link")) << text;
    } else {
        EXPECT_TRUE(contains(text, std::string("    sata link: ") + GetParam().expected + "\n"))
            << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Speeds, SataTable,
                         testing::Values(SataCase{"6.0 Gbps\n", "6.0 Gbps"},
                                         SataCase{"3.0 Gbps\n", "3.0 Gbps"},
                                         SataCase{"<unknown>\n", ""}, SataCase{"", ""},
                                         SataCase{"-1\n", ""}, SataCase{QByteArray(), ""},
                                         SataCase{QByteArray(100000, '6') + " Gbps", ""}));

struct EmmcCase {
    QByteArray lifeTime;
    QByteArray preEol;
    const char *expected; // the lines after "transport: MMC/SD"'s block, in order
};

class EmmcTable : public SmallMachine, public testing::WithParamInterface<EmmcCase> {};

TEST_P(EmmcTable, DecodesTheWearReport)
{
    const QString card = u"/sys/devices/platform/mmc0/mmc_host/mmc0/mmc0:0001"_s;
    set(card + u"/name"_s, "DA4064\n");
    set(card + u"/life_time"_s, GetParam().lifeTime);
    set(card + u"/pre_eol_info"_s, GetParam().preEol);
    set(card + u"/block/mmcblk0/size"_s, "122142720\n");
    link(u"../.."_s, card + u"/block/mmcblk0/device"_s);
    link(u"../devices/platform/mmc0/mmc_host/mmc0/mmc0:0001/block/mmcblk0"_s,
         u"/sys/block/mmcblk0"_s);
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "[disk: mmcblk0] DA4064\n")) << text;
    const std::string expected = GetParam().expected;
    if (expected.empty()) {
        EXPECT_FALSE(contains(text, "wear")) << text;
        EXPECT_FALSE(contains(text, "end of life")) << text;
    } else {
        EXPECT_TRUE(contains(text, expected)) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reports, EmmcTable,
    testing::Values(EmmcCase{"0x01 0x02\n", "0x01\n",
                             "    wear (type A): 0-10% used\n    wear (type B): 10-20% used\n"
                             "    end of life: normal\n"},
                    EmmcCase{
                        "0x0a 0x0B\n", "0x02\n",
                        "    wear (type A): 90-100% used\n    wear (type B): past its rated life\n"
                        "    end of life: warning (80% of reserved blocks used)\n"},
                    EmmcCase{"0x00 0x03\n", "0x03\n",
                             "    transport: MMC/SD\n    wear (type B): 20-30% used\n"
                             "    end of life: urgent (90% of reserved blocks used)\n"},
                    EmmcCase{"0x0c 0xzz\n", "0x04\n", ""}, EmmcCase{"", "", ""},
                    EmmcCase{"0x01\n", "-1\n", ""}, EmmcCase{"1 2\n", "0x1\n", ""},
                    EmmcCase{QByteArray(100000, '0'), QByteArray(100000, '1'), ""}));

} // namespace
