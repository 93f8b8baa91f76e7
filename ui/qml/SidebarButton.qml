import QtQuick
import QtQuick.Controls.Basic

// One category row of the sidebar: icon, title and count badge; the selected
// row is filled with the accent colour.
Button {
    id: root

    required property string title
    required property string symbol
    required property int count
    required property bool selected

    text: root.title
    padding: Theme.rowInset
    spacing: Theme.rowSpacing
    hoverEnabled: true

    Accessible.role: Accessible.Button
    Accessible.name: root.title + ", " + root.count
    Accessible.checkable: true
    Accessible.checked: root.selected
    // Setting Accessible here routes a screen reader's press action to this
    // handler instead of the button's own click; a disabled button stays inert.
    Accessible.onPressAction: if (root.enabled) root.clicked()

    contentItem: Item {
        implicitWidth: Theme.rowIconFrame + root.spacing + titleLabel.implicitWidth
                       + root.spacing + Theme.categorySpacerMinimum + root.spacing + badge.width
        implicitHeight: Math.max(icon.height, titleLabel.implicitHeight, badge.height)

        Icon {
            id: icon
            name: root.symbol
            size: Theme.categoryIconSize
            stroke: Theme.strokeSemibold
            x: (Theme.rowIconFrame - width) / 2
            anchors.verticalCenter: parent.verticalCenter
        }

        PlainLabel {
            id: titleLabel
            x: Theme.rowIconFrame + root.spacing
            width: Math.min(implicitWidth,
                            parent.width - x - root.spacing - Theme.categorySpacerMinimum
                            - root.spacing - badge.width)
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

    background: ButtonSurface {
        control: root
        radius: Theme.rowRadius
        fill: root.selected ? Theme.accent : Theme.whiteAlpha(Theme.rowFillOpacity)
        outline: root.selected ? Theme.tint(Theme.accent, Theme.rowOutlineOpacitySelected)
                               : Theme.whiteAlpha(Theme.rowOutlineOpacity)
        focusRing: root.selected ? Theme.white : Theme.accent
    }
}
