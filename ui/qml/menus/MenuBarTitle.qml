import QtQuick

// One title of the menu bar ("File", "Help"); a click opens its menu.
ButtonBase {
    id: root

    required property string text
    property bool highlighted: false

    implicitWidth: label.implicitWidth + 2 * Theme.menuBarItemInset
    implicitHeight: label.implicitHeight + 2 * Theme.menuBarItemVerticalInset
    // Like a desktop menu bar: reached with F10, not with Tab.
    activeFocusOnTab: false

    Accessible.role: Accessible.MenuItem
    Accessible.name: root.text

    Rectangle {
        anchors.fill: parent
        anchors.topMargin: Theme.menuBarItemVerticalInset / 2
        anchors.bottomMargin: Theme.menuBarItemVerticalInset / 2
        z: -1
        radius: Theme.menuHighlightRadius
        color: root.highlighted || root.hovered ? Theme.whiteAlpha(Theme.menuHighlightOpacity) : "transparent"
    }

    Text {
        id: label
        anchors.centerIn: parent
        text: root.text
        textFormat: Text.PlainText
        color: Theme.whiteAlpha(Theme.menuTextOpacity)
        font.pixelSize: Theme.menuTextSize
        Accessible.ignored: true
    }
}
