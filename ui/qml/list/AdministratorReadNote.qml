import QtQuick

// Beside the warnings: the facts of the firmware tables on show were read
// with the administrator's rights the user gave, so say where they came from.
Rectangle {
    id: root

    required property string note

    implicitHeight: Math.max(icon.height, label.implicitHeight) + 2 * Theme.noteInset
    radius: Theme.noteRadius
    color: Theme.tint(Theme.green, Theme.noteFillOpacity)
    border.width: Theme.outlineWidth
    border.color: Theme.tint(Theme.green, Theme.noteOutlineOpacity)

    Icon {
        id: icon
        x: Theme.noteInset
        // Centre on the first line of a wrapped note.
        y: Theme.noteInset + Math.max(0, (label.fontInfo.pixelSize * 1.2 - height) / 2)
        name: "checkmark"
        color: Theme.green
        size: Theme.noteTextSize
        stroke: Theme.strokeSemibold
    }
    PlainLabel {
        id: label
        objectName: "administratorReadNoteText"
        x: icon.x + icon.width + Theme.noteIconSpacing
        y: Theme.noteInset
        width: root.width - x - Theme.noteInset
        text: root.note
        wrapMode: Text.Wrap
        elide: Text.ElideNone
        font.pixelSize: Theme.noteTextSize
        font.weight: Theme.weightMedium
        color: Theme.green
    }
}
