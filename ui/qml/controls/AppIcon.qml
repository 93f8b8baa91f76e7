pragma ComponentBehavior: Bound
import QtQuick

// The application icon of the sidebar header with its soft drop shadow. The
// software scene graph has no blur, so the shadow is a stack of translucent
// rounded rectangles, each a little larger than the last, which adds up to a
// Gaussian-like falloff around the icon.
Item {
    id: root

    implicitWidth: Theme.appIconSize
    implicitHeight: Theme.appIconSize

    Item {
        id: shadow
        anchors.fill: parent
        anchors.topMargin: Theme.appIconShadowOffsetY
        anchors.bottomMargin: -Theme.appIconShadowOffsetY

        readonly property int layers: 9
        // Opacity of one layer, chosen so that all of them together reach the
        // shadow's opacity where they overlap: 1 - (1 - a)^layers = opacity.
        readonly property real layerOpacity: 1 - Math.pow(1 - Theme.appIconShadowOpacity, 1 / layers)

        Repeater {
            model: shadow.layers
            Rectangle {
                required property int index
                // Spread from half the blur inside the edge to half of it outside.
                readonly property real spread: Theme.appIconShadowBlur * (index / (shadow.layers - 1) - 0.5)
                x: -spread
                y: -spread
                width: shadow.width + 2 * spread
                height: shadow.height + 2 * spread
                radius: Math.max(0, Theme.appIconRadius + spread)
                color: Qt.rgba(0, 0, 0, shadow.layerOpacity)
            }
        }
    }

    // The drawing itself carries the 24-point rounded corners, so no clipping
    // (which the software renderer could only do rectangularly) is needed.
    Image {
        anchors.fill: parent
        // Pixels rendered at build time, shown without decoding.
        source: "image://appicon/kestrin"
        sourceSize.width: Math.ceil(Theme.appIconSize * Screen.devicePixelRatio)
        sourceSize.height: Math.ceil(Theme.appIconSize * Screen.devicePixelRatio)
        smooth: true
        mipmap: true
        Accessible.ignored: true
    }
}
