import QtQuick

// Shown when nothing passes the category and search filter.
Item {
    id: root

    Column {
        anchors.centerIn: parent
        width: root.width
        spacing: Theme.placeholderSpacing

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "magnifyingglass"
            size: Theme.emptyIconSize
            stroke: Theme.strokeSemibold
            opacity: Theme.emptyIconOpacity
        }
        PlainLabel {
            objectName: "emptyTitle"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "No hardware item found"
            font.pixelSize: Theme.emptyTitleSize
            font.weight: Theme.weightBold
        }
        PlainLabel {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: "Try another category or clear the search field."
            font.pixelSize: Theme.placeholderTextSize
            font.weight: Theme.weightMedium
            color: Theme.whiteAlpha(Theme.placeholderTextOpacity)
        }
    }
}
