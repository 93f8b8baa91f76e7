import QtQuick

// A slim vertical scroll bar for a Flickable, shown when the content does not
// fit; the thumb can be dragged and a click on the track pages. Plain Qt Quick
// items, so the window's first frame needs no control library.
Item {
    id: root

    required property Flickable flickable
    // Shown whenever the content does not fit, or only while it moves or the
    // pointer is over the view.
    property bool alwaysShown: true
    property bool hovered: false

    // Scroll offsets are measured from the top of the content, wherever the
    // view places its origin (a list moves it as rows come and go).
    readonly property real origin: root.flickable.originY - root.flickable.topMargin
    readonly property real range: Math.max(0, root.flickable.contentHeight + root.flickable.topMargin
                                           + root.flickable.bottomMargin - root.flickable.height)
    readonly property real offset: root.flickable.contentY - root.origin
    readonly property real track: root.height - 2 * Theme.scrollBarPadding
    readonly property real thumbLength: Math.max(Theme.scrollBarWidth,
        root.track * Math.min(1, root.flickable.visibleArea.heightRatio))

    function scrollTo(offset) {
        root.flickable.contentY = root.origin + Math.max(0, Math.min(root.range, offset))
    }

    implicitWidth: Theme.scrollBarWidth + 2 * Theme.scrollBarPadding
    visible: root.range > 0
             && (root.alwaysShown || root.hovered || dragArea.pressed || root.flickable.moving)

    Accessible.role: Accessible.ScrollBar
    Accessible.name: "Scroll bar"

    Rectangle {
        id: thumb
        x: Theme.scrollBarPadding
        y: Theme.scrollBarPadding + (root.track - root.thumbLength)
           * (root.range > 0 ? Math.max(0, Math.min(1, root.offset / root.range)) : 0)
        width: Theme.scrollBarWidth
        height: root.thumbLength
        radius: width / 2
        color: Theme.whiteAlpha(dragArea.pressed ? Theme.scrollBarPressedOpacity : Theme.scrollBarOpacity)
    }

    MouseArea {
        id: dragArea

        // Where in the thumb it was grabbed, or -1 for a click on the track.
        property real grabOffset: -1

        anchors.fill: parent
        onPressed: mouse => {
            if (mouse.y >= thumb.y && mouse.y <= thumb.y + thumb.height) {
                dragArea.grabOffset = mouse.y - thumb.y
            } else {
                // A click on the track moves one page towards the click.
                const page = root.flickable.height
                root.scrollTo(mouse.y < thumb.y ? root.offset - page : root.offset + page)
                dragArea.grabOffset = -1
            }
        }
        onPositionChanged: mouse => {
            if (dragArea.grabOffset < 0 || root.track <= root.thumbLength)
                return
            const fraction = (mouse.y - dragArea.grabOffset - Theme.scrollBarPadding)
                             / (root.track - root.thumbLength)
            root.scrollTo(fraction * root.range)
        }
    }
}
