#include "scanner/hardwarescanner.h"
#include "scanner/processrunner.h"
#include "tests/scanner/scripttesthelpers.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

using scripttest::writeScript;

namespace {

// As root the -q run reads the tables itself, so pkexec must not be asked;
// as anyone else --admin must go through it and show what it read.
TEST(CliAdmin, ReadsThroughPkexecUnlessAlreadyRoot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tool = writeScript(dir, QStringLiteral("dmidecode"),
                                     "case \"$1\" in --mac-hardware) echo 'mac facts';; "
                                     "-q) echo 'fallback tables';; esac");
    const QString marker = dir.filePath(QStringLiteral("pkexec-ran"));
    // pkexec is given the helper's path without "..", as the polkit action names it.
    const QString pkexec =
        writeScript(dir, QStringLiteral("pkexec"),
                    "printf '%s' \"$*\" > '" + marker.toUtf8() + "'; echo 'elevated tables'");
    qputenv("KESTRIN_PKEXEC", pkexec.toUtf8());
    const Expected<QString> out = runDMIDecode(QStringLiteral(KESTRIN_CLI_PATH),
                                               {u"--admin"_qs, u"--raw"_qs, u"--tool"_qs, tool}, 20,
                                               HardwareScanner::activeProcesses());
    qunsetenv("KESTRIN_PKEXEC");
    ASSERT_TRUE(out.hasValue()) << out.error().description.toStdString();
    const bool root = ::geteuid() == 0;
    EXPECT_EQ(QFile::exists(marker), !root);
    if (QFile arguments(marker); !root && arguments.open(QIODevice::ReadOnly)) {
        EXPECT_EQ(arguments.readAll(), QByteArray(KESTRIN_HELPER_PATH));
    }
    const QString &text = out.value();
    EXPECT_EQ(text.contains(u"(read as administrator)\nelevated tables"_qs), !root)
        << text.toStdString();
    EXPECT_EQ(text.contains(u"fallback tables"_qs), root) << text.toStdString();
}

} // namespace
