// kestrin: the desktop application. Everything but process set-up lives in
// MainWindowHost, which the UI tests build the same way.
#include "ui/appiconprovider.h"
#include "ui/firstframeprobe.h"
#include "ui/fontwarmup.h"
#include "ui/mainwindowhost.h"
#include "ui/quithook.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QStringList>

int main(int argc, char *argv[])
{
    // The window draws every control itself on a fixed dark palette; the Basic
    // style is the one that takes that styling without a platform look leaking in.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_CONTROLS_STYLE")) {
        qputenv("QT_QUICK_CONTROLS_STYLE", "Basic");
    }

    // Before the application object: fontconfig's set-up runs beside it.
    FontWarmUp fonts;
    QGuiApplication app(argc, argv);
    fonts.applicationReady();
    // The thread must be done before the application object goes.
    const auto joinFonts = qScopeGuard([&fonts] { fonts.finish(); });
    QGuiApplication::setApplicationName(QStringLiteral("Kestrin"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kestrin"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIN_APP_ID));
    installQuitHook(app);

    MainWindowHost host;
    // `kestrin FILE` opens a saved report; Qt has taken its own options already.
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() > 1 && !arguments.at(1).startsWith(u'-')) {
        host.setInitialReport(arguments.at(1));
    }
    if (!host.load()) {
        return 1;
    }
    // The window manager's icon, in the sizes rendered at build time; nothing
    // on screen needs it before the first frame.
    QObject::connect(
        host.window(), &QQuickWindow::frameSwapped, &app,
        [] {
            QIcon icon;
            for (const int side : AppIconImageProvider::windowIconSides) {
                icon.addPixmap(QPixmap::fromImage(AppIconImageProvider::renderedIcon(side)));
            }
            QGuiApplication::setWindowIcon(icon);
        },
        Qt::SingleShotConnection);
    installFirstFrameProbe(host.window());
    return QGuiApplication::exec();
}
