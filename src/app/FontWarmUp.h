#pragma once

#include <thread>

// The font configuration read on a thread of its own while the program
// starts: the first text drawn (a window's, a picture's, a PDF's) would
// otherwise wait for it on the main thread, some milliseconds of every
// start. Qt's font database later finds it read. Joined when it goes.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

private:
    std::thread m_thread;
};
