import QtQuick
import Kestrin

// The band at the bottom of the main column: what is shown, matched and
// scanned, and a strip of report buttons that scrolls sideways when it is
// wider than its 380 points.
Item {
    id: root

    required property BrowserModel browser

    implicitHeight: Math.max(statusLabel.implicitHeight, strip.height) + 2 * Theme.footerVerticalInset

    PlainLabel {
        id: statusLabel
        objectName: "footerStatus"
        x: Theme.footerSideInset
        width: Math.max(0, Math.min(implicitWidth, strip.x - Theme.footerSpacing - Theme.footerSpacerMinimum
                                                   - Theme.footerSpacing - x))
        anchors.verticalCenter: parent.verticalCenter
        text: root.browser.pagedCount + " shown \u2022 " + root.browser.filteredCount + " matched \u2022 "
              + root.browser.itemCount + " total filtered items"
        maximumLineCount: 1
        font.pixelSize: Theme.footerStatusSize
        font.weight: Theme.weightMedium
        color: Theme.whiteAlpha(Theme.footerStatusOpacity)
    }

    Flickable {
        id: strip
        objectName: "footerStrip"
        width: Math.min(Theme.footerStripMaximumWidth, buttons.implicitWidth)
        height: buttons.implicitHeight
        x: root.width - Theme.footerSideInset - width
        anchors.verticalCenter: parent.verticalCenter
        contentWidth: buttons.implicitWidth
        contentHeight: buttons.implicitHeight
        flickableDirection: Flickable.HorizontalFlick
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        // Keeps a button that receives keyboard focus scrolled into view.
        function reveal(item) {
            if (item.x < contentX)
                contentX = item.x
            else if (item.x + item.width > contentX + width)
                contentX = item.x + item.width - width
        }

        // A vertical wheel scrolls the strip sideways: it has no other use here.
        WheelHandler {
            orientation: Qt.Horizontal
            acceptedDevices: PointerDevice.Mouse | PointerDevice.TouchPad
            onWheel: event => {
                const delta = event.angleDelta.x !== 0 ? event.angleDelta.x : event.angleDelta.y
                strip.contentX = Math.max(0, Math.min(strip.contentWidth - strip.width,
                                                      strip.contentX - delta / 2))
            }
        }

        Row {
            id: buttons
            spacing: Theme.footerStripSpacing

            FooterButton {
                objectName: "footerCopyVisible"
                title: "Copy Visible"
                onClicked: root.browser.copyVisibleReport()
                onActiveFocusChanged: if (activeFocus) strip.reveal(this)
            }
            FooterButton {
                objectName: "footerSaveReport"
                title: "Save Report"
                onClicked: root.browser.saveReport()
                onActiveFocusChanged: if (activeFocus) strip.reveal(this)
            }
            FooterButton {
                objectName: "footerRawOutput"
                title: "Raw Output"
                onClicked: root.browser.showRawOutput = true
                onActiveFocusChanged: if (activeFocus) strip.reveal(this)
            }
        }
    }
}
