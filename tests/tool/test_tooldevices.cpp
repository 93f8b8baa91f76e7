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
        set(QStringLiteral("/proc/cpuinfo"),
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
    const QString cpu = QStringLiteral("/sys/devices/system/cpu");
    set(cpu + QStringLiteral("/cpu0/cpufreq/scaling_driver"), "amd-pstate-epp\n");
    set(cpu + QStringLiteral("/cpu0/cpufreq/scaling_governor"), "powersave\n");
    set(cpu + QStringLiteral("/smt/control"), "on\n");
    const QString v = cpu + QStringLiteral("/vulnerabilities/");
    set(v + QStringLiteral("spectre_v2"),
        "Mitigation: Retpolines; IBPB: conditional; STIBP: always-on\n");
    set(v + QStringLiteral("meltdown"), "Not affected\n");
    set(v + QStringLiteral("spec_store_bypass"),
        "Mitigation: Speculative Store Bypass disabled via prctl\n");
    set(v + QStringLiteral("empty"), "");
    set(v + QStringLiteral("unknown"), "-1\n");
    set(v + QStringLiteral("two_lines"), "a\nb\n");
    set(v + QStringLiteral("huge"), QByteArray(100000, 'x'));
    mkdir(v + QStringLiteral("folder"));
    link(QStringLiteral("nowhere"), v + QStringLiteral("dangling"));
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
    set(QStringLiteral("/sys/devices/system/cpu/smt/control"), "");
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "[cpu: package 0] Test CPU 8-Core")) << text;
    EXPECT_FALSE(contains(text, "governor"));
    EXPECT_FALSE(contains(text, "smt:"));
}

