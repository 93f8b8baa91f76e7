import QtQuick
import Kestrin

// The drop-down menus of the menu bar, built the first time one opens.
Item {
    id: root

    required property AppMenuBar bar
    required property BrowserModel browser
    // Index of the open menu (0 File, 1 View, 2 Help), or -1.
    readonly property int openIndex: fileMenu.visible ? 0 : viewMenu.visible ? 1 : helpMenu.visible ? 2 : -1

    function openMenu(index, x, y) {
        const menus = [fileMenu, viewMenu, helpMenu]
        for (let i = 0; i < menus.length; ++i) {
            if (i !== index)
                menus[i].close()
        }
        menus[index].popup(root.bar, x, y)
    }

    AppMenu {
        id: fileMenu
        objectName: "fileMenu"

        AppMenuItem {
            objectName: "openReportMenuItem"
            text: "Open Report\u2026"
            shortcutText: root.bar.openReportShortcutText
            enabled: !root.browser.isScanning
            onTriggered: root.bar.openReportRequested()
        }
        AppMenuItem {
            objectName: "compareReportMenuItem"
            text: "Compare with Report\u2026"
            enabled: !root.browser.isScanning
            onTriggered: root.bar.compareReportRequested()
        }
        AppMenuItem {
            objectName: "endComparisonMenuItem"
            text: "End Comparison"
            enabled: root.browser.isComparing
            onTriggered: root.browser.endComparison()
        }
        AppMenuItem {
            objectName: "exportFullReportMenuItem"
            text: "Export Full Report\u2026"
            shortcutText: root.bar.exportReportShortcutText
            enabled: !root.browser.isScanning
            onTriggered: root.browser.exportFullReport()
        }
        AppMenuItem {
            objectName: "readAsAdministratorMenuItem"
            text: "Read as Administrator\u2026"
            enabled: root.browser.canReadAsAdministrator && !root.browser.isScanning
            onTriggered: root.browser.readAsAdministrator()
        }
        AppMenuItem {
            objectName: "quitMenuItem"
            text: "Quit Kestrin"
            shortcutText: root.bar.quitShortcutText
            onTriggered: root.bar.quitApplication()
        }
    }

    AppMenu {
        id: viewMenu
        objectName: "viewMenu"

        AppMenuItem {
            objectName: "hideIdentifiersMenuItem"
            text: "Hide Identifiers"
            checkable: true
            checked: root.browser.hideIdentifiers
            shortcutText: root.bar.hideIdentifiersShortcutText
            onTriggered: root.bar.toggleHideIdentifiers()
        }
        AppMenuItem {
            objectName: "showUnchangedMenuItem"
            text: "Show Unchanged"
            checkable: true
            checked: root.browser.showUnchanged
            enabled: root.browser.isComparing
            onTriggered: root.browser.showUnchanged = !root.browser.showUnchanged
        }
    }

    AppMenu {
        id: helpMenu
        objectName: "helpMenu"

        AppMenuItem {
            objectName: "helpMenuItem"
            text: "Kestrin Help"
            shortcutText: root.bar.helpShortcutText
            onTriggered: root.bar.showHelp()
        }
        AppMenuItem {
            objectName: "aboutMenuItem"
            text: "About Kestrin"
            onTriggered: root.bar.aboutRequested()
        }
    }
}
