#pragma once

#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <QTest>

// A capture queue of the private CUPS daemon of the tst_cups* tests, watched
// from now on: its backend writes each job as out/<queue>/job-<id>.title (the
// job's title), then job-<id>.prn whole.
class CaptureQueue
{
public:
    explicit CaptureQueue(const QString &name)
        : m_name(name)
        , m_dir(qEnvironmentVariable("STICKER2_CUPS_DIR") + "/out/" + name)
        , m_before(jobs())
    { }

    QString name() const { return m_name; }

    // The jobs in the queue's folder, by their title files.
    QStringList jobs() const { return m_dir.entryList({"job-*.title"}, QDir::Files); }

    // How many jobs there were when the watch began.
    qsizetype jobsBefore() const { return m_before.size(); }

    // The bytes of the first job titled `title` that came since the watch
    // began; waits up to 30 seconds, then says which job never came.
    QByteArray next(const QString &title) const
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 30000) {
            for (const QString &entry : jobs()) {
                const QString prn = m_dir.filePath(QString(entry).replace(".title", ".prn"));
                if (!m_before.contains(entry) && TestSupport::readFile(m_dir.filePath(entry)) == title.toUtf8()
                    && QFileInfo::exists(prn))
                    return TestSupport::readFile(prn);
            }
            QTest::qWait(20);
        }
        return "<no job titled " + title.toUtf8() + ">";
    }

    // The copies the job titled `title` asked for (after next() found it).
    QByteArray copies(const QString &title) const
    {
        for (const QString &entry : jobs()) {
            if (!m_before.contains(entry) && TestSupport::readFile(m_dir.filePath(entry)) == title.toUtf8())
                return TestSupport::readFile(m_dir.filePath(QString(entry).replace(".title", ".copies")));
        }
        return QByteArray();
    }

private:
    QString m_name;
    QDir m_dir;
    QStringList m_before;
};
