import QtQuick
import QtQuick.Controls.Basic

// Shown while the first scan runs and no items exist yet.
Item {
    id: root

    Column {
        anchors.centerIn: parent
        width: root.width
        spacing: Theme.placeholderSpacing

        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            implicitWidth: Theme.spinnerSize
            implicitHeight: Theme.spinnerSize
            running: root.visible
            palette.dark: Theme.white
            Accessible.name: "Reading dmidecode output..."
        }
        PlainLabel {
            objectName: "loadingTitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "Reading dmidecode output..."
            font.pixelSize: Theme.loadingTitleSize
            font.weight: Theme.weightSemibold
        }
        PlainLabel {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "The list will be filtered automatically when scanning finishes."
            font.pixelSize: Theme.placeholderTextSize
            font.weight: Theme.weightMedium
            color: Theme.whiteAlpha(Theme.placeholderTextOpacity)
        }
    }
}
