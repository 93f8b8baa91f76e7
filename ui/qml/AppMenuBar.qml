import QtQuick
import QtQuick.Controls.Basic

// The application's commands: "Quit Kestrin", "Kestrin Help" and
// "About Kestrin". There is deliberately no command that opens another
// window: the main window is the only one. The key equivalents are
// application-wide, so they also work from the Help window and while a sheet
// is open; "Ctrl" is the Command key on macOS.
MenuBar {
    id: root

    // Opens the About panel (the main window owns it).
    signal aboutRequested

    objectName: "appMenuBar"

    function showHelp() {
        HelpWindowController.show()
    }

    // Ends the application through Qt.quit(), so that the quit hook (which
    // stops running tool processes) runs.
    function quitApplication() {
        Qt.quit()
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

    // The help key of Linux and Windows desktops.
    Shortcut {
        sequence: "F1"
        context: Qt.ApplicationShortcut
        onActivated: root.showHelp()
    }

    delegate: MenuBarItem {
        id: barItem

        leftPadding: Theme.menuBarItemInset
        rightPadding: Theme.menuBarItemInset
        topPadding: Theme.menuBarItemVerticalInset
        bottomPadding: Theme.menuBarItemVerticalInset

        contentItem: Text {
            text: barItem.text
            textFormat: Text.PlainText
            color: Theme.whiteAlpha(Theme.menuTextOpacity)
            font.pixelSize: Theme.menuTextSize
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: Theme.menuHighlightRadius
            color: barItem.highlighted ? Theme.whiteAlpha(Theme.menuHighlightOpacity) : "transparent"
        }
    }

    background: Rectangle {
        implicitHeight: Theme.menuBarHeight
        color: Theme.sidebarBackground

        Rectangle {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: Theme.separatorThickness
            color: Theme.whiteAlpha(Theme.dividerOpacity)
        }
    }

    AppMenu {
        title: "File"

        AppMenuItem {
            objectName: "quitMenuItem"
            text: "Quit Kestrin"
            shortcutText: quitShortcut.nativeText
            onTriggered: root.quitApplication()
        }
    }

    AppMenu {
        title: "Help"

        AppMenuItem {
            objectName: "helpMenuItem"
            text: "Kestrin Help"
            shortcutText: helpShortcut.nativeText
            onTriggered: root.showHelp()
        }
        AppMenuItem {
            objectName: "aboutMenuItem"
            text: "About Kestrin"
            onTriggered: root.aboutRequested()
        }
    }
}
