pragma Singleton
import QtQuick

// Owns the Help window: builds it on the first show(), brings the same one to
// the front on later calls, and forgets it when it closes, so that the next
// show() builds a fresh one (centred, scrolled to the top). The window is
// loaded by name, so nothing of it is compiled before Help is first asked for.
QtObject {
    id: root

    // The Help window while it exists.
    property Window window: null

    function show() {
        if (!root.window) {
            const component = Qt.createComponent("HelpWindow.qml")
            // Parented to this object so the garbage collector keeps it; a
            // QtObject parent gives it no transient parent.
            const created = component.status === Component.Ready ? component.createObject(root) : null
            if (!created) {
                console.warn("Kestrin: the Help window could not be created:", component.errorString())
                return
            }
            created.closing.connect(function () {
                root.windowClosing(created)
            })
            created.centre()
            root.window = created
        }
        root.window.show()
        root.window.raise()
        root.window.requestActivate()
    }

    // The closing window is dropped only if it is the one held here.
    function windowClosing(closingWindow) {
        if (closingWindow !== root.window)
            return
        root.window = null
        closingWindow.destroy()
    }
}
