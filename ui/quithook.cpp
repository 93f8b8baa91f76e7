#include "ui/quithook.h"

#include "scanner/activeprocessregistry.h"
#include "scanner/hardwarescanner.h"

#include <QGuiApplication>

void installQuitHook(QGuiApplication &app)
{
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app,
                     [] { HardwareScanner::activeProcesses().terminateAll(); });
}
