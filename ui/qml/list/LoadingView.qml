import QtQuick

// Shown while the first scan runs and no items exist yet.
Item {
    id: root

    Column {
        anchors.centerIn: parent
        width: root.width
        spacing: Theme.placeholderSpacing

        // Twelve spokes fading around the circle, turning in steps, the way a
        // desktop's large progress spinner looks: one drawing, turned by a
        // twelfth every step.
        Image {
            id: spinner
            objectName: "loadingSpinner"

            property int step: 0

            anchors.horizontalCenter: parent.horizontalCenter
            width: Theme.spinnerSize
            height: Theme.spinnerSize
            sourceSize.width: Math.ceil(Theme.spinnerSize * Screen.devicePixelRatio)
            sourceSize.height: Math.ceil(Theme.spinnerSize * Screen.devicePixelRatio)
            source: "image://spinner/" + Theme.white.toString().substring(1)
            rotation: spinner.step * 30
            smooth: true

            Accessible.role: Accessible.ProgressBar
            Accessible.name: "Reading dmidecode output..."

            Timer {
                interval: 83
                repeat: true
                running: root.visible
                onTriggered: spinner.step = (spinner.step + 1) % 12
            }
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
