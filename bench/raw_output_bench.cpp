// The raw output sheet with a long tool output: time from opening the sheet to
// its first frame, frame times while the text scrolls, and the time to take
// in a new output while open. Run under Xvfb with QT_QUICK_BACKEND=software,
// or offscreen. Usage: raw_output_bench [LINES] (default 10000). Prints one
// line of figures.
//
// The output is real `dmidecode -q` text (the fixtures) repeated to LINES
// lines. Each frame moves the text by a fixed distance as soon as the previous
// frame has been presented, so the interval between presented frames is the
// whole cost of a frame.
#include "bench/quickbenchhelpers.h"
#include "ui/mainwindowhost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFuture>
#include <QGuiApplication>
#include <QPromise>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

class ImmediateScanSource : public ScanSource {
public:
    explicit ImmediateScanSource(HardwareScanResult result) : m_result(std::move(result)) {}
    void setResult(HardwareScanResult result) { m_result = std::move(result); }
    QFuture<HardwareScanResult> scan() override
    {
        QPromise<HardwareScanResult> promise;
        promise.start();
        promise.addResult(m_result);
        promise.finish();
        return promise.future();
    }

private:
    HardwareScanResult m_result;
};

QString fixtureText(int lines)
{
    QStringList source;
    const QDir dir(QStringLiteral(KESTRIN_FIXTURES_DIR "/dmi-bin"));
    const QStringList names = dir.entryList({QStringLiteral("*.q.txt")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            source += QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        }
    }
    if (source.isEmpty()) {
        source << QStringLiteral("Handle 0x0001, DMI type 17, 40 bytes")
               << QStringLiteral("\tSize: 16 GB");
    }
    QStringList out;
    out.reserve(lines);
    while (out.size() < lines) {
        out += source.mid(0, lines - out.size());
    }
    return out.join(QLatin1Char('\n'));
}

using QuickBench::findByName;
using QuickBench::percentile;

// Runs the event loop until the window has presented a frame after `change`.
double msUntilNextFrame(QQuickWindow *window, const std::function<void()> &change)
{
    QElapsedTimer clock;
    bool presented = false;
    const auto connection =
        QObject::connect(window, &QQuickWindow::frameSwapped, window, [&] { presented = true; });
    clock.start();
    change();
    window->update();
    while (!presented) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    QObject::disconnect(connection);
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const int lines = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10000;
    constexpr int measuredFrames = 600;
    constexpr qreal stepPixels = 37;

    HardwareScanResult result;
    result.rawOutput = fixtureText(lines);
    auto source = std::make_shared<ImmediateScanSource>(result);
    MainWindowHost host(source);
    if (!host.load()) {
        return 1;
    }
    QQuickWindow *window = host.window();
    window->resize(1280, 860);
    window->show();
    BrowserModel &model = host.model();
    QElapsedTimer waited;
    waited.start();
    while ((model.isScanning() || model.rawOutput().isEmpty()) && waited.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (model.rawOutput().isEmpty()) {
        std::fprintf(stderr, "raw_output_bench: the scan did not finish\n");
        return 1;
    }

    const double openMs = msUntilNextFrame(window, [&] { model.setShowRawOutput(true); });
    QQuickItem *flick =
        findByName(window->contentItem()->parentItem() ? window->contentItem()->parentItem()
                                                       : window->contentItem(),
                   QStringLiteral("rawOutputFlickable"));
    if (flick == nullptr) {
        std::fprintf(stderr, "raw_output_bench: the sheet's text view was not found\n");
        return 1;
    }

    std::vector<double> frames;
    frames.reserve(measuredFrames);
    qreal direction = 1;
    for (int i = 0; i < measuredFrames; ++i) {
        frames.push_back(msUntilNextFrame(window, [&] {
            const qreal maxY =
                std::max<qreal>(0, flick->property("contentHeight").toReal() - flick->height());
            qreal y = flick->property("contentY").toReal() + direction * stepPixels;
            if (y >= maxY || y <= 0) {
                direction = -direction;
                y = std::clamp<qreal>(y, 0, maxY);
            }
            flick->setProperty("contentY", y);
        }));
    }
    // A jump to the far end, as dragging the scroll bar does.
    const double jumpMs = msUntilNextFrame(window, [&] {
        flick->setProperty(
            "contentY",
            std::max<qreal>(0, flick->property("contentHeight").toReal() - flick->height()));
    });

    // A rescan that finishes while the sheet is open replaces the text.
    HardwareScanResult next = result;
    next.rawOutput =
        QStringLiteral("Handle 0x0000, DMI type 0, 26 bytes\n") + result.rawOutput.text();
    source->setResult(next);
    const double replaceMs = msUntilNextFrame(window, [&] {
        model.refresh();
        while (model.isScanning()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    });

    std::sort(frames.begin(), frames.end());
    const auto over =
        std::count_if(frames.begin(), frames.end(), [](double ms) { return ms > 1000.0 / 60.0; });
    std::printf("raw_output lines=%d chars=%lld open_ms=%.1f scroll_median_ms=%.2f "
                "scroll_p95_ms=%.2f scroll_max_ms=%.2f over_16.7ms=%lld jump_ms=%.1f "
                "rescan_ms=%.1f backend=%s\n",
                lines, static_cast<long long>(model.rawOutput().size()), openMs,
                percentile(frames, 0.5), percentile(frames, 0.95), frames.back(),
                static_cast<long long>(over), jumpMs, replaceMs,
                qPrintable(QQuickWindow::sceneGraphBackend()));
    return 0;
}
