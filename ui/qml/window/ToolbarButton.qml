import QtQuick

// An icon-and-title button of the toolbar.
ButtonBase {
    id: root

    required property string title
    required property string symbol
    // A toggle shows its state: filled with the accent colour while on.
    property bool checkable: false
    property bool checked: false

    implicitWidth: Math.max(Theme.toolbarButtonMinimumWidth, row.implicitWidth) + 2 * Theme.toolbarButtonInset
    implicitHeight: Math.max(Theme.toolbarButtonMinimumHeight, row.implicitHeight)

    Accessible.name: root.title
    Accessible.checkable: root.checkable
    Accessible.checked: root.checked

    ButtonSurface {
        anchors.fill: parent
        z: -1
        control: root
        opacity: root.enabled ? 1 : Theme.disabledOpacity
        fill: root.checked ? Theme.tint(Theme.accent, Theme.toggleOnFillOpacity)
                           : Theme.whiteAlpha(Theme.controlFillOpacity)
        outline: root.checked ? Theme.tint(Theme.accent, Theme.rowOutlineOpacitySelected)
                              : Theme.whiteAlpha(Theme.controlOutlineOpacity)
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
