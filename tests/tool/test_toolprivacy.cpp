// Monitors' serial numbers, as edid-decode reads them from every fixture EDID,
// are hidden by the mask in everything the listing gives the window: items and
// raw output.
#include "model/identifiermask.h"
#include "model/rawoutput.h"
#include "scanner/macparser.h"
#include "tests/tool/tooltesthelpers.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The serial edid-decode finds: the 0xFF descriptor, else the 32-bit number
// (the one a monitor is listed with).
QSet<QString> edidSerials(const QString &file)
{
    QProcess process;
    process.start(QStringLiteral("edid-decode"), {file});
    EXPECT_TRUE(process.waitForFinished(20000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression descriptor(
        QStringLiteral("Display Product Serial Number: '([^']*)'"));
    static const QRegularExpression number(QStringLiteral("\n\\s+Serial Number: (\\S+)"));
    QRegularExpressionMatch match = descriptor.match(text);
    if (!match.hasMatch()) {
        match = number.match(text);
    }
    const QString serial = match.captured(1);
    // Shorter ones match by chance inside other numbers.
    if (serial.size() < 4) {
        return {};
    }
    return {serial};
}

TEST(ToolPrivacy, NoMonitorSerialSurvivesTheMask)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    const QString card = QStringLiteral("/sys/devices/pci0000:00/0000:00:02.0/drm/card0");
    QDir().mkpath(root + QStringLiteral("/sys/class/drm"));
    QDir().mkpath(root + card);
    ASSERT_TRUE(QFile::link(QStringLiteral("../../devices/pci0000:00/0000:00:02.0/drm/card0"),
                            root + QStringLiteral("/sys/class/drm/card0")));
    QSet<QString> secrets;
    const QDir edids(QStringLiteral(KESTRIN_FIXTURES_DIR "/edid"));
    int index = 0;
    for (const QString &name : edids.entryList({QStringLiteral("*.bin")}, QDir::Files)) {
        secrets.unite(edidSerials(edids.filePath(name)));
        const QString connector = QStringLiteral("card0-DP-%1").arg(++index);
        tooltest::writeFile(root + card + u'/' + connector + QStringLiteral("/status"),
                            "connected\n");
        tooltest::writeFile(root + card + u'/' + connector + QStringLiteral("/edid"),
                            tooltest::readFile(edids.filePath(name)));
        ASSERT_TRUE(QFile::link(QStringLiteral("../../devices/pci0000:00/0000:00:02.0/drm/card0/") +
                                    connector,
                                root + QStringLiteral("/sys/class/drm/") + connector));
    }
    ASSERT_GE(secrets.size(), 15);

    const tooltest::ToolRun run =
        tooltest::runTool({QStringLiteral("--sysroot"), root, QStringLiteral("--mac-hardware")});
    ASSERT_EQ(run.exitCode, 0);
    const QString listing = QString::fromUtf8(run.standardOutput);
    const QList<HardwareItem> items = parseMacHardware(listing);
    const IdentifierMasker masker(items, RawOutput(listing));
    QString shown = masker.maskRawText(listing);
    for (const HardwareItem &item : masker.maskItems(items)) {
        shown += item.title + u'\n' + item.value + u'\n' + item.detail + u'\n';
    }
    QStringList leaked;
    QStringList listed;
    for (const QString &secret : secrets) {
        if (shown.contains(secret)) {
            leaked.append(secret);
        }
        if (listing.contains(secret)) {
            listed.append(secret);
        }
    }
    EXPECT_EQ(leaked, QStringList());
    // The check means something: unmasked, the listing holds every one.
    EXPECT_EQ(listed.size(), secrets.size());
}

} // namespace
