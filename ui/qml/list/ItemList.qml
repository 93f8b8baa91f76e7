import QtQuick
import Kestrin

// The scrolling list of section cards. Rows are created only as they scroll
// into view; the page itself is bounded by the model (80 more per Load More).
// The list is one tab stop: the arrow keys then move the current row, which
// is marked while the list has the keyboard focus.
ListView {
    id: root

    required property BrowserModel browser

    // Moves the current row by `step` rows, within the page.
    function moveCurrent(step) {
        if (root.count === 0)
            return
        root.currentIndex = Math.max(0, Math.min(root.count - 1, root.currentIndex + step))
        root.positionViewAtIndex(root.currentIndex, ListView.Contain)
    }

    // Opens the item actions for list row `row` at `x`, `y` of `item`; the
    // menu is built the first time.
    function openContextMenu(row, sectionOnly, item, x, y) {
        if (row < 0 || row >= root.count)
            return
        if (!contextMenu.item)
            contextMenu.setSource("ItemContextMenu.qml", { "browser": root.browser, "focusReturn": root })
        if (contextMenu.item)
            // A Loader's item is a plain QObject to the linter.
            contextMenu.item.openFor(row, sectionOnly, item, x, y) // qmllint disable type
    }

    // The keyboard's way to the menu (Menu key, Shift+F10): at the current row.
    function openContextMenuForCurrent() {
        if (root.currentItem)
            root.openContextMenu(root.currentIndex, false, root.currentItem,
                                 Theme.itemHorizontalInset, root.currentItem.height / 2)
    }

    // A Loader's item is a plain QObject to the linter.
    readonly property bool contextMenuOpen: contextMenu.item !== null && contextMenu.item.visible // qmllint disable type

    // Rows that fit in the view: the step of Page Up and Page Down.
    readonly property int pageRows: Math.max(1, Math.floor(root.height / Theme.listRowEstimate))

    objectName: "itemList"
    model: root.browser.sectionModel
    clip: true
    bottomMargin: Theme.listBottomInset
    boundsBehavior: Flickable.StopAtBounds
    reuseItems: true
    activeFocusOnTab: true
    keyNavigationEnabled: true
    currentIndex: -1
    highlightFollowsCurrentItem: false

    Accessible.role: Accessible.List
    Accessible.name: "Hardware items"

    // The list, or its current row (the view hands its focus on to it), has
    // the keyboard; not a value that holds a text selection.
    readonly property bool keyboardOnList: root.activeFocus
        && (root.Window.activeFocusItem === root || root.Window.activeFocusItem === root.currentItem)

    // Tabbing into the list makes its first row current.
    onActiveFocusChanged: {
        if (root.activeFocus && root.Window.activeFocusItem === root && root.currentIndex < 0
                && root.count > 0)
            root.currentIndex = 0
    }
    onCountChanged: {
        if (root.currentIndex >= root.count)
            root.currentIndex = root.count - 1
    }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Menu
                || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
            root.openContextMenuForCurrent()
        } else if (event.matches(StandardKey.Copy)) {
            // The current row as "Title: value".
            if (root.currentIndex >= 0)
                root.browser.copyTitleAndValue(root.currentIndex)
        } else if (event.key === Qt.Key_PageDown) {
            root.moveCurrent(root.pageRows)
        } else if (event.key === Qt.Key_PageUp) {
            root.moveCurrent(-root.pageRows)
        } else if (event.key === Qt.Key_Home) {
            root.moveCurrent(-root.count)
        } else if (event.key === Qt.Key_End) {
            root.moveCurrent(root.count)
        } else {
            return
        }
        event.accepted = true
    }

    // The rows and the footer reach the view by its id. Binding their
    // components to this file (ComponentBehavior: Bound) would let qmllint see
    // that, but Qt 6.4's ListView then cannot create the footer.
    // qmllint disable unqualified
    delegate: ModernListSection {
        id: row
        width: ListView.view.width
        lastRow: index === root.count - 1
        // Also while its menu is open, so the row it acts on stays marked.
        marked: ListView.isCurrentItem && (root.keyboardOnList || root.contextMenuOpen)
        onChosen: {
            root.currentIndex = row.index
            root.forceActiveFocus(Qt.MouseFocusReason)
        }
        onCopySectionRequested: root.browser.copySection(row.index)
        onContextMenuRequested: (sectionOnly, item, x, y) => {
            root.currentIndex = row.index
            root.forceActiveFocus(Qt.MouseFocusReason)
            root.openContextMenu(row.index, sectionOnly, item, x, y)
        }
    }

    Loader {
        id: contextMenu
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
    // qmllint enable unqualified

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
