import QtQuick
import QtQuick.Layouts

// The main column: toolbar, body (heading, warnings, and the list or one of
// its placeholders) and footer.
Rectangle {
    id: root

    required property QtObject browser

    function focusSearch() {
        toolbar.focusSearch()
    }

    readonly property bool loading: root.browser.isScanning && root.browser.itemCount === 0
    readonly property bool empty: !root.loading && root.browser.filteredCount === 0

    color: Theme.contentBackground

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Toolbar {
            id: toolbar
            objectName: "toolbar"
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.toolbarHeight
            browser: root.browser
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.separatorThickness
            color: Theme.separator
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.margins: Theme.bodyInset
            spacing: Theme.bodySpacing

            HeaderBlock {
                Layout.fillWidth: true
                browser: root.browser
            }

            WarningsBox {
                objectName: "warningsBox"
                Layout.fillWidth: true
                visible: root.browser.warnings.length > 0
                warnings: root.browser.warnings
            }

            Item {
                Layout.fillWidth: true
                Layout.fillHeight: true

                // The placeholders exist only while shown: nothing hidden is
                // built at start-up or offered to screen readers.
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
                    sourceComponent: EmptyView {}
                }
                ItemList {
                    objectName: "itemList"
                    anchors.fill: parent
                    visible: !root.loading && !root.empty
                    browser: root.browser
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.separatorThickness
            color: Theme.separator
        }

        Footer {
            objectName: "footer"
            Layout.fillWidth: true
            browser: root.browser
        }
    }
}
