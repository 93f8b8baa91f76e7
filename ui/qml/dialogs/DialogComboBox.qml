pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic

// A drop-down list of the window's dialogs, its entries plain text, drawn
// like the dialog's text fields.
ComboBox {
    id: root

    // What a screen reader calls the list.
    required property string accessibleName

    font.pixelSize: Theme.bodySize
    Accessible.name: root.accessibleName

    contentItem: Text {
        leftPadding: Theme.saveDialogSpacing
        text: root.displayText
        textFormat: Text.PlainText
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        color: Theme.white
        font: root.font
    }
    indicator: Icon {
        x: root.width - width - Theme.saveDialogSpacing
        anchors.verticalCenter: parent.verticalCenter
        name: "chevron.up.chevron.down"
        size: Theme.bodySize
        opacity: Theme.itemIconOpacity
    }
    background: Rectangle {
        implicitHeight: Theme.sheetButtonMinimumHeight
        radius: Theme.controlRadius
        color: Theme.whiteAlpha(Theme.controlFillOpacity
                                + (root.pressed ? Theme.pressedOverlayOpacity
                                                : root.hovered ? Theme.hoverOverlayOpacity : 0))
        border.width: root.visualFocus ? Theme.focusRingWidth : Theme.outlineWidth
        border.color: root.visualFocus ? Theme.accent : Theme.whiteAlpha(Theme.controlOutlineOpacity)
    }
    delegate: ItemDelegate {
        id: entry

        required property int index
        required property string modelData

        width: ListView.view.width
        highlighted: root.highlightedIndex === entry.index
        contentItem: Text {
            text: entry.modelData
            textFormat: Text.PlainText
            color: Theme.white
            font: root.font
        }
        background: Rectangle {
            radius: Theme.menuHighlightRadius
            color: entry.highlighted ? Theme.tint(Theme.accent, Theme.menuSelectedOpacity)
                                     : "transparent"
        }
    }
    popup.background: Rectangle {
        color: Theme.listBackground
        radius: Theme.menuRadius
        border.width: Theme.outlineWidth
        border.color: Theme.whiteAlpha(Theme.controlOutlineOpacity)
    }
}
