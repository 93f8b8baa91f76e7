#pragma once

#include <QFont>

#include <condition_variable>
#include <mutex>
#include <thread>

// Font set-up is the largest single cost before the first frame: fontconfig
// parses its configuration (dozens of XML files), then Qt lists the fonts.
// Neither needs the main thread, so both run beside it while the window and
// its QML are built; the first text layout then finds them done (or waits on
// Qt's own font lock for the rest, never doing the work twice).
class FontWarmUp {
public:
    // Starts fontconfig's set-up at once; it needs no application object.
    FontWarmUp();
    ~FontWarmUp();

    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // The application object exists: Qt's font list may be built too.
    void applicationReady();
    // Waits for the thread. Must be called before the application object goes.
    void finish();

private:
    void run();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_applicationReady = false;
    bool m_finishing = false;
    std::thread m_thread;
};

// A text style of the window: pixel size and weight, as Theme.qml gives them.
struct TextStyle {
    int pixelSize;
    QFont::Weight weight;
};

// The styles the first frame draws text in (sidebar, toolbar, heading, tiles,
// placeholder, footer, menu bar). Kept in step with Theme.qml by a test; a
// style missing here only costs its font set-up later, on first use.
inline constexpr TextStyle firstFrameTextStyles[] = {
    {10, QFont::DemiBold}, {11, QFont::Bold},   {12, QFont::Medium},   {12, QFont::DemiBold},
    {13, QFont::Normal},   {13, QFont::Medium}, {13, QFont::DemiBold}, {15, QFont::DemiBold},
    {16, QFont::Bold},     {18, QFont::Bold},   {23, QFont::Bold},     {27, QFont::Bold},
};

// Creates the font engines of the first frame's text styles on the calling
// thread. Qt keeps font engines per thread, so this must run on the thread
// that lays the text out; it is worth doing while that thread would
// otherwise wait (for the QML types to load).
void prepareFirstFrameFonts();
