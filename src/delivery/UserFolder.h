#pragma once

#include <QString>
#include <QStringList>

// Delivery into the printing user's own folder (~user/PDF), as users know it
// from the virtual PDF printer: the folder is made when missing (mode 0700),
// the file is theirs, mode 0600, readable by them alone.
//
// Who may do it: the process itself when it runs as that user, or a process
// that holds CAP_SETUID and CAP_SETGID (the PDF service's own user is given
// just these two by its unit, root has them). The copy is made by a short
// child that takes on the user's groups and user for good (setgroups,
// setresgid, setresuid, then every capability dropped), so it can do no
// more in the home folder than the user could, and walks from the home
// folder down by descriptor: a link planted as ~/PDF is refused, a name that
// is taken (by a file or a link) is never written through, the file is
// written under a hidden name and appears whole. Call it from the process
// that keeps the two capabilities (the watch); the conversion of a job, which
// parses what anyone printed, runs in a child that has none.
struct UserFolderPolicy
{
    // Users below this id (system users) are refused; -1: UID_MIN of
    // /etc/login.defs (1000 when it says nothing). Root is always refused.
    int minimumUid = -1;
    // System users that may still have a folder, by name.
    QStringList allowedSystemUsers;
    // The folder under the home folder.
    QString folderName = QStringLiteral("PDF");
    // A folder never delivered into, whatever name leads to it: the folder
    // a watch takes its jobs from (a PDF put there would come back as a job).
    QString refusedFolder;
};

// Puts a copy of `sourcePath` into `user`'s folder, named `fileName` or, when
// that is taken, name-2, name-3 ... True with `finalPath` set; false with one
// line naming the user, the folder and the cause: a name that is no local
// user, a system user, a home folder missing or not the user's, a link
// planted as the folder, a process that may not act as the user, a full
// disk. A file name with a '/' or starting with '.' is refused.
bool deliverToUser(const QString &user, const QString &sourcePath, const QString &fileName, QString *finalPath,
    QString *error);
bool deliverToUser(const QString &user, const QString &sourcePath, const QString &fileName,
    const UserFolderPolicy &policy, QString *finalPath, QString *error);

// UID_MIN of a login.defs file (the first uid of a person's account);
// `fallback` when it is missing or says nothing.
int loginDefsUidMin(const QString &path = QStringLiteral("/etc/login.defs"), int fallback = 1000);
