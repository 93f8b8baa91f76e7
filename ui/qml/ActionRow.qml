import QtQuick
import QtQuick.Controls.Basic

// One of the sidebar's action rows (Refresh, Raw Output, ...). Never disabled.
Button {
    id: root

    required property string title
    required property string symbol

    text: root.title
    padding: Theme.rowInset
    spacing: Theme.rowSpacing
    hoverEnabled: true

    Accessible.role: Accessible.Button
    Accessible.name: root.title
    // Setting Accessible here routes a screen reader's press action to this
    // handler instead of the button's own click; a disabled button stays inert.
    Accessible.onPressAction: if (root.enabled) root.clicked()

    contentItem: Item {
        implicitWidth: Theme.rowIconFrame + root.spacing + titleLabel.implicitWidth
        implicitHeight: Math.max(icon.height, titleLabel.implicitHeight)

        Icon {
            id: icon
            name: root.symbol
            size: Theme.bodySize
            opacity: Theme.actionIconOpacity
            x: (Theme.rowIconFrame - width) / 2
            anchors.verticalCenter: parent.verticalCenter
        }

        PlainLabel {
            id: titleLabel
            x: Theme.rowIconFrame + root.spacing
            width: Math.min(implicitWidth, parent.width - x)
            anchors.verticalCenter: parent.verticalCenter
            text: root.title
            maximumLineCount: 1
            font.pixelSize: Theme.actionTitleSize
            font.weight: Theme.weightMedium
            color: Theme.whiteAlpha(Theme.actionTitleOpacity)
            Accessible.ignored: true
        }
    }

    background: ButtonSurface {
        control: root
        radius: Theme.rowRadius
        fill: Theme.whiteAlpha(Theme.rowFillOpacity)
        outline: Theme.whiteAlpha(Theme.rowOutlineOpacity)
    }
}
