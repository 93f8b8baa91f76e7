import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// One command of a drop-down menu: its title and, right-aligned, its key
// equivalent.
MenuItem {
    id: root

    // The key equivalent as the platform writes it ("Ctrl+Q"), or empty.
    property string shortcutText: ""

    leftPadding: Theme.menuItemInset
    rightPadding: Theme.menuItemInset
    topPadding: Theme.menuItemVerticalInset
    bottomPadding: Theme.menuItemVerticalInset

    contentItem: RowLayout {
        spacing: Theme.menuItemSpacing

        Text {
            Layout.fillWidth: true
            text: root.text
            textFormat: Text.PlainText
            color: Theme.whiteAlpha(root.enabled ? Theme.menuTextOpacity : Theme.disabledOpacity)
            font.pixelSize: Theme.menuTextSize
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
