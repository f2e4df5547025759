#pragma once

#include <QGuiApplication>

#include <cstdlib>

// The application a fuzz target that draws needs (fonts, the offscreen
// platform), made once and never destroyed: libFuzzer leaves by exit(),
// after which Qt's own clean-up would run in no defined order.
inline void startFuzzApplication(char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int count = 1;
    static char *arguments[] = {(*argv)[0], nullptr};
    new QGuiApplication(count, arguments);
}
