import QtQuick

// One hardware item: category icon, title over detail and source, the value
// (selectable) and a decorative chevron. The title column is laid out before
// the value; the value wraps to at most three lines and 420 wide.
Item {
    id: root

    required property string title
    required property string value
    required property string detail
    required property string source
    required property string symbol
    // In a comparison: "added", "removed" or "changed", else empty; a changed
    // fact shows its value in the compared report before its value now.
    property string change: ""
    property string previousValue: ""
    readonly property string shownValue: root.change === "changed"
                                         ? root.previousValue + " \u2192 " + root.value : root.value
    readonly property color changeColor: root.change === "added" ? Theme.addedColor
                                       : root.change === "removed" ? Theme.removedColor
                                       : Theme.changedColor

    // Left of the text column: icon frame and one gap. Between text and value:
    // gap, spacer, gap. Right of the value: gap and chevron.
    readonly property real leadingWidth: Theme.itemIconFrame + Theme.itemSpacing
    readonly property real middleWidth: 2 * Theme.itemSpacing + Theme.itemSpacerMinimum
    readonly property real trailingWidth: Theme.itemSpacing + chevron.width
    readonly property real available: Math.max(0, width - 2 * Theme.itemHorizontalInset
                                                 - leadingWidth - middleWidth - trailingWidth)
    readonly property real valueIdealWidth: Math.min(valueLabel.implicitWidth, Theme.itemValueMaximumWidth)
    readonly property real textIdealWidth: Math.max(titleLabel.implicitWidth, subtitleIdealWidth)
    readonly property real subtitleIdealWidth: sourceLabel.implicitWidth
        + (root.detail.length > 0 ? detailLabel.implicitWidth + Theme.itemSubtitleSpacing : 0)
    readonly property real textWidth: Math.max(0, Math.min(textIdealWidth,
        available - Math.min(valueIdealWidth, Theme.itemValueMinimumWidth)))
    readonly property real valueWidth: Math.max(0, Math.min(valueIdealWidth, available - textWidth))

    implicitHeight: Math.max(icon.height, textColumn.height, valueArea.height) + 2 * Theme.itemVerticalInset

    Accessible.role: Accessible.ListItem
    Accessible.name: (root.change.length > 0 ? root.change + ", " : "") + root.title + ": " + root.shownValue
    Accessible.description: root.detail.length > 0 ? root.detail + " " + root.source : root.source

    Item {
        id: iconFrame
        x: Theme.itemHorizontalInset
        width: Theme.itemIconFrame
        height: parent.height

        Icon {
            id: icon
            anchors.centerIn: parent
            visible: root.change.length === 0
            name: root.symbol
            size: Theme.itemIconSize
            stroke: Theme.strokeSemibold
            opacity: Theme.itemIconOpacity
        }

        PlainLabel {
            objectName: "changeMark"
            anchors.centerIn: parent
            visible: root.change.length > 0
            text: root.change === "added" ? "+" : root.change === "removed" ? "\u2212" : "~"
            font.pixelSize: Theme.changeMarkSize
            font.weight: Theme.weightBold
            color: root.changeColor
        }
    }

    Column {
        id: textColumn
        x: Theme.itemHorizontalInset + root.leadingWidth
        width: root.textWidth
        anchors.verticalCenter: parent.verticalCenter
        spacing: Theme.itemTextSpacing

        PlainLabel {
            id: titleLabel
            objectName: "itemTitle"
            width: parent.width
            text: root.title
            wrapMode: Text.Wrap
            maximumLineCount: Theme.itemTitleLines
            font.pixelSize: Theme.itemTitleSize
            font.weight: Theme.weightSemibold
        }

        Item {
            width: parent.width
            height: Math.max(detailLabel.height, sourceLabel.height)

            PlainLabel {
                id: detailLabel
                objectName: "itemDetail"
                visible: root.detail.length > 0
                width: Math.max(0, Math.min(implicitWidth, parent.width - sourceLabel.width - Theme.itemSubtitleSpacing))
                text: root.detail
                maximumLineCount: 1
                font.pixelSize: Theme.itemSubtitleSize
                font.weight: Theme.weightMedium
                color: Theme.whiteAlpha(Theme.itemSubtitleOpacity)
            }
            PlainLabel {
                id: sourceLabel
                objectName: "itemSource"
                x: detailLabel.visible ? detailLabel.width + Theme.itemSubtitleSpacing : 0
                width: Math.min(implicitWidth, parent.width)
                text: root.source
                maximumLineCount: 1
                font.pixelSize: Theme.itemSubtitleSize
                font.weight: Theme.weightMedium
                color: Theme.whiteAlpha(Theme.itemSubtitleOpacity)
            }
        }
    }

    Item {
        id: valueArea
        x: chevron.x - Theme.itemSpacing - width
        width: root.valueWidth
        height: valueLabel.height
        anchors.verticalCenter: parent.verticalCenter

        property bool holdsSelection: false

        // A value with a selection keeps the keyboard focus on this plain item,
        // never on the editor: in Qt 6.4 a focused read-only TextEdit accepts
        // every shortcut override and would swallow the window's key
        // equivalents (Refresh, Find, Quit, Help). The focus also takes Copy
        // away from a focused search field, and moving it elsewhere ends the
        // selection, so at most one value holds one.
        onActiveFocusChanged: {
            if (!valueArea.activeFocus && selection.item)
                // A Loader's item is a plain QObject to the linter.
                selection.item.deselect() // qmllint disable type
        }

        HoverHandler {
            id: valueHover
            cursorShape: Qt.IBeamCursor
        }

        PlainLabel {
            id: valueLabel
            objectName: "itemValue"
            width: parent.width
            visible: selection.status !== Loader.Ready
            text: root.shownValue
            horizontalAlignment: Text.AlignRight
            wrapMode: Text.WrapAtWordBoundaryOrAnywhere
            maximumLineCount: Theme.itemValueLines
            font.pixelSize: Theme.itemValueSize
            font.weight: Theme.weightMedium
            font.strikeout: root.change === "removed"
            color: root.change === "removed" ? Theme.whiteAlpha(Theme.removedValueOpacity)
                                             : Theme.whiteAlpha(Theme.itemValueOpacity)
        }

        // While the value is being read with the mouse, or holds a selection,
        // a read-only text editor with the same layout stands in for the label,
        // so the value can be selected and copied (the whole value, even when
        // the label cut it short). Created on demand, which keeps scrolling cheap.
        Loader {
            id: selection
            anchors.fill: parent
            active: valueHover.hovered || valueArea.holdsSelection
            // The editor reaches the row by its ids. Binding the component to
            // this file (ComponentBehavior: Bound) would let qmllint see that,
            // but Qt 6.4 then refuses to create it inside a list delegate.
            // (StandardKey, below, is not described to the linter of Qt 6.4 either.)
            // qmllint disable unqualified
            sourceComponent: TextEdit {
                id: editor

                objectName: "itemValueEditor"
                text: root.shownValue
                textFormat: TextEdit.PlainText
                readOnly: true
                selectByMouse: true
                selectByKeyboard: false
                activeFocusOnPress: false
                activeFocusOnTab: false
                persistentSelection: true
                horizontalAlignment: TextEdit.AlignRight
                wrapMode: TextEdit.WrapAtWordBoundaryOrAnywhere
                font: valueLabel.font
                color: valueLabel.color
                selectedTextColor: Theme.white
                selectionColor: Theme.tint(Theme.accent, Theme.selectionOpacity)
                clip: true
                onSelectedTextChanged: {
                    valueArea.holdsSelection = editor.selectedText.length > 0
                    if (valueArea.holdsSelection && !valueArea.activeFocus)
                        valueArea.forceActiveFocus(Qt.MouseFocusReason)
                }
                Component.onDestruction: valueArea.holdsSelection = false
                Accessible.ignored: true

                Shortcut {
                    sequences: [StandardKey.Copy]
                    enabled: valueArea.activeFocus && valueArea.holdsSelection
                    onActivated: editor.copy()
                }
                Shortcut {
                    sequences: [StandardKey.SelectAll]
                    enabled: valueArea.activeFocus
                    onActivated: editor.selectAll()
                }
            }
        }
        // qmllint enable unqualified
    }

    Icon {
        id: chevron
        x: root.width - Theme.itemHorizontalInset - width
        anchors.verticalCenter: parent.verticalCenter
        name: "chevron.right"
        size: Theme.chevronSize
        stroke: Theme.strokeBold
        opacity: Theme.chevronOpacity
    }
}
