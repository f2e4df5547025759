#include "cli/StopSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <initializer_list>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

// The stop signals the process was not started ignoring: under nohup (a
// SIGHUP ignored) or in a shell's background job (SIGINT ignored) those
// stay ignored, as they would without this.
sigset_t stopSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction now {};
        if (::sigaction(signal, nullptr, &now) == 0 && now.sa_handler == SIG_IGN)
            continue;
        sigaddset(&set, signal);
    }
    return set;
}

} // namespace

StopSignals::StopSignals(QObject *parent)
    : QObject(parent)
{
    const sigset_t set = stopSet();
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    m_fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_fd < 0) {
        ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr); // the signals end the program as before
        return;
    }
    m_notifier = new QSocketNotifier(qintptr(m_fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info {};
        while (::read(m_fd, &info, sizeof info) == ssize_t(sizeof info))
            emit stopped(int(info.ssi_signo));
    });
}

StopSignals::~StopSignals()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
    const sigset_t set = stopSet();
    ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

int StopSignals::received()
{
    signalfd_siginfo info {};
    if (m_fd >= 0 && ::read(m_fd, &info, sizeof info) == ssize_t(sizeof info))
        return int(info.ssi_signo);
    return 0;
}

void StopSignals::prepareChild(long parent)
{
    const sigset_t set = stopSet();
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != pid_t(parent)) // the parent ended before the line above
        ::raise(SIGTERM);
}
