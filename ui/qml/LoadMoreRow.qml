import QtQuick
import QtQuick.Controls.Basic

// "Load More  80 of 200": enlarges the page by another 80 items.
Button {
    id: root

    required property int shown
    required property int matched

    readonly property string counterText: root.shown + " of " + root.matched

    text: "Load More"
    padding: 0
    hoverEnabled: true
    implicitHeight: Math.max(Theme.loadMoreMinimumHeight, row.implicitHeight)

    Accessible.role: Accessible.Button
    Accessible.name: "Load More " + root.counterText
    // Setting Accessible here routes a screen reader's press action to this
    // handler instead of the button's own click; a disabled button stays inert.
    Accessible.onPressAction: if (root.enabled) root.clicked()
    Accessible.ignored: !root.visible

    contentItem: Item {
        implicitWidth: row.implicitWidth
        implicitHeight: row.implicitHeight

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

    background: ButtonSurface {
        control: root
        radius: Theme.loadMoreRadius
        fill: Theme.whiteAlpha(Theme.loadMoreFillOpacity)
        outline: Theme.whiteAlpha(Theme.loadMoreOutlineOpacity)
    }
}
