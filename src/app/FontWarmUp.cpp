#include "app/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

FontWarmUp::FontWarmUp()
{
    // (Fontconfig sets its configuration up once whoever asks first; a
    // second caller meanwhile waits for it or uses the one made.)
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) {
        // No thread to be had: the font database reads it when first used.
    }
}

FontWarmUp::~FontWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}
