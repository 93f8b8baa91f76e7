import QtQuick

// What every button of the window shares: activation with the mouse and the
// space bar, hover and pressed states, a focus ring only for keyboard focus,
// and a press action for assistive technology. Built on plain Qt Quick items,
// so the window's first frame needs no control library.
Item {
    id: root

    signal clicked

    readonly property bool hovered: mouseArea.containsMouse
    readonly property bool down: (mouseArea.pressed && mouseArea.containsMouse) || root.keyDown
    // Focus that came from the keyboard, not from a click.
    readonly property bool visualFocus: root.activeFocus && !root.focusFromMouse

    property bool keyDown: false
    property bool focusFromMouse: false

    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.focusable: true
    // A screen reader's press action; a disabled button stays inert.
    Accessible.onPressAction: if (root.enabled) root.clicked()

    onActiveFocusChanged: {
        if (!root.activeFocus) {
            root.focusFromMouse = false
            root.keyDown = false
        }
    }
    onEnabledChanged: if (!root.enabled) root.keyDown = false

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space && !event.isAutoRepeat) {
            root.keyDown = true
            event.accepted = true
        }
    }
    Keys.onReleased: event => {
        if (event.key === Qt.Key_Space && !event.isAutoRepeat && root.keyDown) {
            root.keyDown = false
            event.accepted = true
            root.clicked()
        }
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onPressed: {
            root.focusFromMouse = true
            root.forceActiveFocus(Qt.MouseFocusReason)
        }
        onClicked: root.clicked()
    }
}
