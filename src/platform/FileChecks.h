#pragma once

#include <QString>
#include <QStringList>

// What a path names before a file is read from it or written over it. Only
// regular files are read or replaced: a FIFO blocks a reader forever, a
// device such as /dev/zero never ends, and saving over a device or a FIFO
// would put a regular file in its place.
namespace FileChecks {

// True when the path names a regular file, following links.
bool isRegularFile(const QString &path);

// The one judgement of every writer (the command line, the exports, the
// sheets, the saves) on a path it is to write, and its words.
// Empty when a file may be written at the path: nothing is there yet, or a
// regular file (also through links, but not through a plantedLink).
// Otherwise why not, to follow "Cannot write <file>: ": a folder, a device or
// a pipe, a planted link.
QString outputProblem(const QString &path);
// "Cannot write <file>: <why>." when nothing may be written at the path
// (outputProblem) or it is one of `inputs` (inputOverwriteText); empty when
// it may. A command refuses with it before any work.
QString outputRefusal(const QString &path, const QStringList &inputs = {});

// The same judgement of a path to read: empty when it is a regular file (also
// through links) or nothing can be looked at there, which the reader's own
// error then names (no such file, no permission); "not a regular file" for a
// folder, a device or a pipe, which would block or never end.
QString inputProblem(const QString &path);

// True when the path is a link that another user planted in a folder
// everyone may write to and that keeps others' files (sticky, like /tmp):
// one neither the caller nor the folder's owner made. The kernel follows
// no such link for open(); a save, which resolves the link itself and
// renames over its target, must not either.
bool plantedLink(const QString &path);
// Why a plantedLink may not be followed, to follow "<path>: "; empty for any
// other path. For a folder to write into, as outputProblem is for a file.
QString plantedLinkProblem(const QString &path);

// True when both paths name the same file (the same device and inode,
// following links), as `cp a a` refuses to copy a file onto itself.
bool sameFile(const QString &a, const QString &b);
// The first of `inputs` that `output` is (sameFile), or empty.
QString inputAt(const QString &output, const QStringList &inputs);
// "Cannot write OUTPUT: it is the input INPUT." in the user's language.
QString inputOverwriteText(const QString &output, const QString &input);

// Makes the folder and the folders above it that are missing; false, with
// "FOLDER: cause", when it cannot: a file of that name (or above it) is in
// the way, or a folder on the way may not be written.
bool makeFolder(const QString &folder, QString *error);

} // namespace FileChecks
