#include "watch/ConvertedJobs.h"

#include "export/PngExport.h"
#include "platform/FileChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A mark's word in the record; a converted job's line is its key alone.
QString wordOf(ConvertedJobs::State state)
{
    switch (state) {
    case ConvertedJobs::State::Acting: return QStringLiteral("acting");
    case ConvertedJobs::State::Failed: return QStringLiteral("failed");
    case ConvertedJobs::State::New: return QStringLiteral("retry");
    case ConvertedJobs::State::Converted: break;
    }
    return QString();
}

} // namespace

ConvertedJobs::ConvertedJobs(const QString &outDir)
    : m_outDir(outDir)
{
    // Not through a link another user planted: their lines would hide jobs
    // as converted (the watch refuses to start on one).
    const QString path = QDir(outDir).filePath(QLatin1String(FileName));
    QFile record(path);
    if (FileChecks::plantedLink(path) || !record.open(QIODevice::ReadOnly))
        return;
    // One line per job, a key (which begins with the job's size) or a mark's
    // word and a key; a line cut short by a crash has no line end and is
    // not taken.
    while (!record.atEnd()) {
        const QByteArray line = record.readLine();
        if (!line.endsWith('\n'))
            continue;
        const QString text = QString::fromUtf8(line.chopped(1));
        State state = State::Converted;
        QString key = text;
        for (const State marked : {State::Acting, State::Failed, State::New}) {
            const QString word = wordOf(marked) + QLatin1Char(' ');
            if (text.startsWith(word)) {
                state = marked;
                key = text.mid(word.size());
            }
        }
        if (state == State::New)
            m_marks.remove(key);
        else
            m_marks.insert(key, state);
    }
}

QString ConvertedJobs::keyOf(const QString &job)
{
    struct stat info;
    if (::stat(QFile::encodeName(job).constData(), &info) != 0)
        return QString();
    // The name last: it may hold spaces; a line end in it (a job title can
    // hold one) is written as "/", which no file name holds, so that the
    // record keeps one line per job.
    return QStringLiteral("%1 %2.%3 %4")
        .arg(qint64(info.st_size))
        .arg(qint64(info.st_mtim.tv_sec))
        .arg(qint64(info.st_mtim.tv_nsec), 9, 10, QLatin1Char('0'))
        .arg(QFileInfo(job).fileName().replace(QLatin1Char('\n'), QLatin1Char('/')));
}

ConvertedJobs::State ConvertedJobs::state(const QString &job, const QString &output, bool outputsCount) const
{
    const QString key = keyOf(job);
    if (!key.isEmpty() && m_marks.contains(key))
        return m_marks.value(key);
    if (!outputsCount)
        return State::New;
    const QString named = QDir(m_outDir).filePath(output);
    const QFileInfo made(PngExport::isPngName(named) ? PngExport::firstPicture(named) : named);
    return made.isFile() && made.lastModified() >= QFileInfo(job).lastModified() ? State::Converted : State::New;
}

bool ConvertedJobs::mark(const QString &job, State state, QString *error)
{
    if (!writeMark(m_outDir, job, state, error))
        return false;
    const QString key = keyOf(job);
    if (state == State::New)
        m_marks.remove(key);
    else
        m_marks.insert(key, state);
    return true;
}

bool ConvertedJobs::writeMark(const QString &outDir, const QString &job, State state, QString *error)
{
    const QString key = keyOf(job);
    const QString path = QDir(outDir).filePath(QLatin1String(FileName));
    const QString word = wordOf(state);
    const QByteArray line = (word.isEmpty() ? key : word + QLatin1Char(' ') + key).toUtf8() + '\n';
    // One write of a whole line at the end of the file: a crash leaves at
    // most one line without its end, which the next start skips.
    if (key.isEmpty()) { // taken out of the spool meanwhile
        if (error)
            *error = QStringLiteral("%1: the job is no longer there").arg(job);
        return false;
    }
    // Written as any output is: not through a link another user planted in a
    // shared output folder (its line went into their file).
    const QString problem = FileChecks::outputProblem(path);
    if (!problem.isEmpty()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, problem);
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    QByteArray bytes = line;
    struct stat info;
    char last = '\n';
    if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_size > 0 && ::pread(fd, &last, 1, info.st_size - 1) == 1
        && last != '\n')
        bytes.prepend('\n'); // ends the line a crash cut short
    const bool written = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    const int cause = written ? 0 : errno;
    if (fd >= 0 && ::close(fd) != 0 && written) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, qt_error_string(errno));
        return false;
    }
    if (!written) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, qt_error_string(cause));
        return false;
    }
    return true;
}
