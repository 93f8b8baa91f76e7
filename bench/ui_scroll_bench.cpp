// Frame times of the real main window while its item list scrolls through
// 1,000 loaded rows. Run under a display (Xvfb) with QT_QUICK_BACKEND=software,
// or offscreen. Prints one line of figures.
//
// Each frame moves the list by a fixed distance as soon as the previous frame
// has been presented, so the interval between two presented frames is the
// whole cost of a frame: moving, creating the rows that scroll in, drawing.
#include "bench/quickbenchhelpers.h"
#include "ui/mainwindowhost.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QGuiApplication>
#include <QPromise>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class ImmediateScanSource : public ScanSource {
public:
    explicit ImmediateScanSource(HardwareScanResult result) : m_result(std::move(result)) {}
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

HardwareScanResult manyMemoryItems(int count)
{
    HardwareScanResult result;
    const QString source = QStringLiteral("dmidecode -q");
    for (int i = 0; i < count; ++i) {
        // Varied lengths: some values wrap to two or three lines.
        QString value = QStringLiteral("%1 MB").arg(1024 * (i % 16 + 1));
        if (i % 7 == 0) {
            value = QStringLiteral("Synchronous Registered (Buffered) DDR4 module, part ")
                        .repeated(1 + i % 3)
                        .trimmed();
        }
        result.items.append(HardwareItem(
            HardwareCategory::memory, QStringLiteral("Memory Device Property %1").arg(i), value,
            QStringLiteral("Memory Device • Handle 0x%1").arg(i / 10, 4, 16, QLatin1Char('0')),
            source));
    }
    return result;
}

using QuickBench::findByName;
using QuickBench::percentile;

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    constexpr int itemCount = 1200;
    constexpr int loadedRows = 1000;
    constexpr int measuredFrames = 600;
    constexpr qreal stepPixels = 37;

    MainWindowHost host(std::make_shared<ImmediateScanSource>(manyMemoryItems(itemCount)));
    if (!host.load()) {
        return 1;
    }
    QQuickWindow *window = host.window();
    window->resize(1280, 860);

    BrowserModel &model = host.model();
    QObject::connect(&model, &BrowserModel::scanFinished, &app, [&] {
        model.setSelectedCategoryTitle(QStringLiteral("Memory"));
        while (model.pagedCount() < loadedRows && model.canLoadMore()) {
            model.loadMoreItems();
        }
    });

    QQuickItem *list = nullptr;
    std::vector<double> intervals;
    intervals.reserve(measuredFrames);
    QElapsedTimer clock;
    qint64 last = -1;
    bool started = false;
    qreal direction = 1;

    const auto step = [&] {
        const qreal contentHeight = list->property("contentHeight").toReal();
        const qreal maxY = std::max<qreal>(0, contentHeight - list->height());
        qreal y = list->property("contentY").toReal() + direction * stepPixels;
        if (y >= maxY || y <= 0) {
            direction = -direction;
            y = std::clamp<qreal>(y, 0, maxY);
        }
        list->setProperty("contentY", y);
        window->update();
    };

    QObject::connect(window, &QQuickWindow::frameSwapped, &app, [&] {
        if (!started) {
            if (model.isScanning() || model.pagedCount() < loadedRows) {
                window->update();
                return;
            }
            list = findByName(window->contentItem(), QStringLiteral("itemList"));
            if (list == nullptr) {
                std::fprintf(stderr, "ui_scroll_bench: item list not found\n");
                QCoreApplication::exit(1);
                return;
            }
            started = true;
            clock.start();
        }
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) {
            intervals.push_back(static_cast<double>(now - last) / 1e6);
        }
        last = now;
        if (static_cast<int>(intervals.size()) >= measuredFrames) {
            QCoreApplication::quit();
            return;
        }
        QMetaObject::invokeMethod(&app, step, Qt::QueuedConnection);
    });

    QTimer::singleShot(60000, &app, [] {
        std::fprintf(stderr, "ui_scroll_bench: timed out\n");
        QCoreApplication::exit(1);
    });
    const int status = QGuiApplication::exec();
    if (status != 0 || intervals.empty()) {
        return status == 0 ? 1 : status;
    }
    std::vector<double> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    const auto over =
        std::count_if(sorted.begin(), sorted.end(), [](double ms) { return ms > 1000.0 / 60.0; });
    std::printf("scroll frames=%zu loaded_rows=%d median_ms=%.2f p95_ms=%.2f max_ms=%.2f "
                "over_16.7ms=%lld backend=%s\n",
                sorted.size(), model.pagedCount(), percentile(sorted, 0.5),
                percentile(sorted, 0.95), sorted.back(), static_cast<long long>(over),
                qPrintable(QQuickWindow::sceneGraphBackend()));
    return 0;
}
