import QtQuick

// One row of the list as it sits in its section card. The list is flat (one
// model row per item); each row draws its own slice of the card: the section
// header above the first row, rounded top corners on the first row, rounded
// bottom corners on the last, and an inset divider below every other row.
Item {
    id: root

    required property int index
    required property string title
    required property string value
    required property string detail
    required property string source
    required property string symbol
    required property string change
    required property string previousValue
    required property string sectionTitle
    required property bool firstInSection
    required property bool lastInSection
    // The final row of the page has no section gap below it.
    property bool lastRow: false
    // The list's current row while the list has the keyboard focus.
    property bool marked: false

    // A click on the row (not on its value text) makes it the current row.
    signal chosen
    // A right click on the row, or on the section header (which offers only
    // the section), at `x`, `y` of `item`.
    signal contextMenuRequested(bool sectionOnly, Item item, real x, real y)
    // The section header's Copy Section.
    signal copySectionRequested

    // The header's text: the title without surrounding white space or line
    // breaks, "Details" when nothing is left, in upper case.
    function cleanTitle(text) {
        const trimmed = text.replace(/^[\t\n\v\f\r \u0085\u00a0\u1680\u2000-\u200a\u2028\u2029\u202f\u205f\u3000]+|[\t\n\v\f\r \u0085\u00a0\u1680\u2000-\u200a\u2028\u2029\u202f\u205f\u3000]+$/g, "")
        return trimmed.length > 0 ? trimmed : "Details"
    }

    objectName: "listRow"
    implicitHeight: column.implicitHeight

    Column {
        id: column
        width: root.width

        Item {
            visible: root.firstInSection
            width: parent.width
            height: visible ? header.implicitHeight + Theme.listSectionHeaderSpacing : 0

            PlainLabel {
                id: header
                objectName: "sectionHeader"
                x: Theme.listSectionTitleInset
                width: copySection.x - Theme.listSectionSpacing - x
                text: root.cleanTitle(root.sectionTitle).toUpperCase()
                maximumLineCount: 1
                font.pixelSize: Theme.listSectionTitleSize
                font.weight: Theme.weightBold
                color: Theme.whiteAlpha(Theme.listSectionTitleOpacity)
                Accessible.role: Accessible.Heading
            }

            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.RightButton
                onClicked: mouse => root.contextMenuRequested(true, this, mouse.x, mouse.y)
            }

            // The section's items in the report's format, to the clipboard.
            ButtonBase {
                id: copySection
                objectName: "copySectionButton"
                anchors.right: parent.right
                anchors.rightMargin: Theme.listSectionTitleInset
                y: (header.height - height) / 2
                width: copySectionRow.implicitWidth
                height: copySectionRow.implicitHeight
                // The rows' menu offers the same to the keyboard.
                activeFocusOnTab: false
                Accessible.name: "Copy Section " + header.text
                onClicked: root.copySectionRequested()

                Row {
                    id: copySectionRow
                    spacing: Theme.sectionCopySpacing
                    opacity: copySection.hovered ? Theme.sectionCopyHoverOpacity : Theme.listSectionTitleOpacity

                    Icon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "doc.on.doc"
                        size: Theme.listSectionTitleSize
                        stroke: Theme.strokeSemibold
                    }
                    PlainLabel {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "Copy Section"
                        font.pixelSize: Theme.listSectionTitleSize
                        font.weight: Theme.weightBold
                        Accessible.ignored: true
                    }
                }
            }
        }

        Item {
            id: slice
            width: parent.width
            height: row.implicitHeight + (root.lastInSection ? 0 : Theme.separatorThickness)
            clip: true

            // One rounded card, extended past the slice's edges where the card
            // continues, so only the corners that belong to this slice show.
            Rectangle {
                readonly property real overhang: 2 * Theme.cardRadius
                y: root.firstInSection ? 0 : -overhang
                width: parent.width
                height: parent.height + (root.firstInSection ? 0 : overhang) + (root.lastInSection ? 0 : overhang)
                radius: Theme.cardRadius
                color: Theme.listBackground
                border.width: Theme.outlineWidth
                border.color: Theme.whiteAlpha(Theme.cardOutlineOpacity)
            }

            Rectangle {
                objectName: "rowMarker"
                visible: root.marked
                x: Theme.focusRingWidth
                y: Theme.focusRingWidth
                width: parent.width - 2 * Theme.focusRingWidth
                height: row.height - 2 * Theme.focusRingWidth
                radius: Theme.cardRadius - Theme.focusRingWidth
                color: Theme.tint(Theme.accent, Theme.rowMarkerFillOpacity)
                border.width: Theme.focusRingWidth
                border.color: Theme.accent
            }

            // Under the row's content: a press on the value's text goes to
            // the text (to select it), anywhere else it lands here.
            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: mouse => {
                    if (mouse.button === Qt.RightButton)
                        root.contextMenuRequested(false, this, mouse.x, mouse.y)
                    else
                        root.chosen()
                }
            }

            ModernHardwareRow {
                id: row
                objectName: "hardwareRow"
                Accessible.selected: root.marked
                width: parent.width
                height: implicitHeight
                title: root.title
                value: root.value
                detail: root.detail
                source: root.source
                symbol: root.symbol
                change: root.change
                previousValue: root.previousValue
            }

            Rectangle {
                objectName: "rowDivider"
                visible: !root.lastInSection
                x: Theme.cardDividerInset
                y: row.height
                width: parent.width - Theme.cardDividerInset
                height: Theme.separatorThickness
                color: Theme.separator
            }
        }

        Item {
            width: parent.width
            height: root.lastInSection && !root.lastRow ? Theme.listSectionSpacing : 0
        }
    }
}
