#include "platform/ProcessSignals.h"

#include <csignal>

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
