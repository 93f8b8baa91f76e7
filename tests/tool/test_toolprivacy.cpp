// Monitors' serial numbers, as edid-decode reads them from every fixture EDID,
// are hidden by the mask in everything the listing gives the window: items and
// raw output.
#include "model/identifiermask.h"
#include "model/rawoutput.h"
#include "tests/tool/tooltesthelpers.h"

#include <QRegularExpression>
#include <QSet>

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
    const QRegularExpressionMatch match = descriptor.match(text);
    const QString serial = (match.hasMatch() ? match : number.match(text)).captured(1);
    // Shorter ones match by chance inside other numbers.
    return serial.size() < 4 ? QSet<QString>() : QSet<QString>{serial};
}

using ToolPrivacy = tooltest::ScratchMachine;

TEST_F(ToolPrivacy, NoMonitorSerialSurvivesTheMask)
{
    const QString card = u"/sys/devices/pci0000:00/0000:00:02.0/drm/card0"_s;
    mkdir(card);
    linkTo(card, u"/sys/class/drm/card0"_s);
    QSet<QString> secrets;
    const QDir edids(QStringLiteral(KESTRIN_FIXTURES_DIR "/edid"));
    int index = 0;
    for (const QString &name : edids.entryList({u"*.bin"_s}, QDir::Files)) {
        secrets.unite(edidSerials(edids.filePath(name)));
        const QString connector = card + u"/card0-DP-%1"_s.arg(++index);
        files(connector,
              {"status=connected\n", "edid=" + tooltest::readFile(edids.filePath(name))});
        linkTo(connector, u"/sys/class/drm/"_s + QFileInfo(connector).fileName());
    }
    ASSERT_GE(secrets.size(), 15);
    const QString listing = QString::fromUtf8(runListing());
    const QList<HardwareItem> items = parseMacHardware(listing);
    const IdentifierMasker masker(items, RawOutput(listing));
    QString shown = masker.maskRawText(listing);
    for (const HardwareItem &item : masker.maskItems(items)) {
        shown += item.title + u'\n' + item.value + u'\n' + item.detail + u'\n';
    }
    for (const QString &secret : secrets) {
        EXPECT_FALSE(shown.contains(secret)) << secret.toStdString();
        // The check means something: unmasked, the listing holds every one.
        EXPECT_TRUE(listing.contains(secret)) << secret.toStdString();
    }
}

} // namespace
