#pragma once

#include <QGuiApplication>
#include <QObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <functional>

// Finds an object by objectName anywhere under `root`: the QObject tree, then
// the visual item tree (popups live in the window's overlay).
inline QObject *findNamed(QObject *root, const QString &name)
{
    if (!root)
        return nullptr;
    if (root->objectName() == name)
        return root;
    if (QObject *found = root->findChild<QObject *>(name))
        return found;
    if (auto *window = qobject_cast<QQuickWindow *>(root))
        return findNamed(window->contentItem()->parentItem() ? window->contentItem()->parentItem()
                                                             : window->contentItem(),
                         name);
    if (auto *item = qobject_cast<QQuickItem *>(root)) {
        const QList<QQuickItem *> children = item->childItems();
        for (QQuickItem *child : children) {
            if (QObject *found = findNamed(child, name))
                return found;
        }
    }
    return nullptr;
}

inline QQuickItem *findItem(QQuickWindow *window, const QString &name)
{
    return qobject_cast<QQuickItem *>(findNamed(window, name));
}

// Clicks the middle of `item` with the left mouse button, as a user would.
inline void clickItem(QQuickItem *item)
{
    QQuickWindow *window = item->window();
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

// Clicks the menu bar's title `menuTitle` (its menus are built on first use)
// and returns the menu item named `itemName` once the menu is open.
inline QQuickItem *openMenuItem(QQuickWindow *window, const char *menuTitle, const char *itemName)
{
    QQuickItem *title = findItem(window, QString::fromLatin1(menuTitle));
    if (title == nullptr) {
        return nullptr;
    }
    clickItem(title);
    QQuickItem *item = nullptr;
    const bool shown = QTest::qWaitFor([&] {
        item = findItem(window, QString::fromLatin1(itemName));
        return item != nullptr && item->isVisible() && item->height() > 0;
    });
    return shown ? item : nullptr;
}

// Chooses a menu command with the mouse, as a user would.
inline bool chooseMenuItem(QQuickWindow *window, const char *menuTitle, const char *itemName)
{
    QQuickItem *item = openMenuItem(window, menuTitle, itemName);
    if (item == nullptr) {
        return false;
    }
    // The menu opens with a short transition; click once it stands still.
    QTest::qWait(50);
    clickItem(item);
    return true;
}

[[nodiscard]] inline bool waitFor(const std::function<bool()> &condition, int timeoutMs = 5000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// The application's top-level windows with the given objectName.
inline QList<QWindow *> windowsNamed(const QString &name)
{
    QList<QWindow *> found;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (window->objectName() == name)
            found.append(window);
    }
    return found;
}
