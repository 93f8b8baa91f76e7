import QtQuick
import Kestrin

// Above the list while what is shown is compared with a saved report: which
// file, how many facts differ, and the two ways out of the plain list of
// differences (Show Unchanged, End Comparison).
Rectangle {
    id: root

    required property BrowserModel browser

    implicitHeight: content.implicitHeight + 2 * Theme.bannerInset
    radius: Theme.bannerRadius
    color: Theme.tint(Theme.changedColor, Theme.bannerFillOpacity)
    border.width: Theme.outlineWidth
    border.color: Theme.tint(Theme.changedColor, Theme.bannerOutlineOpacity)

    Column {
        id: content
        x: Theme.bannerInset
        y: Theme.bannerInset
        width: root.width - 2 * Theme.bannerInset
        spacing: Theme.bannerSpacing

        PlainLabel {
            objectName: "comparisonHeading"
            width: content.width
            text: root.browser.comparisonHeading
            font.pixelSize: Theme.bannerTitleSize
            font.weight: Theme.weightSemibold
        }
        PlainLabel {
            objectName: "comparisonFile"
            width: content.width
            text: "Compared with " + root.browser.comparedReportName
            font.pixelSize: Theme.bannerTextSize
            opacity: Theme.bannerTextOpacity
        }
        Row {
            spacing: Theme.bannerRowSpacing

            SheetButton {
                objectName: "showUnchangedButton"
                text: root.browser.showUnchanged ? "Hide Unchanged" : "Show Unchanged"
                onClicked: root.browser.showUnchanged = !root.browser.showUnchanged
            }
            SheetButton {
                objectName: "endComparisonButton"
                text: "End Comparison"
                onClicked: root.browser.endComparison()
            }
        }
    }
}
