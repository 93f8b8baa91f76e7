import QtQuick
import Kestrin
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T

// The About panel: icon, name, version and build, and the credits. A small
// modal panel over the main window in the window's own dark style; Escape,
// a click outside or Close dismiss it. All of its text is Kestrin's own.
Popup {
    id: root

    objectName: "aboutPanel"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Theme.aboutWidth
    modal: true
    dim: true
    focus: true
    padding: Theme.aboutInset
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

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
        spacing: Theme.aboutSpacing

        Image {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: Theme.aboutIconSize
            Layout.preferredHeight: Theme.aboutIconSize
            // Pixels rendered at build time, shown without decoding.
            source: "image://appicon/kestrin"
            sourceSize.width: Math.ceil(Theme.aboutIconSize * Screen.devicePixelRatio)
            sourceSize.height: Math.ceil(Theme.aboutIconSize * Screen.devicePixelRatio)
            fillMode: Image.PreserveAspectFit
            smooth: true
            Accessible.ignored: true
        }

        Label {
            objectName: "aboutName"
            Layout.alignment: Qt.AlignHCenter
            text: AppInfo.name
            textFormat: Text.PlainText
            color: Theme.white
            font.pixelSize: Theme.aboutNameSize
            font.weight: Theme.weightBold
        }

        Label {
            objectName: "aboutVersion"
            Layout.alignment: Qt.AlignHCenter
            text: "Version " + AppInfo.version + " (" + AppInfo.build + ")"
            textFormat: Text.PlainText
            color: Theme.whiteAlpha(Theme.aboutSecondaryOpacity)
            font.pixelSize: Theme.aboutTextSize
        }

        Label {
            objectName: "aboutAttribution"
            Layout.fillWidth: true
            Layout.topMargin: Theme.aboutSpacing
            text: AppInfo.attribution
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            color: Theme.whiteAlpha(Theme.aboutTextOpacity)
            font.pixelSize: Theme.aboutCreditsSize
        }

        // The contact address, as a link that starts an e-mail to it.
        Label {
            id: contactLink

            objectName: "aboutContactLink"
            Layout.alignment: Qt.AlignHCenter
            text: AppInfo.contactAddress
            textFormat: Text.PlainText
            color: Theme.accent
            font.pixelSize: Theme.aboutCreditsSize
            font.underline: linkArea.containsMouse
            Accessible.role: Accessible.Link
            Accessible.name: AppInfo.contactAddress
            Accessible.onPressAction: root.openContact()

            MouseArea {
                id: linkArea

                anchors.fill: parent
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onClicked: root.openContact()
            }
        }

        Label {
            objectName: "aboutCredits"
            Layout.fillWidth: true
            // The credits begin with the blank line that ends the address line.
            text: AppInfo.dmidecodeCredits.replace(/^\n+/, "").replace(/\n+$/, "")
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            lineHeight: Theme.aboutCreditsLineHeight
            color: Theme.whiteAlpha(Theme.aboutSecondaryOpacity)
            font.pixelSize: Theme.aboutCreditsSize
        }

        SheetButton {
            objectName: "aboutCloseButton"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: Theme.aboutSpacing
            text: "Close"
            onClicked: root.close()
        }
    }

    function openContact() {
        Qt.openUrlExternally(AppInfo.contactUrl)
    }
}
