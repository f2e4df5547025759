#include "app/FontWarmUp.h"

#include "LoadedLibraries.h"
#include "platform/SharedLibrary.h"

#include <system_error>

namespace {

struct Fontconfig
{
    int (*init)() = nullptr; // FcInit

    static QVector<SharedLibrary::Symbol> symbols(Fontconfig &table)
    {
        return {SharedLibrary::symbol("FcInit", table.init)};
    }
};

} // namespace

FontWarmUp::FontWarmUp(bool wanted)
{
    if (!wanted)
        return;
    // The library is loaded here, before the module (which needs it too)
    // is: the thread then reads while the module loads, never waiting for
    // the loader. (Fontconfig sets its configuration up once, whoever asks
    // first; a second caller meanwhile waits for it or uses the one made.)
    QString error;
    const Fontconfig *fontconfig
        = SharedLibrary::loadedTable<Fontconfig>(QStringLiteral(STICKER2_LIBFONTCONFIG), &error);
    if (!fontconfig)
        return;
    try {
        m_thread = std::thread([init = fontconfig->init] { init(); });
    } catch (const std::system_error &) {
    }
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
