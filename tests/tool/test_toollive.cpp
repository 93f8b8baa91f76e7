// The machine the tests run on: whatever it is, its listing reads back
// cleanly, and its installed name databases are read as a real run reads them.
#include "model/hardwarecategory.h"
#include "tests/tool/tooltesthelpers.h"
#include "tool/iddatabase.h"

#include <algorithm>

namespace {

TEST(ThisMachine, ListsItsProcessorAndMemory)
{
    const tooltest::ToolRun run = tooltest::runTool({u"--mac-hardware"_s});
    ASSERT_EQ(run.exitCode, 0);
    tooltest::expectRoundTrip(run.standardOutput);
    bool processor = false, memoryTotal = false;
    for (const HardwareItem &item : parseMacHardware(QString::fromUtf8(run.standardOutput))) {
        processor =
            processor || (item.category == HardwareCategory::cpu && item.title == u"Device"_s);
        memoryTotal = memoryTotal || (item.category == HardwareCategory::memory &&
                                      item.title.endsWith(u" \u2022 total"_s));
    }
    EXPECT_TRUE(processor);
    EXPECT_TRUE(memoryTotal);
}

// The fixture machines' own copies of pci.ids and usb.ids pin that format;
// the system's compiled hardware database is read only here.
TEST(ThisMachine, NamesDevicesFromTheInstalledDatabases)
{
    const SysRoot root;
    IdDatabase ids(root);
    const QString databases[] = {u"/usr/lib/udev/hwdb.bin"_s, u"/etc/udev/hwdb.bin"_s,
                                 u"/usr/share/misc/usb.ids"_s, u"/usr/share/hwdata/usb.ids"_s,
                                 u"/var/lib/usbutils/usb.ids"_s};
    if (std::ranges::any_of(databases,
                            [](const QString &path) { return QFileInfo(path).isReadable(); })) {
        EXPECT_EQ(ids.usbVendor(0x1d6b), "Linux Foundation");
        EXPECT_EQ(ids.usbProduct(0x1d6b, 0x0002), "2.0 root hub");
        EXPECT_EQ(ids.usbProduct(0x1d6b, 0xfffe), std::nullopt);
    }
}

} // namespace
