import QtQuick

// "Load More  80 of 200": enlarges the page by another 80 items.
ButtonBase {
    id: root

    required property int shown
    required property int matched

    readonly property string counterText: root.shown + " of " + root.matched

    implicitWidth: row.implicitWidth
    implicitHeight: Math.max(Theme.loadMoreMinimumHeight, row.implicitHeight)

    Accessible.name: "Load More " + root.counterText
    Accessible.ignored: !root.visible

    ButtonSurface {
        anchors.fill: parent
        z: -1
        control: root
        radius: Theme.loadMoreRadius
        fill: Theme.whiteAlpha(Theme.loadMoreFillOpacity)
        outline: Theme.whiteAlpha(Theme.loadMoreOutlineOpacity)
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: Theme.loadMoreSpacing

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: "arrow.down.circle"
            size: Theme.loadMoreTextSize
            stroke: Theme.strokeSemibold
        }
        PlainLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: "Load More"
            font.pixelSize: Theme.loadMoreTextSize
            font.weight: Theme.weightSemibold
            Accessible.ignored: true
        }
        PlainLabel {
            objectName: "loadMoreCounter"
            anchors.verticalCenter: parent.verticalCenter
            text: root.counterText
            font.pixelSize: Theme.loadMoreTextSize
            font.weight: Theme.weightSemibold
            color: Theme.whiteAlpha(Theme.loadMoreCounterOpacity)
            Accessible.ignored: true
        }
    }
}
