#pragma once

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
