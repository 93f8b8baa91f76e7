import QtQuick

// One of the sidebar's action rows (Refresh, Raw Output, ...). Never disabled.
ButtonBase {
    id: root

    required property string title
    required property string symbol

    implicitWidth: Theme.rowIconFrame + Theme.rowSpacing + titleLabel.implicitWidth + 2 * Theme.rowInset
    implicitHeight: Math.max(icon.height, titleLabel.implicitHeight) + 2 * Theme.rowInset

    Accessible.name: root.title

    ButtonSurface {
        anchors.fill: parent
        z: -1
        control: root
        radius: Theme.rowRadius
        fill: Theme.whiteAlpha(Theme.rowFillOpacity)
        outline: Theme.whiteAlpha(Theme.rowOutlineOpacity)
    }

    Icon {
        id: icon
        name: root.symbol
        size: Theme.bodySize
        opacity: Theme.actionIconOpacity
        x: Theme.rowInset + (Theme.rowIconFrame - width) / 2
        anchors.verticalCenter: parent.verticalCenter
    }

    PlainLabel {
        id: titleLabel
        x: Theme.rowInset + Theme.rowIconFrame + Theme.rowSpacing
        width: Math.min(implicitWidth, root.width - Theme.rowInset - x)
        anchors.verticalCenter: parent.verticalCenter
        text: root.title
        maximumLineCount: 1
        font.pixelSize: Theme.actionTitleSize
        font.weight: Theme.weightMedium
        color: Theme.whiteAlpha(Theme.actionTitleOpacity)
        Accessible.ignored: true
    }
}
