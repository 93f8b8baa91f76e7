#pragma once

#include "model/hardwarescanresult.h"
#include "scanner/scansource.h"

#include <QFuture>
#include <QPromise>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQuickTest/quicktest.h>

#include <memory>

// A scan source the test finishes by hand, so every state of the window
// (scanning, finished, rescanning) can be looked at.
class ManualScanSource : public ScanSource {
public:
    QFuture<HardwareScanResult> scan() override
    {
        ++m_scanCount;
        m_promise = std::make_unique<QPromise<HardwareScanResult>>();
        m_promise->start();
        return m_promise->future();
    }

    void finish(HardwareScanResult result)
    {
        QVERIFY(m_promise);
        m_promise->addResult(std::move(result));
        m_promise->finish();
        m_promise.reset();
    }

    [[nodiscard]] bool pending() const { return m_promise != nullptr; }
    [[nodiscard]] int scanCount() const { return m_scanCount; }

private:
    std::unique_ptr<QPromise<HardwareScanResult>> m_promise;
    int m_scanCount = 0;
};

// Items of the scene with this objectName, in tree order (delegates of lists
// and repeaters included: they live in the visual tree, not the object tree).
inline void collectItems(QQuickItem *item, const QString &name, QList<QQuickItem *> &found,
                         bool visibleOnly)
{
    if (visibleOnly && !item->isVisible()) {
        return;
    }
    if (item->objectName() == name) {
        found.append(item);
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children) {
        collectItems(child, name, found, visibleOnly);
    }
}

inline QList<QQuickItem *> findItems(QQuickWindow *window, const QString &name,
                                     bool visibleOnly = false)
{
    QList<QQuickItem *> found;
    collectItems(window->contentItem(), name, found, visibleOnly);
    return found;
}

inline QQuickItem *findItem(QQuickWindow *window, const QString &name)
{
    const QList<QQuickItem *> found = findItems(window, name);
    return found.isEmpty() ? nullptr : found.constFirst();
}

// Visible on screen: the item and all its ancestors are visible.
inline bool isShown(QQuickItem *item)
{
    return item != nullptr && item->isVisible();
}

inline QString textOf(QQuickItem *item)
{
    return item == nullptr ? QStringLiteral("<missing>") : item->property("text").toString();
}

inline void clickItem(QQuickWindow *window, QQuickItem *item)
{
    QVERIFY(item != nullptr);
    // Positioners place new rows at the next polish; click where the row
    // will be drawn, not where it was created.
    QVERIFY(QQuickTest::qWaitForPolish(window));
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

// QTest::keyClicks exists for widgets only.
inline void typeText(QWindow *window, const QString &text)
{
    for (const QChar c : text) {
        QTest::keyClick(window, c.toLatin1());
    }
}
