import QtQuick
import Kestrin

// The actions on one item of the list: its value, its title and value, or
// its whole section, copied to the clipboard (masked while identifiers are
// hidden). Built the first time it is asked for.
AppMenu {
    id: root

    required property BrowserModel browser
    // The list row the menu acts on.
    property int row: -1
    // A section header offers only the section.
    property bool sectionOnly: false
    // Takes the keyboard back when the menu closes.
    property Item focusReturn: null

    objectName: "itemContextMenu"

    onClosed: {
        if (root.focusReturn)
            root.focusReturn.forceActiveFocus(Qt.PopupFocusReason)
    }

    // Opens at `x`, `y` of `item` for list row `row`.
    function openFor(row, sectionOnly, item, x, y) {
        root.row = row
        root.sectionOnly = sectionOnly
        root.popup(item, x, y)
    }

    AppMenuItem {
        objectName: "copyValueMenuItem"
        text: "Copy Value"
        visible: !root.sectionOnly
        height: visible ? implicitHeight : 0
        onTriggered: root.browser.copyValue(root.row)
    }
    AppMenuItem {
        objectName: "copyTitleAndValueMenuItem"
        text: "Copy Title and Value"
        shortcutText: "Ctrl+C"
        visible: !root.sectionOnly
        height: visible ? implicitHeight : 0
        onTriggered: root.browser.copyTitleAndValue(root.row)
    }
    AppMenuItem {
        objectName: "copySectionMenuItem"
        text: "Copy Section"
        onTriggered: root.browser.copySection(root.row)
    }
}
