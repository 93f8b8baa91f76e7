#pragma once

#include "browser/browsermodel.h"
#include "browser/sectioneditemsmodel.h"
#include "scanner/hardwarescanner.h"
#include "scanner/scansource.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPromise>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

using Cat = HardwareCategory;

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline QString u8(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Five U+2022 in UTF-8: the mask of a hidden identifier.
#define DOTS "\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2\xe2\x80\xa2"

// Its scans finish only when the test calls complete().
struct FakeScanSource : ScanSource {
    QFuture<HardwareScanResult> scan() override
    {
        pending.emplace_back().start();
        return pending.back().future();
    }
    void setReadAsAdministrator(bool on) override { readAsAdministrator = on; }

    // Finishes the oldest scan; without a result, it is abandoned.
    void complete(std::optional<HardwareScanResult> result)
    {
        QPromise<HardwareScanResult> promise = std::move(pending.front());
        pending.pop_front();
        if (result) {
            promise.addResult(std::move(*result));
            promise.finish();
        }
    }

    std::deque<QPromise<HardwareScanResult>> pending;
    bool readAsAdministrator = false;
};

struct FakeClipboard : ClipboardService {
    void setPlainText(const QString &text) override { texts.append(text); }
    QStringList texts;
};

struct FakeAlerts : AlertPresenter {
    void showError(const QString &message) override { messages.append(message); }
    QStringList messages;
};

// Stays open until close().
struct FakeSaveDialog : SaveLocationProvider {
    void askSaveLocation(const QString &suggestedFileName, const QStringList &nameFilters,
                         std::function<void(std::optional<SaveLocation>)> done) override
    {
        suggested = suggestedFileName;
        filters = nameFilters;
        pending = std::move(done);
    }
    void close(std::optional<QString> path, int filterIndex = 0)
    {
        std::exchange(pending, nullptr)(path ? std::optional(SaveLocation{*path, filterIndex})
                                             : std::nullopt);
    }
    QString suggested;
    QStringList filters;
    std::function<void(std::optional<SaveLocation>)> pending;
};

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

inline QUrl putFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    return QUrl::fromLocalFile(writeFile(dir.filePath(u8(name)), bytes));
}

// The values of the rows, in display order.
inline QStringList valuesOf(const QAbstractItemModel *rows)
{
    QStringList values;
    for (int row = 0; row < rows->rowCount(); ++row) {
        values.append(rows->index(row, 0).data(SectionedItemsModel::ValueRole).toString());
    }
    return values;
}

inline HardwareItem item(Cat category, const char *title, const char *value = "v",
                         const char *detail = "", const char *source = "src")
{
    return {category, u8(title), u8(value), u8(detail), u8(source)};
}

// "Item 0".."Item N-1", in that order.
inline QList<HardwareItem> numberedItems(Cat category, int count, const char *detail = "")
{
    QList<HardwareItem> items;
    for (int i = 0; i < count; ++i) {
        items.append(item(category, qPrintable(u"Item %1"_qs.arg(i)), "v", detail));
    }
    return items;
}

// A model with a fake scanner, already holding the result of one scan.
struct ScannedModel {
    std::shared_ptr<FakeScanSource> source = std::make_shared<FakeScanSource>();
    std::unique_ptr<BrowserModel> model = std::make_unique<BrowserModel>(source);

    explicit ScannedModel(QList<HardwareItem> items = {}) { rescan(std::move(items)); }
    explicit ScannedModel(HardwareScanResult result) { finishScan(std::move(result)); }

    void rescan(QList<HardwareItem> items)
    {
        finishScan(HardwareScanResult{std::move(items), u"raw"_qs, {}});
    }
    void finishScan(std::optional<HardwareScanResult> result)
    {
        QSignalSpy finished(model.get(), &BrowserModel::scanFinished);
        model->refresh();
        source->complete(std::move(result));
        ASSERT_TRUE(finished.wait(5000));
    }
    // Types `text` and waits for the debounced filter pass.
    void settleSearch(const QString &text)
    {
        QSignalSpy passes(model.get(), &BrowserModel::filterPassCompleted);
        model->setSearchText(text);
        ASSERT_TRUE(passes.wait(2000));
    }
    [[nodiscard]] SectionedItemsModel &rows() const
    {
        return *qobject_cast<SectionedItemsModel *>(model->sectionModel());
    }
    [[nodiscard]] QStringList shownValues() const { return valuesOf(&rows()); }
};
