import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// The one main window: sidebar, separator, main column. Always dark.
ApplicationWindow {
    id: root

    required property QtObject browser
    // Receives the model's error messages (errorRaised); shown by the alert.
    property QtObject alerts: null

    property bool firstScanStarted: false

    function startFirstScan() {
        if (root.visible && !root.firstScanStarted) {
            root.firstScanStarted = true
            root.browser.refresh()
        }
    }

    title: "Kestrin"
    visible: true
    width: Theme.windowDefaultWidth
    height: Theme.windowDefaultHeight
    minimumWidth: Theme.windowMinimumWidth
    minimumHeight: Theme.windowMinimumHeight
    color: Theme.windowBackground
    font.pixelSize: Theme.bodySize

    palette.window: Theme.windowBackground
    palette.windowText: Theme.white
    palette.base: Theme.listBackground
    palette.text: Theme.white
    palette.button: Theme.whiteAlpha(Theme.controlFillOpacity)
    palette.buttonText: Theme.white
    palette.highlight: Theme.accent
    palette.highlightedText: Theme.white
    palette.placeholderText: Theme.whiteAlpha(Theme.searchPlaceholderOpacity)
    palette.dark: Theme.white
    palette.mid: Theme.whiteAlpha(0.3)

    Component.onCompleted: root.startFirstScan()
    onVisibleChanged: root.startFirstScan()
    onClosing: root.browser.cancelPendingSearch()

    Shortcut {
        sequences: ["Ctrl+F"]
        onActivated: mainContent.focusSearch()
    }
    Shortcut {
        sequences: ["F5", "Ctrl+R"]
        onActivated: root.browser.refresh()
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Sidebar {
            objectName: "sidebar"
            Layout.preferredWidth: Theme.sidebarWidth
            Layout.fillHeight: true
            browser: root.browser
        }

        Rectangle {
            Layout.preferredWidth: Theme.separatorThickness
            Layout.fillHeight: true
            color: Theme.separator
        }

        MainContent {
            id: mainContent
            objectName: "mainContent"
            Layout.fillWidth: true
            Layout.fillHeight: true
            browser: root.browser
        }
    }

    // Sheets, dialogs and menus of the window are attached below this line.
    // The menu bar is part of the first frame (and holds the key equivalents,
    // which must work from the start); the sheet, the About panel and the
    // error alert are built the first time they are shown and then kept.

    function showAbout() {
        aboutPanel.active = true
        aboutPanel.item.open()
    }

    function showError(message) {
        errorAlert.active = true
        errorAlert.item.present(message)
    }

    menuBar: AppMenuBar {
        onAboutRequested: root.showAbout()
    }

    Loader {
        id: rawOutputSheet

        property bool built: false

        active: root.browser.showRawOutput || rawOutputSheet.built
        onLoaded: rawOutputSheet.built = true
        sourceComponent: RawOutputSheet {
            browser: root.browser
        }
    }

    Loader {
        id: aboutPanel

        active: false
        sourceComponent: AboutPanel {}
    }

    Loader {
        id: errorAlert

        active: false
        sourceComponent: ErrorAlert {}
    }

    Connections {
        target: root.alerts
        ignoreUnknownSignals: true
        function onErrorRaised(message) {
            root.showError(message)
        }
    }
}
