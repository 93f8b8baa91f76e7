import QtQuick
import Kestrin
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T

// The full, unfiltered tool output in a modal sheet over the main window. It
// is open exactly while the browser's showRawOutput is true; every way of
// closing it (Close, Escape) sets that back to false.
//
// The text is one read-only TextEdit (ReadOnlyTextView), so a selection can
// span the whole output. Scrolling stays smooth for realistic outputs (10,000
// lines); the cost is laying the text out once when it arrives, so the text
// is only bound while the sheet is shown.
Popup {
    id: root

    required property BrowserModel browser

    readonly property string placeholderText: "No raw output available."
    // What the text block shows: the output, or the placeholder when the
    // output has no characters at all (white space is shown as it is).
    readonly property string shownText: root.browser.rawOutput.length === 0
                                        ? root.placeholderText : root.browser.rawOutput

    objectName: "rawOutputSheet"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.max(Theme.rawSheetMinimumWidth,
                    Math.min(parent ? parent.width - 2 * Theme.sheetMargin : 0, Theme.rawSheetIdealWidth))
    height: Math.max(Theme.rawSheetMinimumHeight,
                     Math.min(parent ? parent.height - 2 * Theme.sheetMargin : 0, Theme.rawSheetIdealHeight))
    modal: true
    dim: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape

    function syncWithBrowser() {
        if (root.browser.showRawOutput && !root.visible)
            root.open()
        else if (!root.browser.showRawOutput && root.visible)
            root.close()
    }

    Component.onCompleted: root.syncWithBrowser()
    onOpened: {
        flick.contentY = 0
        flick.forceActiveFocus()
    }
    onClosed: root.browser.showRawOutput = false

    Connections {
        target: root.browser
        function onShowRawOutputChanged() {
            root.syncWithBrowser()
        }
    }

    T.Overlay.modal: Rectangle {
        color: Theme.sheetDimColor
    }

    background: Rectangle {
        color: Theme.windowBackground
        radius: Theme.sheetRadius
        border.width: Theme.outlineWidth
        border.color: Theme.whiteAlpha(Theme.sheetOutlineOpacity)
    }

    // Built once per window, so ids inside the content item cost nothing.

    contentItem: ColumnLayout { // qmllint disable deferred-property-id
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: Theme.rawSheetInset
            spacing: Theme.rawSheetHeaderSpacing

            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.rawSheetTitleSpacing

                Label {
                    objectName: "rawOutputTitle"
                    Layout.fillWidth: true
                    text: "Raw dmidecode Output"
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: Theme.white
                    font.pixelSize: Theme.rawSheetTitleSize
                    font.weight: Theme.weightBold
                }
                Label {
                    Layout.fillWidth: true
                    text: "Full unfiltered output from the bundled dmidecode tool."
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    color: Theme.whiteAlpha(Theme.rawSheetSubtitleOpacity)
                    font.pixelSize: Theme.rawSheetSubtitleSize
                    font.weight: Theme.weightMedium
                }
            }

            SheetButton {
                objectName: "rawOutputCloseButton"
                text: "Close"
                onClicked: root.close()
            }
        }

        // The separator line over its faint band.
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: Theme.separatorThickness
            color: Theme.separator
        }

        ReadOnlyTextView {
            id: flick

            objectName: "rawOutputFlickable"
            textObjectName: "rawOutputText"
            Layout.fillWidth: true
            Layout.fillHeight: true
            focus: true
            inset: Theme.rawSheetInset
            text: root.visible ? root.shownText : ""
            textColor: Theme.whiteAlpha(Theme.rawTextOpacity)
            font.family: Theme.monospaceFamily
            font.pixelSize: Theme.rawTextSize
            font.weight: Theme.weightMedium
        }
    }
}
