// kestrin: the desktop application. Everything but process set-up lives in
// MainWindowHost, which the UI tests build the same way.
#include "ui/firstframeprobe.h"
#include "ui/mainwindowhost.h"
#include "ui/quithook.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQuickStyle>

int main(int argc, char *argv[])
{
    // The window draws every control itself on a fixed dark palette; the Basic
    // style is the one that takes that styling without a platform look leaking in.
    QQuickStyle::setStyle(QStringLiteral("Basic"));

    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kestrin"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrin"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kestrin.svg")));
    installQuitHook(app);

    MainWindowHost host;
    if (!host.load()) {
        return 1;
    }
    installFirstFrameProbe(host.window());
    return QGuiApplication::exec();
}
