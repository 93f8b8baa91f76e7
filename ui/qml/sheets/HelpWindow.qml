import QtQuick
import Kestrin
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
        // qmllint disable type
        // (Window.screen is a QScreen, which qmllint 6.4 has no description of.)
        root.x = area.virtualX + Math.max(0, Math.round((area.width - root.width) / 2))
        root.y = area.virtualY + Math.max(0, Math.round((area.height - root.height) / 2))
        // qmllint enable type
    }

    ReadOnlyTextView {
        objectName: "helpFlickable"
        textObjectName: "helpText"
        anchors.fill: parent
        focus: true
        inset: Theme.helpTextInset
        text: AppInfo.helpText
        textColor: Theme.whiteAlpha(Theme.helpTextOpacity)
        font.pixelSize: Theme.helpTextSize
    }

    // The desktop's close-window key.
    Shortcut {
        // StandardKey is not described to the linter of Qt 6.4.
        sequences: [StandardKey.Close] // qmllint disable unqualified
        onActivated: root.close()
    }
}
