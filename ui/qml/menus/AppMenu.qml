import QtQuick
import QtQuick.Controls.Basic

// A drop-down menu of the menu bar in the window's dark style.
Menu {
    id: root

    padding: Theme.menuPadding

    background: Rectangle {
        implicitWidth: Theme.menuMinimumWidth
        color: Theme.listBackground
        radius: Theme.menuRadius
        border.width: Theme.outlineWidth
        border.color: Theme.whiteAlpha(Theme.controlOutlineOpacity)
    }
}
