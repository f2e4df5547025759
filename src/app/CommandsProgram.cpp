// The commands that open no window and that the core does not run (convert,
// print, the rules, the watch's conversions, a PDF sheet), loaded by the
// launcher (main.cpp) without Qt Widgets: the engine and Qt Gui only.
#include "app/HeadlessProgram.h"
#include "app/ProgramModule.h"

// The launcher has set the process up (signals, heap) already.
extern "C" Q_DECL_EXPORT int sticker2_commands_main(int argc, char *argv[], const ProgramModule::Handover *handover)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return runHeadlessProgram(argc, argv, arguments, *handover);
}
