// Drives the real main window (Main.qml and its components, bound to the real
// browsing model) with a scan source the test controls, and checks what the
// window shows.
#include "tests/ui/uitesthelpers.h"
#include "ui/fontwarmup.h"
#include "ui/mainwindowhost.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

const QString classic = QStringLiteral("dmidecode -q");
const QString appParser = QStringLiteral("App parser");

HardwareItem item(HardwareCategory category, const QString &title, const QString &value,
                  const QString &detail, const QString &source = classic)
{
    return HardwareItem(category, title, value, detail, source);
}

// 2 summary items, 200 memory items in two sections, 3 CPU items in one
// section and 1 battery item: 206 items, 204 of them outside the summary.
HardwareScanResult sampleResult()
{
    HardwareScanResult result;
    result.items.append(item(HardwareCategory::summary, QStringLiteral("Memory"),
                             QStringLiteral("200 useful items"),
                             QStringLiteral("Filtered dmidecode data"), appParser));
    result.items.append(item(HardwareCategory::summary, QStringLiteral("CPU"),
                             QStringLiteral("3 useful items"),
                             QStringLiteral("Filtered dmidecode data"), appParser));
    for (int i = 0; i < 200; ++i) {
        result.items.append(item(HardwareCategory::memory, QStringLiteral("Size %1").arg(i),
                                 QStringLiteral("%1 GB").arg(i),
                                 i < 120 ? QStringLiteral("Bank A") : QStringLiteral("Bank B")));
    }
    result.items.append(item(HardwareCategory::cpu, QStringLiteral("Core Count"),
                             QStringLiteral("4"), QStringLiteral("Processor Information")));
    result.items.append(item(HardwareCategory::cpu, QStringLiteral("Thread Count"),
                             QStringLiteral("8"), QStringLiteral("Processor Information")));
    result.items.append(item(HardwareCategory::cpu, QStringLiteral("Max Speed"),
                             QStringLiteral("4200 MHz"), QStringLiteral("Processor Information")));
    result.items.append(item(HardwareCategory::battery, QStringLiteral("Name"),
                             QStringLiteral("45N1001"), QString()));
    result.rawOutput = QStringLiteral("raw");
    return result;
}

// A platform section with identifiers (the serial is longer than 8, so its
// mask keeps the last two characters) and a network card with a MAC address.
HardwareScanResult privacyResult()
{
    HardwareScanResult result;
    const QString detail = QStringLiteral("System Information");
    result.items.append(item(HardwareCategory::platform, QStringLiteral("Product Name"),
                             QStringLiteral("ThinkPad T14"), detail));
    result.items.append(item(HardwareCategory::platform, QStringLiteral("Serial Number"),
                             QStringLiteral("PF1XK29QZ7"), detail));
    result.items.append(item(HardwareCategory::platform, QStringLiteral("UUID"),
                             QStringLiteral("4c4c4544-0042-3510-8052-b4c04f4d5432"), detail));
    return result;
}

QString accessibleName(QQuickItem *item)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
    return iface == nullptr ? QStringLiteral("<none>") : iface->text(QAccessible::Name);
}

