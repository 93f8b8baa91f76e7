import QtQuick
import QtQuick.Controls.Basic

// A title-only button of the footer strip.
Button {
    id: root

    required property string title

    text: root.title
    leftPadding: Theme.footerButtonInset
    rightPadding: Theme.footerButtonInset
    topPadding: 0
    bottomPadding: 0
    hoverEnabled: true
    implicitWidth: Math.max(Theme.footerButtonMinimumWidth, label.implicitWidth) + leftPadding + rightPadding
    implicitHeight: Math.max(Theme.footerButtonMinimumHeight, label.implicitHeight)

    Accessible.role: Accessible.Button
    Accessible.name: root.title
    // Setting Accessible here routes a screen reader's press action to this
    // handler instead of the button's own click; a disabled button stays inert.
    Accessible.onPressAction: if (root.enabled) root.clicked()

    contentItem: PlainLabel {
        id: label
        text: root.title
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        font.pixelSize: Theme.footerButtonTitleSize
        font.weight: Theme.weightSemibold
        Accessible.ignored: true
    }

    background: ButtonSurface {
        control: root
    }
}
