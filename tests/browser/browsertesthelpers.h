#pragma once

#include "browser/browsermodel.h"
#include "scanner/scansource.h"

#include <QPromise>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// A scan source whose scans finish only when the test says so.
class FakeScanSource : public ScanSource {
public:
    QFuture<HardwareScanResult> scan() override
    {
        auto promise = std::make_shared<QPromise<HardwareScanResult>>();
        promise->start();
        m_pending.push_back(promise);
        ++m_scanCount;
        return promise->future();
    }

    [[nodiscard]] int scanCount() const { return m_scanCount; }
    [[nodiscard]] bool hasPending() const { return !m_pending.empty(); }

    // Finishes the oldest pending scan with `result`.
    void complete(HardwareScanResult result)
    {
        auto promise = m_pending.front();
        m_pending.erase(m_pending.begin());
        promise->addResult(std::move(result));
        promise->finish();
    }

    // Drops the oldest pending scan without a result.
    void abandon() { m_pending.erase(m_pending.begin()); }

private:
    std::vector<std::shared_ptr<QPromise<HardwareScanResult>>> m_pending;
    int m_scanCount = 0;
};

inline HardwareItem item(HardwareCategory category, const char *title, const char *value = "v",
                         const char *detail = "", const char *source = "src")
{
    return HardwareItem(category, QString::fromUtf8(title), QString::fromUtf8(value),
                        QString::fromUtf8(detail), QString::fromUtf8(source));
}

inline HardwareScanResult resultOf(QList<HardwareItem> items, QStringList warnings = {})
{
    return HardwareScanResult{std::move(items), QStringLiteral("raw"), std::move(warnings)};
}

// `count` memory items titled "Item 0".."Item N-1" in that order.
inline QList<HardwareItem> numberedItems(HardwareCategory category, int count,
                                         const char *detail = "")
{
    QList<HardwareItem> items;
    for (int i = 0; i < count; ++i) {
        items.append(HardwareItem(category, QStringLiteral("Item %1").arg(i), QStringLiteral("v"),
                                  QString::fromUtf8(detail), QStringLiteral("src")));
    }
    return items;
}

inline QStringList titlesOf(const QList<HardwareItem> &items)
{
    QStringList titles;
    for (const HardwareItem &entry : items) {
        titles.append(entry.title);
    }
    return titles;
}

// A model with a fake scanner, already holding the result of one scan.
struct ScannedModel {
    std::shared_ptr<FakeScanSource> source = std::make_shared<FakeScanSource>();
    std::unique_ptr<BrowserModel> model = std::make_unique<BrowserModel>(source);

    explicit ScannedModel(QList<HardwareItem> items = {}) { rescan(std::move(items)); }

    // Runs one scan to completion and waits until its result is applied.
    void rescan(QList<HardwareItem> items, QStringList warnings = {})
    {
        QSignalSpy finished(model.get(), &BrowserModel::scanFinished);
        model->refresh();
        source->complete(resultOf(std::move(items), std::move(warnings)));
        ASSERT_TRUE(finished.wait(2000));
    }

    // Types `text` and waits for the debounced filter pass.
    void settleSearch(const QString &text)
    {
        QSignalSpy passes(model.get(), &BrowserModel::filterPassCompleted);
        model->setSearchText(text);
        ASSERT_TRUE(passes.wait(2000));
    }
};
