#include "browser/reportdiff.h"
#include "browsertesthelpers.h"

namespace {

const char *const cacheA = "Cache Information \xe2\x80\xa2 Handle 0x0005, DMI type 7, 27 bytes";
const char *const cacheB = "Cache Information \xe2\x80\xa2 Handle 0x0006, DMI type 7, 27 bytes";
const char *const cacheC = "Cache Information \xe2\x80\xa2 Handle 0x0041, DMI type 7, 27 bytes";

// Plain additions, removals and changes are the compare mode's and the
// command line's cases; here the rules that match facts up.
TEST(ReportDiff, CountsAddedRemovedChanged)
{
    const struct {
        const char *name;
        QList<HardwareItem> before, after;
        std::array<qsizetype, 3> addedRemovedChanged;
    } cases[] = {
        {"devices in another order",
         {item(Cat::usb, "Device", "Mouse"), item(Cat::usb, "Device", "Keyboard")},
         {item(Cat::usb, "Device", "Keyboard"), item(Cat::usb, "Device", "Mouse")},
         {0, 0, 0}},
        // Two processors' "L1 Cache" tables tell apart only by their order.
        {"same designation twice, renumbered",
         {item(Cat::cpu, "Socket Designation", "L1 Cache", cacheA),
          item(Cat::cpu, "Installed Size", "32 kB", cacheA),
          item(Cat::cpu, "Socket Designation", "L1 Cache", cacheB),
          item(Cat::cpu, "Installed Size", "64 kB", cacheB)},
         {item(Cat::cpu, "Socket Designation", "L1 Cache", cacheC),
          item(Cat::cpu, "Installed Size", "32 kB", cacheC),
          item(Cat::cpu, "Socket Designation", "L1 Cache", cacheA),
          item(Cat::cpu, "Installed Size", "128 kB", cacheA)},
         {0, 0, 1}},
        // A disk is known by model and serial, not by the name the kernel gave it.
        {"disk renamed",
         {item(Cat::storage, "[disk: sda] X1 \xe2\x80\xa2 model", "X1"),
          item(Cat::storage, "[disk: sda] X1 \xe2\x80\xa2 serial number", "S1")},
         {item(Cat::storage, "[disk: sdb] X1 \xe2\x80\xa2 model", "X1"),
          item(Cat::storage, "[disk: sdb] X1 \xe2\x80\xa2 serial number", "S1")},
         {0, 0, 0}},
        // The summary counts facts already compared one by one.
        {"summary counts left out",
         {item(Cat::summary, "USB", "4 useful items")},
         {item(Cat::summary, "USB", "8 useful items")},
         {0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ReportDiff::Result r = ReportDiff::compare(c.before, c.after);
        EXPECT_EQ((std::array{r.added.size(), r.removed.size(), r.changed.size()}),
                  c.addedRemovedChanged);
    }
}

TEST(ReportDiff, TableTypeCounts)
{
    EXPECT_NE(ReportDiff::matchKey(item(Cat::bios, "Version", "1", "Handle 0x0001, DMI type 0")),
              ReportDiff::matchKey(item(Cat::bios, "Version", "1", "Handle 0x0001, DMI type 13")));
}

// Details as the classic parser writes them for a full output and for a -q
// output of the same record (a -q output has no handle lines).
TEST(ReportDiff, FullAndQuietOutputsOfOneRecordMatch)
{
    const char *const full = "Memory Device \xe2\x80\xa2 Handle 0x0012, DMI type 17, 40 bytes";
    EXPECT_EQ(ReportDiff::stableDetail(item(Cat::memory, "Size", "8 GB", full)), u"Memory Device");
    EXPECT_TRUE(ReportDiff::compare({item(Cat::memory, "Size", "8 GB", full)},
                                    {item(Cat::memory, "Size", "8 GB", "Memory Device")})
                    .isEmpty());
}

} // namespace
