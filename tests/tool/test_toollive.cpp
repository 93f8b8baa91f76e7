// The listing of the machine the tests run on: whatever it is, what it shows
// reads back cleanly, and a machine with a /proc shows its processor and memory.
#include "model/hardwarecategory.h"
#include "scanner/macparser.h"
#include "tests/tool/tooltesthelpers.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(ThisMachine, ListsItsProcessorAndMemory)
{
    if (!QFileInfo::exists(QStringLiteral("/proc/cpuinfo"))) {
        GTEST_SKIP() << "no /proc/cpuinfo on this system";
    }
    const tooltest::ToolRun run = tooltest::runTool({QStringLiteral("--mac-hardware")});
    ASSERT_EQ(run.exitCode, 0);
    tooltest::expectRoundTrip(run.standardOutput);
    const QList<HardwareItem> items = parseMacHardware(QString::fromUtf8(run.standardOutput));
    bool processor = false;
    bool memoryTotal = false;
    for (const HardwareItem &item : items) {
        processor = processor || (item.category == HardwareCategory::cpu &&
                                  item.title == QStringLiteral("Device"));
        memoryTotal = memoryTotal || (item.category == HardwareCategory::memory &&
                                      item.title.endsWith(QStringLiteral(" \u2022 total")));
    }
    EXPECT_TRUE(processor);
    EXPECT_TRUE(memoryTotal);
}

TEST(ThisMachine, ListsEveryNetworkInterfaceBackedByADevice)
{
    const QDir net(QStringLiteral("/sys/class/net"));
    QStringList expected;
    for (const QString &name : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        if (QFileInfo::exists(net.filePath(name) + QStringLiteral("/device"))) {
            expected.append(QStringLiteral("  [net: ") + name + u']');
        }
    }
    if (expected.isEmpty()) {
        GTEST_SKIP() << "no network hardware visible here";
    }
    const QString listing =
        QString::fromUtf8(tooltest::runTool({QStringLiteral("--mac-hardware")}).standardOutput);
    for (const QString &line : expected) {
        EXPECT_TRUE(listing.contains(line)) << line.toStdString();
    }
}

} // namespace
