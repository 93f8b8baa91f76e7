pragma ComponentBehavior: Bound
import QtQuick
import Kestrin

// The left column: application header, categories with counts, actions, and
// the scan status pinned to the bottom edge. Categories and actions scroll
// when they do not fit; the header and the status line stay in place.
Rectangle {
    id: root

    required property BrowserModel browser

    color: Theme.sidebarBackground
    implicitWidth: Theme.sidebarWidth

    Item {
        id: headerArea
        width: parent.width
        height: header.implicitHeight + Theme.headerTopInset + Theme.headerBottomInset

        Column {
            id: header
            y: Theme.headerTopInset
            width: parent.width
            spacing: Theme.headerSpacing

            AppIcon {
                anchors.horizontalCenter: parent.horizontalCenter
            }

            Column {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: Theme.productNameSpacing

                PlainLabel {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "Kestrin"
                    font.pixelSize: Theme.productNameSize
                    font.weight: Theme.weightBold
                    Accessible.role: Accessible.Heading
                }
                PlainLabel {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: Theme.productLine
                    font.pixelSize: Theme.productLineSize
                    font.weight: Theme.weightMedium
                    color: Theme.whiteAlpha(Theme.productLineOpacity)
                }
            }
        }
    }

    Flickable {
        id: scroller
        objectName: "sidebarScroll"
        anchors.top: headerArea.bottom
        anchors.bottom: status.top
        anchors.bottomMargin: Theme.statusTopInset
        width: parent.width
        contentWidth: width
        contentHeight: rows.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        flickableDirection: Flickable.VerticalFlick

        // Keeps a row that receives keyboard focus scrolled into view.
        function reveal(item) {
            const top = item.mapToItem(rows, 0, 0).y
            const bottom = top + item.height
            if (top < scroller.contentY)
                scroller.contentY = top
            else if (bottom > scroller.contentY + scroller.height)
                scroller.contentY = bottom - scroller.height
        }

        Column {
            id: rows
            x: Theme.sidebarSideInset
            width: scroller.width - 2 * Theme.sidebarSideInset
            bottomPadding: Theme.sidebarBottomInset
            spacing: Theme.sidebarStackSpacing

            SidebarSectionTitle {
                title: "Categories"
            }

            Column {
                width: parent.width
                spacing: Theme.sidebarRowSpacing

                Repeater {
                    model: root.browser.categoryModel
                    delegate: SidebarButton {
                        objectName: "categoryRow_" + title
                        width: parent.width
                        onClicked: root.browser.selectedCategory = title
                        onActiveFocusChanged: if (activeFocus) scroller.reveal(this)
                    }
                }
            }

            Item {
                width: parent.width
                height: 2 * Theme.dividerMargin + 1

                Rectangle {
                    y: Theme.dividerMargin
                    width: parent.width
                    height: 1
                    color: Theme.whiteAlpha(Theme.dividerOpacity)
                }
            }

            SidebarSectionTitle {
                title: "Actions"
            }

            Column {
                width: parent.width
                spacing: Theme.sidebarRowSpacing

                ActionRow {
                    objectName: "sidebarRefresh"
                    width: parent.width
                    title: "Refresh"
                    symbol: "arrow.clockwise"
                    onClicked: root.browser.refresh()
                    onActiveFocusChanged: if (activeFocus) scroller.reveal(this)
                }
                ActionRow {
                    objectName: "sidebarRawOutput"
                    width: parent.width
                    title: "Raw Output"
                    symbol: "terminal"
                    onClicked: root.browser.showRawOutput = true
                    onActiveFocusChanged: if (activeFocus) scroller.reveal(this)
                }
                ActionRow {
                    objectName: "sidebarSaveReport"
                    width: parent.width
                    title: "Save Report..."
                    symbol: "square.and.arrow.down"
                    onClicked: root.browser.saveReport()
                    onActiveFocusChanged: if (activeFocus) scroller.reveal(this)
                }
                ActionRow {
                    objectName: "sidebarCopyVisible"
                    width: parent.width
                    title: "Copy Visible"
                    symbol: "doc.on.doc"
                    onClicked: root.browser.copyVisibleReport()
                    onActiveFocusChanged: if (activeFocus) scroller.reveal(this)
                }
            }
        }
    }

    // Scroll indicators stay visible whenever the rows do not fit.
    SlimScrollBar {
        flickable: scroller
        anchors.right: scroller.right
        anchors.top: scroller.top
        anchors.bottom: scroller.bottom
    }

    Row {
        id: status
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: Theme.statusSideInset
        anchors.rightMargin: Theme.statusSideInset
        anchors.bottomMargin: Theme.statusBottomInset
        spacing: Theme.statusSpacing

        Rectangle {
            objectName: "statusDot"
            anchors.verticalCenter: parent.verticalCenter
            width: Theme.statusDotSize
            height: Theme.statusDotSize
            radius: Theme.statusDotSize / 2
            color: root.browser.isScanning ? Theme.orange : Theme.green
        }
        PlainLabel {
            objectName: "statusText"
            anchors.verticalCenter: parent.verticalCenter
            width: status.width - Theme.statusDotSize - status.spacing
            text: root.browser.isScanning ? "Scanning..." : "Ready"
            font.pixelSize: Theme.statusTextSize
            font.weight: Theme.weightMedium
            color: Theme.whiteAlpha(Theme.statusTextOpacity)
        }
    }
}
