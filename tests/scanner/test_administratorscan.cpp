#include "scanner/activeprocessregistry.h"
#include "scanner/hardwarescanner.h"
#include "tests/scanner/scripttesthelpers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using scripttest::writeScript;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ScanCase {
    const char *name;
    QByteArray pkexecBody;
    bool elevatedBlock;        // the -q block came from pkexec
    const char *fallbackBlock; // else: what the unprivileged -q run printed
    QStringList warnings;
    double pkexecTimeout = 10; // the whole pkexec run's limit
};

class AdministratorScanTest : public ::testing::TestWithParam<ScanCase> {};

// The mac run stays the unprivileged one in every case; only the -q block
// changes. The scanner keeps its reader, so a second scan elevates again and
// ends alike.
TEST_P(AdministratorScanTest, ReplacesOnlyTheClassicRun)
{
    const ScanCase &c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    HardwareScanner scanner;
    scanner.setToolOverride(writeScript(dir, QStringLiteral("dmidecode"),
                                        "case \"$1\" in --mac-hardware) echo 'mac facts';; "
                                        "-q) echo 'fallback tables';; esac"));
    scanner.setRunTimeout(10);
    scanner.setFirmwareTablesPath(dir.filePath(QStringLiteral("no-tables")));
    const QString runs = dir.filePath(QStringLiteral("pkexec-runs"));
    scanner.setAdministratorReader(HardwareScanner::AdministratorReader{
        writeScript(dir, QStringLiteral("pkexec"),
                    "echo run >> '" + runs.toUtf8() + "'\n" + c.pkexecBody),
        writeScript(dir, QStringLiteral("kestrin-read-firmware"), "exit 0"), c.pkexecTimeout});

    for (int scan = 1; scan <= 2; ++scan) {
        SCOPED_TRACE(scan);
        const HardwareScanResult result = scanner.performScan();
        const QString raw = result.rawOutput.text();
        EXPECT_TRUE(raw.contains(QStringLiteral("mac facts"))) << raw.toStdString();
        EXPECT_EQ(raw.contains(QStringLiteral("(read as administrator)\nelevated tables")),
                  c.elevatedBlock)
            << raw.toStdString();
        EXPECT_TRUE(raw.contains(QString::fromUtf8(c.fallbackBlock))) << raw.toStdString();
        EXPECT_NE(raw.contains(QStringLiteral("fallback tables")), c.elevatedBlock);
        EXPECT_EQ(result.warnings, c.warnings);
        EXPECT_FALSE(result.canReadAsAdministrator);
        EXPECT_EQ(result.readAsAdministrator, c.elevatedBlock);
        EXPECT_EQ(result.administratorReadDismissed, std::string(c.name) == "DialogDismissed");
        EXPECT_EQ(readAll(runs), QByteArray("run\n").repeated(scan));
    }
    EXPECT_EQ(HardwareScanner::activeProcesses().count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdministratorScanTest,
    ::testing::Values(
        ScanCase{"Authorised", "echo 'elevated tables'", true, "", {}},
        ScanCase{"DialogDismissed", "exit 126", false, "fallback tables", {}},
        ScanCase{"NotAuthorised",
                 "exit 127",
                 false,
                 "fallback tables",
                 {QStringLiteral(
                     "Could not read the firmware tables as administrator: not authorised.")}},
        ScanCase{"HelperFailed",
                 "echo 'No SMBIOS nor DMI entry point found' >&2; exit 1",
                 false,
                 "fallback tables",
                 {QStringLiteral("Could not read the firmware tables as administrator: "
                                 "No SMBIOS nor DMI entry point found")}},
        // Waiting for a password that never comes: pkexec shrugs off SIGTERM
        // and is killed after the polite stop's grace.
        ScanCase{"HelperHung",
                 "trap '' TERM; exec sleep 60",
                 false,
                 "fallback tables",
                 {QStringLiteral("Could not read the firmware tables as administrator: "
                                 "dmidecode timed out after 1 seconds.")},
                 1}),
    [](const ::testing::TestParamInfo<ScanCase> &info) { return std::string(info.param.name); });

} // namespace
