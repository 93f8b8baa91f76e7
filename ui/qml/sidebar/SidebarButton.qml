import QtQuick

// One category row of the sidebar: icon, title and count badge; the selected
// row is filled with the accent colour.
ButtonBase {
    id: root

    required property string title
    required property string symbol
    required property int count
    required property bool selected

    // Icon frame, title, and at the right the badge, with a minimum spacer
    // between title and badge.
    readonly property real contentWidth: root.width - 2 * Theme.rowInset

    implicitWidth: Theme.rowIconFrame + Theme.rowSpacing + titleLabel.implicitWidth + Theme.rowSpacing
                   + Theme.categorySpacerMinimum + Theme.rowSpacing + badge.width + 2 * Theme.rowInset
    implicitHeight: Math.max(icon.height, titleLabel.implicitHeight, badge.height) + 2 * Theme.rowInset

    Accessible.name: root.title + ", " + root.count
    Accessible.checkable: true
    Accessible.checked: root.selected

    ButtonSurface {
        anchors.fill: parent
        z: -1
        control: root
        radius: Theme.rowRadius
        fill: root.selected ? Theme.accent : Theme.whiteAlpha(Theme.rowFillOpacity)
        outline: root.selected ? Theme.tint(Theme.accent, Theme.rowOutlineOpacitySelected)
                               : Theme.whiteAlpha(Theme.rowOutlineOpacity)
        focusRing: root.selected ? Theme.white : Theme.accent
    }

    Icon {
        id: icon
        name: root.symbol
        size: Theme.categoryIconSize
        stroke: Theme.strokeSemibold
        x: Theme.rowInset + (Theme.rowIconFrame - width) / 2
        anchors.verticalCenter: parent.verticalCenter
    }

    PlainLabel {
        id: titleLabel
        x: Theme.rowInset + Theme.rowIconFrame + Theme.rowSpacing
        width: Math.min(implicitWidth,
                        root.contentWidth - Theme.rowIconFrame - Theme.rowSpacing - Theme.rowSpacing
                        - Theme.categorySpacerMinimum - Theme.rowSpacing - badge.width)
        anchors.verticalCenter: parent.verticalCenter
        text: root.title
        maximumLineCount: 1
        font.pixelSize: Theme.categoryTitleSize
        font.weight: Theme.weightSemibold
        Accessible.ignored: true
    }

    Rectangle {
        id: badge
        objectName: "categoryBadge"
        anchors.right: parent.right
        anchors.rightMargin: Theme.rowInset
        anchors.verticalCenter: parent.verticalCenter
        width: badgeLabel.implicitWidth + 2 * Theme.badgeHorizontalInset
        height: badgeLabel.implicitHeight + 2 * Theme.badgeVerticalInset
        radius: height / 2
        color: Theme.whiteAlpha(root.selected ? Theme.badgeFillOpacitySelected : Theme.badgeFillOpacity)

        PlainLabel {
            id: badgeLabel
            anchors.centerIn: parent
            text: String(root.count)
            font.pixelSize: Theme.badgeSize
            font.weight: Theme.weightBold
            color: Theme.whiteAlpha(root.selected ? Theme.badgeTextOpacitySelected : Theme.badgeTextOpacity)
            Accessible.ignored: true
        }
    }
}
