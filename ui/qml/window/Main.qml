import QtQuick
import Kestrin

// The content of the one main window: menu bar, sidebar, separator, main
// column. Always dark. The window itself (title, size) is made by the host
// before this is loaded, so it is on screen while the interface is built.
Rectangle {
    id: root

    required property BrowserModel browser
    // Receives the model's error messages (errorRaised); shown by the alert.
    property AlertPresenter alerts: null
    // The save question; its dialog is built the first time it is asked.
    property SaveDialogController saveDialog: null
    // Asks the desktop's file chooser, else the window's own dialog.
    property FileChooser fileChooser: null
    // Set by the host once the first frame is on screen. That frame draws the
    // sidebar, the heading and the placeholder; the menu bar, toolbar and
    // footer follow in the next one, in the space kept free for them.
    property bool firstFrameShown: true

    anchors.fill: parent
    color: Theme.windowBackground

    // Resizing uncovers the window's own background for a moment: keep it dark.
    Binding {
        target: root.Window.window
        property: "color"
        value: Theme.windowBackground
    }

    Connections {
        target: root.Window.window
        function onClosing() {
            root.browser.cancelPendingSearch()
        }
    }

    Shortcut {
        sequences: ["Ctrl+F"]
        onActivated: mainContent.focusSearch()
    }
    Shortcut {
        sequences: ["F5", "Ctrl+R"]
        onActivated: root.browser.refresh()
    }

    // Loaded by name: not even compiled before the first frame.
    Loader {
        id: menuBar
        width: parent.width
        height: Theme.menuBarHeight
        active: root.firstFrameShown
        Component.onCompleted: menuBar.setSource("AppMenuBar.qml", { "browser": root.browser })
    }

    Connections {
        target: menuBar.item
        ignoreUnknownSignals: true
        function onAboutRequested() {
            root.showAbout()
        }
        function onOpenReportRequested() {
            root.chooseReport()
        }
        function onCompareReportRequested() {
            root.chooseComparedReport()
        }
    }

    // A report dropped on the window opens as Open Report would open it.
    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: function(drop) {
            if (drop.hasUrls && drop.urls.length > 0)
                root.browser.openReport(drop.urls[0])
        }
    }

    Loader {
        id: openReportDialog
    }

    function chooseReport() {
        if (!openReportDialog.item)
            openReportDialog.setSource("OpenReportDialog.qml", { "chooser": root.fileChooser })
        // A Loader's item is a plain QObject to the linter.
        openReportDialog.item.open() // qmllint disable type
    }

    Connections {
        target: openReportDialog.item
        ignoreUnknownSignals: true
        function onChosen(file) {
            root.browser.openReport(file)
        }
    }

    // The same chooser with its own title; each dialog answers only its own question.
    Loader {
        id: compareReportDialog
    }

    function chooseComparedReport() {
        if (!compareReportDialog.item)
            compareReportDialog.setSource("OpenReportDialog.qml", {
                "chooser": root.fileChooser, "title": "Compare with Report"
            })
        // A Loader's item is a plain QObject to the linter.
        compareReportDialog.item.open() // qmllint disable type
    }

    Connections {
        target: compareReportDialog.item
        ignoreUnknownSignals: true
        function onChosen(file) {
            root.browser.compareWithReport(file)
        }
    }

    Sidebar {
        id: sidebar
        objectName: "sidebar"
        anchors.top: menuBar.bottom
        anchors.bottom: parent.bottom
        width: Theme.sidebarWidth
        browser: root.browser
    }

    Rectangle {
        id: separator
        anchors.top: menuBar.bottom
        anchors.bottom: parent.bottom
        anchors.left: sidebar.right
        width: Theme.separatorThickness
        color: Theme.separator
    }

    MainContent {
        id: mainContent
        objectName: "mainContent"
        anchors.top: menuBar.bottom
        anchors.bottom: parent.bottom
        anchors.left: separator.right
        anchors.right: parent.right
        browser: root.browser
        firstFrameShown: root.firstFrameShown
    }

    // The sheet, the save dialog, the About panel and the error alert are not
    // part of the first frame: they are loaded by name (so not even compiled before),
    // built the first time they are shown, and then kept.

    function showAbout() {
        if (!aboutPanel.item)
            aboutPanel.setSource("AboutPanel.qml")
        // A Loader's item is a plain QObject to the linter.
        aboutPanel.item.open() // qmllint disable type
    }

    function showError(message) {
        if (!errorAlert.item)
            errorAlert.setSource("ErrorAlert.qml")
        // A Loader's item is a plain QObject to the linter.
        errorAlert.item.present(message) // qmllint disable type
    }

    Loader {
        id: rawOutputSheet

        onStatusChanged: {
            if (rawOutputSheet.status === Loader.Error)
                console.warn("Kestrin: the raw output sheet could not be built")
        }
    }

    Connections {
        target: root.browser
        function onShowRawOutputChanged() {
            if (root.browser.showRawOutput && !rawOutputSheet.item)
                rawOutputSheet.setSource("RawOutputSheet.qml", { "browser": root.browser })
        }
    }

    Loader {
        id: saveDialogLoader
    }

    Connections {
        target: root.saveDialog
        function onActiveChanged() {
            if (root.saveDialog.active && !saveDialogLoader.item)
                saveDialogLoader.setSource("SaveDialog.qml", { "controller": root.saveDialog })
        }
    }

    Loader {
        id: aboutPanel
    }

    Loader {
        id: errorAlert
    }

    Connections {
        target: root.alerts
        ignoreUnknownSignals: true
        function onErrorRaised(message) {
            root.showError(message)
        }
    }
}
