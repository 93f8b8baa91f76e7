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
    process.start(u"edid-decode"_s, {file});
    EXPECT_TRUE(process.waitForFinished(20000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression descriptor(u"Display Product Serial Number: '([^']*)'"_s);
    static const QRegularExpression number(u"\n\\s+Serial Number: (\\S+)"_s);
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
    const QString card = u"/sys/devices/pci0000:00/0000:00:02.0/drm/card0"_s;
    QDir().mkpath(root + u"/sys/class/drm"_s);
    QDir().mkpath(root + card);
    ASSERT_TRUE(QFile::link(u"../../devices/pci0000:00/0000:00:02.0/drm/card0"_s,
                            root + u"/sys/class/drm/card0"_s));
    QSet<QString> secrets;
    const QDir edids(QStringLiteral(KESTRIN_FIXTURES_DIR "/edid"));
    int index = 0;
    for (const QString &name : edids.entryList({u"*.bin"_s}, QDir::Files)) {
        secrets.unite(edidSerials(edids.filePath(name)));
        const QString connector = u"card0-DP-%1"_s.arg(++index);
        tooltest::writeFile(root + card + u'/' + connector + u"/status"_s, "connected\n");
        tooltest::writeFile(root + card + u'/' + connector + u"/edid"_s,
                            tooltest::readFile(edids.filePath(name)));
        ASSERT_TRUE(QFile::link(u"../../devices/pci0000:00/0000:00:02.0/drm/card0/"_s + connector,
                                root + u"/sys/class/drm/"_s + connector));
    }
    ASSERT_GE(secrets.size(), 15);

    const tooltest::ToolRun run = tooltest::runTool({u"--sysroot"_s, root, u"--mac-hardware"_s});
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
