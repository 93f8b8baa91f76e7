import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T

// The modal alert that reports a failed save: what failed, the system's own
// description of the error and an OK button. The message may name files and
// folders, so it is shown as plain text.
Popup {
    id: root

    // The error being shown.
    property string message: ""

    function present(text) {
        root.message = text
        root.open()
    }

    objectName: "errorAlert"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Theme.alertWidth
    modal: true
    dim: true
    focus: true
    padding: Theme.alertInset
    closePolicy: Popup.CloseOnEscape

    onOpened: okButton.forceActiveFocus()

    T.Overlay.modal: Rectangle {
        color: Theme.sheetDimColor
    }

    background: Rectangle {
        color: Theme.sidebarBackground
        radius: Theme.sheetRadius
        border.width: Theme.outlineWidth
        border.color: Theme.whiteAlpha(Theme.sheetOutlineOpacity)
    }

    // Built once per window, so ids inside the content item cost nothing.

    contentItem: ColumnLayout { // qmllint disable deferred-property-id
        spacing: Theme.alertSpacing

        Icon {
            Layout.alignment: Qt.AlignHCenter
            name: "exclamationmark.triangle.fill"
            color: Theme.orange
            size: Theme.alertIconSize
        }

        Label {
            objectName: "errorAlertTitle"
            Layout.fillWidth: true
            text: "The report could not be saved."
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            color: Theme.white
            font.pixelSize: Theme.alertTextSize
            font.weight: Theme.weightSemibold
        }

        Label {
            objectName: "errorAlertMessage"
            Layout.fillWidth: true
            text: root.message
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            color: Theme.whiteAlpha(Theme.alertMessageOpacity)
            font.pixelSize: Theme.alertMessageSize
        }

        SheetButton {
            id: okButton

            objectName: "errorAlertOkButton"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: Theme.alertSpacing
            text: "OK"
            onClicked: root.close()
            Keys.onReturnPressed: root.close()
            Keys.onEnterPressed: root.close()
        }
    }
}
