#include "platform/PartFileCleanup.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace PartFileCleanup {

namespace {

enum State : int { Free, Filling, Covered };

struct Slot
{
    std::atomic<int> state {Free};
    char folder[PATH_MAX] = {};
    char ending[64] = {};
};

// Shared with the signal handler, which can be given nothing else.
Slot covered[Saves];
std::atomic<bool> handlerSet {false};

bool endsWith(const char *name, const char *ending)
{
    const size_t n = std::strlen(name);
    const size_t e = std::strlen(ending);
    return n > e && std::memcmp(name + n - e, ending, e) == 0;
}

// Only system calls from here on: the signal may have come anywhere.
void removeCovered(const Slot &slot)
{
    const int dir = ::open(slot.folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return;
    alignas(8) char entries[8192];
    for (;;) {
        const long got = ::syscall(SYS_getdents64, dir, entries, sizeof entries);
        if (got <= 0)
            break;
        for (long at = 0; at < got;) {
            const auto *entry = reinterpret_cast<const struct dirent64 *>(entries + at);
            if (entry->d_name[0] == '.' && endsWith(entry->d_name, slot.ending))
                ::unlinkat(dir, entry->d_name, 0);
            at += entry->d_reclen;
        }
    }
    ::close(dir);
}

void onStop(int signal)
{
    const int saved = errno;
    for (const Slot &slot : covered) {
        if (slot.state.load() == Covered)
            removeCovered(slot);
    }
    // Ended by the signal, as without the handler (the shell sees it).
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    errno = saved;
}

void setHandler()
{
    if (handlerSet.exchange(true))
        return;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        sigset_t held;
        if (::pthread_sigmask(SIG_BLOCK, nullptr, &held) == 0 && sigismember(&held, signal))
            continue;
        struct sigaction action {};
        action.sa_handler = onStop;
        sigemptyset(&action.sa_mask);
        for (const int other : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}

} // namespace

int cover(const QByteArray &folder, const QByteArray &ending)
{
    if (folder.isEmpty() || folder.size() >= PATH_MAX || ending.isEmpty() || ending.size() >= 64)
        return -1;
    for (int i = 0; i < Saves; ++i) {
        int expected = Free;
        if (!covered[i].state.compare_exchange_strong(expected, Filling))
            continue;
        std::memcpy(covered[i].folder, folder.constData(), size_t(folder.size()) + 1);
        std::memcpy(covered[i].ending, ending.constData(), size_t(ending.size()) + 1);
        covered[i].state.store(Covered);
        setHandler();
        return i;
    }
    return -1;
}

void release(int slot)
{
    if (slot >= 0 && slot < Saves)
        covered[slot].state.store(Free);
}

} // namespace PartFileCleanup
