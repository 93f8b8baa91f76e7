import QtQuick

// "CATEGORIES", "ACTIONS": the sidebar's small section headings.
PlainLabel {
    id: root

    required property string title

    text: root.title.toUpperCase()
    font.pixelSize: Theme.sectionTitleSize
    font.weight: Theme.weightBold
    color: Theme.whiteAlpha(Theme.sectionTitleOpacity)
    leftPadding: Theme.sectionTitleInset
    rightPadding: Theme.sectionTitleInset

    Accessible.role: Accessible.Heading
}
