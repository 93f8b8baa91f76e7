// Every run other than --mac-hardware: the system's dmidecode when it can read
// the firmware tables, the world-readable records when it cannot, and a clear
// message when there is nothing at all.
#include "scanner/classicparser.h"
#include "scanner/hardwarescanner.h"
#include "tests/tool/tooltesthelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using tooltest::fixture;
using tooltest::runTool;

const QByteArray noTablesSentence =
    "This machine exposes no firmware tables (SMBIOS/DMI) to this user, so no BIOS, system, "
    "board or chassis details can be shown.\n";

QByteArray readFile(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

class ClassicRun : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/root");
    }

    // Only the firmware attributes: all that this kind of run reads.
    void useFixture(const char *name)
    {
        const QString dmi = QStringLiteral("/sys/class/dmi");
        QDir().mkpath(m_root + dmi);
        tooltest::copyTree(fixture(name) + dmi, m_root + dmi);
    }

    // A stand-in for the system's dmidecode, at its usual place in the root.
    void fakeSystemDmidecode(const QByteArray &script)
    {
        const QString path = m_root + QStringLiteral("/usr/sbin/dmidecode");
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                            QFile::ExeGroup | QFile::ExeOther | QFile::ReadGroup |
                            QFile::ReadOther);
    }

    tooltest::ToolRun run(QStringList arguments = {QStringLiteral("-q")})
    {
        arguments.prepend(m_root);
        arguments.prepend(QStringLiteral("--sysroot"));
        return runTool(arguments);
    }

    QTemporaryDir m_dir;
    QString m_root;
};

TEST_F(ClassicRun, PassesTheSystemToolThroughUnchanged)
{
    useFixture("sysroot-laptop");
    fakeSystemDmidecode("echo \"arguments: $*\"\n"
                        "printf 'BIOS Information\\n\\tVendor: Fake\\n'\n"
                        "echo 'a warning' >&2\n"
                        "exit 3\n");
    const tooltest::ToolRun result =
        run({QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("bios")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.standardOutput, "arguments: -q -t bios\nBIOS Information\n\tVendor: Fake\n");
    EXPECT_EQ(result.standardError, "a warning\n");
}

TEST_F(ClassicRun, RepairsBytesThatAreNotUtf8)
{
    useFixture("sysroot-laptop");
    fakeSystemDmidecode("printf 'System Information\\n\\tManufacturer: Caf\\351\\n'\n");
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, "System Information\n\tManufacturer: Caf\xEF\xBF\xBD\n");
}

TEST_F(ClassicRun, FallsBackWhenTheSystemToolCannotReadTheTables)
{
    useFixture("sysroot-laptop");
    fakeSystemDmidecode(
        "echo '/sys/firmware/dmi/tables/smbios_entry_point: Permission denied' >&2\n"
        "echo '/dev/mem: Permission denied' >&2\n"
        "exit 1\n");
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput,
              readFile(fixture("sysroot-laptop") + QStringLiteral("/expected/classic.txt")));
    EXPECT_TRUE(result.standardError.startsWith(
        "/sys/firmware/dmi/tables/smbios_entry_point: Permission denied\n"
        "/dev/mem: Permission denied\n"
        "The system's dmidecode could not read the firmware tables, so these records come from "
        "/sys/class/dmi/id"))
        << result.standardError.toStdString();
}

TEST_F(ClassicRun, FallsBackWhenTheSystemToolPrintsNothing)
{
    useFixture("sysroot-server");
    fakeSystemDmidecode("exit 0\n");
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput,
              readFile(fixture("sysroot-server") + QStringLiteral("/expected/classic.txt")));
}