// What a screen reader does to activate a control: its press action.
bool pressForScreenReader(QQuickItem *item)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
    if (iface == nullptr || iface->actionInterface() == nullptr ||
        !iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction())) {
        return false;
    }
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<ManualScanSource> m_scanner;
    std::unique_ptr<MainWindowHost> m_host;
    QQuickWindow *m_window = nullptr;

    QQuickItem *find(const char *name) { return findItem(m_window, QString::fromLatin1(name)); }
    QString text(const char *name) { return textOf(find(name)); }
    QQuickItem *categoryRow(const QString &title)
    {
        return findItem(m_window, QStringLiteral("categoryRow_") + title);
    }
    QString badge(const QString &title)
    {
        QQuickItem *row = categoryRow(title);
        if (row == nullptr) {
            return QStringLiteral("<no row>");
        }
        QList<QQuickItem *> found;
        collectItems(row, QStringLiteral("categoryBadge"), found, false);
        if (found.isEmpty() || found.constFirst()->childItems().isEmpty()) {
            return QStringLiteral("<no badge>");
        }
        return textOf(found.constFirst()->childItems().constFirst());
    }
    QStringList visibleCategoryRows()
    {
        QStringList titles;
        const QStringList all = {
            QStringLiteral("Summary"),   QStringLiteral("Platform"), QStringLiteral("BIOS"),
            QStringLiteral("Baseboard"), QStringLiteral("CPU"),      QStringLiteral("Memory"),
            QStringLiteral("PCI"),       QStringLiteral("GPU"),      QStringLiteral("Network"),
            QStringLiteral("Storage"),   QStringLiteral("Audio"),    QStringLiteral("USB"),
            QStringLiteral("Battery"),   QStringLiteral("Firmware"), QStringLiteral("Other"),
        };
        for (const QString &title : all) {
            if (isShown(categoryRow(title))) {
                titles.append(title);
            }
        }
        return titles;
    }
    QString tile(const char *name)
    {
        QQuickItem *pill = find(name);
        if (pill == nullptr) {
            return QStringLiteral("<no tile>");
        }
        QList<QQuickItem *> found;
        collectItems(pill, QStringLiteral("tileValue"), found, false);
        return found.isEmpty() ? QStringLiteral("<no value>") : textOf(found.constFirst());
    }
    QStringList shownTexts(const char *name)
    {
        QStringList texts;
        for (QQuickItem *found : findItems(m_window, QString::fromLatin1(name), true)) {
            texts.append(textOf(found));
        }
        return texts;
    }
    void finishScan(HardwareScanResult result)
    {
        QVERIFY(m_scanner->pending());
        m_scanner->finish(std::move(result));
        QTRY_VERIFY(!m_host->model().isScanning());
    }
    void selectCategory(const QString &title)
    {
        clickItem(m_window, categoryRow(title));
        QTRY_COMPARE(m_host->model().selectedCategoryTitle(), title);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QGuiApplication::setQuitOnLastWindowClosed(false);
        // The window remembers its settings; the tests keep theirs apart.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init()
    {
        QSettings().clear();
        m_scanner = std::make_shared<ManualScanSource>();
        m_host = std::make_unique<MainWindowHost>(m_scanner);
        QVERIFY(m_host->load());
        m_window = m_host->window();
        m_window->resize(1280, 1000);
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        // The first scan starts once the first frame is on screen.
        QTRY_VERIFY(m_scanner->pending());
    }

    void cleanup()
    {
        if (m_scanner->pending()) {
            m_scanner->finish({});
        }
        m_host.reset();
        m_window = nullptr;
        m_scanner.reset();
    }

    void firstLaunchShowsScanningState()
    {
        QCOMPARE(m_scanner->scanCount(), 1);
        QCOMPARE(m_window->title(), QStringLiteral("Kestrin"));
        QCOMPARE(m_window->minimumSize(), QSize(960, 640));
        QCOMPARE(visibleCategoryRows(), QStringList{QStringLiteral("Summary")});
        QCOMPARE(badge(QStringLiteral("Summary")), QStringLiteral("0"));
        QVERIFY(categoryRow(QStringLiteral("Summary"))->property("selected").toBool());
        QCOMPARE(text("statusText"), QStringLiteral("Scanning..."));
        QVERIFY(isShown(find("loadingView")));
        QVERIFY(!isShown(find("emptyView")));
        QVERIFY(!isShown(find("itemList")));
        QVERIFY(!isShown(find("warningsBox")));
        QCOMPARE(text("loadingTitle"), QStringLiteral("Reading dmidecode output..."));
        QVERIFY(!find("toolbarRefresh")->isEnabled());
        QVERIFY(find("sidebarRefresh")->isEnabled());
        QCOMPARE(tile("tileVisible"), QStringLiteral("0"));
        QCOMPARE(tile("tileTotal"), QStringLiteral("0"));
        QCOMPARE(tile("tileWarnings"), QStringLiteral("0"));
        QCOMPARE(text("headingTitle"), QStringLiteral("Overview"));
        QCOMPARE(text("headingDescription"),
                 QStringLiteral("Summary of the most important filtered hardware data."));
        QCOMPARE(text("footerStatus"),
                 QString::fromUtf8("0 shown \u2022 0 matched \u2022 0 total filtered items"));
        QCOMPARE(text("toolbarSubtitle"),
                 QStringLiteral("Modern filtered list of useful dmidecode hardware information."));
    }

    // The fonts prepared while the QML loads are the ones the first frame
    // draws its text in; a style missing there is set up late, on first use.
    void firstFrameFontsArePreparedAhead()
    {
        QList<QQuickItem *> texts;
        std::function<void(QQuickItem *)> collect = [&](QQuickItem *item) {
            if (!item->isVisible()) {
                return;
            }
            if (item->inherits("QQuickText") || item->inherits("QQuickTextInput")) {
                texts.append(item);
            }
            for (QQuickItem *child : item->childItems()) {
                collect(child);
            }
        };
        collect(m_window->contentItem());
        QVERIFY(texts.size() > 10);
        for (QQuickItem *text : std::as_const(texts)) {
            const QFont font = text->property("font").value<QFont>();
            const bool prepared = std::any_of(
                std::begin(firstFrameTextStyles), std::end(firstFrameTextStyles),
                [&font](const TextStyle &style) {
                    return style.pixelSize == font.pixelSize() && style.weight == font.weight();
                });
            QVERIFY2(prepared, qPrintable(QStringLiteral("%1: %2 px, weight %3")
                                              .arg(textOf(text))
                                              .arg(font.pixelSize())
                                              .arg(font.weight())));
        }
    }

    void finishedScanFillsSidebarHeadingListAndFooter()
    {
        finishScan(sampleResult());

        QCOMPARE(visibleCategoryRows(),
                 (QStringList{QStringLiteral("Summary"), QStringLiteral("CPU"),
                              QStringLiteral("Memory"), QStringLiteral("Battery")}));
        QCOMPARE(badge(QStringLiteral("Summary")), QStringLiteral("2"));
        QCOMPARE(badge(QStringLiteral("CPU")), QStringLiteral("3"));
        QCOMPARE(badge(QStringLiteral("Memory")), QStringLiteral("200"));
        QCOMPARE(badge(QStringLiteral("Battery")), QStringLiteral("1"));
        QCOMPARE(text("statusText"), QStringLiteral("Ready"));
        QVERIFY(find("toolbarRefresh")->isEnabled());
        QVERIFY(!isShown(find("loadingView")));
        QVERIFY(!isShown(find("emptyView")));
        QVERIFY(isShown(find("itemList")));

        QCOMPARE(tile("tileVisible"), QStringLiteral("2"));
        QCOMPARE(tile("tileTotal"), QStringLiteral("204"));
        QCOMPARE(tile("tileWarnings"), QStringLiteral("0"));
        QCOMPARE(text("footerStatus"),
                 QString::fromUtf8("2 shown \u2022 2 matched \u2022 206 total filtered items"));
        QTRY_COMPARE(shownTexts("sectionHeader"), QStringList{QStringLiteral("OVERVIEW")});
        // Summary items keep the scan's order.
        QCOMPARE(shownTexts("itemTitle"),
                 (QStringList{QStringLiteral("Memory"), QStringLiteral("CPU")}));
        QVERIFY(!isShown(find("loadMoreRow")));
    }

    void categorySectionsAndDividers()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("CPU"));
        QCOMPARE(text("headingTitle"), QStringLiteral("CPU"));
        QCOMPARE(text("headingDescription"),
                 QStringLiteral("Filtered entries from dmidecode for this hardware category."));
        QTRY_COMPARE(shownTexts("sectionHeader"),
                     QStringList{QStringLiteral("PROCESSOR INFORMATION")});
        // Titles sorted within the section; three rows, two dividers.
        QCOMPARE(shownTexts("itemTitle"),
                 (QStringList{QStringLiteral("Core Count"), QStringLiteral("Max Speed"),
                              QStringLiteral("Thread Count")}));
        QCOMPARE(findItems(m_window, QStringLiteral("rowDivider"), true).size(), 2);
        QCOMPARE(shownTexts("itemSource"), QStringList(3, classic));

        // One item with an empty detail: section titled by the category, no
        // divider, the subtitle shows only the source.
        selectCategory(QStringLiteral("Battery"));
        QTRY_COMPARE(shownTexts("sectionHeader"), QStringList{QStringLiteral("BATTERY")});
        QCOMPARE(findItems(m_window, QStringLiteral("rowDivider"), true).size(), 0);
        QCOMPARE(shownTexts("itemDetail"), QStringList());
        QCOMPARE(shownTexts("itemSource"), QStringList{classic});
        QCOMPARE(shownTexts("itemValue"), QStringList{QStringLiteral("45N1001")});
    }

    void loadMoreCountsUpAndDisappears()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("Memory"));
        QCOMPARE(tile("tileVisible"), QStringLiteral("200"));
        QCOMPARE(text("footerStatus"),
                 QString::fromUtf8("80 shown \u2022 200 matched \u2022 206 total filtered items"));

        auto *list = find("itemList");
        QQuickItem *loadMore = nullptr;
        const auto scrollToLoadMore = [&] {
            QMetaObject::invokeMethod(list, "positionViewAtEnd");
            QTRY_VERIFY((loadMore = find("loadMoreRow")) != nullptr && isShown(loadMore));
        };
        scrollToLoadMore();
        QCOMPARE(text("loadMoreCounter"), QStringLiteral("80 of 200"));
        QCOMPARE(accessibleName(loadMore), QStringLiteral("Load More 80 of 200"));

        clickItem(m_window, loadMore);
        QTRY_COMPARE(text("loadMoreCounter"), QStringLiteral("160 of 200"));
        QCOMPARE(text("footerStatus"),
                 QString::fromUtf8("160 shown \u2022 200 matched \u2022 206 total filtered items"));
        QCOMPARE(tile("tileVisible"), QStringLiteral("200"));

        scrollToLoadMore();
        clickItem(m_window, loadMore);
        QTRY_VERIFY(!isShown(find("loadMoreRow")));
        QCOMPARE(text("footerStatus"),
                 QString::fromUtf8("200 shown \u2022 200 matched \u2022 206 total filtered items"));
    }

    void reclickingTheSelectedCategoryKeepsThePage()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("Memory"));
        m_host->model().loadMoreItems();
        QTRY_COMPARE(m_host->model().pagedCount(), 160);

        QSignalSpy passes(&m_host->model(), &BrowserModel::filterPassCompleted);
        clickItem(m_window, categoryRow(QStringLiteral("Memory")));
        QTest::qWait(50);
        QCOMPARE(passes.size(), 0);
        QCOMPARE(m_host->model().pagedCount(), 160);

        // Another category is filtered anew from its first page and looks selected.
        clickItem(m_window, categoryRow(QStringLiteral("CPU")));
        QTRY_COMPARE(passes.size(), 1);
        QVERIFY(categoryRow(QStringLiteral("CPU"))->property("selected").toBool());
        QVERIFY(!categoryRow(QStringLiteral("Memory"))->property("selected").toBool());
        QCOMPARE(badge(QStringLiteral("CPU")), QStringLiteral("3"));
    }

    void emptyScanWithWarningShowsBoxAboveEmptyPlaceholder()
    {
        HardwareScanResult result;
        result.warnings = {QStringLiteral("Bundled dmidecode tool is not available: missing")};
        finishScan(result);

        QVERIFY(isShown(find("warningsBox")));
        QCOMPARE(shownTexts("warningText"), result.warnings);
        QVERIFY(isShown(find("emptyView")));
        QVERIFY(!isShown(find("loadingView")));
        QVERIFY(!isShown(find("itemList")));
        QCOMPARE(text("emptyTitle"), QStringLiteral("No hardware item found"));
        QCOMPARE(tile("tileWarnings"), QStringLiteral("1"));
        QCOMPARE(visibleCategoryRows(), QStringList{QStringLiteral("Summary")});
        QCOMPARE(badge(QStringLiteral("Summary")), QStringLiteral("0"));
        const QQuickItem *box = find("warningsBox");
        const QQuickItem *empty = find("emptyView");
        QVERIFY(box->mapToScene(QPointF(0, box->height())).y() <=
                empty->mapToScene(QPointF(0, 0)).y());
    }

    // A failed run's warning carries the tool's error text with its final
    // line break; the box shows it as the one line it is.
    void warningEndingInALineBreakTakesOneLine()
    {
        HardwareScanResult result;
        result.warnings = {
            QStringLiteral("Could not run dmidecode --mac-hardware: dmidecode: bad option\n"),
            QStringLiteral("first line\nsecond line\r\n"),
        };
        finishScan(result);
        QTRY_COMPARE(shownTexts("warningText"),
                     (QStringList{QStringLiteral("Could not run dmidecode --mac-hardware: "
                                                 "dmidecode: bad option"),
                                  QStringLiteral("first line\nsecond line")}));
        const QList<QQuickItem *> labels = findItems(m_window, QStringLiteral("warningText"), true);
        QCOMPARE(labels.value(0)->property("lineCount").toInt(), 1);
        QCOMPARE(labels.value(1)->property("lineCount").toInt(), 2);
    }

    void itemsWithoutSummaryShowEmptyOverview()
    {
        HardwareScanResult result;
        result.items.append(item(HardwareCategory::cpu, QStringLiteral("Core Count"),
                                 QStringLiteral("4"), QStringLiteral("Processor")));
        result.items.append(
            item(HardwareCategory::raw, QStringLiteral("Name"), QStringLiteral("X"), QString()));
        finishScan(result);
        QCOMPARE(tile("tileVisible"), QStringLiteral("0"));
        QCOMPARE(tile("tileTotal"), QStringLiteral("2"));
        QVERIFY(isShown(find("emptyView")));
        QVERIFY(!isShown(find("warningsBox")));
        QCOMPARE(text("footerStatus"),
                 QString::fromUtf8("0 shown \u2022 0 matched \u2022 2 total filtered items"));

        selectCategory(QStringLiteral("Other"));
        QCOMPARE(text("headingTitle"), QStringLiteral("Other"));
        QTRY_COMPARE(shownTexts("sectionHeader"), QStringList{QStringLiteral("OTHER")});
    }

    void searchReachesTheListOnlyAfterTheDelay()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("CPU"));
        QTRY_COMPARE(shownTexts("itemTitle").size(), 3);

        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QQuickItem *field = find("searchField");
        QTRY_VERIFY(field->hasActiveFocus());
        QSignalSpy passes(&m_host->model(), &BrowserModel::filterPassCompleted);
        typeText(m_window, QStringLiteral("thread"));

        // Every keystroke reaches the model's text at once; the list waits.
        QCOMPARE(m_host->model().searchText(), QStringLiteral("thread"));
        QCOMPARE(textOf(field), QStringLiteral("thread"));
        QCOMPARE(passes.size(), 0);
        QCOMPARE(shownTexts("itemTitle").size(), 3);
        QCOMPARE(tile("tileVisible"), QStringLiteral("3"));

        QTRY_COMPARE(passes.size(), 1);
        QTRY_COMPARE(shownTexts("itemTitle"), QStringList{QStringLiteral("Thread Count")});
        QCOMPARE(tile("tileVisible"), QStringLiteral("1"));

        // Escape in the focused field clears the search.
        QTest::keyClick(m_window, Qt::Key_Escape);
        QCOMPARE(textOf(field), QString());
        QCOMPARE(m_host->model().searchText(), QString());
        QTRY_COMPARE(shownTexts("itemTitle").size(), 3);

        // A search that matches nothing shows the empty placeholder.
        typeText(m_window, QStringLiteral("zzz"));
        QTRY_VERIFY(isShown(find("emptyView")));
        QVERIFY(!isShown(find("itemList")));
    }

    void rescanKeepsTheOldListOnScreen()
    {
        finishScan(sampleResult());
        QTRY_COMPARE(shownTexts("itemTitle").size(), 2);

        clickItem(m_window, find("toolbarRefresh"));
        QTRY_VERIFY(m_host->model().isScanning());
        QCOMPARE(m_scanner->scanCount(), 2);
        QCOMPARE(text("statusText"), QStringLiteral("Scanning..."));
        QVERIFY(!find("toolbarRefresh")->isEnabled());
        QVERIFY(find("sidebarRefresh")->isEnabled());
        QVERIFY(find("footerCopyVisible")->isEnabled());
        QVERIFY(!isShown(find("loadingView")));
        QVERIFY(isShown(find("itemList")));
        QCOMPARE(shownTexts("itemTitle").size(), 2);

        // The sidebar's Refresh during a scan starts nothing and stays enabled.
        clickItem(m_window, find("sidebarRefresh"));
        QTest::qWait(20);
        QCOMPARE(m_scanner->scanCount(), 2);

        HardwareScanResult second;
        second.items.append(item(HardwareCategory::summary, QStringLiteral("CPU"),
                                 QStringLiteral("1 useful items"),
                                 QStringLiteral("Filtered dmidecode data"), appParser));
        second.items.append(item(HardwareCategory::cpu, QStringLiteral("Core Count"),
                                 QStringLiteral("4"), QStringLiteral("Processor")));
        finishScan(second);
        QTRY_COMPARE(shownTexts("itemTitle"), QStringList{QStringLiteral("CPU")});
        QCOMPARE(visibleCategoryRows(),
                 (QStringList{QStringLiteral("Summary"), QStringLiteral("CPU")}));
    }

    // At the smallest window the rows do not fit: they scroll inside an area
    // that is clipped and ends above the status line, never running under it.
    void sidebarRowsStopAboveTheStatusLine()
    {
        finishScan(sampleResult());
        m_window->resize(m_window->minimumSize());
        QQuickItem *scroll = find("sidebarScroll");
        QQuickItem *status = find("statusText");
        QVERIFY(scroll != nullptr && status != nullptr);
        // The status line is laid out inside the smaller window.
        QTRY_VERIFY(status->mapToScene(QPointF(0, status->height())).y() <= m_window->height());
        QVERIFY(scroll->clip());
        QVERIFY2(scroll->property("contentHeight").toReal() > scroll->height(),
                 "the sample's rows should not fit at this height");
        const qreal scrollBottom = scroll->mapToScene(QPointF(0, scroll->height())).y();
        for (const char *name : {"statusText", "statusDot"}) {
            const QQuickItem *part = find(name);
            QVERIFY2(part != nullptr, name);
            QVERIFY2(scrollBottom <= part->mapToScene(QPointF(0, 0)).y(), name);
        }
    }

    void keyboardRefreshShortcuts()
    {
        finishScan(sampleResult());
        QTest::keyClick(m_window, Qt::Key_F5);
        QTRY_COMPARE(m_scanner->scanCount(), 2);
        // A second request while scanning is ignored.
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QTest::qWait(20);
        QCOMPARE(m_scanner->scanCount(), 2);
        finishScan(sampleResult());
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QTRY_COMPARE(m_scanner->scanCount(), 3);
    }

    // The value's selectable editor must never take the keyboard: a focused
    // read-only text would swallow Refresh, Find and the other key equivalents.
    void selectingAValueKeepsTheKeyEquivalents()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("Battery"));
        QTRY_COMPARE(shownTexts("itemValue"), QStringList{QStringLiteral("45N1001")});
        // The label is looked up each time: a rescan builds the rows anew.
        const auto at = [&](qreal fraction) {
            const QQuickItem *label = findItems(m_window, QStringLiteral("itemValue")).value(0);
            return label == nullptr
                       ? QPoint()
                       : label->mapToScene(QPointF(label->width() * fraction, label->height() / 2))
                             .toPoint();
        };
        // The editor stands in for the label while the pointer is over it.
        QTest::mouseMove(m_window, at(0.5));
        QQuickItem *editor = nullptr;
        QTRY_VERIFY((editor = find("itemValueEditor")) != nullptr);

        // A plain click into the value, then the window's keys.
        QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, at(0.5));
        QVERIFY(!editor->hasActiveFocus());
        QTest::keyClick(m_window, Qt::Key_F5);
        QTRY_COMPARE(m_scanner->scanCount(), 2);
        finishScan(sampleResult());

        // The search field has the keyboard; dragging across the value selects
        // it, and Copy copies the value rather than the field's text.
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(find("searchField")->hasActiveFocus());
        QTest::mouseMove(m_window, at(0.5));
        QTRY_VERIFY((editor = find("itemValueEditor")) != nullptr);
        QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, at(0.0));
        QTest::mouseMove(m_window, at(0.5));
        QTest::mouseMove(m_window, at(1.0));
        QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, at(1.0));
        QCOMPARE(editor->property("selectedText").toString(), QStringLiteral("45N1001"));
        QVERIFY(!editor->hasActiveFocus());
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("45N1001"));

        // Find takes the keyboard back, and the selection ends with it.
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(find("searchField")->hasActiveFocus());
        QCOMPARE(editor->property("selectedText").toString(), QString());
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QTRY_COMPARE(m_scanner->scanCount(), 3);
    }

    void rawOutputButtonsOpenTheSheetState()
    {
        finishScan(sampleResult());
        for (const char *name : {"toolbarRawOutput", "sidebarRawOutput", "footerRawOutput"}) {
            m_host->model().setShowRawOutput(false);
            QQuickItem *button = find(name);
            QVERIFY2(button != nullptr, name);
            QMetaObject::invokeMethod(button, "clicked");
            QVERIFY2(m_host->model().showRawOutput(), name);
        }
    }

    void markupInToolTextIsShownLiterally()
    {
        HardwareScanResult result;
        result.items.append(item(HardwareCategory::platform, QStringLiteral("<i>Name</i>"),
                                 QStringLiteral("<b>x</b>"), QStringLiteral("<u>Sys</u>")));
        result.warnings = {QStringLiteral("<font color=red>w</font>")};
        finishScan(result);
        selectCategory(QStringLiteral("Platform"));

        QTRY_COMPARE(shownTexts("itemValue"), QStringList{QStringLiteral("<b>x</b>")});
        QCOMPARE(shownTexts("itemTitle"), QStringList{QStringLiteral("<i>Name</i>")});
        QCOMPARE(shownTexts("sectionHeader"), QStringList{QStringLiteral("<U>SYS</U>")});
        QCOMPARE(shownTexts("warningText"), result.warnings);
        for (const char *name : {"itemValue", "itemTitle", "itemDetail", "warningText"}) {
            QQuickItem *label = findItems(m_window, QString::fromLatin1(name), true).value(0);
            QVERIFY2(label != nullptr, name);
            QCOMPARE(label->property("textFormat").toInt(), 0); // Text.PlainText
        }
        // Drawn as eight characters, not as one bold "x".
        QQuickItem *value = findItems(m_window, QStringLiteral("itemValue"), true).value(0);
        QVERIFY2(value->implicitWidth() > 4 * value->property("font").value<QFont>().pixelSize(),
                 qPrintable(QString::number(value->implicitWidth())));
    }

    void screenReadersGetTheShownTexts()
    {
        finishScan(sampleResult());
        QCOMPARE(accessibleName(categoryRow(QStringLiteral("Memory"))),
                 QStringLiteral("Memory, 200"));
        QCOMPARE(accessibleName(find("tileTotal")), QStringLiteral("Total 204"));
        QCOMPARE(accessibleName(find("headingTitle")), QStringLiteral("Overview"));
        QCOMPARE(accessibleName(find("footerStatus")), text("footerStatus"));
        QCOMPARE(accessibleName(find("toolbarRefresh")), QStringLiteral("Refresh"));
        QCOMPARE(accessibleName(find("sidebarSaveReport")), QStringLiteral("Save Report..."));
        QCOMPARE(accessibleName(find("footerSaveReport")), QStringLiteral("Save Report"));
        QCOMPARE(accessibleName(find("searchField")), QStringLiteral("Search..."));
        QTRY_VERIFY(findItems(m_window, QStringLiteral("hardwareRow"), true).size() == 2);
        QQuickItem *row = findItems(m_window, QStringLiteral("hardwareRow"), true).constFirst();
        QCOMPARE(accessibleName(row), QStringLiteral("Memory: 200 useful items"));
        QCOMPARE(
            accessibleName(findItems(m_window, QStringLiteral("sectionHeader"), true).value(0)),
            QStringLiteral("OVERVIEW"));
    }

    void screenReadersCanPressEveryButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("effect");
        QTest::newRow("sidebar category")
            << QStringLiteral("categoryRow_CPU") << QStringLiteral("select CPU");
        QTest::newRow("sidebar Refresh")
            << QStringLiteral("sidebarRefresh") << QStringLiteral("rescan");
        QTest::newRow("sidebar Raw Output")
            << QStringLiteral("sidebarRawOutput") << QStringLiteral("raw output");
        QTest::newRow("toolbar Refresh")
            << QStringLiteral("toolbarRefresh") << QStringLiteral("rescan");
        QTest::newRow("toolbar Raw Output")
            << QStringLiteral("toolbarRawOutput") << QStringLiteral("raw output");
        QTest::newRow("footer Raw Output")
            << QStringLiteral("footerRawOutput") << QStringLiteral("raw output");
    }

    void screenReadersCanPressEveryButton()
    {
        QFETCH(QString, button);
        QFETCH(QString, effect);
        finishScan(sampleResult());
        QVERIFY(pressForScreenReader(findItem(m_window, button)));
        if (effect == QStringLiteral("select CPU")) {
            QTRY_COMPARE(m_host->model().selectedCategoryTitle(), QStringLiteral("CPU"));
        } else if (effect == QStringLiteral("rescan")) {
            QTRY_COMPARE(m_scanner->scanCount(), 2);
        } else {
            QVERIFY(m_host->model().showRawOutput());
        }
    }

    void screenReadersCanLoadMoreButNotRefreshWhileDisabled()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("Memory"));
        QMetaObject::invokeMethod(find("itemList"), "positionViewAtEnd");
        QTRY_VERIFY(isShown(find("loadMoreRow")));
        QVERIFY(pressForScreenReader(find("loadMoreRow")));
        QTRY_COMPARE(m_host->model().pagedCount(), 160);

        // The toolbar's Refresh is disabled during a scan; pressing it through
        // the accessibility interface must not act on it either.
        m_host->model().refresh();
        QTRY_VERIFY(m_host->model().isScanning());
        QSignalSpy clicks(find("toolbarRefresh"), SIGNAL(clicked()));
        QVERIFY(pressForScreenReader(find("toolbarRefresh")));
        QCOMPARE(clicks.size(), 0);
    }

    void tabReachesEveryControl()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("Memory"));
        QMetaObject::invokeMethod(find("itemList"), "positionViewAtEnd");
        QTRY_VERIFY(isShown(find("loadMoreRow")));

        QSet<QString> reached;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            QQuickItem *focused = m_window->activeFocusItem();
            if (focused != nullptr) {
                reached.insert(focused->objectName());
            }
        }
        const QStringList expected = {
            QStringLiteral("searchField"),
            QStringLiteral("toolbarRefresh"),
            QStringLiteral("toolbarRawOutput"),
            QStringLiteral("categoryRow_Summary"),
            QStringLiteral("categoryRow_CPU"),
            QStringLiteral("categoryRow_Memory"),
            QStringLiteral("categoryRow_Battery"),
            QStringLiteral("sidebarRefresh"),
            QStringLiteral("sidebarRawOutput"),
            QStringLiteral("sidebarSaveReport"),
            QStringLiteral("sidebarCopyVisible"),
            QStringLiteral("footerCopyVisible"),
            QStringLiteral("footerSaveReport"),
            QStringLiteral("footerRawOutput"),
            QStringLiteral("listRow"),
            QStringLiteral("loadMoreRow"),
        };
        for (const QString &name : expected) {
            QVERIFY2(reached.contains(name), qPrintable(name));
        }
    }

    // Once the list has the keyboard focus the arrow keys walk its rows, and
    // the current one is marked; a click makes a row current too.
    void arrowKeysWalkTheRowsOfTheList()
    {
        finishScan(sampleResult());
        selectCategory(QStringLiteral("CPU"));
        QQuickItem *list = find("itemList");
        QVERIFY(list != nullptr);
        list->forceActiveFocus(Qt::TabFocusReason);
        QTRY_COMPARE(list->property("currentIndex").toInt(), 0);
        QTRY_COMPARE(findItems(m_window, QStringLiteral("rowMarker"), true).size(), 1);
        QTest::keyClick(m_window, Qt::Key_Down);
        QTest::keyClick(m_window, Qt::Key_Down);
        QCOMPARE(list->property("currentIndex").toInt(), 2);
        QTest::keyClick(m_window, Qt::Key_Down);
        QCOMPARE(list->property("currentIndex").toInt(), 2);
        QTest::keyClick(m_window, Qt::Key_Home);
        QCOMPARE(list->property("currentIndex").toInt(), 0);
        QTest::keyClick(m_window, Qt::Key_End);
        QCOMPARE(list->property("currentIndex").toInt(), 2);

        // Without the keyboard focus no row is marked.
        find("searchField")->forceActiveFocus();
        QTRY_COMPARE(findItems(m_window, QStringLiteral("rowMarker"), true).size(), 0);

        const QList<QQuickItem *> rows = findItems(m_window, QStringLiteral("hardwareRow"), true);
        QCOMPARE(rows.size(), 3);
        // A click on the title side of the second row (the value side selects text).
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier,
                          rows[1]->mapToScene(QPointF(60, rows[1]->height() / 2)).toPoint());
        QTRY_VERIFY(list->hasActiveFocus());
        QCOMPARE(list->property("currentIndex").toInt(), 1);
    }

    // Identifiers are hidden by default; the toolbar toggle, the View menu
    // command and Ctrl+Shift+H switch the mask, and the choice is remembered.
    void hideIdentifiersTogglesTheMaskAndIsRemembered()
    {
        finishScan(privacyResult());
        selectCategory(QStringLiteral("Platform"));
        const QString masked = QString::fromUtf8("•••••Z7");
        const QString maskedUuid = QString::fromUtf8("•••••32");
        QTRY_COMPARE(shownTexts("itemValue"),
                     (QStringList{QStringLiteral("ThinkPad T14"), masked, maskedUuid}));
        QQuickItem *toggle = find("toolbarHideIdentifiers");
        QVERIFY(toggle != nullptr);
        QVERIFY(toggle->property("checked").toBool());

        clickItem(m_window, toggle);
        QTRY_COMPARE(shownTexts("itemValue"),
                     (QStringList{QStringLiteral("ThinkPad T14"), QStringLiteral("PF1XK29QZ7"),
                                  QStringLiteral("4c4c4544-0042-3510-8052-b4c04f4d5432")}));
        QVERIFY(!toggle->property("checked").toBool());
        QCOMPARE(QSettings().value(QStringLiteral("privacy/hideIdentifiers")).toBool(), false);

        QTest::keyClick(m_window, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(m_host->model().hideIdentifiers());
        QTRY_COMPARE(shownTexts("itemValue").value(1), masked);

        // The View menu's command shows the state and switches it.
        clickItem(m_window, find("viewMenuTitle"));
        QQuickItem *command = nullptr;
        QTRY_VERIFY((command = find("hideIdentifiersMenuItem")) != nullptr && command->isVisible());
        QVERIFY(command->property("checked").toBool());
        QTest::qWait(50);
        clickItem(m_window, command);
        QTRY_VERIFY(!m_host->model().hideIdentifiers());

        // A window made later starts with the remembered choice.
        auto scanner = std::make_shared<ManualScanSource>();
        MainWindowHost later(scanner);
        QVERIFY(later.load());
        QVERIFY(QTest::qWaitForWindowExposed(later.window()));
        QTRY_VERIFY(scanner->pending());
        QVERIFY(!later.model().hideIdentifiers());
        scanner->finish({});
    }

    // The item actions: the context menu (right click, or the Menu key on
    // the current row), Ctrl+C and the section header's Copy Section; every
    // copy is masked while identifiers are hidden.
    void itemActionsCopyAValueATitleOrTheSection()
    {
        finishScan(privacyResult());
        selectCategory(QStringLiteral("Platform"));
        QList<QQuickItem *> rows;
        QTRY_COMPARE((rows = findItems(m_window, QStringLiteral("hardwareRow"), true)).size(), 3);
        const QString masked = QString::fromUtf8("•••••Z7");
        QClipboard *clipboard = QGuiApplication::clipboard();

        const auto choose = [&](const char *action) {
            QQuickItem *entry = nullptr;
            QTRY_VERIFY((entry = find(action)) != nullptr && entry->isVisible());
            QTest::qWait(50);
            clickItem(m_window, entry);
        };

        // Right click on the serial's row.
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        QTest::mouseClick(m_window, Qt::RightButton, Qt::NoModifier,
                          rows[1]->mapToScene(QPointF(60, rows[1]->height() / 2)).toPoint());
        choose("copyValueMenuItem");
        QTRY_COMPARE(clipboard->text(), masked);
        QCOMPARE(find("itemList")->property("currentIndex").toInt(), 1);

        // The Menu key opens the same menu on the current row.
        QTest::keyClick(m_window, Qt::Key_Menu);
        choose("copyTitleAndValueMenuItem");
        QTRY_COMPARE(clipboard->text(), QStringLiteral("Serial Number: ") + masked);

        // Ctrl+C with the list's current row; the arrow keys move it.
        QTest::keyClick(m_window, Qt::Key_Up);
        clipboard->setText(QStringLiteral("untouched"));
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), QStringLiteral("Product Name: ThinkPad T14"));

        // The section, as the report lists its items, from the header button.
        clickItem(m_window,
                  findItems(m_window, QStringLiteral("copySectionButton"), true).value(0));
        const QString section = clipboard->text();
        QVERIFY2(section.startsWith(QStringLiteral("[Platform] Product Name: ThinkPad T14\n")),
                 qPrintable(section));
        QVERIFY2(section.contains(QStringLiteral("[Platform] Serial Number: ") + masked),
                 qPrintable(section));
        QVERIFY(!section.contains(QStringLiteral("PF1XK29QZ7")));
        QVERIFY(!section.contains(QStringLiteral("4c4c4544")));

        // With the mask off, the copies are the real values.
        m_host->model().setHideIdentifiers(false);
        QTest::keyClick(m_window, Qt::Key_F10, Qt::ShiftModifier);
        choose("copyValueMenuItem");
        QTRY_COMPARE(clipboard->text(), QStringLiteral("ThinkPad T14"));
        find("itemList")->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Down);
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), QStringLiteral("Serial Number: PF1XK29QZ7"));
    }

    void closingTheWindowDropsAPendingSearch()
    {
        finishScan(sampleResult());
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        typeText(m_window, QStringLiteral("cpu"));
        QVERIFY(m_host->model().hasPendingSearch());
        m_window->close();
        QVERIFY(!m_host->model().hasPendingSearch());
    }
};

QTEST_MAIN(MainWindowTest)

#include "test_mainwindow.moc"
