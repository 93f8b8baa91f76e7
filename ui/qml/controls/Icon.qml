import QtQuick

// A symbol of the design's icon vocabulary ("cpu.fill", "arrow.clockwise", ...)
// drawn tinted, sized like a glyph of the given font size. The name-to-drawing
// table lives in ui/symbolicons.cpp.
Image {
    id: root

    required property string name
    // Opaque tint; use `opacity` for "white at opacity x".
    property color color: Theme.white
    // The font size the symbol stands beside.
    property real size: Theme.bodySize
    property real stroke: Theme.strokeRegular

    readonly property int side: Math.round(root.size * Theme.symbolScale)

    width: root.side
    height: root.side
    sourceSize.width: Math.ceil(root.side * Screen.devicePixelRatio)
    sourceSize.height: Math.ceil(root.side * Screen.devicePixelRatio)
    fillMode: Image.PreserveAspectFit
    smooth: true
    source: root.name.length > 0
            ? "image://symbol/" + root.name + "/" + root.color.toString().substring(1) + "/" + root.stroke
            : ""

    // Decoration: the text beside it says what it means.
    Accessible.ignored: true
}
