pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QtQuick.Templates as T
import Qt.labs.folderlistmodel
import Kestrin

// The window's own save dialog, in its dark style: the folder's contents
// (folders first), a name field with the suggested name, the format, and
// New Folder, Cancel and Save. In Open mode it chooses an existing report
// instead: the list shows folders and the filter's files, and Open refuses a
// missing or unreadable file. It opens whenever the controller has a question
// and answers it exactly once: closing it in any way but Save or Open is a cancel.
Popup {
    id: root

    required property SaveDialogController controller

    // The folder shown, as a local path.
    property string folder: ""
    property int filterIndex: 0
    // The file waiting for "Replace?" to be answered.
    property string pendingPath: ""
    property string message: ""

    function present() {
        root.folder = root.controller.startFolder
        root.filterIndex = 0
        root.message = ""
        root.pendingPath = ""
        nameField.text = root.controller.suggestedFileName
        newFolderRow.visible = false
        root.open()
    }

    function openFolder(path) {
        root.folder = path
        root.message = ""
        folderList.currentIndex = -1
    }

    function save() {
        if (root.controller.openMode) {
            root.chooseToOpen()
            return
        }
        // The controller answers with a plain map, which qmllint cannot see into.
        const target = root.controller.resolve(root.folder, nameField.text, root.filterIndex)
        if (target.kind === "folder") { // qmllint disable type
            root.openFolder(target.path)
            nameField.text = root.controller.suggestedFileName
            return
        }
        if (target.kind !== "file") {
            root.message = "Type a name for the report."
            return
        }
        if (!target.folderExists) {
            root.message = "The folder for \u201c" + target.fileName + "\u201d does not exist."
            return
        }
        if (target.exists) {
            root.pendingPath = target.path
            replaceQuestion.text = "\u201c" + target.fileName + "\u201d already exists. Do you want to replace it?"
            return
        }
        root.finish(target.path)
    }

    function chooseToOpen() {
        // A plain map again: "kind", "path" and "error".
        const target = root.controller.resolveOpen(root.folder, nameField.text)
        if (target.kind === "folder") { // qmllint disable type
            root.openFolder(target.path)
            nameField.text = ""
        } else if (target.kind === "file") {
            root.finish(target.path)
        } else {
            root.message = target.error
        }
    }

    function finish(path) {
        root.pendingPath = ""
        // Answered first, so that closing is not taken for a cancel.
        root.controller.accept(path, root.filterIndex)
        root.close()
    }

    function createFolder() {
        // A plain map again: "error" or "path".
        const created = root.controller.createFolder(root.folder, newFolderName.text)
        if (created.error) { // qmllint disable type
            root.message = created.error
            return
        }
        newFolderRow.visible = false
        root.openFolder(created.path)
    }

    objectName: "saveDialog"
    parent: T.Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(Theme.saveDialogWidth, parent ? parent.width - 2 * Theme.sheetMargin : Theme.saveDialogWidth)
    height: Math.min(Theme.saveDialogHeight, parent ? parent.height - 2 * Theme.sheetMargin : Theme.saveDialogHeight)
    modal: true
    dim: true
    focus: true
    padding: Theme.saveDialogInset
    closePolicy: Popup.CloseOnEscape

    Component.onCompleted: if (root.controller.active) root.present()
    onOpened: {
        nameField.forceActiveFocus()
        // The name without its suffix is selected, ready to be typed over.
        const dot = nameField.text.lastIndexOf(".")
        nameField.select(0, dot > 0 ? dot : nameField.text.length)
    }
    // Escape, or the window closing, is a cancel.
    onClosed: if (root.controller.active) root.controller.reject()

    Connections {
        target: root.controller
        function onActiveChanged() {
            if (root.controller.active && !root.visible)
                root.present()
        }
    }

    T.Overlay.modal: Rectangle {
        color: Theme.sheetDimColor
    }

    background: Rectangle {
        color: Theme.sidebarBackground
        radius: Theme.sheetRadius
        border.width: Theme.outlineWidth
        border.color: Theme.whiteAlpha(Theme.sheetOutlineOpacity)
    }

    FolderListModel {
        id: folderModel
        folder: root.folder.length > 0 ? root.controller.urlOf(root.folder) : ""
        showDirsFirst: true
        showDotAndDotDot: false
        showHidden: false
        sortCaseSensitive: false
        nameFilters: {
            const filter = root.controller.nameFilters[root.filterIndex] || ""
            const patterns = filter.match(/\*\.[A-Za-z0-9]+/g)
            return patterns ? patterns : ["*"]
        }
    }

    // Built once per window, so ids inside the content item cost nothing.

    contentItem: ColumnLayout { // qmllint disable deferred-property-id
        spacing: Theme.saveDialogSpacing

        Label {
            Layout.fillWidth: true
            text: root.controller.title
            textFormat: Text.PlainText
            color: Theme.white
            font.pixelSize: Theme.rawSheetTitleSize
            font.weight: Theme.weightBold
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.saveDialogSpacing

            SheetButton {
                objectName: "saveDialogUp"
                text: "Up"
                enabled: root.controller.parentFolder(root.folder) !== root.folder
                onClicked: root.openFolder(root.controller.parentFolder(root.folder))
            }
            SheetButton {
                objectName: "saveDialogHome"
                text: "Home"
                onClicked: root.openFolder(root.controller.homeFolder)
            }
            Label {
                objectName: "saveDialogFolder"
                Layout.fillWidth: true
                text: root.folder
                textFormat: Text.PlainText
                elide: Text.ElideMiddle
                color: Theme.whiteAlpha(Theme.rawSheetSubtitleOpacity)
                font.pixelSize: Theme.rawSheetSubtitleSize
                Accessible.role: Accessible.StaticText
                Accessible.name: "Folder " + text
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            radius: Theme.controlRadius
            color: Theme.windowBackground
            border.width: Theme.outlineWidth
            border.color: Theme.whiteAlpha(Theme.controlOutlineOpacity)

            ListView {
                id: folderList
                objectName: "saveDialogList"
                anchors.fill: parent
                anchors.margins: Theme.outlineWidth
                clip: true
                model: folderModel
                currentIndex: -1
                boundsBehavior: Flickable.StopAtBounds
                activeFocusOnTab: true
                keyNavigationEnabled: true
                highlightMoveDuration: 0

                Keys.onReturnPressed: folderList.activateCurrent()
                Keys.onEnterPressed: folderList.activateCurrent()

                // A folder opens, a file is saved over (after the question).
                function activate(index) {
                    if (index < 0)
                        return
                    if (folderModel.get(index, "fileIsDir"))
                        root.openFolder(folderModel.get(index, "filePath"))
                    else
                        root.save()
                }

                function activateCurrent() {
                    folderList.activate(folderList.currentIndex)
                }

                ScrollBar.vertical: SheetScrollBar {}

                delegate: ItemDelegate {
                    id: entry

                    required property int index
                    required property string fileName
                    required property string filePath
                    required property bool fileIsDir


                    width: ListView.view.width
                    height: Theme.saveDialogRowHeight
                    highlighted: ListView.isCurrentItem
                    focusPolicy: Qt.NoFocus
                    leftPadding: Theme.saveDialogInset / 2

                    Accessible.name: (entry.fileIsDir ? "Folder " : "File ") + entry.fileName

                    onClicked: {
                        folderList.currentIndex = entry.index
                        if (!entry.fileIsDir)
                            nameField.text = entry.fileName
                    }
                    onDoubleClicked: folderList.activate(entry.index)
                    ListView.onIsCurrentItemChanged: {
                        if (ListView.isCurrentItem && !entry.fileIsDir)
                            nameField.text = entry.fileName
                    }

                    background: Rectangle {
                        color: entry.highlighted ? Theme.tint(Theme.accent, Theme.menuSelectedOpacity)
                                                 : entry.hovered ? Theme.whiteAlpha(Theme.hoverOverlayOpacity)
                                                                 : "transparent"
                    }

                    contentItem: Row {
                        spacing: Theme.saveDialogSpacing

                        Icon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: entry.fileIsDir ? "folder" : "doc.text"
                            size: Theme.bodySize
                            opacity: Theme.itemIconOpacity
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            text: entry.fileName
                            textFormat: Text.PlainText
                            color: Theme.white
                            font.pixelSize: Theme.bodySize
                        }
                    }
                }

                Label {
                    anchors.centerIn: parent
                    visible: folderList.count === 0 && folderModel.status === FolderListModel.Ready
                    text: "This folder is empty."
                    textFormat: Text.PlainText
                    color: Theme.whiteAlpha(Theme.placeholderTextOpacity)
                    font.pixelSize: Theme.placeholderTextSize
                }
            }
        }

        RowLayout {
            id: newFolderRow
            objectName: "saveDialogNewFolderRow"
            Layout.fillWidth: true
            visible: false
            spacing: Theme.saveDialogSpacing

            onVisibleChanged: {
                if (newFolderRow.visible) {
                    newFolderName.text = "New Folder"
                    newFolderName.selectAll()
                    newFolderName.forceActiveFocus()
                }
            }

            DialogTextField {
                id: newFolderName
                objectName: "saveDialogNewFolderName"
                Layout.fillWidth: true
                accessibleName: "New folder name"
                onAccepted: root.createFolder()
                Keys.onEscapePressed: newFolderRow.visible = false
            }
            SheetButton {
                objectName: "saveDialogCreateFolder"
                text: "Create"
                onClicked: root.createFolder()
            }
        }

        GridLayout {
            Layout.fillWidth: true
            columns: 2
            columnSpacing: Theme.saveDialogSpacing
            rowSpacing: Theme.saveDialogSpacing

            Label {
                text: "Name:"
                textFormat: Text.PlainText
                color: Theme.whiteAlpha(Theme.sheetButtonTextOpacity)
                font.pixelSize: Theme.bodySize
            }
            DialogTextField {
                id: nameField
                objectName: "saveDialogName"
                Layout.fillWidth: true
                accessibleName: "File name"
                onAccepted: root.save()
                onTextEdited: root.message = ""
            }

            Label {
                text: root.controller.openMode ? "Show:" : "Format:"
                textFormat: Text.PlainText
                color: Theme.whiteAlpha(Theme.sheetButtonTextOpacity)
                font.pixelSize: Theme.bodySize
            }
            DialogComboBox {
                id: formatBox
                objectName: "saveDialogFormat"
                Layout.fillWidth: true
                model: root.controller.nameFilters
                currentIndex: root.filterIndex
                accessibleName: root.controller.openMode ? "Show" : "Format"
                onActivated: index => {
                    root.filterIndex = index
                    if (!root.controller.openMode)
                        nameField.text = root.controller.nameForFormat(nameField.text, index)
                }
            }
        }

        Label {
            objectName: "saveDialogMessage"
            Layout.fillWidth: true
            visible: root.message.length > 0
            text: root.message
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.orange
            font.pixelSize: Theme.alertMessageSize
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: Theme.saveDialogSpacing

            SheetButton {
                objectName: "saveDialogNewFolder"
                visible: !root.controller.openMode
                text: "New Folder"
                onClicked: newFolderRow.visible = true
            }
            Item {
                Layout.fillWidth: true
            }
            SheetButton {
                objectName: "saveDialogCancel"
                text: "Cancel"
                onClicked: root.close()
            }
            SheetButton {
                objectName: "saveDialogSave"
                text: root.controller.openMode ? "Open" : "Save"
                highlighted: true
                onClicked: root.save()
            }
        }
    }

    // "Replace?" for an existing file, over the dialog.
    Popup {
        id: replacePopup
        objectName: "saveDialogReplace"
        parent: T.Overlay.overlay
        anchors.centerIn: parent
        width: Theme.alertWidth
        modal: true
        focus: true
        padding: Theme.alertInset
        visible: root.pendingPath.length > 0
        closePolicy: Popup.CloseOnEscape
        onClosed: root.pendingPath = ""
        onOpened: replaceCancel.forceActiveFocus()

        background: Rectangle {
            color: Theme.sidebarBackground
            radius: Theme.sheetRadius
            border.width: Theme.outlineWidth
            border.color: Theme.whiteAlpha(Theme.sheetOutlineOpacity)
        }

        // Built once per window, so ids inside the content item cost nothing.

        contentItem: ColumnLayout { // qmllint disable deferred-property-id
            spacing: Theme.alertSpacing

            Label {
                id: replaceQuestion
                objectName: "saveDialogReplaceQuestion"
                Layout.fillWidth: true
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                color: Theme.white
                font.pixelSize: Theme.alertTextSize
                font.weight: Theme.weightSemibold
            }
            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: Theme.saveDialogSpacing

                SheetButton {
                    id: replaceCancel
                    objectName: "saveDialogReplaceCancel"
                    text: "Cancel"
                    onClicked: replacePopup.close()
                }
                SheetButton {
                    objectName: "saveDialogReplaceConfirm"
                    text: "Replace"
                    onClicked: root.finish(root.pendingPath)
                }
            }
        }
    }
}
