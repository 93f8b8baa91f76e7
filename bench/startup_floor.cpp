// The floor of the toolkit: the least a Qt Quick window with QML content can
// cost on this machine, measured by scripts/startup-bench beside Kestrin and
// hardinfo. It shows its window at once (as Kestrin does), then loads one line
// of QML text into it, and reports its first frame the way Kestrin does
// ("first-frame-epoch-us=<microseconds since the epoch>" on standard output).
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickWindow window;
    window.setTitle(QStringLiteral("Qt Quick floor"));
    window.resize(1180, 700);
    window.show();

    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\n"
                      "Rectangle { anchors.fill: parent; color: \"#16181c\"\n"
                      "  Text { anchors.centerIn: parent; color: \"white\"; font.pixelSize: 13;"
                      " text: \"Hello\" } }\n",
                      QUrl());
    QObject *object = component.beginCreate(engine.rootContext());
    auto *item = qobject_cast<QQuickItem *>(object);
    if (item == nullptr) {
        std::fprintf(stderr, "startup_floor: %s\n", qPrintable(component.errorString()));
        return 1;
    }
    item->setParentItem(window.contentItem());
    component.completeCreate();

    QObject::connect(
        &window, &QQuickWindow::frameSwapped, &window,
        [] {
            const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            std::printf("first-frame-epoch-us=%lld\n", static_cast<long long>(now.count()));
            std::fflush(stdout);
        },
        Qt::SingleShotConnection);
    const int status = QGuiApplication::exec();
    delete item;
    return status;
}
