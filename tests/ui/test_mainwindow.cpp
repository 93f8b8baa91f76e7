// The browsing rules are pinned by tests/browser; these check what only the
// window can get wrong: what it shows, keyboard, screen readers, clicks.
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

// 2 summary items, 200 memory items, 3 CPU items and 1 battery item: 206
// items, 204 of them outside the summary.
HardwareScanResult sampleResult()
{
    const QString cpu = u"Processor Information"_s;
    const QString summary = u"Filtered dmidecode data"_s;
    HardwareScanResult result{
        {item(HardwareCategory::summary, u"Memory"_s, u"200 useful items"_s, summary, u"App"_s),
         item(HardwareCategory::summary, u"CPU"_s, u"3 useful items"_s, summary, u"App"_s)},
        u"raw"_s,
        {}};
    for (int i = 0; i < 200; ++i)
        result.items << item(HardwareCategory::memory, u"Size %1"_s.arg(i), u"8 GB"_s, u"Bank"_s);
    result.items << item(HardwareCategory::cpu, u"Core Count"_s, u"4"_s, cpu)
                 << item(HardwareCategory::cpu, u"Thread Count"_s, u"8"_s, cpu)
                 << item(HardwareCategory::cpu, u"Max Speed"_s, u"4200 MHz"_s, cpu)
                 << item(HardwareCategory::battery, u"Name"_s, u"45N1001"_s);
    return result;
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
    // Which of these items (by default the content area's views) are on screen.
    QString views(const QString &among = u"loadingView emptyView itemList warningsBox"_s)
    {
        QStringList names = among.split(u' ');
        names.removeIf([this](const QString &name) { return !isShown(find(name)); });
        return names.join(u'|');
    }
    // "views / status / tiles (visible total warnings) / heading / sections / rows".
    QString state()
    {
        return u"%1 / %2 / %3 %4 %5 / %6 / %7 / %8"_s.arg(
            views(), text(u"statusText"_s), text(u"tileVisible"_s), text(u"tileTotal"_s),
            text(u"tileWarnings"_s), text(u"headingTitle"_s), shown(u"sectionHeader"_s),
            shown(u"itemTitle"_s));
    }

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

    // The window's own texts are pinned here and nowhere else.
    void firstLaunchScansThenShowsSectionsRowsAndPages()
    {
        QCOMPARE(m_window->title(), u"Kestrin"_s);
        QCOMPARE(m_window->minimumSize(), QSize(960, 640));
        QCOMPARE(state(), u"loadingView / Scanning... / 0 0 0 / Overview /  / "_s);
        QCOMPARE(text(u"loadingTitle"_s), u"Reading dmidecode output..."_s);
        QCOMPARE(text(u"headingDescription"_s),
                 u"Summary of the most important filtered hardware data."_s);
        QCOMPARE(text(u"toolbarSubtitle"_s),
                 u"Modern filtered list of useful dmidecode hardware information."_s);
        QCOMPARE(text(u"footerStatus"_s), u"0 shown • 0 matched • 0 total filtered items"_s);
        finishScan(sampleResult());
        QTRY_COMPARE(state(), u"itemList / Ready / 2 204 0 / Overview / OVERVIEW / Memory|CPU"_s);
        QCOMPARE(text(u"footerStatus"_s), u"2 shown • 2 matched • 206 total filtered items"_s);
        selectCategory(u"CPU"_s);
        QTRY_COMPARE(state(), u"itemList / Ready / 3 204 0 / CPU / PROCESSOR INFORMATION / "
                              u"Core Count|Max Speed|Thread Count"_s);
        QCOMPARE(text(u"headingDescription"_s),
                 u"Filtered entries from dmidecode for this hardware category."_s);
        QCOMPARE(shownItems(u"rowDivider"_s).size(), 2);
        QCOMPARE(shown(u"itemSource"_s), QStringList(3, classic).join(u'|'));
        selectCategory(u"Memory"_s);
        QMetaObject::invokeMethod(find(u"itemList"_s), "positionViewAtEnd");
        QTRY_VERIFY(isShown(find(u"loadMoreRow"_s)));
        QCOMPARE(text(u"loadMoreCounter"_s), u"80 of 200"_s);
        QCOMPARE(accessibleName(find(u"loadMoreRow"_s)), u"Load More 80 of 200"_s);
        clickItem(find(u"loadMoreRow"_s));
        QTRY_COMPARE(text(u"loadMoreCounter"_s), u"160 of 200"_s);
    }

    // `kestrin FILE`: the report is shown in place of the first scan; a file
    // that is not a report gets its message and this computer is scanned.
    void aReportGivenAtStartIsShownInsteadOfAScan()
    {
        QTemporaryDir dir;
        const QString report = writeFile(dir, u"saved.txt"_s,
                                         "# dmidecode 3.5\n\nHandle 0x0000, DMI type 0, 26 bytes\n"
                                         "BIOS Information\n\tVendor: Example BIOS Maker\n\n");
        const QString garbage = writeFile(dir, u"garbage.txt"_s, "neither a report nor output\n");
        for (const QString &path : {report, garbage}) {
            LoadedWindow loaded;
            loaded.host->setInitialReport(path);
            QVERIFY(loaded.host->load());
            loaded.window()->show();
            QVERIFY(QTest::qWaitForWindowExposed(loaded.window()));
            QTRY_VERIFY(loaded.host->model().itemCount() > 0 || loaded.scanner->scanCount > 0);
            QCOMPARE(loaded.scanner->scanCount, path == report ? 0 : 1);
            QCOMPARE(loaded.host->alerts().lastError().isEmpty(), path == report);
        }
    }

    // Which administrator controls the warnings box shows in each state.
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
        refused.warnings.clear();
        refused.canReadAsAdministrator = false;
        refused.readAsAdministrator = true;
        finishScan(refused);
        QTRY_COMPARE(views(admin), u"administratorReadNote"_s);
    }

    // Ctrl+F gives the field the keyboard, keystrokes reach the model and
    // the list follows; Escape clears the field, and closing the window drops
    // a search still waiting for its delay.
    void searchFieldDrivesTheList()
    {
        finishScan(sampleResult());
        selectCategory(u"CPU"_s);
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QQuickItem *field = find(u"searchField"_s);
        QTRY_VERIFY(field->hasActiveFocus());
        type(u"thread"_s);
        QTRY_COMPARE(shown(u"itemTitle"_s), u"Thread Count"_s);
        QTest::keyClick(m_window, Qt::Key_Escape);
        QCOMPARE(model().searchText(), QString());
        type(u"z"_s);
        QVERIFY(model().hasPendingSearch());
        m_window->close();
        QVERIFY(!model().hasPendingSearch());
    }

    // The value's selectable editor must never take the keyboard: a focused
    // read-only text would swallow Refresh, Find and the other key equivalents.
    void selectingAValueKeepsTheKeyEquivalents()
    {
        finishScan(sampleResult());
        selectCategory(u"Battery"_s);
        QTRY_COMPARE(shown(u"itemValue"_s), u"45N1001"_s);
        // Looked up each time: the editor takes the label's place under the pointer.
        const auto at = [&](qreal fraction) {
            const QQuickItem *label = find(u"itemValue"_s);
            return label == nullptr
                       ? QPoint()
                       : label->mapToScene({label->width() * fraction, label->height() / 2})
                             .toPoint();
        };
        QTest::keyClick(m_window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(find(u"searchField"_s)->hasActiveFocus());
        QTest::mouseMove(m_window, at(0.5));
        // The editor may be rebuilt whenever the pointer or the keyboard moves.
        QPointer<QQuickItem> editor;
        QTRY_VERIFY((editor = find(u"itemValueEditor"_s)) != nullptr);
        QTest::mousePress(m_window, Qt::LeftButton, Qt::NoModifier, at(0.0));
        QTest::mouseMove(m_window, at(0.5));
        QTest::mouseMove(m_window, at(1.0));
        QTest::mouseRelease(m_window, Qt::LeftButton, Qt::NoModifier, at(1.0));
        QCOMPARE(editor->property("selectedText").toString(), u"45N1001"_s);
        QVERIFY(!editor->hasActiveFocus());
        // Copy copies the selected value, not the search field's text.
        QGuiApplication::clipboard()->setText(u"untouched"_s);
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"45N1001"_s);
        QTest::keyClick(m_window, Qt::Key_F5);
        QTRY_COMPARE(scans(), 2);
    }

    // Markup is shown literally, and a warning without the line break that
    // ends a tool's error text. No item for the overview leaves it empty.
    void markupInToolTextIsShownLiterally()
    {
        const QString warning = u"<font color=red>w</font>"_s;
        finishScan(
            {{item(HardwareCategory::platform, u"<i>Name</i>"_s, u"<b>x</b>"_s, u"<u>Sys</u>"_s)},
             {},
             {warning + u'\n'}});
        QTRY_COMPARE(state(), u"emptyView|warningsBox / Ready / 0 1 1 / Overview /  / "_s);
        QCOMPARE(text(u"emptyTitle"_s), u"No hardware item found"_s);
        QCOMPARE(shownItems(u"warningText"_s).value(0)->property("lineCount").toInt(), 1);
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

    // One name per kind of control; the buttons share one press action.
    void screenReadersReadAndPressTheControls()
    {
        finishScan(sampleResult());
        QTRY_COMPARE(shownItems(u"hardwareRow"_s).size(), 2);
        const std::pair<QQuickItem *, QString> names[] = {
            {find(u"categoryRow_Memory"_s), u"Memory, 200"_s},
            {find(u"tileTotal"_s), u"Total 204"_s},
            {find(u"sidebarSaveReport"_s), u"Save Report..."_s},
            {find(u"searchField"_s), u"Search..."_s},
            {shownItems(u"hardwareRow"_s).value(0), u"Memory: 200 useful items"_s},
            {shownItems(u"sectionHeader"_s).value(0), u"OVERVIEW"_s},
        };
        for (const auto &[control, name] : names)
            QCOMPARE(accessibleName(control), name);
        QVERIFY(pressForScreenReader(find(u"categoryRow_CPU"_s)));
        QTRY_COMPARE(model().selectedCategoryTitle(), u"CPU"_s);
        // The old list stays while Refresh scans; the disabled toolbar button
        // does not act for a screen reader either.
        QVERIFY(pressForScreenReader(find(u"sidebarRefresh"_s)));
        QTRY_COMPARE(scans(), 2);
        QCOMPARE(state(), u"itemList / Scanning... / 3 204 0 / CPU / PROCESSOR INFORMATION / "
                          u"Core Count|Max Speed|Thread Count"_s);
        QSignalSpy clicks(find(u"toolbarRefresh"_s), SIGNAL(clicked()));
        QVERIFY(pressForScreenReader(find(u"toolbarRefresh"_s)));
        QCOMPARE(clicks.size(), 0);
        finishScan(sampleResult());
        clickItem(find(u"toolbarRefresh"_s));
        QTRY_COMPARE(scans(), 3);
        finishScan(sampleResult());
        QTest::keyClick(m_window, Qt::Key_R, Qt::ControlModifier);
        QTRY_COMPARE(scans(), 4);
    }

    // Tab reaches every control. With the keyboard in the list the arrow
    // keys walk its rows and the current one is marked; a click makes a row
    // current too.
    void keyboardReachesEveryControlAndWalksTheRows()
    {
        finishScan(sampleResult());
        selectCategory(u"CPU"_s);
        QQuickItem *list = find(u"itemList"_s);
        list->forceActiveFocus(Qt::TabFocusReason);
        QTRY_COMPARE(list->property("currentIndex").toInt(), 0);
        QTRY_COMPARE(shownItems(u"rowMarker"_s).size(), 1);
        const std::pair<Qt::Key, int> steps[] = {
            {Qt::Key_Down, 1}, {Qt::Key_Down, 2}, {Qt::Key_Down, 2}, {Qt::Key_Home, 0}};
        for (const auto &[key, index] : steps) {
            QTest::keyClick(m_window, key);
            QCOMPARE(list->property("currentIndex").toInt(), index);
        }
        find(u"searchField"_s)->forceActiveFocus();
        QTRY_COMPARE(shownItems(u"rowMarker"_s).size(), 0); // only with the keyboard in the list
        clickRow(shownItems(u"hardwareRow"_s).value(1));
        QTRY_VERIFY(list->hasActiveFocus());
        QCOMPARE(list->property("currentIndex").toInt(), 1);
        selectCategory(u"Memory"_s);
        QMetaObject::invokeMethod(list, "positionViewAtEnd");
        QTRY_VERIFY(isShown(find(u"loadMoreRow"_s)));
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

    // Every way into the mask reaches it: the context menu, Ctrl+C, Copy
    // Section, the toolbar toggle, Ctrl+Shift+H and the View menu; the choice
    // outlives the window.
    void identifiersAreMaskedInWhatIsShownAndCopied()
    {
        const QString system = u"System Information"_s;
        finishScan({{item(HardwareCategory::platform, u"Product Name"_s, u"ThinkPad T14"_s, system),
                     item(HardwareCategory::platform, u"Serial Number"_s, u"PF1XK29QZ7"_s, system)},
                    {},
                    {}});
        selectCategory(u"Platform"_s);
        const QString masked = u"ThinkPad T14|•••••Z7"_s;
        QTRY_COMPARE(shown(u"itemValue"_s), masked);
        QClipboard *clipboard = QGuiApplication::clipboard();
        clickRow(shownItems(u"hardwareRow"_s).value(1), Qt::RightButton);
        QQuickItem *entry = nullptr;
        QTRY_VERIFY((entry = find(u"copyValueMenuItem"_s)) != nullptr && entry->isVisible());
        QTest::qWait(50); // the menu's opening transition
        clickItem(entry);
        QTRY_COMPARE(clipboard->text(), u"•••••Z7"_s);
        clickItem(shownItems(u"copySectionButton"_s).value(0));
        QTRY_VERIFY(clipboard->text().contains(u"[Platform] Serial Number: •••••Z7"_s));
        clickItem(find(u"toolbarHideIdentifiers"_s));
        QTRY_COMPARE(shown(u"itemValue"_s), u"ThinkPad T14|PF1XK29QZ7"_s);
        find(u"itemList"_s)->forceActiveFocus();
        QTest::keyClick(m_window, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), u"Serial Number: PF1XK29QZ7"_s);
        QTest::keyClick(m_window, Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(shown(u"itemValue"_s), masked);
        QQuickItem *command = openMenuItem(m_window, "viewMenuTitle", "hideIdentifiersMenuItem");
        QVERIFY(command != nullptr && command->property("checked").toBool());
        clickItem(command);
        QTRY_VERIFY(!model().hideIdentifiers());
        LoadedWindow later;
        QVERIFY(later.start());
        QVERIFY(!later.host->model().hideIdentifiers());
    }

    // The banner's texts, and Back to This Computer reaching the model.
    void openedReportShowsItsBannerUntilBackToThisComputer()
    {
        finishScan(sampleResult());
        QTemporaryDir dir;
        const QString path =
            writeFile(dir, u"before-upgrade.json"_s,
                      R"({"format":"kestrin-report","formatVersion":1,"kestrinVersion":"1.4.0",)"
                      R"("generated":"2026-12-07T10:12:00Z","items":[]})");
        QVERIFY(model().openReport(QUrl::fromLocalFile(path)));
        QTRY_VERIFY(isShown(find(u"reportBanner"_s)));
        QCOMPARE(text(u"reportBannerFile"_s), u"before-upgrade.json"_s);
        QVERIFY(text(u"reportBannerGenerated"_s).startsWith(u"Generated "_s));
        QVERIFY(text(u"reportBannerGenerated"_s).endsWith(u" with Kestrin 1.4.0"_s));
        clickItem(find(u"backToThisComputerButton"_s));
        QTRY_COMPARE(scans(), 2);
        finishScan(sampleResult());
        QTRY_VERIFY(!isShown(find(u"reportBanner"_s)));
    }

    // How a changed row is drawn, and the banner's buttons reaching the model.
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
            R"({"category":"Memory","title":"Type","value":"DDR4","detail":"DIMM A","source":"src"}]})");
        QVERIFY(model().compareWithReport(QUrl::fromLocalFile(path)));
        QTRY_VERIFY(isShown(find(u"comparisonBanner"_s)));
        QCOMPARE(text(u"comparisonFile"_s), u"Compared with before.json"_s);
        model().setSelectedCategory(HardwareCategory::memory);
        QTRY_COMPARE(shown(u"itemValue"_s), u"4 GB → 8 GB"_s);
        QCOMPARE(shown(u"changeMark"_s), u"~"_s);
        clickItem(find(u"showUnchangedButton"_s));
        QTRY_COMPARE(text(u"showUnchangedButton"_s), u"Hide Unchanged"_s);
        clickItem(find(u"endComparisonButton"_s));
        QTRY_COMPARE(shown(u"itemValue"_s), u"8 GB|DDR4"_s);
    }
};

QTEST_MAIN(MainWindowTest)

#include "test_mainwindow.moc"
