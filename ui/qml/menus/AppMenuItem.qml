import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// One command of a drop-down menu: a check mark when it is a checked toggle,
// its title and, right-aligned, its key equivalent.
MenuItem {
    id: root

    // The key equivalent as the platform writes it ("Ctrl+Q"), or empty.
    property string shortcutText: ""

    leftPadding: Theme.menuItemInset
    rightPadding: Theme.menuItemInset
    topPadding: Theme.menuItemVerticalInset
    bottomPadding: Theme.menuItemVerticalInset

    // The check mark is drawn in the content, in the menu's own colours.
    indicator: null

    contentItem: RowLayout {
        spacing: Theme.menuItemSpacing

        Text {
            Layout.fillWidth: true
            leftPadding: root.checkable ? Theme.menuCheckSize : 0
            text: root.text
            textFormat: Text.PlainText
            color: Theme.whiteAlpha(root.enabled ? Theme.menuTextOpacity : Theme.disabledOpacity)
            font.pixelSize: Theme.menuTextSize

            Icon {
                objectName: "menuCheckMark"
                visible: root.checkable && root.checked
                anchors.verticalCenter: parent.verticalCenter
                name: "checkmark"
                size: Theme.menuTextSize
                stroke: Theme.strokeSemibold
                opacity: Theme.menuTextOpacity
            }
        }
        Text {
            visible: root.shortcutText.length > 0
            text: root.shortcutText
            textFormat: Text.PlainText
            color: Theme.whiteAlpha(Theme.menuShortcutOpacity)
            font.pixelSize: Theme.menuTextSize
        }
    }

    background: Rectangle {
        implicitHeight: Theme.menuItemHeight
        radius: Theme.menuHighlightRadius
        color: root.highlighted ? Theme.tint(Theme.accent, Theme.menuSelectedOpacity) : "transparent"
    }
}
