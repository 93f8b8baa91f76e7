pragma ComponentBehavior: Bound
import QtQuick

// The scan's warnings, one orange line each, above the list or placeholder.
Rectangle {
    id: root

    required property var warnings
    // The firmware tables exist but only an administrator may read them.
    property bool offerAdministratorRead: false
    // The elevated read waits for the password dialog, which may stay up for
    // minutes: say so, and let the user give up without waiting.
    property bool administratorReadPending: false

    signal readAsAdministratorRequested()
    signal cancelAdministratorReadRequested()

    implicitHeight: lines.implicitHeight + 2 * Theme.warningInset
    radius: Theme.warningRadius
    color: Theme.tint(Theme.orange, Theme.warningFillOpacity)
    border.width: Theme.outlineWidth
    border.color: Theme.tint(Theme.orange, Theme.warningOutlineOpacity)

    Column {
        id: lines
        x: Theme.warningInset
        y: Theme.warningInset
        width: root.width - 2 * Theme.warningInset
        spacing: Theme.warningSpacing

        Repeater {
            model: root.warnings
            delegate: Item {
                id: line
                required property string modelData
                width: lines.width
                implicitHeight: Math.max(icon.height, label.implicitHeight)

                Icon {
                    id: icon
                    name: "exclamationmark.triangle.fill"
                    color: Theme.orange
                    size: Theme.warningTextSize
                    stroke: Theme.strokeSemibold
                    // Centre on the first line of a wrapped warning.
                    y: Math.max(0, (label.fontInfo.pixelSize * 1.2 - height) / 2)
                }
                PlainLabel {
                    id: label
                    objectName: "warningText"
                    x: icon.width + Theme.warningIconSpacing
                    width: line.width - x
                    // A tool's error message ends with its line break, which
                    // would show as an empty second line.
                    text: line.modelData.replace(/[\r\n]+$/, "")
                    wrapMode: Text.Wrap
                    elide: Text.ElideNone
                    font.pixelSize: Theme.warningTextSize
                    font.weight: Theme.weightMedium
                    color: Theme.orange
                }
            }
        }

        Item {
            width: lines.width
            visible: root.administratorReadPending
            implicitHeight: Math.max(waitingLabel.implicitHeight, cancelButton.implicitHeight)

            PlainLabel {
                id: waitingLabel
                objectName: "administratorWaitingText"
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - cancelButton.width - Theme.warningIconSpacing
                text: "Waiting for authorisation\u2026"
                font.pixelSize: Theme.warningTextSize
                font.weight: Theme.weightMedium
                color: Theme.orange
            }
            SheetButton {
                id: cancelButton
                objectName: "cancelAdministratorReadButton"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: "Cancel"
                onClicked: root.cancelAdministratorReadRequested()
            }
        }

        SheetButton {
            objectName: "readAsAdministratorButton"
            visible: root.offerAdministratorRead
            text: "Read as Administrator\u2026"
            onClicked: root.readAsAdministratorRequested()
        }
    }
}
