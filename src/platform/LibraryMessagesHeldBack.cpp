#include "platform/LibraryMessagesHeldBack.h"

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

// Standard error as it was before the first hold, and how many holds live.
struct Hold
{
    std::mutex lock;
    int holders = 0;
    int saved = -1;
};

Hold &hold()
{
    static Hold theHold;
    return theHold;
}

} // namespace

LibraryMessagesHeldBack::LibraryMessagesHeldBack()
{
    Hold &h = hold();
    const std::lock_guard<std::mutex> guard(h.lock);
    if (h.holders++ > 0)
        return;
    std::fflush(stderr);
    h.saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (h.saved >= 0 && nowhere >= 0)
        ::dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0)
        ::close(nowhere);
}

LibraryMessagesHeldBack::~LibraryMessagesHeldBack()
{
    Hold &h = hold();
    const std::lock_guard<std::mutex> guard(h.lock);
    if (--h.holders > 0)
        return;
    std::fflush(stderr);
    if (h.saved >= 0) {
        ::dup2(h.saved, STDERR_FILENO);
        ::close(h.saved);
        h.saved = -1;
    }
}
