#pragma once

#include <QHash>
#include <QString>

// What marks a job of a converting watch as converted: a line in the file
// ".sticker2-converted" in the output folder, written as soon as the job's
// output is complete. A job is known by its file name, size and time of last
// change, so a job written anew under the same name is a new job, while a
// restart of the watch, or an output that was renamed, deleted or is older
// than the job, converts nothing again. Outputs made before there was a
// record count too: an output of the name the watch gives the job's output
// (pictures: name-001.png) that is newer than the job.
//
// The record also keeps two other marks, each a line of its word and the
// job's key: "acting" while the actions of a job's rule (filing, mail,
// printing) run, so that a watch killed meanwhile does not take the job's
// PDF for the whole of it, nor do them again unasked; and "failed" for a
// job that failed and could not be taken out of the watched folder, so that
// it is not converted (and mailed) again at every start. "retry" takes a
// mark back. The last line of a job counts.
class ConvertedJobs
{
public:
    static constexpr const char *FileName = ".sticker2-converted";

    enum class State { New, Converted, Acting, Failed };

    // Reads the record of the folder (none yet is an empty record).
    explicit ConvertedJobs(const QString &outDir);

    // What became of the job: recorded, or (when `outputsCount`) converted
    // by an earlier version of the watch, whose output is there (`output`
    // the file name the watch gives the job's output in the output folder).
    State state(const QString &job, const QString &output, bool outputsCount = true) const;
    bool contains(const QString &job, const QString &output) const
    {
        return state(job, output) == State::Converted;
    }
    // Records the job as converted; false with the cause (the job would be
    // converted again at the next start).
    bool add(const QString &job, QString *error) { return mark(job, State::Converted, error); }
    // Records the job's state; New takes an earlier mark back.
    bool mark(const QString &job, State state, QString *error);
    // Writes the job's line into the record of `outDir` only (a record read
    // later sees it): safe on any thread, each line one whole write.
    static bool writeMark(const QString &outDir, const QString &job, State state, QString *error);

    // How the record knows the job as it is now (its size, time and name);
    // empty when it is gone. Another key later: it was written anew.
    static QString keyOf(const QString &job);

private:

    QString m_outDir;
    QHash<QString, State> m_marks; // by keyOf() of each recorded job
};
