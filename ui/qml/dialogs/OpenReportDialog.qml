import QtQuick
import Kestrin

// Chooses a saved report to open: a Kestrin report, or a saved dmidecode or
// --mac-hardware output (the reader tells them apart by their content). The
// question goes to the desktop's file chooser, else to the window's own
// dialog in its Open mode; only this dialog's own question is answered here.
QtObject {
    id: root

    required property FileChooser chooser
    property string title: "Open Report"
    // The chooser's number for the question asked last; 0 before any.
    property int request: 0

    signal chosen(url file)

    function open() {
        root.request = root.chooser.chooseFile(root.title)
    }

    property Connections answers: Connections {
        target: root.chooser
        function onFileChosen(request: int, file: url) {
            if (request === root.request)
                root.chosen(file)
        }
    }
}
