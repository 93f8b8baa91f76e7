import QtQuick
import Kestrin

// The band at the top of the main column: title and subtitle, search field,
// Refresh and Raw Output. When the band is narrow the spacer and the search
// field give way first (the field down to its minimum), then the title block.
Rectangle {
    id: root

    required property BrowserModel browser

    function focusSearch() {
        search.focusField()
    }

    color: Theme.contentBackground
    implicitHeight: Theme.toolbarHeight

    // Hit-testing over the whole band, so clicks on empty parts of it are not
    // passed to whatever lies below.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
    }

    readonly property real innerWidth: width - 2 * Theme.toolbarSideInset
    readonly property real buttonsWidth: privacyButton.implicitWidth + refreshButton.implicitWidth
                                         + rawButton.implicitWidth
    // Six children, five gaps.
    readonly property real fixedWidth: buttonsWidth + 5 * Theme.toolbarSpacing
    readonly property real titleIdealWidth: Math.max(titleLabel.implicitWidth, subtitleLabel.implicitWidth)
    readonly property real titleWidth: Math.max(0, Math.min(titleIdealWidth,
        innerWidth - fixedWidth - Theme.toolbarSpacerMinimum - Theme.searchMinimumWidth))
    // What the title leaves is shared by the spacer and the field; the field,
    // the less flexible of the two, takes its half first, within its limits.
    readonly property real searchWidth: Math.max(Theme.searchMinimumWidth, Math.min(Theme.searchMaximumWidth,
        (innerWidth - fixedWidth - titleWidth) / 2))

    Column {
        id: titleBlock
        x: Theme.toolbarSideInset
        width: root.titleWidth
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.toolbarTitleSpacing

        PlainLabel {
            id: titleLabel
            objectName: "toolbarTitle"
            width: parent.width
            text: "Kestrin"
            maximumLineCount: 1
            font.pixelSize: Theme.toolbarTitleSize
            font.weight: Theme.weightBold
        }
        PlainLabel {
            id: subtitleLabel
            objectName: "toolbarSubtitle"
            width: parent.width
            text: "Modern filtered list of useful dmidecode hardware information."
            maximumLineCount: 1
            font.pixelSize: Theme.toolbarSubtitleSize
            font.weight: Theme.weightMedium
            color: Theme.whiteAlpha(Theme.toolbarSubtitleOpacity)
        }
    }

    SearchField {
        id: search
        browser: root.browser
        width: root.searchWidth
        anchors.right: privacyButton.left
        anchors.rightMargin: Theme.toolbarSpacing
        anchors.verticalCenter: parent.verticalCenter
    }

    // On: serial numbers, UUIDs and MAC addresses are masked in the list and
    // in everything copied or saved.
    ToolbarButton {
        id: privacyButton
        objectName: "toolbarHideIdentifiers"
        title: "Hide Identifiers"
        symbol: root.browser.hideIdentifiers ? "eye.slash" : "eye"
        checkable: true
        checked: root.browser.hideIdentifiers
        anchors.right: refreshButton.left
        anchors.rightMargin: Theme.toolbarSpacing
        anchors.verticalCenter: parent.verticalCenter
        onClicked: root.browser.hideIdentifiers = !root.browser.hideIdentifiers
    }

    ToolbarButton {
        id: refreshButton
        objectName: "toolbarRefresh"
        title: "Refresh"
        symbol: "arrow.clockwise"
        enabled: !root.browser.isScanning
        anchors.right: rawButton.left
        anchors.rightMargin: Theme.toolbarSpacing
        anchors.verticalCenter: parent.verticalCenter
        onClicked: root.browser.refresh()
    }

    ToolbarButton {
        id: rawButton
        objectName: "toolbarRawOutput"
        title: "Raw Output"
        symbol: "terminal"
        anchors.right: parent.right
        anchors.rightMargin: Theme.toolbarSideInset
        anchors.verticalCenter: parent.verticalCenter
        onClicked: root.browser.showRawOutput = true
    }
}
