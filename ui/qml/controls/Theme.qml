pragma Singleton
import QtQuick

// Every colour, length and font size of the window. Lengths are device-independent
// pixels; font sizes are pixel sizes of the system interface font.
QtObject {
    // Backgrounds
    readonly property color windowBackground: Qt.rgba(0.08, 0.09, 0.11, 1)
    readonly property color sidebarBackground: Qt.rgba(0.11, 0.12, 0.15, 1)
    readonly property color contentBackground: Qt.rgba(0.09, 0.10, 0.12, 1)
    readonly property color listBackground: Qt.rgba(0.14, 0.15, 0.18, 1)

    // The system colours of a dark desktop: accent, standard orange and green.
    readonly property color accent: "#0a84ff"
    readonly property color orange: "#ff9f0a"
    readonly property color green: "#30d158"
    readonly property color red: "#ff453a"
    readonly property color white: "#ffffff"
    readonly property color black: "#000000"

    // White, or a colour, at an opacity (the design's "white at opacity x").
    function whiteAlpha(opacity) {
        return Qt.rgba(1, 1, 1, opacity)
    }
    function tint(base, opacity) {
        return Qt.rgba(base.r, base.g, base.b, opacity)
    }

    // A thin separator line drawn over a white 0.08 band: the line's own
    // white 0.10 composited over the band.
    readonly property color separator: Qt.rgba(1, 1, 1, 0.172)
    readonly property int separatorThickness: 1

    // Outline of every rounded rectangle
    readonly property int outlineWidth: 1

    // Fonts
    readonly property int bodySize: 13
    readonly property int weightMedium: Font.Medium
    readonly property int weightSemibold: Font.DemiBold
    readonly property int weightBold: Font.Bold

    // Symbols are drawn a little larger than text of the same font size, as
    // symbol glyphs are; the stroke follows the weight.
    readonly property real symbolScale: 1.2
    readonly property real strokeRegular: 2.0
    readonly property real strokeMedium: 2.1
    readonly property real strokeSemibold: 2.3
    readonly property real strokeBold: 2.5

    // Sidebar
    readonly property int sidebarWidth: 292
    readonly property int headerSpacing: 12
    readonly property int headerTopInset: 28
    readonly property int headerBottomInset: 22
    readonly property int appIconSize: 104
    readonly property int appIconRadius: 24
    readonly property real appIconShadowOpacity: 0.26
    readonly property int appIconShadowBlur: 18
    readonly property int appIconShadowOffsetY: 10
    readonly property int productNameSize: 23
    readonly property int productLineSize: 13
    readonly property real productLineOpacity: 0.64
    readonly property int productNameSpacing: 4
    readonly property string productLine: "Hardware Browser"

    readonly property int sidebarStackSpacing: 18
    readonly property int sidebarSideInset: 18
    readonly property int sidebarBottomInset: 20
    readonly property int sidebarRowSpacing: 8
    readonly property int dividerMargin: 6
    readonly property real dividerOpacity: 0.08

    readonly property int sectionTitleSize: 11
    readonly property real sectionTitleOpacity: 0.46
    readonly property int sectionTitleInset: 8

    readonly property int rowSpacing: 12
    readonly property int rowInset: 12
    readonly property int rowRadius: 12
    readonly property int rowIconFrame: 24
    readonly property int categoryIconSize: 14
    readonly property int categoryTitleSize: 13
    readonly property int categorySpacerMinimum: 10
    readonly property int badgeSize: 11
    readonly property real badgeTextOpacitySelected: 0.9
    readonly property real badgeTextOpacity: 0.62
    readonly property real badgeFillOpacitySelected: 0.18
    readonly property real badgeFillOpacity: 0.08
    readonly property int badgeHorizontalInset: 8
    readonly property int badgeVerticalInset: 4
    readonly property real rowFillOpacity: 0.045
    readonly property real rowOutlineOpacity: 0.06
    readonly property real rowOutlineOpacitySelected: 0.3
    readonly property real actionIconOpacity: 0.86
    readonly property int actionTitleSize: 13
    readonly property real actionTitleOpacity: 0.9

    readonly property int statusSpacing: 8
    readonly property int statusSideInset: 22
    readonly property int statusBottomInset: 18
    // Keeps the last scrolled row from running into the status line.
    readonly property int statusTopInset: 10
    readonly property int statusDotSize: 9
    readonly property int statusTextSize: 12
    readonly property real statusTextOpacity: 0.68

    // Toolbar
    readonly property int toolbarHeight: 78
    readonly property int toolbarSpacing: 16
    readonly property int toolbarSideInset: 24
    readonly property int toolbarVerticalInset: 14
    readonly property int toolbarTitleSize: 18
    readonly property int toolbarSubtitleSize: 12
    readonly property real toolbarSubtitleOpacity: 0.6
    readonly property int toolbarTitleSpacing: 4
    readonly property int toolbarSpacerMinimum: 18

    readonly property int searchSpacing: 8
    readonly property real searchIconOpacity: 0.5
    readonly property real searchPlaceholderOpacity: 0.35
    readonly property int searchHorizontalInset: 12
    readonly property int searchVerticalInset: 10
    readonly property int searchMinimumWidth: 180
    readonly property int searchIdealWidth: 280
    readonly property int searchMaximumWidth: 320
    readonly property int controlRadius: 10
    readonly property real controlFillOpacity: 0.06
    readonly property real controlOutlineOpacity: 0.08

    readonly property int toolbarButtonSpacing: 8
    readonly property int toolbarButtonIconSize: 13
    readonly property int toolbarButtonTitleSize: 12
    readonly property int toolbarButtonMinimumWidth: 44
    readonly property int toolbarButtonMinimumHeight: 42
    readonly property int toolbarButtonInset: 10
    readonly property real disabledOpacity: 0.4
    readonly property real toggleOnFillOpacity: 0.35

    // Body
    readonly property int bodySpacing: 18
    readonly property int bodyInset: 24
    readonly property int headingSpacing: 8
    readonly property int headingTitleSize: 27
    readonly property int headingDescriptionSize: 13
    readonly property real headingDescriptionOpacity: 0.6
    readonly property int headingTitleSpacing: 4
    readonly property int headingSpacerMinimum: 18
    readonly property int tileSpacing: 10
    readonly property int tileWidth: 76
    readonly property int tileHeight: 50
    readonly property int tileValueSize: 16
    readonly property int tileTitleSize: 10
    readonly property real tileTitleOpacity: 0.54
    readonly property int tileStackSpacing: 2
    readonly property int tileRadius: 12
    readonly property real tileFillOpacity: 0.055
    readonly property real tileOutlineOpacity: 0.08

    // Warnings box
    readonly property int warningSpacing: 8
    readonly property int warningTextSize: 12
    readonly property int warningInset: 14
    readonly property int warningRadius: 12
    readonly property real warningFillOpacity: 0.12
    readonly property real warningOutlineOpacity: 0.15
    readonly property int warningIconSpacing: 6

    // Comparison: the marks of added, removed and changed facts
    readonly property color addedColor: green
    readonly property color removedColor: red
    readonly property color changedColor: orange
    readonly property int changeMarkSize: 16
    readonly property real removedValueOpacity: 0.55
    readonly property int bannerRowSpacing: 10

    // Note that the firmware tables were read as administrator
    readonly property int noteInset: 10
    readonly property int noteRadius: 12
    readonly property int noteTextSize: 12
    readonly property int noteIconSpacing: 6
    readonly property real noteFillOpacity: 0.1
    readonly property real noteOutlineOpacity: 0.15

    // Opened report banner
    readonly property int bannerInset: 14
    readonly property int bannerRadius: 12
    readonly property int bannerSpacing: 6
    readonly property int bannerTitleSize: 14
    readonly property int bannerTextSize: 12
    readonly property real bannerTextOpacity: 0.72
    readonly property real bannerFillOpacity: 0.12
    readonly property real bannerOutlineOpacity: 0.2

    // Placeholders
    readonly property int placeholderSpacing: 12
    readonly property int spinnerSize: 32
    readonly property int loadingTitleSize: 15
    readonly property int placeholderTextSize: 12
    readonly property real placeholderTextOpacity: 0.56
    readonly property int emptyIconSize: 34
    readonly property real emptyIconOpacity: 0.56
    readonly property int emptyTitleSize: 17

    // List
    readonly property int listSectionSpacing: 18
    readonly property int listBottomInset: 12
    readonly property int listSectionHeaderSpacing: 8
    readonly property int listSectionTitleSize: 11
    readonly property real listSectionTitleOpacity: 0.44
    readonly property int listSectionTitleInset: 12
    readonly property int cardRadius: 13
    readonly property real cardOutlineOpacity: 0.08
    readonly property int cardDividerInset: 52
    readonly property real rowMarkerFillOpacity: 0.12
    readonly property int sectionCopySpacing: 5
    readonly property real sectionCopyHoverOpacity: 0.9
    // A typical row's height, for paging through the list with the keyboard.
    readonly property int listRowEstimate: 52

    readonly property int itemSpacing: 12
    readonly property int itemHorizontalInset: 14
    readonly property int itemVerticalInset: 12
    readonly property int itemIconSize: 15
    readonly property real itemIconOpacity: 0.6
    readonly property int itemIconFrame: 24
    readonly property int itemTextSpacing: 5
    readonly property int itemTitleSize: 13
    readonly property int itemTitleLines: 2
    readonly property int itemSubtitleSpacing: 8
    readonly property int itemSubtitleSize: 10
    readonly property real itemSubtitleOpacity: 0.44
    readonly property int itemSpacerMinimum: 12
    readonly property int itemValueSize: 13
    readonly property real itemValueOpacity: 0.9
    readonly property int itemValueLines: 3
    readonly property int itemValueMaximumWidth: 420
    // The title column is laid out first; the value keeps at least this much
    // room (or its own width, if narrower) so it never collapses to nothing.
    readonly property int itemValueMinimumWidth: 120
    readonly property int chevronSize: 11
    readonly property real chevronOpacity: 0.25

    readonly property int loadMoreSpacing: 8
    readonly property int loadMoreTextSize: 13
    readonly property real loadMoreCounterOpacity: 0.48
    readonly property int loadMoreMinimumHeight: 44
    readonly property int loadMoreRadius: 12
    readonly property real loadMoreFillOpacity: 0.055
    readonly property real loadMoreOutlineOpacity: 0.08

    // Footer
    readonly property int footerSpacing: 12
    readonly property int footerSideInset: 24
    readonly property int footerVerticalInset: 12
    readonly property int footerStatusSize: 12
    readonly property real footerStatusOpacity: 0.56
    readonly property int footerSpacerMinimum: 12
    readonly property int footerStripMaximumWidth: 380
    readonly property int footerStripSpacing: 10
    readonly property int footerButtonTitleSize: 12
    readonly property int footerButtonMinimumWidth: 108
    readonly property int footerButtonMinimumHeight: 38
    readonly property int footerButtonInset: 8

    // Interaction feedback (the design leaves pressed and focus looks open)
    readonly property real hoverOverlayOpacity: 0.035
    readonly property real pressedOverlayOpacity: 0.07
    readonly property int focusRingWidth: 2
    readonly property real selectionOpacity: 0.45

    // ---- Shell: raw output sheet, Help window, About panel, menus ----
    readonly property string monospaceFamily: "monospace"
    readonly property int wheelStep: 48

    readonly property color sheetDimColor: Qt.rgba(0, 0, 0, 0.45)
    readonly property int sheetMargin: 40
    readonly property int sheetRadius: 12
    readonly property real sheetOutlineOpacity: 0.1
    readonly property int sheetButtonMinimumWidth: 72
    readonly property int sheetButtonMinimumHeight: 30
    readonly property int sheetButtonHorizontalInset: 14
    readonly property int sheetButtonVerticalInset: 6
    readonly property int sheetButtonTextSize: 13
    readonly property real sheetButtonTextOpacity: 0.92

    readonly property int scrollBarWidth: 7
    readonly property int scrollBarPadding: 3
    readonly property int scrollBarMinimumSize: 0
    readonly property real scrollBarOpacity: 0.28
    readonly property real scrollBarPressedOpacity: 0.45

    readonly property int rawSheetMinimumWidth: 760
    readonly property int rawSheetMinimumHeight: 520
    readonly property int rawSheetIdealWidth: 960
    readonly property int rawSheetIdealHeight: 680
    readonly property int rawSheetInset: 18
    readonly property int rawSheetHeaderSpacing: 8
    readonly property int rawSheetTitleSpacing: 3
    readonly property int rawSheetTitleSize: 18
    readonly property int rawSheetSubtitleSize: 12
    readonly property real rawSheetSubtitleOpacity: 0.56
    readonly property int rawTextSize: 12
    readonly property real rawTextOpacity: 0.92

    readonly property int helpWindowWidth: 720
    readonly property int helpWindowHeight: 560
    readonly property int helpWindowMinimumWidth: 360
    readonly property int helpWindowMinimumHeight: 240
    readonly property int helpTextInset: 22
    readonly property int helpTextSize: 13
    readonly property real helpTextOpacity: 0.92

    readonly property int aboutWidth: 380
    readonly property int aboutInset: 24
    readonly property int aboutSpacing: 6
    readonly property int aboutIconSize: 96
    readonly property int aboutNameSize: 18
    readonly property int aboutTextSize: 12
    readonly property int aboutCreditsSize: 11
    readonly property real aboutCreditsLineHeight: 1.15
    readonly property real aboutTextOpacity: 0.86
    readonly property real aboutSecondaryOpacity: 0.6

    readonly property int menuBarHeight: 28
    readonly property int menuBarItemInset: 10
    readonly property int menuBarItemVerticalInset: 4
    readonly property int menuTextSize: 13
    readonly property real menuTextOpacity: 0.9
    readonly property real menuShortcutOpacity: 0.5
    readonly property real menuHighlightOpacity: 0.08
    readonly property real menuSelectedOpacity: 0.8
    readonly property int menuHighlightRadius: 6
    readonly property int menuMinimumWidth: 220
    readonly property int menuPadding: 5
    readonly property int menuRadius: 8
    readonly property int menuItemHeight: 26
    readonly property int menuItemInset: 10
    readonly property int menuItemVerticalInset: 4
    readonly property int menuItemSpacing: 24
    readonly property int menuCheckSize: 16

    readonly property int saveDialogWidth: 640
    readonly property int saveDialogHeight: 500
    readonly property int saveDialogInset: 18
    readonly property int saveDialogSpacing: 8
    readonly property int saveDialogRowHeight: 28

    readonly property int alertWidth: 360
    readonly property int alertInset: 22
    readonly property int alertSpacing: 10
    readonly property int alertIconSize: 26
    readonly property int alertTextSize: 13
    readonly property int alertMessageSize: 12
    readonly property real alertMessageOpacity: 0.72
}
