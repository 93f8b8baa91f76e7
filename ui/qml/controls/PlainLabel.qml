import QtQuick

// Text of the window. Always plain text: strings from the tool and the firmware
// are untrusted and must never be read as markup. Screen readers get the same
// words that are drawn.
Text {
    id: root

    color: Theme.white
    textFormat: Text.PlainText
    elide: Text.ElideRight
    font.pixelSize: Theme.bodySize

    Accessible.role: Accessible.StaticText
    Accessible.name: root.text
    // Hidden text (a placeholder not shown, a header of a row that has none)
    // is not offered to screen readers either.
    Accessible.ignored: !root.visible
}
