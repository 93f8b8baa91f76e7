import QtQuick
import Kestrin
import QtQuick.Controls.Basic
import QtQuick.Window

// The Help window: the fixed help text, read-only and selectable, in a
// scrolling view. A top-level window of its own (no transient parent), so it
// keeps the application running when the main window is closed first.
Window {
    id: root

    objectName: "helpWindow"
    title: "Kestrin Help"
    width: Theme.helpWindowWidth
    height: Theme.helpWindowHeight
    minimumWidth: Theme.helpWindowMinimumWidth
    minimumHeight: Theme.helpWindowMinimumHeight
    color: Theme.windowBackground
    flags: Qt.Window | Qt.WindowTitleHint | Qt.WindowSystemMenuHint | Qt.WindowCloseButtonHint
           | Qt.WindowMinimizeButtonHint | Qt.WindowMaximizeButtonHint
    transientParent: null

    // Places the window in the middle of its screen.
    function centre() {
        const area = root.screen
        if (!area)
            return
        root.x = area.virtualX + Math.max(0, Math.round((area.width - root.width) / 2))
        root.y = area.virtualY + Math.max(0, Math.round((area.height - root.height) / 2))
    }

    Flickable {
        id: flick

        objectName: "helpFlickable"
        anchors.fill: parent
        clip: true
        contentWidth: width
        contentHeight: helpText.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        interactive: false

        ScrollBar.vertical: SheetScrollBar {}

        WheelHandler {
            target: null
            onWheel: function (event) {
                const step = event.pixelDelta.y !== 0 ? event.pixelDelta.y
                                                      : event.angleDelta.y / 120 * Theme.wheelStep
                flick.contentY = Math.max(0, Math.min(flick.contentHeight - flick.height,
                                                      flick.contentY - step))
            }
        }

        TextEdit {
            id: helpText

            objectName: "helpText"
            width: flick.width
            padding: Theme.helpTextInset
            textFormat: TextEdit.PlainText
            text: AppInfo.helpText
            readOnly: true
            selectByMouse: true
            selectByKeyboard: true
            wrapMode: TextEdit.Wrap
            color: Theme.whiteAlpha(Theme.helpTextOpacity)
            selectionColor: Theme.tint(Theme.accent, Theme.selectionOpacity)
            selectedTextColor: Theme.white
            font.pixelSize: Theme.helpTextSize
            focus: true
        }
    }
}
