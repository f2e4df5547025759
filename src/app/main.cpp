// The program's start, in plain C++: it links none of Qt. A stored slot's
// character-mode sheet (`sticker2 stickers`, the plain case) is written
// here; every other command line goes to the core module (CoreProgram.cpp),
// which runs what needs Qt Core alone and hands the rest on.
#include "app/ProgramModule.h"
#include "cli/PlainStickers.h"
#include "platform/HeapTuning.h"
#include "platform/ProcessSignals.h"
#include "platform/StandardDescriptors.h"
#include "platform/TemporaryFolder.h"

int main(int argc, char *argv[])
{
    holdStandardDescriptors();
    ignoreFileSizeSignal();
    keepTemporaryFolderUsable();
    keepLargeBuffersOnHeap();
    int status = 0;
    if (PlainStickers::run(argc, argv, &status))
        return status;
    return ProgramModule::run(ProgramModule::Core, argc, argv);
}
