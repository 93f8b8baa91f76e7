import QtQuick
import Kestrin

// The heading of the body: the selected category's title and description, and
// the Visible / Total / Warnings tiles, aligned on the last line of text.
Item {
    id: root

    required property BrowserModel browser

    readonly property bool overview: root.browser.selectedCategory === "Summary"
    // Gaps of the row: default spacing, the flexible spacer, default spacing.
    readonly property real gap: 2 * Theme.headingSpacing + Theme.headingSpacerMinimum
    // Baseline of the description's last line (it wraps when the row is narrow).
    readonly property real descriptionBaseline: titleLabel.height + Theme.headingTitleSpacing
        + descriptionLabel.baselineOffset
        + (descriptionLabel.lineCount - 1) * descriptionLabel.height / Math.max(1, descriptionLabel.lineCount)
    readonly property real tilesTop: descriptionBaseline - tiles.captionBaseline
    readonly property real textTop: Math.max(0, -tilesTop)

    implicitHeight: Math.max(textTop + texts.implicitHeight, textTop + tilesTop + tiles.height)

    Column {
        id: texts
        y: root.textTop
        width: Math.max(0, Math.min(Math.max(titleLabel.implicitWidth, descriptionLabel.implicitWidth),
                                    root.width - root.gap - tiles.width))
        spacing: Theme.headingTitleSpacing

        PlainLabel {
            id: titleLabel
            objectName: "headingTitle"
            width: parent.width
            text: root.overview ? "Overview" : root.browser.selectedCategory
            wrapMode: Text.Wrap
            font.pixelSize: Theme.headingTitleSize
            font.weight: Theme.weightBold
            Accessible.role: Accessible.Heading
        }
        PlainLabel {
            id: descriptionLabel
            objectName: "headingDescription"
            width: parent.width
            text: root.overview ? "Summary of the most important filtered hardware data."
                                : "Filtered entries from dmidecode for this hardware category."
            wrapMode: Text.Wrap
            font.pixelSize: Theme.headingDescriptionSize
            font.weight: Theme.weightMedium
            color: Theme.whiteAlpha(Theme.headingDescriptionOpacity)
        }
    }

    Row {
        id: tiles
        readonly property real captionBaseline: visibleTile.captionBaseline
        anchors.right: parent.right
        y: root.textTop + root.tilesTop
        spacing: Theme.tileSpacing

        MetricPill {
            id: visibleTile
            objectName: "tileVisible"
            title: "Visible"
            value: String(root.browser.filteredCount)
        }
        MetricPill {
            objectName: "tileTotal"
            title: "Total"
            value: String(root.browser.totalUsefulItems)
        }
        MetricPill {
            objectName: "tileWarnings"
            title: "Warnings"
            value: String(root.browser.warnings.length)
        }
    }
}
