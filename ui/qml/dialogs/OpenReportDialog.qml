import QtQuick
import QtQuick.Dialogs

// Chooses a saved report to open: a Kestrin report, or a saved dmidecode or
// --mac-hardware output (the reader tells them apart by their content).
FileDialog {
    id: root

    signal chosen(url file)

    title: "Open Report"
    fileMode: FileDialog.OpenFile
    nameFilters: ["Reports and tool outputs (*.json *.txt)", "All files (*)"]
    onAccepted: root.chosen(root.selectedFile)
}
