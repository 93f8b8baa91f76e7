// The file chooser against a stand-in portal on a private bus: what is asked,
// what each answer gives, and that without a portal the window's dialog asks.
#include "ui/filechooser.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <signal.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// A bus of the test's own, with no service to activate, so a portal of the
// machine's cannot answer in the stand-in's place.
class PrivateBus {
public:
    bool start()
    {
        QFile config(m_dir.filePath(u"bus.conf"_s));
        if (!config.open(QIODevice::WriteOnly))
            return false;
        // Without a named mechanism the daemon never completes a client's Hello.
        config.write("<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        config.close();
        QProcess process;
        process.start(u"dbus-daemon"_s,
                      {u"--config-file="_s + config.fileName(), u"--print-address=1"_s,
                       u"--print-pid=1"_s, u"--fork"_s, u"--nopidfile"_s});
        const QStringList lines = process.waitForFinished(10000)
                                      ? QString::fromLocal8Bit(process.readAllStandardOutput())
                                            .split(u'\n', Qt::SkipEmptyParts)
                                      : QStringList();
        if (lines.size() < 2)
            return false;
        m_address = lines[0];
        m_daemonPid = lines[1].toLongLong();
        // Only this process and the stand-in reach the private bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toLocal8Bit());
        if (!bus().isConnected())
            return false;
        m_portal.start(QStringLiteral(KESTRIN_FAKE_PORTAL), {});
        return QTest::qWaitFor([this] {
            return bus().interface()->isServiceRegistered(u"org.freedesktop.portal.Desktop"_s);
        });
    }

    ~PrivateBus()
    {
        m_portal.kill();
        m_portal.waitForFinished();
        QDBusConnection::disconnectFromBus(u"test-bus"_s);
        if (m_daemonPid > 0)
            ::kill(static_cast<pid_t>(m_daemonPid), SIGTERM);
    }

    QDBusConnection bus() { return QDBusConnection::connectToBus(m_address, u"test-bus"_s); }

    // Sets the stand-in's next answer, or asks what it was last asked.
    QDBusMessage control(const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(u"org.freedesktop.portal.Desktop"_s, u"/test"_s,
                                           u"org.freedesktop.portal.FileChooser"_s, method);
        call.setArguments(arguments);
        return bus().call(call);
    }

private:
    QTemporaryDir m_dir;
    QString m_address;
    qint64 m_daemonPid = 0;
    QProcess m_portal;
};

struct RecordingAlerts : AlertPresenter {
    void showError(const QString &message) override { last = message; }
    QString last;
};

// What the question ended in, in one line.
QString ask(FileChooser &chooser, SaveDialogController &inWindow, bool save)
{
    QString outcome;
    if (save)
        chooser.askSaveLocation(
            u"Kestrin.txt"_s, {u"Plain text (*.txt)"_s, u"JSON (*.json)"_s},
            [&](std::optional<SaveLocation> location) {
                outcome = location ? u"%1 %2"_s.arg(location->path).arg(location->filterIndex)
                                   : u"nothing"_s;
            });
    else
        chooser.askOpenLocation(u"Open Report"_s, [&](std::optional<QString> path) {
            outcome = path ? *path : u"nothing"_s;
        });
    if (!QTest::qWaitFor([&] { return !outcome.isEmpty() || inWindow.isActive(); }))
        return u"no answer"_s;
    if (!inWindow.isActive())
        return outcome;
    const QString mode = inWindow.isOpenMode() ? u"in-window open"_s : u"in-window save"_s;
    inWindow.reject();
    return mode;
}

TEST(PortalTest, AnswersAsThePortalDoesAndFallsBackWhenItFails)
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    PrivateBus bus;
    ASSERT_TRUE(bus.start()) << "the private bus or the stand-in portal did not start";
    const struct {
        bool save;
        const char *mode, *uri, *filter, *expected;
        const char *sent; // part of what the portal was asked
        const char *alert = "";
    } rows[] = {
        // The filter the user chose decides the format, whatever the suffix.
        {true, "ok", "file:///tmp/r/Kestrin%20x.txt", "JSON", "/tmp/r/Kestrin x.txt 1",
         "SaveFile; parent=; title=Save Report; current_filter=Plain text; "
         "current_name=Kestrin.txt; filters=Plain text:*.txt|JSON:*.json; handle_token=kestrin"},
        // Without a filter the suffix decides; the next question starts in
        // the folder of the last answer.
        {true, "ok", "file:///tmp/r/a.json", "", "/tmp/r/a.json 1", "current_folder=/tmp/r\\0"},
        {false, "ok", "file:///tmp/r/old.json", "All files", "/tmp/r/old.json",
         "OpenFile; parent=; title=Open Report; current_filter=Reports and tool outputs; "
         "current_folder=/tmp/r\\0; filters=Reports and tool outputs:*.json,*.txt|All files:*; "
         "handle_token=kestrin"},
        {true, "cancel", "", "", "nothing", "SaveFile"},
        // A failed question, an error reply and no reply at all.
        {false, "other", "", "", "in-window open", "OpenFile"},
        {true, "error", "", "", "in-window save", "SaveFile"},
        {false, "silent", "", "", "in-window open", "OpenFile"},
        {true, "ok", "sftp://host/r.txt", "", "nothing", "SaveFile",
         "The chosen location is not a file on this computer: sftp://host/r.txt"},
    };
    SaveDialogController inWindow;
    RecordingAlerts alerts;
    FileChooser chooser(inWindow, bus.bus());
    chooser.setAlertPresenter(&alerts);
    chooser.portal().setCallTimeout(1000);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.sent);
        bus.control(u"Script"_s, {QString::fromUtf8(row.mode), QString::fromUtf8(row.uri),
                                  QString::fromUtf8(row.filter)});
        alerts.last.clear();
        EXPECT_EQ(ask(chooser, inWindow, row.save), QString::fromUtf8(row.expected));
        const QString sent = bus.control(u"LastCall"_s).arguments().value(0).toString();
        EXPECT_TRUE(sent.contains(QString::fromUtf8(row.sent))) << sent.toStdString();
        EXPECT_EQ(alerts.last, QString::fromUtf8(row.alert));
    }
}

// Without a bus the window's dialog asks (a bus without a portal: the "error" row).
TEST(PortalAbsentTest, TheWindowsOwnDialogAsks)
{
    SaveDialogController inWindow;
    FileChooser chooser(inWindow, QDBusConnection(u"no bus"_s));
    EXPECT_EQ(ask(chooser, inWindow, true), u"in-window save"_s);
}

} // namespace
