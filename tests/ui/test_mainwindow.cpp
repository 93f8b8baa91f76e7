// Drives the real main window (Main.qml and its components, bound to the real
// browsing model) with a scan source the test controls, and checks what the
// window shows.
#include "tests/ui/uitesthelpers.h"

#include <QClipboard>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

const QString classic = u"dmidecode -q"_s;

HardwareItem item(HardwareCategory category, const QString &title, const QString &value,
                  const QString &detail = {}, const QString &source = classic)
{
    return HardwareItem(category, title, value, detail, source);
}

HardwareItem summaryItem(const QString &title, const QString &value)
{
    return item(HardwareCategory::summary, title, value, u"Filtered dmidecode data"_s,
                u"App parser"_s);
}

// 2 summary items, 200 memory items in two sections, 3 CPU items in one
// section and 1 battery item: 206 items, 204 of them outside the summary.
HardwareScanResult sampleResult()
{
    const QString cpu = u"Processor Information"_s;
    HardwareScanResult result{{summaryItem(u"Memory"_s, u"200 useful items"_s),
                               summaryItem(u"CPU"_s, u"3 useful items"_s)},
                              u"raw"_s,
                              {}};
    for (int i = 0; i < 200; ++i)
        result.items << item(HardwareCategory::memory, u"Size %1"_s.arg(i), u"%1 GB"_s.arg(i),
                             i < 120 ? u"Bank A"_s : u"Bank B"_s);
    result.items << item(HardwareCategory::cpu, u"Core Count"_s, u"4"_s, cpu)
                 << item(HardwareCategory::cpu, u"Thread Count"_s, u"8"_s, cpu)
                 << item(HardwareCategory::cpu, u"Max Speed"_s, u"4200 MHz"_s, cpu)
                 << item(HardwareCategory::battery, u"Name"_s, u"45N1001"_s);
    return result;
}

// The serial is longer than 8, so its mask keeps the last two characters.
const QString maskedSerial = u"•••••Z7"_s;

QString footer(int shown, int matched, int total)
{
    return u"%1 shown \u2022 %2 matched \u2022 %3 total filtered items"_s.arg(
        QString::number(shown), QString::number(matched), QString::number(total));
}

