import QtQuick

// Shown while the first scan runs and no items exist yet.
Item {
    id: root

    Column {
        anchors.centerIn: parent
        width: root.width
        spacing: Theme.placeholderSpacing

        // Twelve spokes fading around the circle, turning in steps, the way a
        // desktop's large progress spinner looks.
        Item {
            id: spokes
            objectName: "loadingSpinner"

            property int step: 0

            anchors.horizontalCenter: parent.horizontalCenter
            width: Theme.spinnerSize
            height: Theme.spinnerSize

            Accessible.role: Accessible.ProgressBar
            Accessible.name: "Reading dmidecode output..."

            Timer {
                interval: 83
                repeat: true
                running: root.visible
                onTriggered: spokes.step = (spokes.step + 1) % 12
            }

            Repeater {
                model: 12
                Rectangle {
                    required property int index
                    // The leading spoke is brightest; those behind it fade.
                    readonly property int behind: ((spokes.step - index) % 12 + 12) % 12

                    x: (spokes.width - width) / 2
                    y: 0
                    width: Math.max(2, Math.round(Theme.spinnerSize / 11))
                    height: Math.round(Theme.spinnerSize * 0.28)
                    radius: width / 2
                    color: Theme.white
                    opacity: 1 - 0.85 * behind / 12
                    transform: Rotation {
                        origin.x: width / 2
                        origin.y: spokes.height / 2
                        angle: index * 30
                    }
                }
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
