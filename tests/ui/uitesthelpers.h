#pragma once

// Shared by the window tests of tests/ui and tests/shell; the callers assert.
#include "scanner/scansource.h"
#include "ui/mainwindowhost.h"

#include <QAccessible>
#include <QFuture>
#include <QPromise>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQuickTest/quicktest.h>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;

// A scan source the test finishes by hand, to look at every state of the window.
struct ManualScanSource : ScanSource {
    QFuture<HardwareScanResult> scan() override
    {
        ++scanCount;
        pending.append(std::make_shared<QPromise<HardwareScanResult>>());
        pending.last()->start();
        return pending.last()->future();
    }
    // Finishes the oldest pending scan; false when none is pending.
    bool finish(const HardwareScanResult &result)
    {
        if (pending.isEmpty())
            return false;
        const auto promise = pending.takeFirst();
        promise->addResult(result);
        promise->finish();
        return true;
    }
    ~ManualScanSource() override
    {
        while (finish({})) {
        }
    }
    void setReadAsAdministrator(bool on) override { readAsAdministrator = on; }

    QList<std::shared_ptr<QPromise<HardwareScanResult>>> pending;
    int scanCount = 0;
    bool readAsAdministrator = false;
};

[[nodiscard]] inline bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 5000);
}

// The window's items in tree order, popups (in the overlay) included; hidden
// ones and their children are left out when `visibleOnly`.
inline QList<QQuickItem *> allItems(QQuickWindow *window, bool visibleOnly = false)
{
    QList<QQuickItem *> found;
    const std::function<void(QQuickItem *)> walk = [&](QQuickItem *item) {
        if (visibleOnly && !item->isVisible())
            return;
        found.append(item);
        for (QQuickItem *child : item->childItems())
            walk(child);
    };
    QQuickItem *content = window->contentItem();
    walk(content->parentItem() != nullptr ? content->parentItem() : content);
    return found;
}

inline QList<QQuickItem *> findItems(QQuickWindow *window, const QString &name,
                                     bool visibleOnly = false)
{
    QList<QQuickItem *> found = allItems(window, visibleOnly);
    found.removeIf([&](QQuickItem *item) { return item->objectName() != name; });
    return found;
}

inline QQuickItem *findItem(QQuickWindow *window, const QString &name)
{
    return findItems(window, name).value(0);
}

// Any object of the window: popups (sheet, alert, dialogs) are objects, not items.
inline QObject *findNamed(QQuickWindow *window, const QString &name)
{
    QObject *found = window->findChild<QObject *>(name);
    for (QQuickItem *item : allItems(window))
        found = found ? found : item->findChild<QObject *>(name, Qt::FindDirectChildrenOnly);
    return found ? found : findItem(window, name);
}

// The real main window on a scan source the test controls. Set a save
// location provider on `host` before start().
struct LoadedWindow {
    std::shared_ptr<ManualScanSource> scanner = std::make_shared<ManualScanSource>();
    std::unique_ptr<MainWindowHost> host = std::make_unique<MainWindowHost>(scanner);

    QQuickWindow *window() const { return host->window(); }
    QQuickItem *item(const char *name) const
    {
        return findItem(window(), QString::fromLatin1(name));
    }
    QObject *named(const char *name) const
    {
        return findNamed(window(), QString::fromLatin1(name));
    }

    // Finishes the pending scan and waits until the window has its result.
    [[nodiscard]] bool finish(const HardwareScanResult &result)
    {
        return scanner->finish(result) && waitFor([this] { return !host->model().isScanning(); });
    }
    // True once the window is active and its first scan (after the first frame) started.
    [[nodiscard]] bool start(QSize size = {})
    {
        if (!host->load())
            return false;
        if (size.isValid())
            window()->resize(size);
        window()->show();
        window()->requestActivate();
        return QTest::qWaitForWindowExposed(window()) &&
               waitFor([this] { return window()->isActive() && scanner->pending.size() == 1; });
    }
};

inline QString textOf(QObject *item)
{
    return item == nullptr ? u"<missing>"_s : item->property("text").toString();
}

// Clicks the middle of `item`, where the next polish will have put it.
inline void clickItem(QQuickItem *item, Qt::MouseButton button = Qt::LeftButton)
{
    if (item == nullptr)
        return;
    (void)QQuickTest::qWaitForPolish(item->window());
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(item->window(), button, Qt::NoModifier, centre.toPoint());
}

// Opens the menu `menuTitle` (built on first use); its `itemName` once it stands still.
inline QQuickItem *openMenuItem(QQuickWindow *window, const char *menuTitle, const char *itemName)
{
    clickItem(findItem(window, QString::fromLatin1(menuTitle)));
    QQuickItem *item = nullptr;
    const bool shown = waitFor([&] {
        item = findItem(window, QString::fromLatin1(itemName));
        return item != nullptr && item->isVisible() && item->height() > 0;
    });
    QTest::qWait(50); // the opening transition
    return shown ? item : nullptr;
}

inline QString accessibleName(QQuickItem *item)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
    return iface == nullptr ? u"<none>"_s : iface->text(QAccessible::Name);
}

// What a screen reader does to activate a control: its press action.
inline bool pressForScreenReader(QQuickItem *item)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
    QAccessibleActionInterface *actions = iface == nullptr ? nullptr : iface->actionInterface();
    const QString press = QAccessibleActionInterface::pressAction();
    const bool pressable = actions != nullptr && actions->actionNames().contains(press);
    if (pressable)
        actions->doAction(press);
    return pressable;
}
