import QtQuick
import Kestrin

// The application's commands: "Quit Kestrin", "Hide Identifiers",
// "Kestrin Help" and "About Kestrin". There is deliberately no command that
// opens another window: the main window is the only one. The key equivalents are
// application-wide, so they also work from the Help window and while a sheet
// is open; "Ctrl" is the Command key on macOS.
//
// The bar and its key equivalents are plain Qt Quick items, part of the first
// frame; the drop-down menus are built the first time one opens.
Rectangle {
    id: root

    required property BrowserModel browser

    // Opens the About panel (the main window owns it).
    signal aboutRequested
    // Asks for a report to open (the main window owns the file chooser).
    signal openReportRequested
    // Asks for a report to compare what is shown with.
    signal compareReportRequested

    readonly property string quitShortcutText: quitShortcut.nativeText
    readonly property string helpShortcutText: helpShortcut.nativeText
    readonly property string hideIdentifiersShortcutText: hideIdentifiersShortcut.nativeText
    readonly property string openReportShortcutText: openReportShortcut.nativeText
    readonly property string exportReportShortcutText: exportReportShortcut.nativeText
    // Index of the open menu (0 File, 1 View, 2 Help), or -1.
    // A Loader's item is a plain QObject to the linter.
    readonly property int openIndex: menus.item ? menus.item.openIndex : -1 // qmllint disable type

    objectName: "appMenuBar"
    implicitHeight: Theme.menuBarHeight
    color: Theme.sidebarBackground

    function showHelp() {
        HelpWindowController.show()
    }

    // Ends the application through Qt.quit(), so that the quit hook (which
    // stops running tool processes) runs.
    function quitApplication() {
        Qt.quit()
    }

    function toggleHideIdentifiers() {
        root.browser.hideIdentifiers = !root.browser.hideIdentifiers
    }

    // Opens menu `index` under its title.
    function openMenu(index) {
        if (!menus.item)
            menus.setSource("AppMenus.qml", { "bar": root, "browser": root.browser })
        const title = titles.children[index]
        // A Loader's item is a plain QObject to the linter.
        menus.item.openMenu(index, title.x, root.height) // qmllint disable type
    }

    Shortcut {
        id: quitShortcut

        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: root.quitApplication()
    }

    Shortcut {
        id: helpShortcut

        sequence: "Ctrl+?"
        context: Qt.ApplicationShortcut
        onActivated: root.showHelp()
    }

    Shortcut {
        id: openReportShortcut
        sequence: "Ctrl+O"
        onActivated: root.openReportRequested()
    }
    Shortcut {
        id: exportReportShortcut
        sequence: "Ctrl+Shift+S"
        onActivated: root.browser.exportFullReport()
    }
    Shortcut {
        id: hideIdentifiersShortcut

        sequence: "Ctrl+Shift+H"
        onActivated: root.toggleHideIdentifiers()
    }

    // The help key of Linux and Windows desktops.
    Shortcut {
        sequence: "F1"
        context: Qt.ApplicationShortcut
        onActivated: root.showHelp()
    }

    // The desktop's key for reaching the menu bar from the keyboard.
    Shortcut {
        sequence: "F10"
        onActivated: root.openMenu(0)
    }

    Row {
        id: titles
        height: parent.height

        MenuBarTitle {
            objectName: "fileMenuTitle"
            height: parent.height
            text: "File"
            highlighted: root.openIndex === 0
            onClicked: root.openMenu(0)
        }
        MenuBarTitle {
            objectName: "viewMenuTitle"
            height: parent.height
            text: "View"
            highlighted: root.openIndex === 1
            onClicked: root.openMenu(1)
        }
        MenuBarTitle {
            objectName: "helpMenuTitle"
            height: parent.height
            text: "Help"
            highlighted: root.openIndex === 2
            onClicked: root.openMenu(2)
        }
    }

    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: Theme.separatorThickness
        color: Theme.whiteAlpha(Theme.dividerOpacity)
    }

    Loader {
        id: menus
    }
}
