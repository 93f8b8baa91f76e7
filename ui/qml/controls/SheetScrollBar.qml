import QtQuick
import QtQuick.Controls.Basic

// A slim vertical scroll bar for the dark text views, visible while there is
// something to scroll.
ScrollBar {
    id: root

    policy: ScrollBar.AsNeeded
    minimumSize: Theme.scrollBarMinimumSize
    padding: Theme.scrollBarPadding

    contentItem: Rectangle {
        implicitWidth: Theme.scrollBarWidth
        radius: width / 2
        color: Theme.whiteAlpha(root.pressed ? Theme.scrollBarPressedOpacity : Theme.scrollBarOpacity)
        opacity: root.size < 1 ? 1 : 0
    }
}
