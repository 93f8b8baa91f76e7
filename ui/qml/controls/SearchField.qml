import QtQuick
import Kestrin

// The toolbar's search field. Every edit goes to the model at once; the model
// waits for the text to settle before it filters.
Rectangle {
    id: root

    required property BrowserModel browser

    function focusField() {
        field.forceActiveFocus(Qt.ShortcutFocusReason)
        field.selectAll()
    }

    implicitWidth: Theme.searchIdealWidth
    implicitHeight: Math.max(icon.height, field.implicitHeight) + 2 * Theme.searchVerticalInset
    radius: Theme.controlRadius
    color: Theme.whiteAlpha(Theme.controlFillOpacity)
    border.width: Theme.outlineWidth
    border.color: field.activeFocus ? Theme.tint(Theme.accent, 0.8) : Theme.whiteAlpha(Theme.controlOutlineOpacity)

    Icon {
        id: icon
        x: Theme.searchHorizontalInset
        anchors.verticalCenter: parent.verticalCenter
        name: "magnifyingglass"
        size: Theme.bodySize
        opacity: Theme.searchIconOpacity
    }

    // A click anywhere in the field's frame puts the cursor in it.
    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.IBeamCursor
        onPressed: mouse => {
            field.forceActiveFocus(Qt.MouseFocusReason)
            mouse.accepted = false
        }
    }

    TextInput {
        id: field
        objectName: "searchField"

        readonly property string placeholderText: "Search..."

        anchors.left: icon.right
        anchors.leftMargin: Theme.searchSpacing
        anchors.right: parent.right
        anchors.rightMargin: Theme.searchHorizontalInset
        anchors.verticalCenter: parent.verticalCenter
        clip: true
        activeFocusOnTab: true
        color: Theme.white
        selectionColor: Theme.tint(Theme.accent, Theme.selectionOpacity)
        selectedTextColor: Theme.white
        font.pixelSize: Theme.bodySize
        selectByMouse: true
        text: root.browser.searchText
        onTextEdited: root.browser.searchText = text

        Accessible.role: Accessible.EditableText
        Accessible.name: field.placeholderText
        Accessible.searchEdit: true

        Keys.onEscapePressed: event => {
            if (text.length > 0) {
                clear()
                root.browser.searchText = ""
            } else {
                event.accepted = false
            }
        }

        Text {
            anchors.fill: parent
            verticalAlignment: Text.AlignVCenter
            visible: field.text.length === 0 && !field.preeditText
            text: field.placeholderText
            textFormat: Text.PlainText
            color: Theme.whiteAlpha(Theme.searchPlaceholderOpacity)
            font: field.font
            elide: Text.ElideRight
            Accessible.ignored: true
        }
    }
}
