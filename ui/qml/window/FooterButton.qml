import QtQuick

// A title-only button of the footer strip.
ButtonBase {
    id: root

    required property string title

    implicitWidth: Math.max(Theme.footerButtonMinimumWidth, label.implicitWidth) + 2 * Theme.footerButtonInset
    implicitHeight: Math.max(Theme.footerButtonMinimumHeight, label.implicitHeight)

    Accessible.name: root.title

    ButtonSurface {
        anchors.fill: parent
        z: -1
        control: root
    }

    PlainLabel {
        id: label
        anchors.fill: parent
        anchors.leftMargin: Theme.footerButtonInset
        anchors.rightMargin: Theme.footerButtonInset
        text: root.title
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.footerButtonTitleSize
        font.weight: Theme.weightSemibold
        Accessible.ignored: true
    }
}
