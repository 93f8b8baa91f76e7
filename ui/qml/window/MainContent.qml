import QtQuick
import Kestrin

// The main column: toolbar, body (heading, warnings, and the list or one of
// its placeholders) and footer.
Rectangle {
    id: root

    required property BrowserModel browser
    // False until the window's first frame is on screen: the toolbar and the
    // footer are built right after it (their space is kept free before).
    property bool firstFrameShown: true

    function focusSearch() {
        if (toolbar.item)
            // A Loader's item is a plain QObject to the linter.
            toolbar.item.focusSearch() // qmllint disable type
    }

    readonly property bool loading: root.browser.isScanning && root.browser.itemCount === 0
    readonly property bool empty: !root.loading && root.browser.filteredCount === 0

    color: Theme.contentBackground

    // Loaded by name: not even compiled before the first frame.
    Loader {
        id: toolbar
        width: parent.width
        height: Theme.toolbarHeight
        active: root.firstFrameShown
        Component.onCompleted: toolbar.setSource("Toolbar.qml",
                                                 { "objectName": "toolbar", "browser": root.browser })
    }

    Rectangle {
        id: toolbarSeparator
        anchors.top: toolbar.bottom
        width: parent.width
        height: Theme.separatorThickness
        color: Theme.separator
    }

    Column {
        id: body
        anchors.top: toolbarSeparator.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: Theme.bodyInset
        spacing: Theme.bodySpacing

        HeaderBlock {
            width: parent.width
            browser: root.browser
        }

        ReportBanner {
            objectName: "reportBanner"
            width: parent.width
            visible: root.browser.isShowingReport
            browser: root.browser
        }

        ComparisonBanner {
            objectName: "comparisonBanner"
            width: parent.width
            visible: root.browser.isComparing
            browser: root.browser
        }

        WarningsBox {
            objectName: "warningsBox"
            width: parent.width
            visible: root.browser.warnings.length > 0 || root.browser.administratorReadPending
            warnings: root.browser.warnings
            offerAdministratorRead: root.browser.canReadAsAdministrator && !root.browser.isScanning
            administratorReadPending: root.browser.administratorReadPending
            onReadAsAdministratorRequested: root.browser.readAsAdministrator()
            onCancelAdministratorReadRequested: root.browser.cancelAdministratorRead()
        }

        AdministratorReadNote {
            objectName: "administratorReadNote"
            width: parent.width
            visible: root.browser.administratorReadNote.length > 0
            note: root.browser.administratorReadNote
        }
    }

    Item {
        anchors.top: body.bottom
        anchors.topMargin: Theme.bodySpacing
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: footerSeparator.top
        anchors.leftMargin: Theme.bodyInset
        anchors.rightMargin: Theme.bodyInset
        anchors.bottomMargin: Theme.bodyInset

        // The placeholders and the list exist only once needed: nothing hidden
        // is built at start-up or offered to screen readers. The list is
        // loaded by name so that its rows are not even compiled before the
        // first scan has something to show.
        Loader {
            objectName: "loadingView"
            anchors.fill: parent
            active: root.loading
            visible: active
            sourceComponent: LoadingView {}
        }
        Loader {
            objectName: "emptyView"
            anchors.fill: parent
            active: root.empty
            visible: active
            source: active ? "EmptyView.qml" : ""
        }
        Loader {
            id: itemList

            readonly property bool needed: !root.loading && !root.empty

            anchors.fill: parent
            active: false
            visible: itemList.needed
            // Built the first time it is needed, then kept (with its scroll
            // position) while a placeholder shows.
            onNeededChanged: if (itemList.needed) itemList.active = true
            Component.onCompleted: {
                itemList.setSource("ItemList.qml", { "browser": root.browser })
                itemList.active = itemList.needed
            }
        }
    }

    Rectangle {
        id: footerSeparator
        anchors.bottom: footer.top
        width: parent.width
        height: Theme.separatorThickness
        color: Theme.separator
    }

    Loader {
        id: footer
        anchors.bottom: parent.bottom
        width: parent.width
        // A Loader's item is a plain QObject to the linter.
        height: footer.item ? footer.item.implicitHeight : Theme.footerButtonMinimumHeight + 2 * Theme.footerVerticalInset // qmllint disable type
        active: root.firstFrameShown
        Component.onCompleted: footer.setSource("Footer.qml",
                                                { "objectName": "footer", "browser": root.browser })
    }
}
