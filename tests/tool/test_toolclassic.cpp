// Every run other than --mac-hardware: the system's dmidecode when it can read
// the firmware tables, the world-readable records when it cannot, and a clear
// message when there is nothing at all.
#include "tests/tool/tooltesthelpers.h"

#include <unistd.h>

namespace {

using tooltest::fixture;

// A root holding only the firmware attributes of a fixture machine (all that
// this kind of run reads) and perhaps a stand-in for the system's dmidecode.
class ClassicRoot {
public:
    ClassicRoot(const char *fixtureName, const QByteArray &script)
    {
        QDir().mkpath(m_root);
        if (fixtureName != nullptr) {
            const QString dmi = u"/sys/class/dmi"_s;
            tooltest::copyTree(fixture(fixtureName) + dmi, m_root + dmi);
        }
        const QString path = m_root + u"/usr/sbin/dmidecode"_s;
        if (script == "self") { // a link back to this very tool
            QDir().mkpath(QFileInfo(path).path());
            EXPECT_TRUE(QFile::link(QStringLiteral(KESTRIN_TOOL_PATH), path));
        } else if (!script.isEmpty()) {
            tooltest::writeFile(path, "#!/bin/sh\nROOT='" + m_root.toUtf8() + "'\n" + script);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::ExeOther);
        }
    }

    tooltest::ToolRun run(const QStringList &arguments = {u"-q"_s}) const
    {
        return tooltest::runTool(QStringList{u"--sysroot"_s, m_root} + arguments);
    }

    QTemporaryDir m_dir;
    QString m_root = m_dir.path() + u"/root"_s;
};

enum class Match { exact, prefix, contains };

const QByteArray noTables =
    "This machine exposes no firmware tables (SMBIOS/DMI) to this user, so no BIOS, system, "
    "board or chassis details can be shown.\n";

TEST(ClassicRun, Outcomes)
{
    struct Case {
        const char *name;
        const char *fixture; // nullptr: an empty root
        QByteArray script;   // the system's dmidecode; empty: not installed
        const char *arguments;
        int exitCode;
        bool golden; // the fixture's classic.txt is the output, not `out`
        QByteArray out;
        Match errMatch;
        QByteArray err;
    };
    const Case cases[] = {
        {"passes the system tool through unchanged", "sysroot-laptop",
         "echo \"arguments: $*\"\nprintf 'BIOS Information\\n\\tVendor: Fake\\n'\n"
         "echo 'a warning' >&2\nexit 3\n",
         "-q -t bios", 3, false, "arguments: -q -t bios\nBIOS Information\n\tVendor: Fake\n",
         Match::exact, "a warning\n"},
        {"repairs bytes that are not UTF-8", "sysroot-laptop",
         "printf 'System Information\\n\\tManufacturer: Caf\\351\\n'\n", "-q", 0, false,
         "System Information\n\tManufacturer: Caf\xEF\xBF\xBD\n", Match::exact, ""},
        {"falls back when the system tool cannot read the tables", "sysroot-laptop",
         "echo '/sys/firmware/dmi/tables/smbios_entry_point: Permission denied' >&2\n"
         "echo '/dev/mem: Permission denied' >&2\nexit 1\n",
         "-q", 0, true, "", Match::prefix,
         "/sys/firmware/dmi/tables/smbios_entry_point: Permission denied\n"
         "/dev/mem: Permission denied\n"
         "The system's dmidecode could not read the firmware tables, so these records come from "
         "/sys/class/dmi/id"},
        {"falls back when the system tool prints nothing", "sysroot-server", "exit 0\n", "-q", 0,
         true, "", Match::contains, ""},
        {"falls back when no tool is installed", "sysroot-laptop", "", "-q", 0, true, "",
         Match::exact,
         "dmidecode is not installed, so these records come from /sys/class/dmi/id.\n"},
        {"says so when nothing is readable", nullptr,
         "echo '/dev/mem: No such file or directory' >&2\nexit 1\n", "-q", 1, false, "",
         Match::exact, "/dev/mem: No such file or directory\n" + noTables},
        {"... and no tool is installed", nullptr, "", "-q", 1, false, "", Match::exact,
         "# No SMBIOS nor DMI entry point found, sorry.\n" + noTables},
        {"other requests need the system tool", "sysroot-laptop", "", "-s bios-version", 1, false,
         "", Match::contains, "the system's dmidecode is not installed"},
        // A wrapper or a link leading back here must not loop.
        {"wrapper", "sysroot-laptop", "exec '" KESTRIN_TOOL_PATH "' --sysroot \"$ROOT\" \"$@\"\n",
         "-q", 0, true, "", Match::contains, ""},
        {"link", "sysroot-laptop", "self", "-q", 0, true, "", Match::prefix,
         "dmidecode is not installed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ClassicRoot root(c.fixture, c.script);
        const tooltest::ToolRun run = root.run(QString::fromUtf8(c.arguments).split(u' '));
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.standardOutput,
                  c.golden ? tooltest::readFile(fixture(c.fixture) + u"/expected/classic.txt"_s)
                           : c.out);
        const QByteArray &err = run.standardError;
        EXPECT_TRUE(c.errMatch == Match::exact    ? err == c.err
                    : c.errMatch == Match::prefix ? err.startsWith(c.err)
                                                  : err.contains(c.err))
            << err.toStdString();
    }
}

TEST(ClassicRun, LeavesOutWhatOnlyRootMayReadAndKeepsStrangeStringsOnTheirLine)
{
    const ClassicRoot root("sysroot-laptop", {});
    const QString id = root.m_root + u"/sys/class/dmi/id/"_s;
    tooltest::writeFile(id + u"product_name"_s, "Evil\nMemory Device\n\tSize: 1 TB\xFF\n");
    if (::geteuid() == 0) {
        // Root reads every file; a directory is just as unreadable as a file.
        ASSERT_TRUE(QDir().mkpath(id + u"product_serial"_s));
    } else {
        tooltest::writeFile(id + u"product_serial"_s, "PF2ABCDE\n");
        QFile::setPermissions(id + u"product_serial"_s, QFile::WriteOwner);
    }
    const tooltest::ToolRun run = root.run();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(run.standardOutput.contains("Serial Number"));
    EXPECT_TRUE(
        run.standardOutput.contains("\tProduct Name: Evil Memory Device Size: 1 TB\xEF\xBF\xBD\n"));
    EXPECT_TRUE(run.standardError.contains(
        ", without the 1 entry that only root may read (such as serial numbers and the UUID).\n"))
        << run.standardError.toStdString();
}

} // namespace