TEST_F(ClassicRun, FallbackRecordsReadBackThroughTheClassicParser)
{
    useFixture("sysroot-laptop");
    const tooltest::ToolRun result = run();
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardError,
              "dmidecode is not installed, so these records come from /sys/class/dmi/id.\n");
    const HardwareScanner scanner;
    const QList<HardwareItem> items =
        parseClassicDMIDecode(QString::fromUtf8(result.standardOutput), scanner.usefulKeys());
    QStringList seen;
    for (const HardwareItem &item : items) {
        seen.append(rawValue(item.category) + u'|' + item.detail + u'|' + item.title + u'|' +
                    item.value);
    }
    // "Firmware Revision" is not among the keys the application keeps.
    const QStringList expected = {
        QStringLiteral("BIOS|BIOS Information|Vendor|LENOVO"),
        QStringLiteral("BIOS|BIOS Information|Version|N32ET86W (1.62 )"),
        QStringLiteral("BIOS|BIOS Information|Release Date|11/09/2023"),
        QStringLiteral("BIOS|BIOS Information|BIOS Revision|1.62"),
        QStringLiteral("Platform|System Information|Manufacturer|LENOVO"),
        QStringLiteral("Platform|System Information|Product Name|20XW003FUS"),
        QStringLiteral("Platform|System Information|Version|ThinkPad X1 Carbon Gen 9"),
        QStringLiteral("Platform|System Information|SKU Number|"
                       "LENOVO_MT_20XW_BU_Think_FM_ThinkPad X1 Carbon Gen 9"),
        QStringLiteral("Platform|System Information|Family|ThinkPad X1 Carbon Gen 9"),
        QStringLiteral("Baseboard|Base Board Information|Manufacturer|LENOVO"),
        QStringLiteral("Baseboard|Base Board Information|Product Name|20XW003FUS"),
        QStringLiteral("Baseboard|Base Board Information|Version|SDK0J40697 WIN"),
        QStringLiteral("Baseboard|Base Board Information|Asset Tag|Not Available"),
        QStringLiteral("Other|Chassis Information|Manufacturer|LENOVO"),
        QStringLiteral("Other|Chassis Information|Type|Notebook"),
        QStringLiteral("Other|Chassis Information|Version|None"),
        QStringLiteral("Other|Chassis Information|Asset Tag|No Asset Information"),
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(ClassicRun, LeavesOutWhatOnlyRootMayRead)
{
    useFixture("sysroot-laptop");
    const QString serial = m_root + QStringLiteral("/sys/class/dmi/id/product_serial");
    if (::geteuid() == 0) {
        // Root reads every file; a directory is just as unreadable as a file.
        ASSERT_TRUE(QDir().mkpath(serial));
    } else {
        QFile file(serial);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PF2ABCDE\n");
        file.close();
        file.setPermissions(QFile::WriteOwner);
    }
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(result.standardOutput.contains("Serial Number"));
    EXPECT_TRUE(result.standardError.contains(
        ", without the 1 entry that only root may read (such as serial numbers and the UUID).\n"))
        << result.standardError.toStdString();
}

TEST_F(ClassicRun, StrangeFirmwareStringsStayOnTheirLine)
{
    useFixture("sysroot-laptop");
    QFile file(m_root + QStringLiteral("/sys/class/dmi/id/product_name"));
    QFile::remove(file.fileName());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Evil\nMemory Device\n\tSize: 1 TB\xFF\n");
    file.close();
    const tooltest::ToolRun result = run();
    EXPECT_TRUE(result.standardOutput.contains(
        "\tProduct Name: Evil Memory Device Size: 1 TB\xEF\xBF\xBD\n"));
}

TEST_F(ClassicRun, SaysSoWhenNothingIsReadable)
{
    QDir().mkpath(m_root);
    fakeSystemDmidecode("echo '/dev/mem: No such file or directory' >&2\nexit 1\n");
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.standardOutput.isEmpty());
    EXPECT_EQ(result.standardError, "/dev/mem: No such file or directory\n" + noTablesSentence);
}

TEST_F(ClassicRun, SaysSoWhenNothingIsReadableAndNoToolIsInstalled)
{
    QDir().mkpath(m_root);
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.standardOutput.isEmpty());
    EXPECT_EQ(result.standardError,
              "# No SMBIOS nor DMI entry point found, sorry.\n" + noTablesSentence);
}

TEST_F(ClassicRun, OtherRequestsNeedTheSystemTool)
{
    useFixture("sysroot-laptop");
    const tooltest::ToolRun result = run({QStringLiteral("-s"), QStringLiteral("bios-version")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.standardOutput.isEmpty());
    EXPECT_TRUE(result.standardError.contains("the system's dmidecode is not installed"));
}

TEST_F(ClassicRun, NeverRunsItselfAsTheSystemTool)
{
    useFixture("sysroot-laptop");
    QDir().mkpath(m_root + QStringLiteral("/usr/sbin"));
    ASSERT_TRUE(QFile::link(QStringLiteral(KESTRIN_TOOL_PATH),
                            m_root + QStringLiteral("/usr/sbin/dmidecode")));
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.standardError.startsWith("dmidecode is not installed"));
}

TEST_F(ClassicRun, AWrapperLeadingBackHereDoesNotLoop)
{
    useFixture("sysroot-laptop");
    fakeSystemDmidecode("exec '" KESTRIN_TOOL_PATH "' --sysroot '" + m_root.toUtf8() +
                        "' \"$@\"\n");
    const tooltest::ToolRun result = run();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput,
              readFile(fixture("sysroot-laptop") + QStringLiteral("/expected/classic.txt")));
}

} // namespace
