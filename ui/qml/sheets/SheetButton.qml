import QtQuick
import QtQuick.Controls.Basic

// The plain push button of sheets and panels ("Close"): text only, on the
// faint fill and outline the window's other controls use.
Button {
    id: root

    implicitWidth: Math.max(Theme.sheetButtonMinimumWidth, contentItem.implicitWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(Theme.sheetButtonMinimumHeight, contentItem.implicitHeight + topPadding + bottomPadding)
    leftPadding: Theme.sheetButtonHorizontalInset
    rightPadding: Theme.sheetButtonHorizontalInset
    topPadding: Theme.sheetButtonVerticalInset
    bottomPadding: Theme.sheetButtonVerticalInset
    focusPolicy: Qt.TabFocus

    Accessible.name: root.text
    // With Accessible set here, assistive technology's press action only
    // reaches this handler, not the button's own click.
    Accessible.onPressAction: root.clicked()

    contentItem: Text {
        text: root.text
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        color: Theme.whiteAlpha(root.enabled ? Theme.sheetButtonTextOpacity : Theme.disabledOpacity)
        font.pixelSize: Theme.sheetButtonTextSize
        font.weight: Theme.weightMedium
    }

    // A highlighted button is the one Return chooses (Save): accent filled.
    background: Rectangle {
        radius: Theme.controlRadius
        color: root.highlighted
               ? Theme.tint(Theme.accent, root.down ? 0.7 : 1)
               : Theme.whiteAlpha(Theme.controlFillOpacity
                                  + (root.down ? Theme.pressedOverlayOpacity
                                               : root.hovered ? Theme.hoverOverlayOpacity : 0))
        border.width: root.visualFocus ? Theme.focusRingWidth : Theme.outlineWidth
        border.color: root.visualFocus ? Theme.accent : Theme.whiteAlpha(Theme.controlOutlineOpacity)
    }
}
