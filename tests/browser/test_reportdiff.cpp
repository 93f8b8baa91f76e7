#include "browser/reportdiff.h"
#include "browsertesthelpers.h"

namespace {

struct DiffCase {
    const char *name;
    QList<HardwareItem> before;
    QList<HardwareItem> after;
    int added;
    int removed;
    int changed;
};

void PrintTo(const DiffCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReportDiffTable : public ::testing::TestWithParam<DiffCase> {};

TEST_P(ReportDiffTable, CountsAddedRemovedChanged)
{
    const DiffCase &c = GetParam();
    const ReportDiff::Result r = ReportDiff::compare(c.before, c.after);
    EXPECT_EQ(r.added.size(), c.added);
    EXPECT_EQ(r.removed.size(), c.removed);
    EXPECT_EQ(r.changed.size(), c.changed);
}

const char *const biosOld = "Handle 0x0000, DMI type 0, 24 bytes";
const char *const biosNew = "Handle 0x0003, DMI type 0, 26 bytes";
const char *const cacheA = "Cache Information \xe2\x80\xa2 Handle 0x0005, DMI type 7, 27 bytes";
const char *const cacheB = "Cache Information \xe2\x80\xa2 Handle 0x0006, DMI type 7, 27 bytes";
const char *const cacheC = "Cache Information \xe2\x80\xa2 Handle 0x0041, DMI type 7, 27 bytes";

INSTANTIATE_TEST_SUITE_P(
    Pairs, ReportDiffTable,
    ::testing::Values(
        DiffCase{"sameMachineTwice",
                 {item(Cat::memory, "Size", "8 GB", "DIMM A"), item(Cat::bios, "Version", "1.2")},
                 {item(Cat::memory, "Size", "8 GB", "DIMM A"), item(Cat::bios, "Version", "1.2")},
                 0,
                 0,
                 0},
        DiffCase{"devicesInAnotherOrder",
                 {item(Cat::usb, "Device", "Mouse"), item(Cat::usb, "Device", "Keyboard")},
                 {item(Cat::usb, "Device", "Keyboard"), item(Cat::usb, "Device", "Mouse")},
                 0,
                 0,
                 0},
        DiffCase{"dimmRemovedAndOneAddedInAnotherSlot",
                 {item(Cat::memory, "Size", "8 GB", "DIMM A"),
                  item(Cat::memory, "Size", "8 GB", "DIMM B")},
                 {item(Cat::memory, "Size", "8 GB", "DIMM A"),
                  item(Cat::memory, "Size", "16 GB", "DIMM D")},
                 1,
                 1,
                 0},
        DiffCase{"biosUpdateWithRenumberedHandles",
                 {item(Cat::bios, "Version", "1.2", biosOld),
                  item(Cat::bios, "Release Date", "01/02/2019", biosOld),
                  item(Cat::bios, "Vendor", "Acme", biosOld)},
                 {item(Cat::bios, "Version", "1.5", biosNew),
                  item(Cat::bios, "Release Date", "03/04/2021", biosNew),
                  item(Cat::bios, "Vendor", "Acme", biosNew)},
                 0,
                 0,
                 2},
        DiffCase{"usbDevicePluggedIn",
                 {item(Cat::usb, "Device", "Hub")},
                 {item(Cat::usb, "Device", "Hub"), item(Cat::usb, "Device", "Flash Drive")},
                 1,
                 0,
                 0},
        DiffCase{"diskSwapped",
                 {item(Cat::storage, "Disk", "Old SSD 256 GB", "nvme0n1")},
                 {item(Cat::storage, "Disk", "New SSD 1 TB", "nvme0n1")},
                 0,
                 0,
                 1},
        // Two processors' "L1 Cache" tables tell apart only by their order.
        DiffCase{"sameDesignationTwiceRenumbered",
                 {item(Cat::cpu, "Socket Designation", "L1 Cache", cacheA),
                  item(Cat::cpu, "Installed Size", "32 kB", cacheA),
                  item(Cat::cpu, "Socket Designation", "L1 Cache", cacheB),
                  item(Cat::cpu, "Installed Size", "64 kB", cacheB)},
                 {item(Cat::cpu, "Socket Designation", "L1 Cache", cacheC),
                  item(Cat::cpu, "Installed Size", "32 kB", cacheC),
                  item(Cat::cpu, "Socket Designation", "L1 Cache", cacheA),
                  item(Cat::cpu, "Installed Size", "128 kB", cacheA)},
                 0,
                 0,
                 1},
        // A disk is known by model and serial, not by the name the kernel gave it.
        DiffCase{"diskRenamed",
                 {item(Cat::storage, "[disk: sda] X1 \xe2\x80\xa2 model", "X1"),
                  item(Cat::storage, "[disk: sda] X1 \xe2\x80\xa2 serial number", "S1")},
                 {item(Cat::storage, "[disk: sdb] X1 \xe2\x80\xa2 model", "X1"),
                  item(Cat::storage, "[disk: sdb] X1 \xe2\x80\xa2 serial number", "S1")},
                 0,
                 0,
                 0},
        // The summary counts facts already compared one by one.
        DiffCase{"summaryCountsLeftOut",
                 {item(Cat::summary, "USB", "4 useful items")},
                 {item(Cat::summary, "USB", "8 useful items")},
                 0,
                 0,
                 0},
        DiffCase{"maskedSerialStillChanges",
                 {item(Cat::memory, "Serial Number", "•••••34", "DIMM A")},
                 {item(Cat::memory, "Serial Number", "•••••78", "DIMM A")},
                 0,
                 0,
                 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReportDiff, HandleNumberDoesNotCountButTableTypeDoes)
{
    EXPECT_EQ(ReportDiff::matchKey(item(Cat::bios, "Version", "1", biosOld)),
              ReportDiff::matchKey(item(Cat::bios, "Version", "2", biosNew)));
    EXPECT_NE(ReportDiff::matchKey(item(Cat::bios, "Version", "1", "Handle 0x0001, DMI type 0")),
              ReportDiff::matchKey(item(Cat::bios, "Version", "1", "Handle 0x0001, DMI type 13")));
}

// Details as the classic parser writes them for a full output and for a -q
// output of the same record (a -q output has no handle lines); written by hand.
TEST(ReportDiff, FullAndQuietOutputsOfOneRecordMatch)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Memory Device \xe2\x80\xa2 Handle 0x0012, DMI type 17, 40 bytes", "Memory Device"},
        {"BIOS Information \xe2\x80\xa2 Handle 0x0000, DMI type 0, 24 bytes", "BIOS Information"},
        {"System Information \xe2\x80\xa2 Handle 0x0001, DMI type 1, 27 bytes",
         "System Information"},
    };
    for (const auto &[full, quiet] : cases) {
        EXPECT_EQ(ReportDiff::matchKey(item(Cat::memory, "Size", "8 GB", full)),
                  ReportDiff::matchKey(item(Cat::memory, "Size", "8 GB", quiet)))
            << full;
        EXPECT_EQ(ReportDiff::stableDetail(item(Cat::memory, "Size", "8 GB", full)),
                  QString::fromUtf8(quiet));
    }
    const auto r = ReportDiff::compare({item(Cat::memory, "Size", "8 GB", cases[0].first)},
                                       {item(Cat::memory, "Size", "8 GB", cases[0].second)});
    EXPECT_TRUE(r.isEmpty());
}

TEST(ReportDiff, ChangedKeepsBothValues)
{
    const auto r = ReportDiff::compare({item(Cat::bios, "Version", "1.2", biosOld)},
                                       {item(Cat::bios, "Version", "1.5", biosNew)});
    ASSERT_EQ(r.changed.size(), 1);
    EXPECT_EQ(r.changed[0].before.value, QStringLiteral("1.2"));
    EXPECT_EQ(r.changed[0].after.value, QStringLiteral("1.5"));
}

} // namespace