TEST_F(SmallMachine, CpuTemperatureSensorsReadAsAUserReadsThem)
{
    const QString chip = QStringLiteral("/sys/devices/pci0000:00/0000:00:18.3/hwmon/hwmon2");
    set(chip + QStringLiteral("/name"), "k10temp\n");
    set(chip + QStringLiteral("/temp1_input"), "45310\n");
    set(chip + QStringLiteral("/temp1_label"), "Tctl\n");
    set(chip + QStringLiteral("/temp1_max"), "80000\n");
    set(chip + QStringLiteral("/temp1_crit"), "100000\n");
    set(chip + QStringLiteral("/temp3_input"), "-1\n");
    set(chip + QStringLiteral("/temp4_input"), "hot\n");
    set(chip + QStringLiteral("/temp5_input"), "");
    set(chip + QStringLiteral("/temp10_input"), "38000\n");
    set(chip + QStringLiteral("/fan1_input"), "0\n");
    set(chip + QStringLiteral("/fan2_input"), "1187\n");
    set(chip + QStringLiteral("/in0_input"), "1208\n");
    set(chip + QStringLiteral("/power1_average"), "15310000\n");
    set(chip + QStringLiteral("/power1_input"), "99000000\n");
    link(QStringLiteral("../../devices/pci0000:00/0000:00:18.3/hwmon/hwmon2"),
         QStringLiteral("/sys/class/hwmon/hwmon2"));
    // A module's own sensor belongs to the module, not the processor.
    set(QStringLiteral("/sys/class/hwmon/hwmon3/name"), "spd5118\n");
    set(QStringLiteral("/sys/class/hwmon/hwmon3/temp1_input"), "31000\n");
    link(QStringLiteral("nowhere"), QStringLiteral("/sys/class/hwmon/hwmon4"));
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
    const QString gpu = QStringLiteral("/sys/devices/pci0000:00/0000:00:01.1/0000:03:00.0");
    set(gpu + QStringLiteral("/vendor"), "0x1002\n");
    set(gpu + QStringLiteral("/device"), "0x73df\n");
    set(gpu + QStringLiteral("/class"), "0x030000\n");
    set(gpu + QStringLiteral("/mem_info_vram_total"), "12868124672\n");
    link(QStringLiteral("../../../devices/pci0000:00/0000:00:01.1/0000:03:00.0"),
         QStringLiteral("/sys/bus/pci/devices/0000:03:00.0"));
    set(gpu + QStringLiteral("/hwmon/hwmon5/name"), "amdgpu\n");
    set(gpu + QStringLiteral("/hwmon/hwmon5/temp1_input"), "51000\n");
    set(gpu + QStringLiteral("/hwmon/hwmon5/temp1_label"), "edge\n");
    link(QStringLiteral("../.."), gpu + QStringLiteral("/hwmon/hwmon5/device"));
    link(QStringLiteral("../../devices/pci0000:00/0000:00:01.1/0000:03:00.0/hwmon/hwmon5"),
         QStringLiteral("/sys/class/hwmon/hwmon5"));
    // Another card's chip.
    set(QStringLiteral("/sys/class/hwmon/hwmon6/name"), "amdgpu\n");
    set(QStringLiteral("/sys/class/hwmon/hwmon6/temp1_input"), "77000\n");
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
    const QString port = QStringLiteral("/sys/devices/pci0000:00/0000:00:01.1");
    const QString gpu = port + QStringLiteral("/0000:03:00.0");
    set(port + QStringLiteral("/vendor"), "0x1022\n");
    set(port + QStringLiteral("/device"), "0x1483\n");
    set(port + QStringLiteral("/class"), "0x060400\n");
    set(port + QStringLiteral("/max_link_speed"), "16.0 GT/s PCIe\n");
    set(port + QStringLiteral("/max_link_width"), c.portWidth);
    set(gpu + QStringLiteral("/vendor"), "0x1002\n");
    set(gpu + QStringLiteral("/device"), "0x73df\n");
    set(gpu + QStringLiteral("/class"), "0x030000\n");
    set(gpu + QStringLiteral("/current_link_speed"), c.current);
    set(gpu + QStringLiteral("/current_link_width"), c.currentWidth);
    set(gpu + QStringLiteral("/max_link_speed"), c.max);
    set(gpu + QStringLiteral("/max_link_width"), c.maxWidth);
    link(QStringLiteral("../../../devices/pci0000:00/0000:00:01.1"),
         QStringLiteral("/sys/bus/pci/devices/0000:00:01.1"));
    link(QStringLiteral("../../../devices/pci0000:00/0000:00:01.1/0000:03:00.0"),
         QStringLiteral("/sys/bus/pci/devices/0000:03:00.0"));
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
    const QString chip = QStringLiteral("/sys/class/hwmon/hwmon2");
    set(chip + QStringLiteral("/name"), "coretemp\n");
    set(chip + QStringLiteral("/temp1_input"), GetParam().millidegrees);
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
    const QString vars = QStringLiteral("/sys/firmware/efi/efivars/");
    mkdir(vars);
    if (!c.secureBoot.isNull()) {
        set(vars + QStringLiteral("SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c"), c.secureBoot);
    }
    if (!c.setupMode.isNull()) {
        set(vars + QStringLiteral("SetupMode-8be4df61-93ca-11d2-aa0d-00e098032b8c"), c.setupMode);
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
    const QString device = QStringLiteral("/sys/devices/platform/MSFT0101:00");
    set(device + QStringLiteral("/tpm/tpm0/tpm_version_major"), "2\n");
    link(QStringLiteral("../../devices/platform/MSFT0101:00/tpm/tpm0"),
         QStringLiteral("/sys/class/tpm/tpm0"));
    link(QStringLiteral("../../../MSFT0101:00"), device + QStringLiteral("/tpm/tpm0/device"));
    if (c.hid != nullptr) {
        set(QStringLiteral("/sys/devices/LNXSYSTM:00/MSFT0101:00/hid"), c.hid);
        link(QStringLiteral("../../LNXSYSTM:00/MSFT0101:00"),
             device + QStringLiteral("/firmware_node"));
    }
    if (c.modalias != nullptr) {
        set(device + QStringLiteral("/modalias"), c.modalias);
    }
    if (c.driver != nullptr) {
        mkdir(QStringLiteral("/sys/bus/platform/drivers/") + QString::fromUtf8(c.driver));
        link(QStringLiteral("../../../bus/platform/drivers/") + QString::fromUtf8(c.driver),
             device + QStringLiteral("/driver"));
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
    set(QStringLiteral("/sys/class/tpm/tpm0/tpm_version_major"), "2\n");
    link(QStringLiteral("device"), QStringLiteral("/sys/class/tpm/tpm0/device"));
    set(QStringLiteral("/sys/class/tpm/tpm1/tpm_version_major"), "two\n");
    link(QStringLiteral("nowhere"), QStringLiteral("/sys/class/tpm/tpm1/device"));
    const std::string text = listing();
    EXPECT_TRUE(contains(text, "    tpm: TPM 2.0\n")) << text;
    EXPECT_FALSE(contains(text, "tpm device")) << text;
    EXPECT_FALSE(contains(text, "TPM two")) << text;
}

} // namespace

namespace {

TEST_F(SmallMachine, PlatformCarriesThermalZonesAndTheSuperIoChip)
{
    set(QStringLiteral("/sys/class/dmi/id/sys_vendor"), "Example\n");
    set(QStringLiteral("/sys/class/dmi/id/product_name"), "Board\n");
    const QString zone = QStringLiteral("/sys/devices/virtual/thermal/thermal_zone0/hwmon1");
    set(zone + QStringLiteral("/name"), "acpitz\n");
    set(zone + QStringLiteral("/temp1_input"), "27800\n");
    set(zone + QStringLiteral("/temp1_crit"), "119000\n");
    link(QStringLiteral("../../devices/virtual/thermal/thermal_zone0/hwmon1"),
         QStringLiteral("/sys/class/hwmon/hwmon1"));
    const QString sio = QStringLiteral("/sys/devices/platform/nct6775.656/hwmon/hwmon4");
    set(sio + QStringLiteral("/name"), "nct6798\n");
    set(sio + QStringLiteral("/fan1_input"), "0\n");
    set(sio + QStringLiteral("/fan2_input"), "1104\n");
    // Two fans at the same speed are two fans.
    set(sio + QStringLiteral("/fan6_input"), "1104\n");
    set(sio + QStringLiteral("/fan3_input"), "-1\n");
    set(sio + QStringLiteral("/fan4_input"), "fast\n");
    mkdir(sio + QStringLiteral("/fan5_input"));
    set(sio + QStringLiteral("/in0_input"), "1040\n");
    set(sio + QStringLiteral("/in0_label"), "Vcore\n");
    set(sio + QStringLiteral("/in1_input"), QByteArray(100000, '7'));
    set(sio + QStringLiteral("/in2_input"), "3312\n");
    set(sio + QStringLiteral("/in2_label"), QByteArray(100000, 'L'));
    link(QStringLiteral("../../devices/platform/nct6775.656/hwmon/hwmon4"),
         QStringLiteral("/sys/class/hwmon/hwmon4"));
    // Not a board chip: stays out of the platform.
    set(QStringLiteral("/sys/class/hwmon/hwmon5/name"), "nvme\n");
    set(QStringLiteral("/sys/class/hwmon/hwmon5/temp1_input"), "33000\n");
    set(QStringLiteral("/sys/class/hwmon/hwmon6/name"), "\n");
    set(QStringLiteral("/sys/class/hwmon/hwmon6/temp1_input"), "66000\n");
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
    const QString first = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.3");
    const QString second = QStringLiteral("/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0");
    mkdir(QStringLiteral("/sys/bus/pci/drivers/iwlwifi"));
    for (const QString &card : {first, second}) {
        const QString name = card == first ? QStringLiteral("wlan0") : QStringLiteral("wlan1");
        mkdir(card + QStringLiteral("/net/") + name + QStringLiteral("/wireless"));
        set(card + QStringLiteral("/net/") + name + QStringLiteral("/operstate"), "down\n");
        link(QStringLiteral("../.."),
             card + QStringLiteral("/net/") + name + QStringLiteral("/device"));
        link(QStringLiteral("/bus/pci/drivers/iwlwifi")
                 .prepend(card == second ? QStringLiteral("../../../..")
                                         : QStringLiteral("../../..")),
             card + QStringLiteral("/driver"));
        link(QStringLiteral("../../") + card.mid(5) + QStringLiteral("/net/") + name,
             QStringLiteral("/sys/class/net/") + name);
    }
    // The thermal zone's chip, with no card of its own, and the second card's own chip.
    const QString zone = QStringLiteral("/sys/devices/virtual/thermal/thermal_zone3/hwmon7");
    set(zone + QStringLiteral("/name"), "iwlwifi_1\n");
    set(zone + QStringLiteral("/temp1_input"), "42000\n");
    link(QStringLiteral("../../devices/virtual/thermal/thermal_zone3/hwmon7"),
         QStringLiteral("/sys/class/hwmon/hwmon7"));
    set(second + QStringLiteral("/hwmon/hwmon8/name"), "iwlwifi_2\n");
    set(second + QStringLiteral("/hwmon/hwmon8/temp1_input"), "47000\n");
    link(QStringLiteral("../../devices/pci0000:00/0000:00:1c.0/0000:02:00.0/hwmon/hwmon8"),
         QStringLiteral("/sys/class/hwmon/hwmon8"));
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
    const QString disk =
        QStringLiteral("/sys/devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0");
    set(disk + QStringLiteral("/model"), "Samsung SSD 870 EVO 1TB\n");
    set(disk + QStringLiteral("/block/sda/size"), "1953525168\n");
    link(QStringLiteral("../.."), disk + QStringLiteral("/block/sda/device"));
    link(QStringLiteral(
             "../devices/pci0000:00/0000:00:17.0/ata3/host2/target2:0:0/2:0:0:0/block/sda"),
         QStringLiteral("/sys/block/sda"));
    // Another port's link must not be taken for this one.
    set(QStringLiteral("/sys/class/ata_link/link1/sata_spd"), "1.5 Gbps\n");
    const QString speed = QStringLiteral("/sys/class/ata_link/link3/sata_spd");
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
    const QString card = QStringLiteral("/sys/devices/platform/mmc0/mmc_host/mmc0/mmc0:0001");
    set(card + QStringLiteral("/name"), "DA4064\n");
    set(card + QStringLiteral("/life_time"), GetParam().lifeTime);
    set(card + QStringLiteral("/pre_eol_info"), GetParam().preEol);
    set(card + QStringLiteral("/block/mmcblk0/size"), "122142720\n");
    link(QStringLiteral("../.."), card + QStringLiteral("/block/mmcblk0/device"));
    link(QStringLiteral("../devices/platform/mmc0/mmc_host/mmc0/mmc0:0001/block/mmcblk0"),
         QStringLiteral("/sys/block/mmcblk0"));
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
