#pragma once

#include <thread>

// The font configuration read on a thread of its own while the program
// loads the rest of itself (its module, the toolkit) and starts: the first
// text drawn (a window's, a picture's, a PDF's) would otherwise wait for it
// on the main thread, some milliseconds of every start. Fontconfig is
// loaded here by its file name (the launcher links Qt Core alone); Qt's font
// database later finds its configuration read, once the program has waited
// for it (wait()) before its first text. Joined when it goes.
class FontWarmUp
{
public:
    // Nothing happens unless `wanted` (a run that draws no text never loads
    // fonts), or when the library or a thread cannot be had: the font
    // database then reads the configuration when it is first used.
    explicit FontWarmUp(bool wanted);
    ~FontWarmUp();

    // Returns when the configuration is read (at once when it is, or when
    // nothing reads it). On the thread that made it.
    void wait();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

private:
    std::thread m_thread;
};
