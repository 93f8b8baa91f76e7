import QtQuick

// The rounded, outlined background shared by the window's plain buttons, with
// a light hover and pressed wash and a focus ring for keyboard users.
Rectangle {
    id: root

    required property ButtonBase control
    property color fill: Theme.whiteAlpha(Theme.controlFillOpacity)
    property color outline: Theme.whiteAlpha(Theme.controlOutlineOpacity)
    // Drawn inside the button, so scroll areas and strips never clip it.
    property color focusRing: Theme.accent

    radius: Theme.controlRadius
    color: root.fill
    border.width: Theme.outlineWidth
    border.color: root.outline

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        color: Theme.whiteAlpha(root.control.down ? Theme.pressedOverlayOpacity : Theme.hoverOverlayOpacity)
        visible: root.control.enabled && (root.control.down || root.control.hovered)
    }

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        color: "transparent"
        border.width: Theme.focusRingWidth
        border.color: root.focusRing
        visible: root.control.visualFocus
    }
}
