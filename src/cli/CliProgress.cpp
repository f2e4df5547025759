#include "cli/CliProgress.h"

#include <cstdio>
#include <unistd.h>

CliProgress::CliProgress(const QString &file)
    : m_file(file)
    , m_terminal(::isatty(STDERR_FILENO) == 1)
{
    m_clock.start();
}

CliProgress::~CliProgress()
{
    finish();
}

bool CliProgress::show(const QString &what, qint64 done, qint64 total)
{
    if (!m_terminal || m_clock.elapsed() < 1000)
        return true;
    // Four times a second is enough for the eye.
    const qint64 now = m_clock.elapsed();
    if (m_shown && now - m_lastShown < 250 && done < total)
        return true;
    m_lastShown = now;
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    const QByteArray line = QStringLiteral("\r%1: %2 %3%\x1b[K").arg(m_file, what).arg(percent).toLocal8Bit();
    std::fputs(line.constData(), stderr);
    std::fflush(stderr);
    m_shown = true;
    return true;
}

void CliProgress::finish()
{
    if (!m_shown)
        return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    m_shown = false;
}
