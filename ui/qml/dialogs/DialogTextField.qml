import QtQuick
import QtQuick.Controls.Basic

// A text field of the window's dialogs: plain text on a faint fill, with the
// accent outline while it has the keyboard.
TextField {
    id: root

    // What a screen reader calls the field.
    required property string accessibleName

    color: Theme.white
    selectByMouse: true
    font.pixelSize: Theme.bodySize
    Accessible.name: root.accessibleName

    background: Rectangle {
        radius: Theme.controlRadius
        color: Theme.whiteAlpha(Theme.controlFillOpacity)
        border.width: Theme.outlineWidth
        border.color: root.activeFocus ? Theme.tint(Theme.accent, 0.8)
                                       : Theme.whiteAlpha(Theme.controlOutlineOpacity)
    }
}
