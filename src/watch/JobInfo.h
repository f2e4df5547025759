#pragma once

#include <QString>

// What the capture backend records with each job: for DIR/<stem>.prn, the
// hidden side file DIR/.<stem>.prn.info, written whole before the job is
// published. Lines "key=value" in UTF-8; in values every byte below 0x20,
// 0x7f and '%' are written as %XX. Unknown keys are left alone.
// The backend writes the file in plain C, linking nothing of the program
// (src/backend/sticker2-backend.c: put_value and write_info); a change to
// the format is made there and in JobInfo.cpp alike.
struct JobInfo
{
    QString job;   // the CUPS job number
    QString user;  // the printing user
    QString title; // the job's title
    QString queue; // the capture queue
    int copies = 1;
};

// The side file of a job: DIR/.<name>.info.
QString jobInfoPath(const QString &jobPath);

// Reads the details of a job. False with no error text when the job has no
// side file (the fields stay empty), false with one when it cannot be read
// or when its writer may not speak for the job (see untrustedWriter).
bool readJobInfo(const QString &jobPath, JobInfo *info, QString *error);

// The side file's text as the backend writes it (for tests and tools).
QByteArray jobInfoText(const JobInfo &info);
