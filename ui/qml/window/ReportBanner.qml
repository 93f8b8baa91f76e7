import QtQuick
import Kestrin

// Above the list while a saved report is shown in place of a scan: which file,
// when and by which version it was written, whether it was saved masked, and
// the way back to this computer.
Rectangle {
    id: root

    required property BrowserModel browser

    implicitHeight: content.implicitHeight + 2 * Theme.bannerInset
    radius: Theme.bannerRadius
    color: Theme.tint(Theme.accent, Theme.bannerFillOpacity)
    border.width: Theme.outlineWidth
    border.color: Theme.tint(Theme.accent, Theme.bannerOutlineOpacity)

    Column {
        id: content
        x: Theme.bannerInset
        y: Theme.bannerInset
        width: root.width - 2 * Theme.bannerInset
        spacing: Theme.bannerSpacing

        PlainLabel {
            objectName: "reportBannerFile"
            width: content.width
            text: root.browser.reportFileName
            font.pixelSize: Theme.bannerTitleSize
            font.weight: Theme.weightSemibold
        }
        PlainLabel {
            objectName: "reportBannerGenerated"
            width: content.width
            visible: root.browser.reportGenerated.length > 0
            text: root.browser.reportKestrinVersion.length > 0
                  ? "Generated " + root.browser.reportGenerated + " with Kestrin " + root.browser.reportKestrinVersion
                  : "Generated " + root.browser.reportGenerated
            font.pixelSize: Theme.bannerTextSize
            opacity: Theme.bannerTextOpacity
        }
        PlainLabel {
            objectName: "reportBannerMasked"
            width: content.width
            visible: root.browser.reportIdentifiersHidden
            text: "Identifiers were hidden when it was saved"
            font.pixelSize: Theme.bannerTextSize
            opacity: Theme.bannerTextOpacity
        }
        PlainLabel {
            objectName: "reportBannerPage"
            width: content.width
            visible: root.browser.reportPageNote.length > 0
            text: root.browser.reportPageNote
            font.pixelSize: Theme.bannerTextSize
            opacity: Theme.bannerTextOpacity
        }
        SheetButton {
            objectName: "backToThisComputerButton"
            text: "Back to This Computer"
            enabled: !root.browser.isScanning
            onClicked: root.browser.backToThisComputer()
        }
    }
}
