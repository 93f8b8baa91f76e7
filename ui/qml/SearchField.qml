import QtQuick
import QtQuick.Controls.Basic

// The toolbar's search field. Every edit goes to the model at once; the model
// waits for the text to settle before it filters.
Rectangle {
    id: root

    required property QtObject browser

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

    TextField {
        id: field
        objectName: "searchField"
        anchors.left: icon.right
        anchors.leftMargin: Theme.searchSpacing
        anchors.right: parent.right
        anchors.rightMargin: Theme.searchHorizontalInset
        anchors.verticalCenter: parent.verticalCenter
        padding: 0
        background: null
        placeholderText: "Search..."
        placeholderTextColor: Theme.whiteAlpha(Theme.searchPlaceholderOpacity)
        color: Theme.white
        selectionColor: Theme.tint(Theme.accent, Theme.selectionOpacity)
        selectedTextColor: Theme.white
        font.pixelSize: Theme.bodySize
        selectByMouse: true
        text: root.browser.searchText
        onTextEdited: root.browser.searchText = text

        Accessible.role: Accessible.EditableText
        Accessible.name: placeholderText
        Accessible.searchEdit: true

        Keys.onEscapePressed: event => {
            if (text.length > 0) {
                clear()
                root.browser.searchText = ""
            } else {
                event.accepted = false
            }
        }
    }
}
