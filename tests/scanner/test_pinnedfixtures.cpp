// Whole-pipeline expectations for a few real outputs, worked out by hand from
// the files in tests/data.
#include "itemtesthelpers.h"
#include "scanner/hardwarescanner.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString readData(const char *name)
{
    QFile file(QStringLiteral(KESTRIN_TEST_DATA_DIR "/") + QString::fromUtf8(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll());
}

HardwareScanResult pipeline(const QString &mac, const QString &classic)
{
    HardwareScanner scanner;
    return scanner.assemble({
        // Deliberately out of order: the classic run may finish first.
        ScanPart{1, q("dmidecode -q"), classic, scanner.parseClassicDMIDecode(classic),
                 std::nullopt},
        ScanPart{0, q("dmidecode --mac-hardware"), mac, scanner.parseMacHardware(mac),
                 std::nullopt},
    });
}

ItemText summary(const char *title, const char *value)
{
    return {HardwareCategory::summary, q(title), q(value), q("Filtered dmidecode data"),
            q("App parser")};
}

TEST(PinnedFixtures, BrokenArmTableKeepsDashesAndDropsPlaceholders)
{
    const QString classic = readData("classic-rockpro64-broken-table.txt");
    const HardwareScanResult result = pipeline(QString(), classic);
    const QString bios = q("BIOS Information • Handle 0x0000, DMI type 0, 24 bytes");
    const QString system = q("System Information • Handle 0x0001, DMI type 1, 27 bytes");
    const QString board = q("Base Board Information • Handle 0x0002, DMI type 2, 14 bytes");
    const QString src = q("dmidecode -q");
    const std::vector<ItemText> expected = {
        summary("Platform", "2 useful items"),
        summary("BIOS", "4 useful items"),
        summary("Baseboard", "3 useful items"),
        {HardwareCategory::platform, q("Serial Number"), q("--"), system, src},
        {HardwareCategory::platform, q("UUID"), q("--"), system, src},
        {HardwareCategory::bios, q("Release Date"), q("03/20/2021"), bios, src},
        {HardwareCategory::bios, q("ROM Size"), q("64 kB"), bios, src},
        {HardwareCategory::bios, q("Vendor"), q("U-Boot"), bios, src},
        {HardwareCategory::bios, q("Version"), q("2021.01-09768-gc762ab29b8"), bios, src},
        {HardwareCategory::baseboard, q("Asset Tag"), q("--"), board, src},
        {HardwareCategory::baseboard, q("Serial Number"), q("--"), board, src},
        {HardwareCategory::baseboard, q("Type"), q("Motherboard"), board, src},
    };
    EXPECT_EQ(texts(result.items), expected);
    EXPECT_TRUE(result.warnings.isEmpty());
    EXPECT_EQ(result.rawOutput, q("===== dmidecode --mac-hardware =====\n\n\n"
                                  "===== dmidecode -q =====\n") +
                                    classic + q("\n"));
}

TEST(PinnedFixtures, OldSpaceIndentedLayoutReadsListEntriesAsSections)
{
    const HardwareScanResult result =
        pipeline(QString(), readData("classic-virtualbox-dmidecode-2.2.txt"));
    const QString bios = q("BIOS Information • Handle 0x0000");
    const QString system = q("System Information • Handle 0x0001");
    const QString src = q("dmidecode -q");
    const std::vector<ItemText> expected = {
        summary("Platform", "4 useful items"),
        summary("BIOS", "4 useful items"),
        {HardwareCategory::platform, q("Manufacturer"), q("innotek GmbH"), system, src},
        {HardwareCategory::platform, q("Product Name"), q("VirtualBox"), system, src},
        {HardwareCategory::platform, q("UUID"), q("AE698CFC-492A-4C7B-848F-8C17D24BC76E"), system,
         src},
        {HardwareCategory::platform, q("Version"), q("1.2"), system, src},
        {HardwareCategory::bios, q("Release Date"), q("12/01/2006"), bios, src},
        {HardwareCategory::bios, q("ROM Size"), q("128 kB"), bios, src},
        {HardwareCategory::bios, q("Vendor"), q("innotek GmbH"), bios, src},
        {HardwareCategory::bios, q("Version"), q("VirtualBox"), bios, src},
    };
    EXPECT_EQ(texts(result.items), expected);
}

TEST(PinnedFixtures, ThinkPadQuietOutputSpotChecks)
{
    const HardwareScanResult result = pipeline(QString(), readData("classic-thinkpad-t480-q.txt"));
    const std::vector<ItemText> all = texts(result.items);
    auto has = [&all](const ItemText &wanted) {
        return std::find(all.begin(), all.end(), wanted) != all.end();
    };
    // -q output has no "Handle" lines, so details are bare section titles.
    EXPECT_TRUE(has({HardwareCategory::platform, q("Family"), q("ThinkPad T480s"),
                     q("System Information"), q("dmidecode -q")}));
    EXPECT_TRUE(has({HardwareCategory::bios, q("ROM Size"), q("16 MB"), q("BIOS Information"),
                     q("dmidecode -q")}));
    EXPECT_TRUE(has(summary("Battery", "4 useful items")));
    EXPECT_TRUE(has(summary("CPU", "8 useful items")));
    for (const ItemText &item : all) {
        EXPECT_NE(item.value.toLower(), q("not specified"));
        EXPECT_FALSE(item.detail.contains(q("Handle")));
    }
}

TEST(PinnedFixtures, MacListingAndClassicTogether)
{
    const QString mac = q("Graphics:\n[pci 0000:00:02.0] Intel UHD Graphics 620\n"
                          "vendor-id: 0x8086\nNetwork:\n[net: wlan0] Wireless\n"
                          "MAC Address: aa:bb:cc:dd:ee:ff\n");
    const QString classic = q("Memory Device\n\tSize: 8 GB\n");
    const HardwareScanResult result = pipeline(mac, classic);
    const QString m = q("--mac-hardware");
    const std::vector<ItemText> expected = {
        summary("Memory", "1 useful item"),
        summary("GPU", "2 useful items"),
        summary("Network", "2 useful items"),
        {HardwareCategory::memory, q("Size"), q("8 GB"), q("Memory Device"), q("dmidecode -q")},
        {HardwareCategory::gpu, q("[pci 0000:00:02.0] Intel UHD Graphics 620 • vendor-id"),
         q("0x8086"), q("Graphics"), m},
        {HardwareCategory::gpu, q("Device"), q("[pci 0000:00:02.0] Intel UHD Graphics 620"),
         q("Graphics"), m},
        {HardwareCategory::network, q("[net: wlan0] Wireless • MAC Address"),
         q("aa:bb:cc:dd:ee:ff"), q("Network"), m},
        {HardwareCategory::network, q("Device"), q("[net: wlan0] Wireless"), q("Network"), m},
    };
    EXPECT_EQ(texts(result.items), expected);
    EXPECT_EQ(result.rawOutput, q("===== dmidecode --mac-hardware =====\n") + mac +
                                    q("\n\n===== dmidecode -q =====\n") + classic + q("\n"));
}

TEST(PinnedFixtures, FailedRunsFrameEmptyBodiesAndWarnInRunOrder)
{
    HardwareScanner scanner;
    const HardwareScanResult result = scanner.assemble({
        ScanPart{1, q("dmidecode -q"), QString(), {}, q("Could not run dmidecode -q: b")},
        ScanPart{0,
                 q("dmidecode --mac-hardware"),
                 QString(),
                 {},
                 q("Could not run dmidecode --mac-hardware: a")},
    });
    EXPECT_TRUE(result.items.isEmpty());
    EXPECT_EQ(result.rawOutput,
              q("===== dmidecode --mac-hardware =====\n\n\n===== dmidecode -q =====\n\n"));
    EXPECT_EQ(result.warnings, QStringList({q("Could not run dmidecode --mac-hardware: a"),
                                            q("Could not run dmidecode -q: b")}));
}

} // namespace
