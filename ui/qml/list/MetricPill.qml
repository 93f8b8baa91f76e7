import QtQuick

// A small tile of the heading: a number above its caption.
Rectangle {
    id: root

    required property string title
    required property string value
    // Distance from the tile's top to the caption's baseline, for aligning the
    // tiles on the heading's last text line.
    readonly property real captionBaseline: stack.y + captionLabel.y + captionLabel.baselineOffset

    implicitWidth: Theme.tileWidth
    implicitHeight: Theme.tileHeight
    radius: Theme.tileRadius
    color: Theme.whiteAlpha(Theme.tileFillOpacity)
    border.width: Theme.outlineWidth
    border.color: Theme.whiteAlpha(Theme.tileOutlineOpacity)

    Accessible.role: Accessible.StaticText
    Accessible.name: root.title + " " + root.value

    Column {
        id: stack
        anchors.centerIn: parent
        spacing: Theme.tileStackSpacing

        PlainLabel {
            objectName: "tileValue"
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, root.width - 2 * Theme.outlineWidth)
            text: root.value
            maximumLineCount: 1
            font.pixelSize: Theme.tileValueSize
            font.weight: Theme.weightBold
            Accessible.ignored: true
        }
        PlainLabel {
            id: captionLabel
            anchors.horizontalCenter: parent.horizontalCenter
            text: root.title
            maximumLineCount: 1
            font.pixelSize: Theme.tileTitleSize
            font.weight: Theme.weightSemibold
            color: Theme.whiteAlpha(Theme.tileTitleOpacity)
            Accessible.ignored: true
        }
    }
}
