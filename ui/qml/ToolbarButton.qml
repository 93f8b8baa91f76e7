import QtQuick
import QtQuick.Controls.Basic

// An icon-and-title button of the toolbar.
Button {
    id: root

    required property string title
    required property string symbol

    text: root.title
    leftPadding: Theme.toolbarButtonInset
    rightPadding: Theme.toolbarButtonInset
    topPadding: 0
    bottomPadding: 0
    spacing: Theme.toolbarButtonSpacing
    hoverEnabled: true
    implicitWidth: Math.max(Theme.toolbarButtonMinimumWidth, contentItem.implicitWidth) + leftPadding + rightPadding
    implicitHeight: Math.max(Theme.toolbarButtonMinimumHeight, contentItem.implicitHeight)

    Accessible.role: Accessible.Button
    Accessible.name: root.title
    // Setting Accessible here routes a screen reader's press action to this
    // handler instead of the button's own click; a disabled button stays inert.
    Accessible.onPressAction: if (root.enabled) root.clicked()

    contentItem: Item {
        implicitWidth: row.implicitWidth
        implicitHeight: row.implicitHeight
        opacity: root.enabled ? 1 : Theme.disabledOpacity

        Row {
            id: row
            anchors.centerIn: parent
            spacing: root.spacing

            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: root.symbol
                size: Theme.toolbarButtonIconSize
                stroke: Theme.strokeSemibold
            }
            PlainLabel {
                anchors.verticalCenter: parent.verticalCenter
                text: root.title
                font.pixelSize: Theme.toolbarButtonTitleSize
                font.weight: Theme.weightSemibold
                Accessible.ignored: true
            }
        }
    }

    background: ButtonSurface {
        control: root
        opacity: root.enabled ? 1 : Theme.disabledOpacity
    }
}
