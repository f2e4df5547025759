#pragma once

#include "app/ProgramModule.h"

#include <QStringList>

// A command line that opens no window, from its application object on: a
// QCoreApplication for one that draws nothing (no platform plugin, no
// fonts), else a QGuiApplication on the offscreen platform unless another is
// named. It never depends on a display. Both modules run commands through it;
// a command that draws waits for the fonts' configuration being read
// (handover) before it runs.
int runHeadlessProgram(int argc, char *argv[], const QStringList &arguments,
    const ProgramModule::Handover &handover);
