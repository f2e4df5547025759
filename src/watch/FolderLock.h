#pragma once

#include <QString>

// One converting watch per folder: the lock a watch holds on the folder it
// converts into (and on its spool when it moves the jobs away), so that a
// second watch started by hand beside the service does not convert, file
// and mail every job a second time. The kernel's lock on the open folder
// (flock): it goes with the process, however the process ends, and leaves no
// file behind. Child processes do not inherit it.
class FolderLock
{
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Takes the lock on `folder`; false, with "FOLDER: cause", when another
    // process holds it or the folder cannot be opened. `holder` says what
    // the other one does, for the message ("converts into it").
    bool take(const QString &folder, const QString &holder, QString *error);

private:
    int m_fd = -1;
};
