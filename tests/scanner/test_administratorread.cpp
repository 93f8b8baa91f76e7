#include "scanner/activeprocessregistry.h"
#include "scanner/administratorread.h"
#include "scanner/hardwarescanner.h"
#include "scanner/toollocation.h"
#include "tests/scanner/scripttesthelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using scripttest::writeScript;

namespace {

#define REFUSED "Could not read the firmware tables as administrator: "

TEST(AdministratorRead, MapsWhatPkexecReports)
{
    using enum AdministratorReadOutcome;
    const struct {
        const char *name;
        QByteArray pkexecBody; // empty: no pkexec at all
        bool helperInstalled;
        AdministratorReadOutcome outcome;
        const char *output;
        const char *warning;
    } cases[] = {
        // pkexec is given the helper's path and nothing else.
        {"Authorised", "printf 'Memory Device\\n\\targs: %s %s\\n' \"$#\" \"$1\"", true, Read,
         "Memory Device\n\targs: 1 $HELPER\n", ""},
        {"DialogDismissed", "echo 'Error executing command as another user' >&2; exit 126", true,
         Cancelled, "", ""},
        {"NotAuthorised", "echo 'Not authorized' >&2; exit 127", true, Refused, "",
         REFUSED "not authorised."},
        {"NoPkexec", "", true, Refused, "", REFUSED "pkexec is not installed."},
        {"NoHelper", "exit 0", false, Refused, "",
         REFUSED "the helper is not installed at $HELPER."},
        // dmidecode's own message comes back through the helper's standard error.
        {"DmidecodeFailed", "echo '/dev/mem: Operation not permitted' >&2; exit 1", true, Failed,
         "", REFUSED "/dev/mem: Operation not permitted"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString pkexec = c.pkexecBody.isEmpty()
                                   ? dir.filePath(u"no-pkexec"_qs)
                                   : writeScript(dir, u"pkexec"_qs, c.pkexecBody);
        const QString helper = c.helperInstalled
                                   ? writeScript(dir, u"kestrin-read-firmware"_qs, "exit 0")
                                   : dir.filePath(u"kestrin-read-firmware"_qs);
        ActiveProcessRegistry registry;
        const AdministratorRead read =
            readFirmwareTablesAsAdministrator(pkexec, helper, 10, registry);
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_EQ(read.output, QString::fromUtf8(c.output).replace(u"$HELPER"_qs, helper));
        EXPECT_EQ(read.warning, QString::fromUtf8(c.warning).replace(u"$HELPER"_qs, helper));
    }
}

// pkexec picks the polkit action by the exact path it is given, and the
// action names the installed path without ".." or links.
TEST(AdministratorHelperPath, IsTheCanonicalPathOfAnInstalledHelper)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    ASSERT_TRUE(QDir(root).mkpath(u"usr/bin"_qs) && QDir(root).mkpath(u"usr/libexec/kestrin"_qs) &&
                QFile::link(root, root + u"/l"_qs));
    writeScript(dir, u"usr/libexec/kestrin/kestrin-read-firmware"_qs, "exit 0");
    EXPECT_EQ(administratorHelperPath(root + u"/l/usr/bin/../bin"_qs),
              root + u"/usr/libexec/kestrin/kestrin-read-firmware"_qs);
    // Missing: the plain path, which the "not installed" warning names.
    EXPECT_EQ(administratorHelperPath(root + u"/bare/bin"_qs),
              root + u"/bare/bin/../libexec/kestrin/kestrin-read-firmware"_qs);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
// The mac run stays the unprivileged one in every case; only the -q block
// changes. The scanner keeps its reader, so a second scan elevates again and
// ends alike.
TEST(AdministratorScan, ReplacesOnlyTheClassicRun)
{
    const struct {
        const char *name;
        QByteArray pkexecBody;
        bool elevatedBlock;        // the -q block came from pkexec, else from the unprivileged run
        const char *warning;       // "": none
        double pkexecTimeout = 10; // the whole pkexec run's limit
    } cases[] = {
        {"Authorised", "echo 'elevated tables'", true, ""},
        {"DialogDismissed", "exit 126", false, ""},
        // Waiting for a password that never comes: pkexec shrugs off SIGTERM
        // and is killed after the polite stop's grace.
        {"HelperHung", "trap '' TERM; exec sleep 60", false,
         REFUSED "dmidecode timed out after 1 seconds.", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
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
            EXPECT_NE(raw.contains(QStringLiteral("fallback tables")), c.elevatedBlock);
            EXPECT_EQ(result.warnings,
                      *c.warning ? QStringList{QString::fromUtf8(c.warning)} : QStringList());
            EXPECT_FALSE(result.canReadAsAdministrator);
            EXPECT_EQ(result.readAsAdministrator, c.elevatedBlock);
            EXPECT_EQ(result.administratorReadDismissed, std::string(c.name) == "DialogDismissed");
            EXPECT_EQ(readAll(runs), QByteArray("run\n").repeated(scan));
        }
        EXPECT_EQ(HardwareScanner::activeProcesses().count(), 0);
    }
}

} // namespace
