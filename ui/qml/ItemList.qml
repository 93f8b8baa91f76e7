import QtQuick

// The scrolling list of section cards. Rows are created only as they scroll
// into view; the page itself is bounded by the model (80 more per Load More).
ListView {
    id: root

    required property QtObject browser

    objectName: "itemList"
    model: root.browser.sectionModel
    clip: true
    bottomMargin: Theme.listBottomInset
    boundsBehavior: Flickable.StopAtBounds
    reuseItems: true
    // Rows are not tab stops; the Load More button below them is.
    keyNavigationEnabled: false

    delegate: ModernListSection {
        width: ListView.view.width
        lastRow: index === root.count - 1
    }

    footer: Item {
        width: ListView.view.width
        height: root.browser.canLoadMore ? Theme.listSectionSpacing + loadMore.height : 0

        LoadMoreRow {
            id: loadMore
            objectName: "loadMoreRow"
            y: Theme.listSectionSpacing
            width: parent.width
            visible: root.browser.canLoadMore
            shown: root.browser.pagedCount
            matched: root.browser.filteredCount
            onClicked: root.browser.loadMoreItems()
        }
    }

    HoverHandler {
        id: listHover
    }

    // A child of the view itself, not of its scrolling content.
    SlimScrollBar {
        parent: root
        flickable: root
        alwaysShown: false
        hovered: listHover.hovered
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
    }
}