// The file's path once `bytes` are in it, empty when writing failed.
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName()
                                                                                : QString();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LoadedWindow> m_loaded;
    QQuickWindow *m_window = nullptr;

    BrowserModel &model() { return m_loaded->host->model(); }
    int scans() const { return m_loaded->scanner->scanCount; }
    QQuickItem *find(const QString &name) { return findItem(m_window, name); }
    // A label's text, or the value of a metric tile.
    QString text(const QString &name)
    {
        QQuickItem *found = find(name);
        auto *value = found == nullptr ? nullptr : found->findChild<QQuickItem *>(u"tileValue"_s);
        return textOf(value != nullptr ? value : found);
    }
    void expectTexts(std::initializer_list<std::pair<QString, QString>> rows)
    {
        for (const auto &[name, expected] : rows)
            QCOMPARE(name + u": "_s + text(name), name + u": "_s + expected);
    }
    static bool isShown(const QQuickItem *item) { return item != nullptr && item->isVisible(); }
    QList<QQuickItem *> shownItems(const QString &name) { return findItems(m_window, name, true); }
    // The texts of the items on screen with this name, joined by "|".
    QString shown(const QString &name)
    {
        QStringList texts;
        for (QQuickItem *found : shownItems(name))
            texts.append(textOf(found));
        return texts.join(u'|');
    }
    // The category rows on screen with their badges: "Summary 2|CPU 3".
    QString sidebar()
    {
        QStringList rows;
        for (QQuickItem *row : allItems(m_window, true)) {
            if (!row->objectName().startsWith(u"categoryRow_"_s))
                continue;
            auto *badge = row->findChild<QQuickItem *>(u"categoryBadge"_s);
            rows.append(row->objectName().mid(12) + u' ' +
                        (badge ? textOf(badge->childItems().value(0)) : u"?"_s));
        }
        return rows.join(u'|');
    }
    bool selected(const QString &title)
    {
        return find(u"categoryRow_"_s + title)->property("selected").toBool();
    }
    // Which of these items (by default the content area's views) are on screen.
    QString views(const QString &among = u"loadingView emptyView itemList warningsBox"_s)
    {
        QStringList names = among.split(u' ');
        names.removeIf([this](const QString &name) { return !isShown(find(name)); });
        return names.join(u'|');
    }
    // What the window shows, in one line: the views on screen / the sidebar
    // rows with their badges / the status line / the tiles (visible, total,
    // warnings) / the heading / the section headers / the rows' titles.
    QString state()
    {
        return u"%1 / %2 / %3 / %4 %5 %6 / %7 / %8 / %9"_s.arg(
            views(), sidebar(), text(u"statusText"_s), text(u"tileVisible"_s), text(u"tileTotal"_s),
            text(u"tileWarnings"_s), text(u"headingTitle"_s), shown(u"sectionHeader"_s),
            shown(u"itemTitle"_s));
    }
    const QString sampleSidebar = u"Summary 2|CPU 3|Memory 200|Battery 1"_s;

    void finishScan(const HardwareScanResult &result) { QVERIFY(m_loaded->finish(result)); }
    void selectCategory(const QString &title)
    {
        clickItem(find(u"categoryRow_"_s + title));
        QTRY_COMPARE(model().selectedCategoryTitle(), title);
    }
    // QTest::keyClicks exists for widgets only.
    void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(m_window, c.toLatin1());
    }
    void scrollToLoadMore()
    {
        QMetaObject::invokeMethod(find(u"itemList"_s), "positionViewAtEnd");
        QTRY_VERIFY(isShown(find(u"loadMoreRow"_s)));
    }
    // A click on the title side of a row (the value side selects text).
    void clickRow(QQuickItem *row, Qt::MouseButton button = Qt::LeftButton)
    {
        QVERIFY(QQuickTest::qWaitForPolish(m_window));
        QTest::mouseClick(m_window, button, Qt::NoModifier,
                          row->mapToScene(QPointF(60, row->height() / 2)).toPoint());
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
        m_loaded = std::make_unique<LoadedWindow>();
        QVERIFY(m_loaded->start(QSize(1280, 1000)));
        m_window = m_loaded->window();
    }

    void cleanup() { m_loaded.reset(); }

    void firstLaunchScansThenShowsCategoriesSectionsAndRows()
    {
        QCOMPARE(scans(), 1);
        QCOMPARE(m_window->title(), u"Kestrin"_s);
        QCOMPARE(m_window->minimumSize(), QSize(960, 640));
        QCOMPARE(state(), u"loadingView / Summary 0 / Scanning... / 0 0 0 / Overview /  / "_s);
        QVERIFY(selected(u"Summary"_s));
        QVERIFY(!find(u"toolbarRefresh"_s)->isEnabled());
        QVERIFY(find(u"sidebarRefresh"_s)->isEnabled());
        expectTexts({
            {u"loadingTitle"_s, u"Reading dmidecode output..."_s},
            {u"headingDescription"_s, u"Summary of the most important filtered hardware data."_s},
            {u"footerStatus"_s, footer(0, 0, 0)},
            {u"toolbarSubtitle"_s,
             u"Modern filtered list of useful dmidecode hardware information."_s},
        });

        finishScan(sampleResult());
        // Summary items keep the scan's order.
        QTRY_COMPARE(state(), u"itemList / "_s + sampleSidebar +
                                  u" / Ready / 2 204 0 / Overview / OVERVIEW / Memory|CPU"_s);
        QVERIFY(find(u"toolbarRefresh"_s)->isEnabled());
        QCOMPARE(text(u"footerStatus"_s), footer(2, 2, 206));
        QVERIFY(!isShown(find(u"loadMoreRow"_s)));

        // Titles sorted within the section; three rows, two dividers.
        selectCategory(u"CPU"_s);
        QTRY_COMPARE(state(), u"itemList / "_s + sampleSidebar +
                                  u" / Ready / 3 204 0 / CPU / PROCESSOR INFORMATION / "
                                  u"Core Count|Max Speed|Thread Count"_s);
        QCOMPARE(text(u"headingDescription"_s),
                 u"Filtered entries from dmidecode for this hardware category."_s);
        QCOMPARE(shownItems(u"rowDivider"_s).size(), 2);
        QCOMPARE(shown(u"itemSource"_s), QStringList(3, classic).join(u'|'));

        // One item with an empty detail: section titled by the category, no
        // divider, the subtitle shows only the source.
        selectCategory(u"Battery"_s);
        QTRY_COMPARE(state(), u"itemList / "_s + sampleSidebar +
                                  u" / Ready / 1 204 0 / Battery / BATTERY / Name"_s);
        QCOMPARE(shownItems(u"rowDivider"_s).size(), 0);
        QCOMPARE(shown(u"itemDetail"_s), QString());
        QCOMPARE(shown(u"itemSource"_s), classic);
        QCOMPARE(shown(u"itemValue"_s), u"45N1001"_s);
    }

    // A mouse click and a screen reader's press both load the next page; a
    // click on the selected category keeps it, another category starts anew
    // from its first page.
    void loadMoreCountsUpAndDisappears()
    {
        finishScan(sampleResult());
        selectCategory(u"Memory"_s);
        expectTexts({{u"tileVisible"_s, u"200"_s}, {u"footerStatus"_s, footer(80, 200, 206)}});
        scrollToLoadMore();
        QCOMPARE(text(u"loadMoreCounter"_s), u"80 of 200"_s);
        QCOMPARE(accessibleName(find(u"loadMoreRow"_s)), u"Load More 80 of 200"_s);

        clickItem(find(u"loadMoreRow"_s));
        QTRY_COMPARE(text(u"loadMoreCounter"_s), u"160 of 200"_s);
        expectTexts({{u"tileVisible"_s, u"200"_s}, {u"footerStatus"_s, footer(160, 200, 206)}});
        QSignalSpy passes(&model(), &BrowserModel::filterPassCompleted);
        clickItem(find(u"categoryRow_Memory"_s));
        QTest::qWait(50);
        QCOMPARE(passes.size(), 0);
        QCOMPARE(model().pagedCount(), 160);

        scrollToLoadMore();
        QVERIFY(pressForScreenReader(find(u"loadMoreRow"_s)));
        QTRY_VERIFY(!isShown(find(u"loadMoreRow"_s)));
        QCOMPARE(text(u"footerStatus"_s), footer(200, 200, 206));

        clickItem(find(u"categoryRow_CPU"_s));
        QTRY_COMPARE(passes.size(), 1);
        QVERIFY(selected(u"CPU"_s) && !selected(u"Memory"_s));
        QCOMPARE(text(u"footerStatus"_s), footer(3, 3, 206));
    }

    // Items but none for the overview: an empty overview. A failed run's
    // warning carries the tool's error text with its final line break; the
    // box shows it as the one line it is, next to the placeholder.
    void warningsAndAnEmptyOverview()
    {
        HardwareScanResult result;
        result.items = {item(HardwareCategory::cpu, u"Core Count"_s, u"4"_s, u"Processor"_s),
                        item(HardwareCategory::raw, u"Name"_s, u"X"_s)};
        result.warnings = {u"Could not run dmidecode --mac-hardware: dmidecode: bad option\n"_s,
                           u"first line\nsecond line\r\n"_s};
        finishScan(result);
        QTRY_COMPARE(shown(u"warningText"_s),
                     u"Could not run dmidecode --mac-hardware: dmidecode: bad option|"
                     u"first line\nsecond line"_s);
        const QList<QQuickItem *> labels = shownItems(u"warningText"_s);
        QCOMPARE(labels.value(0)->property("lineCount").toInt(), 1);
        QCOMPARE(labels.value(1)->property("lineCount").toInt(), 2);

        QCOMPARE(
            state(),
            u"emptyView|warningsBox / Summary 0|CPU 1|Other 1 / Ready / 0 2 2 / Overview /  / "_s);
        expectTexts(
            {{u"emptyTitle"_s, u"No hardware item found"_s}, {u"footerStatus"_s, footer(0, 0, 2)}});

        selectCategory(u"Other"_s);
        QTRY_COMPARE(
            state(),
            u"itemList|warningsBox / Summary 0|CPU 1|Other 1 / Ready / 1 2 2 / Other / OTHER / Name"_s);
    }

    // `kestrin FILE`: the report is shown in place of the first scan; a file
    // that is not a report gets its message and this computer is scanned.
    void aReportGivenAtStartIsShownInsteadOfAScan()
    {
        QTemporaryDir dir;
        const QString report =
            writeFile(dir, u"saved.txt"_s,
                      "# dmidecode 3.5\nGetting SMBIOS data from sysfs.\nSMBIOS 3.2.0 present.\n\n"
                      "Handle 0x0000, DMI type 0, 26 bytes\nBIOS Information\n"
                      "\tVendor: Example BIOS Maker\n\tVersion: 1.2.3\n\n");
        const QString garbage =
            writeFile(dir, u"garbage.txt"_s, "neither a report nor a tool output\n");
        QVERIFY(!report.isEmpty() && !garbage.isEmpty());

        for (const QString &path : {report, garbage}) {
            LoadedWindow loaded;
            loaded.host->setInitialReport(path);
            QVERIFY(loaded.host->load());
            loaded.window()->show();
            QVERIFY(QTest::qWaitForWindowExposed(loaded.window()));
            if (path == report) {
                QTRY_VERIFY(loaded.host->model().itemCount() > 0);
                QCOMPARE(loaded.scanner->scanCount, 0);
            } else {
                QTRY_COMPARE(loaded.scanner->scanCount, 1);
                QVERIFY(!loaded.host->alerts().lastError().isEmpty());
            }
        }
    }

    // Tables only an administrator may read: the box offers the elevated
    // read, which rescans; a scan that can read them offers nothing.
    void refusedFirmwareTablesOfferReadingAsAdministrator()
    {
        HardwareScanResult refused;
        refused.items = {item(HardwareCategory::cpu, u"Core Count"_s, u"4"_s, u"Processor"_s)};
        refused.warnings = {u"Only an administrator may read the firmware tables."_s};
        refused.canReadAsAdministrator = true;
        const QString admin = u"warningsBox readAsAdministratorButton administratorWaitingText "
                              u"cancelAdministratorReadButton administratorReadNote"_s;
        finishScan(refused);
        QTRY_COMPARE(views(admin), u"warningsBox|readAsAdministratorButton"_s);
        clickItem(find(u"readAsAdministratorButton"_s));
        QTRY_COMPARE(scans(), 2);
        QVERIFY(m_loaded->scanner->readAsAdministrator);
        QTRY_COMPARE(views(admin),
                     u"warningsBox|administratorWaitingText|cancelAdministratorReadButton"_s);

        HardwareScanResult read = refused;
        read.warnings.clear();
        read.canReadAsAdministrator = false;
        read.readAsAdministrator = true;
        finishScan(read);
        QTRY_COMPARE(views(admin), u"administratorReadNote"_s);
        QVERIFY(shown(u"administratorReadNoteText"_s).contains(u"as administrator"_s));
    }

    void searchReachesTheListOnlyAfterTheDelay()
    {
        finishScan(sampleResult());
        selectCategory(u"CPU"_s);
        QTRY_COMPARE(shownItems(u"itemTitle"_s).size(), 3);
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QQuickItem *field = find(u"searchField"_s);
        QTRY_VERIFY(field->hasActiveFocus());
        QSignalSpy passes(&model(), &BrowserModel::filterPassCompleted);
        type(u"tHREad"_s);

        // Every keystroke reaches the model's text at once; the list waits. Case
        // does not matter.
        const QString cpu = u"itemList / "_s + sampleSidebar + u" / Ready / %1 204 0 / CPU / %2"_s;
        QCOMPARE(model().searchText(), u"tHREad"_s);
        QCOMPARE(passes.size(), 0);
        QCOMPARE(state(),
                 cpu.arg(u"3"_s, u"PROCESSOR INFORMATION / Core Count|Max Speed|Thread Count"_s));
        QTRY_COMPARE(passes.size(), 1);
        QTRY_COMPARE(state(), cpu.arg(u"1"_s, u"PROCESSOR INFORMATION / Thread Count"_s));

        QTest::keyClick(m_window, Qt::Key_Escape);
        QCOMPARE(textOf(field), QString());
        QCOMPARE(model().searchText(), QString());
        QTRY_COMPARE(shownItems(u"itemTitle"_s).size(), 3);

        type(u"zzz"_s);
        QTRY_COMPARE(state(), cpu.arg(u"0"_s, u" / "_s).replace(u"itemList"_s, u"emptyView"_s));

        // Closing the window drops a search still waiting for its delay.
        type(u"z"_s);
        QVERIFY(model().hasPendingSearch());
        m_window->close();
        QVERIFY(!model().hasPendingSearch());
    }

    // Refresh (toolbar, Ctrl+R; F5: selectingAValueKeepsTheKeyEquivalents) starts one scan at a
    // time and keeps the old list on screen meanwhile.
    void refreshStartsOneScanAtATime()
    {
        finishScan(sampleResult());
        QTRY_COMPARE(shownItems(u"itemTitle"_s).size(), 2);
        clickItem(find(u"toolbarRefresh"_s));
        QTRY_VERIFY(model().isScanning());
        QCOMPARE(scans(), 2);
        QCOMPARE(state(), u"itemList / "_s + sampleSidebar +
                              u" / Scanning... / 2 204 0 / Overview / OVERVIEW / Memory|CPU"_s);
        QVERIFY(!find(u"toolbarRefresh"_s)->isEnabled());
        QVERIFY(find(u"sidebarRefresh"_s)->isEnabled() &&
                find(u"footerCopyVisible"_s)->isEnabled());

        // While scanning: the sidebar's Refresh and Ctrl+R start nothing, and
        // the disabled toolbar button does not act for a screen reader either.
        clickItem(find(u"sidebarRefresh"_s));
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QSignalSpy clicks(find(u"toolbarRefresh"_s), SIGNAL(clicked()));
        QVERIFY(pressForScreenReader(find(u"toolbarRefresh"_s)));
        QCOMPARE(clicks.size(), 0);
        QTest::qWait(20);
        QCOMPARE(scans(), 2);

        finishScan({{summaryItem(u"CPU"_s, u"1 useful items"_s),
                     item(HardwareCategory::cpu, u"Core Count"_s, u"4"_s, u"Processor"_s)},
                    {},
                    {}});
        QTRY_COMPARE(state(),
                     u"itemList / Summary 1|CPU 1 / Ready / 1 1 0 / Overview / OVERVIEW / CPU"_s);

        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QTRY_COMPARE(scans(), 3);
    }

    // The value's selectable editor must never take the keyboard: a focused
    // read-only text would swallow Refresh, Find and the other key equivalents.
    void selectingAValueKeepsTheKeyEquivalents()
    {
        finishScan(sampleResult());
        selectCategory(u"Battery"_s);
        QTRY_COMPARE(shown(u"itemValue"_s), u"45N1001"_s);
        // The label is looked up each time: the editor takes its place.
        const auto at = [&](qreal fraction) {
            const QQuickItem *label = find(u"itemValue"_s);
            return label == nullptr
                       ? QPoint()
                       : label->mapToScene({label->width() * fraction, label->height() / 2})
                             .toPoint();
        };
        // The editor stands in for the label while the pointer is over it.
        QTest::mouseMove(m_window, at(0.5));
        // The editor may be rebuilt whenever the pointer or the keyboard moves.
        QPointer<QQuickItem> editor;
        QTRY_VERIFY((editor = find(u"itemValueEditor"_s)) != nullptr);
        QTest::mouseClick(m_window, Qt::LeftButton, Qt::NoModifier, at(0.5));
        QVERIFY(!editor->hasActiveFocus());

        // The search field has the keyboard; dragging across the value selects
        // it, and Copy copies the value rather than the field's text.
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(find(u"searchField"_s)->hasActiveFocus());
        QTest::mouseMove(m_window, at(0.5));
        QTRY_VERIFY((editor = find(u"itemValueEditor"_s)) != nullptr);
        QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, at(0.0));
        QTest::mouseMove(m_window, at(0.5));
        QTest::mouseMove(m_window, at(1.0));
        QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, at(1.0));
        QCOMPARE(editor->property("selectedText").toString(), u"45N1001"_s);
        QVERIFY(!editor->hasActiveFocus());
        QGuiApplication::clipboard()->setText(u"untouched"_s);
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"45N1001"_s);

        // Find takes the keyboard back, and the selection ends with it.
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(find(u"searchField"_s)->hasActiveFocus());
        QVERIFY(editor.isNull() || editor->property("selectedText").toString().isEmpty());
        QTest::keyClick(m_window, Qt::Key_F5);
        QTRY_COMPARE(scans(), 2);
    }

    void markupInToolTextIsShownLiterally()
    {
        const QString warning = u"<font color=red>w</font>"_s;
        finishScan(
            {{item(HardwareCategory::platform, u"<i>Name</i>"_s, u"<b>x</b>"_s, u"<u>Sys</u>"_s)},
             {},
             {warning}});
        selectCategory(u"Platform"_s);
        QTRY_COMPARE(shown(u"itemValue"_s), u"<b>x</b>"_s);
        QCOMPARE(shown(u"itemTitle"_s), u"<i>Name</i>"_s);
        QCOMPARE(shown(u"sectionHeader"_s), u"<U>SYS</U>"_s);
        QCOMPARE(shown(u"warningText"_s), warning);
        for (const QString &name : u"itemValue itemTitle itemDetail warningText"_s.split(u' ')) {
            QQuickItem *label = shownItems(name).value(0);
            QVERIFY2(label != nullptr, qPrintable(name));
            QCOMPARE(label->property("textFormat").toInt(), 0); // Text.PlainText
        }
        // Drawn as eight characters, not as one bold "x".
        QQuickItem *value = shownItems(u"itemValue"_s).value(0);
        QVERIFY2(value->implicitWidth() > 4 * value->property("font").value<QFont>().pixelSize(),
                 qPrintable(QString::number(value->implicitWidth())));
    }

    // What screen readers read for the controls, and their press actions.
    void screenReadersReadAndPressTheControls()
    {
        finishScan(sampleResult());
        QTRY_COMPARE(shownItems(u"hardwareRow"_s).size(), 2);
        const std::pair<QQuickItem *, QString> names[] = {
            {find(u"categoryRow_Memory"_s), u"Memory, 200"_s},
            {find(u"tileTotal"_s), u"Total 204"_s},
            {find(u"headingTitle"_s), u"Overview"_s},
            {find(u"footerStatus"_s), footer(2, 2, 206)},
            {find(u"toolbarRefresh"_s), u"Refresh"_s},
            {find(u"sidebarSaveReport"_s), u"Save Report..."_s},
            {find(u"footerSaveReport"_s), u"Save Report"_s},
            {find(u"searchField"_s), u"Search..."_s},
            {shownItems(u"hardwareRow"_s).value(0), u"Memory: 200 useful items"_s},
            {shownItems(u"sectionHeader"_s).value(0), u"OVERVIEW"_s},
        };
        for (const auto &[control, name] : names)
            QCOMPARE(accessibleName(control), name);

        QVERIFY(pressForScreenReader(find(u"categoryRow_CPU"_s)));
        QTRY_COMPARE(model().selectedCategoryTitle(), u"CPU"_s);
        for (const QString &button :
             u"sidebarRawOutput toolbarRawOutput footerRawOutput"_s.split(u' ')) {
            model().setShowRawOutput(false);
            QVERIFY(pressForScreenReader(find(button)));
            QVERIFY2(model().showRawOutput(), qPrintable(button));
        }
        model().setShowRawOutput(false);
        QVERIFY(pressForScreenReader(find(u"sidebarRefresh"_s)));
        QTRY_COMPARE(scans(), 2);
        finishScan(sampleResult());
        QVERIFY(pressForScreenReader(find(u"toolbarRefresh"_s)));
        QTRY_COMPARE(scans(), 3);
    }

    // Tab reaches every control. Once the list has the keyboard focus the
    // arrow keys walk its rows, and the current one is marked; a click makes a
    // row current too.
    void keyboardReachesEveryControlAndWalksTheRows()
    {
        finishScan(sampleResult());
        selectCategory(u"CPU"_s);
        QQuickItem *list = find(u"itemList"_s);
        list->forceActiveFocus(Qt::TabFocusReason);
        QTRY_COMPARE(list->property("currentIndex").toInt(), 0);
        QTRY_COMPARE(shownItems(u"rowMarker"_s).size(), 1);
        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Down, 1},
                                                 {Qt::Key_Down, 2},
                                                 {Qt::Key_Down, 2},
                                                 {Qt::Key_Home, 0},
                                                 {Qt::Key_End, 2}};
        for (const auto &[key, index] : steps) {
            QTest::keyClick(m_window, key);
            QCOMPARE(list->property("currentIndex").toInt(), index);
        }
        // Without the keyboard focus no row is marked.
        find(u"searchField"_s)->forceActiveFocus();
        QTRY_COMPARE(shownItems(u"rowMarker"_s).size(), 0);
        const QList<QQuickItem *> rows = shownItems(u"hardwareRow"_s);
        QCOMPARE(rows.size(), 3);
        clickRow(rows[1]);
        QTRY_VERIFY(list->hasActiveFocus());
        QCOMPARE(list->property("currentIndex").toInt(), 1);

        selectCategory(u"Memory"_s);
        scrollToLoadMore();
        QSet<QString> reached;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(m_window, Qt::Key_Tab);
            if (QQuickItem *focused = m_window->activeFocusItem())
                reached.insert(focused->objectName());
        }
        for (const QString &name :
             u"searchField toolbarRefresh toolbarRawOutput categoryRow_Summary categoryRow_CPU "
             u"categoryRow_Memory categoryRow_Battery sidebarRefresh sidebarRawOutput "
             u"sidebarSaveReport sidebarCopyVisible footerCopyVisible footerSaveReport "
             u"footerRawOutput listRow loadMoreRow"_s.split(u' '))
            QVERIFY2(reached.contains(name), qPrintable(name));
    }

    // Identifiers are hidden by default, in what the rows show and in every
    // copy: the context menu (right click, or the Menu key on the current
    // row), Ctrl+C and the section header's Copy Section. The toolbar toggle,
    // Ctrl+Shift+H and the View menu switch the mask, and the choice is
    // remembered.
    void identifiersAreMaskedInWhatIsShownAndCopied()
    {
        const QString system = u"System Information"_s;
        finishScan({{item(HardwareCategory::platform, u"Product Name"_s, u"ThinkPad T14"_s, system),
                     item(HardwareCategory::platform, u"Serial Number"_s, u"PF1XK29QZ7"_s, system),
                     item(HardwareCategory::platform, u"UUID"_s,
                          u"4c4c4544-0042-3510-8052-b4c04f4d5432"_s, system)},
                    {},
                    {}});
        selectCategory(u"Platform"_s);
        QTRY_COMPARE(shown(u"itemValue"_s), u"ThinkPad T14|"_s + maskedSerial + u"|•••••32"_s);
        const QList<QQuickItem *> rows = shownItems(u"hardwareRow"_s);
        QClipboard *clipboard = QGuiApplication::clipboard();
        const auto choose = [&](const QString &action) {
            QQuickItem *entry = nullptr;
            QTRY_VERIFY((entry = find(action)) != nullptr && entry->isVisible());
            QTest::qWait(50);
            clickItem(entry);
        };
        clickRow(rows.value(1), Qt::RightButton);
        choose(u"copyValueMenuItem"_s);
        QTRY_COMPARE(clipboard->text(), maskedSerial);
        QCOMPARE(find(u"itemList"_s)->property("currentIndex").toInt(), 1);
        QTest::keyClick(m_window, Qt::Key_Menu);
        choose(u"copyTitleAndValueMenuItem"_s);
        QTRY_COMPARE(clipboard->text(), u"Serial Number: "_s + maskedSerial);
        QTest::keyClick(m_window, Qt::Key_Up);
        clipboard->setText(u"untouched"_s);
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), u"Product Name: ThinkPad T14"_s);
        clickItem(shownItems(u"copySectionButton"_s).value(0));
        const QString section = clipboard->text();
        QVERIFY2(section.startsWith(u"[Platform] Product Name: ThinkPad T14\n"_s) &&
                     section.contains(u"[Platform] Serial Number: "_s + maskedSerial) &&
                     !section.contains(u"PF1XK29QZ7"_s) && !section.contains(u"4c4c4544"_s),
                 qPrintable(section));

        QQuickItem *toggle = find(u"toolbarHideIdentifiers"_s);
        QVERIFY(toggle->property("checked").toBool());
        clickItem(toggle);
        QTRY_COMPARE(shown(u"itemValue"_s),
                     u"ThinkPad T14|PF1XK29QZ7|4c4c4544-0042-3510-8052-b4c04f4d5432"_s);
        QVERIFY(!toggle->property("checked").toBool());
        QCOMPARE(QSettings().value(u"privacy/hideIdentifiers"_s).toBool(), false);
        find(u"itemList"_s)->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_Down);
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), u"Serial Number: PF1XK29QZ7"_s);

        QTest::keyClick(m_window, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(model().hideIdentifiers());
        QTRY_COMPARE(shown(u"itemValue"_s), u"ThinkPad T14|"_s + maskedSerial + u"|•••••32"_s);
        QQuickItem *command = openMenuItem(m_window, "viewMenuTitle", "hideIdentifiersMenuItem");
        QVERIFY(command != nullptr && command->property("checked").toBool());
        clickItem(command);
        QTRY_VERIFY(!model().hideIdentifiers());
        // A window made later starts with the remembered choice.
        LoadedWindow later;
        QVERIFY(later.start());
        QVERIFY(!later.host->model().hideIdentifiers());
    }

    // An opened report says above the list what it is; Back to This Computer
    // scans this machine and the banner goes once the scan's result is in.
    void openedReportShowsItsBannerUntilBackToThisComputer()
    {
        finishScan(sampleResult());
        QVERIFY(!isShown(find(u"reportBanner"_s)));
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, u"before-upgrade.json"_s,
                      R"({"format":"kestrin-report","formatVersion":1,)"
                      R"("generated":"2026-12-07T10:12:00Z","kestrinVersion":"1.4.0",)"
                      R"("hideIdentifiers":true,"category":"Memory","search":"",)"
                      R"("scanItemCount":576,"items":[{"category":"Memory","title":"Size",)"
                      R"("value":"8 GB","detail":"DIMM A","source":"dmidecode -q"}]})");
        QVERIFY(model().openReport(QUrl::fromLocalFile(path)));
        QTRY_VERIFY(isShown(find(u"reportBanner"_s)));
        QCOMPARE(text(u"reportBannerFile"_s), u"before-upgrade.json"_s);
        QVERIFY(text(u"reportBannerGenerated"_s).startsWith(u"Generated "_s));
        QVERIFY(text(u"reportBannerGenerated"_s).endsWith(u" with Kestrin 1.4.0"_s));
        QVERIFY(isShown(find(u"reportBannerMasked"_s)));
        QCOMPARE(text(u"reportBannerPage"_s), u"Memory, 1 of 576 items"_s);

        clickItem(find(u"backToThisComputerButton"_s));
        QTRY_COMPARE(scans(), 2);
        QVERIFY(!find(u"backToThisComputerButton"_s)->isEnabled());
        finishScan(sampleResult());
        QTRY_VERIFY(!isShown(find(u"reportBanner"_s)));
        QCOMPARE(model().itemCount(), 206);
    }

    // Comparing marks each difference in the list and counts them in the
    // sidebar; Show Unchanged and End Comparison are in the banner.
    void comparisonMarksDifferencesUntilEnded()
    {
        finishScan({{item(HardwareCategory::memory, u"Size"_s, u"8 GB"_s, u"DIMM A"_s, u"src"_s),
                     item(HardwareCategory::memory, u"Type"_s, u"DDR4"_s, u"DIMM A"_s, u"src"_s)},
                    u"raw"_s,
                    {}});
        QTemporaryDir dir;
        const QString path = writeFile(
            dir, u"before.json"_s,
            R"({"format":"kestrin-report","formatVersion":1,"items":[)"
            R"({"category":"Memory","title":"Size","value":"4 GB","detail":"DIMM A","source":"src"},)"
            R"({"category":"Memory","title":"Type","value":"DDR4","detail":"DIMM A","source":"src"},)"
            R"({"category":"USB","title":"Device","value":"Stick","detail":"","source":"src"}]})");
        QQuickItem *command = openMenuItem(m_window, "fileMenuTitle", "compareReportMenuItem");
        QVERIFY(command != nullptr && command->isEnabled());
        QTest::keyClick(m_window, Qt::Key_Escape);
        QVERIFY(model().compareWithReport(QUrl::fromLocalFile(path)));
        QTRY_VERIFY(isShown(find(u"comparisonBanner"_s)));
        QCOMPARE(text(u"comparisonHeading"_s), u"0 added • 1 removed • 1 changed"_s);
        QCOMPARE(text(u"comparisonFile"_s), u"Compared with before.json"_s);
        QTRY_COMPARE(sidebar(), u"Summary 0|Memory 1|USB 1"_s);
        model().setSelectedCategory(HardwareCategory::memory);
        QTRY_COMPARE(shown(u"itemValue"_s), u"4 GB → 8 GB"_s);
        QCOMPARE(shown(u"changeMark"_s), u"~"_s);

        clickItem(find(u"showUnchangedButton"_s));
        QTRY_COMPARE(shown(u"itemValue"_s), u"4 GB → 8 GB|DDR4"_s);
        QCOMPARE(text(u"showUnchangedButton"_s), u"Hide Unchanged"_s);
        clickItem(find(u"endComparisonButton"_s));
        QTRY_VERIFY(!isShown(find(u"comparisonBanner"_s)));
        QTRY_COMPARE(shown(u"itemValue"_s), u"8 GB|DDR4"_s);
        QCOMPARE(shown(u"changeMark"_s), QString());
    }
};

QTEST_MAIN(MainWindowTest)

#include "test_mainwindow.moc"
