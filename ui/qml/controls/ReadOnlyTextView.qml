import QtQuick
import QtQuick.Controls.Basic

// A read-only plain-text view: selectable with the pointer, wrapping at the
// view's width, scrolling vertically with the wheel, the scroll bar and the
// keyboard (arrows, Page Up/Down, Home/End).
//
// The text itself never takes the keyboard focus: in Qt 6.4 a focused
// read-only TextEdit accepts every shortcut override, which would swallow the
// application's key equivalents (Quit, Help). Copy and Select All are
// shortcuts of the view instead.
Flickable {
    id: root

    property alias text: textBlock.text
    property alias textObjectName: textBlock.objectName
    property alias font: textBlock.font
    property alias textColor: textBlock.color
    property alias inset: textBlock.padding
    readonly property alias textItem: textBlock

    function scrollBy(delta) {
        root.contentY = Math.max(0, Math.min(root.contentHeight - root.height, root.contentY + delta))
    }

    clip: true
    contentWidth: width
    contentHeight: textBlock.implicitHeight
    boundsBehavior: Flickable.StopAtBounds
    // The pointer selects text; the wheel and the scroll bar scroll.
    interactive: false
    activeFocusOnTab: true

    ScrollBar.vertical: SheetScrollBar {}

    Keys.onPressed: function (event) {
        const page = Math.max(Theme.wheelStep, root.height - Theme.wheelStep)
        switch (event.key) {
        case Qt.Key_Up:
            root.scrollBy(-Theme.wheelStep)
            break
        case Qt.Key_Down:
            root.scrollBy(Theme.wheelStep)
            break
        case Qt.Key_PageUp:
            root.scrollBy(-page)
            break
        case Qt.Key_PageDown:
        case Qt.Key_Space:
            root.scrollBy(page)
            break
        case Qt.Key_Home:
            root.contentY = 0
            break
        case Qt.Key_End:
            root.scrollBy(root.contentHeight)
            break
        default:
            return
        }
        event.accepted = true
    }

    Shortcut {
        // StandardKey is not described to the linter of Qt 6.4.
        sequences: [StandardKey.Copy] // qmllint disable unqualified
        enabled: root.visible && textBlock.selectedText.length > 0
        onActivated: textBlock.copy()
    }

    Shortcut {
        sequences: [StandardKey.SelectAll] // qmllint disable unqualified
        enabled: root.visible
        onActivated: textBlock.selectAll()
    }

    WheelHandler {
        target: null
        onWheel: function (event) {
            const step = event.pixelDelta.y !== 0 ? event.pixelDelta.y
                                                  : event.angleDelta.y / 120 * Theme.wheelStep
            root.scrollBy(-step)
        }
    }

    TextEdit {
        id: textBlock

        width: root.width
        // Firmware and tool output is untrusted: never rich text.
        textFormat: TextEdit.PlainText
        readOnly: true
        selectByMouse: true
        selectByKeyboard: false
        activeFocusOnPress: false
        persistentSelection: true
        wrapMode: TextEdit.Wrap
        selectionColor: Theme.tint(Theme.accent, Theme.selectionOpacity)
        selectedTextColor: Theme.white
    }
}
