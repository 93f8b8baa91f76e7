import QtQuick

// An icon-and-title button of the toolbar.
ButtonBase {
    id: root

    required property string title
    required property string symbol

    implicitWidth: Math.max(Theme.toolbarButtonMinimumWidth, row.implicitWidth) + 2 * Theme.toolbarButtonInset
    implicitHeight: Math.max(Theme.toolbarButtonMinimumHeight, row.implicitHeight)

    Accessible.name: root.title

    ButtonSurface {
        anchors.fill: parent
        z: -1
        control: root
        opacity: root.enabled ? 1 : Theme.disabledOpacity
    }

    Row {
        id: row
        anchors.centerIn: parent
        spacing: Theme.toolbarButtonSpacing
        opacity: root.enabled ? 1 : Theme.disabledOpacity

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
