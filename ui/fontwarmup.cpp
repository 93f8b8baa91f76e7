#include "ui/fontwarmup.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QStringList>

#if __has_include(<fontconfig/fontconfig.h>)
#include <fontconfig/fontconfig.h>
#define KESTRIN_HAVE_FONTCONFIG 1
#endif

#include <system_error>

FontWarmUp::FontWarmUp()
{
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error &) {
        // No thread to spare: the fonts are set up on first use, as usual.
    }
}

FontWarmUp::~FontWarmUp()
{
    finish();
}

void FontWarmUp::applicationReady()
{
    const std::lock_guard lock(m_mutex);
    m_applicationReady = true;
    m_changed.notify_all();
}

void FontWarmUp::finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_finishing = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void FontWarmUp::run()
{
#ifdef KESTRIN_HAVE_FONTCONFIG
    FcInit();
#endif
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_applicationReady || m_finishing; });
    if (m_applicationReady && !m_finishing) {
        lock.unlock();
        // Builds Qt's font list under Qt's font database lock.
        [[maybe_unused]] const QStringList families = QFontDatabase::families();
    }
}

void prepareFirstFrameFonts()
{
    for (const TextStyle &style : firstFrameTextStyles) {
        QFont font = QGuiApplication::font();
        font.setPixelSize(style.pixelSize);
        font.setWeight(style.weight);
        // Measuring loads the engine into this thread's font cache.
        [[maybe_unused]] const qreal height = QFontMetricsF(font).height();
    }
}
