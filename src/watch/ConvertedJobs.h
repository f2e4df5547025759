#pragma once

#include <QHash>
#include <QString>

// What marks a job of a converting watch as converted: a line in the file
// ".sticker2-converted" in the output folder, written as soon as the job's
// output is complete. A job is known by its file name, size and time of last
// change, so a job written anew under the same name is a new job, while a
// restart of the watch, or an output that was renamed, deleted or is older
// than the job, converts nothing again. Outputs made before there was a
// record count too: an output of the job's name (pictures: name-001.png)
// that is newer than the job.
class ConvertedJobs
{
public:
    static constexpr const char *FileName = ".sticker2-converted";

    // Reads the record of the folder (none yet is an empty record).
    explicit ConvertedJobs(const QString &outDir);

    // Whether the job was converted: recorded, or an output of an earlier
    // version of the watch is there (`extension` the outputs' ending).
    bool contains(const QString &job, const QString &extension) const;
    // Records the job as converted; false with the cause (the job would be
    // converted again at the next start).
    bool add(const QString &job, QString *error);

private:
    static QString keyOf(const QString &job);

    QString m_outDir;
    QHash<QString, bool> m_done; // keyOf() of each recorded job
};
