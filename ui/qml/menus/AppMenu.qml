import QtQuick
import QtQuick.Controls.Basic

// A drop-down menu of the menu bar in the window's dark style.
Menu {
    id: root

    padding: Theme.menuPadding
    // As wide as its widest command, so a long title never runs into its key
    // equivalent.
    implicitWidth: {
        let widest = Theme.menuMinimumWidth - leftPadding - rightPadding;
        for (let i = 0; i < count; ++i) {
            const command = itemAt(i);
            if (command)
                widest = Math.max(widest, command.implicitWidth);
        }
        return widest + leftPadding + rightPadding;
    }

    background: Rectangle {
        implicitWidth: Theme.menuMinimumWidth
        color: Theme.listBackground
        radius: Theme.menuRadius
        border.width: Theme.outlineWidth
        border.color: Theme.whiteAlpha(Theme.controlOutlineOpacity)
    }
}
