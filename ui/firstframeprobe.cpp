#include "ui/firstframeprobe.h"

#include <QCoreApplication>
#include <QQuickWindow>

#include <chrono>
#include <cstdio>

void installFirstFrameProbe(QQuickWindow *window)
{
    const bool exitAfter = qEnvironmentVariableIntValue("KESTRIN_EXIT_AFTER_FIRST_FRAME") == 1;
    if (window == nullptr ||
        (!exitAfter && qEnvironmentVariableIntValue("KESTRIN_REPORT_FIRST_FRAME") != 1)) {
        return;
    }
    // frameSwapped fires on the render thread with the threaded loop; the
    // timestamp is taken there, the quit is queued to the main thread.
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [exitAfter] {
            static bool reported = false;
            if (reported) {
                return;
            }
            reported = true;
            const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            std::printf("first-frame-epoch-us=%lld\n", static_cast<long long>(now.count()));
            std::fflush(stdout);
            if (!exitAfter) {
                return;
            }
            QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                      Qt::QueuedConnection);
        },
        Qt::DirectConnection);
}
