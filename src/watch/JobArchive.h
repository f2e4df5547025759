#pragma once

#include <QSet>
#include <QString>

// Where a converted or failed job goes: into a folder of its own (done/,
// failed/), under its own name or, when that is taken, name-2, name-3 ...
// Nothing is written over and nothing is lost.
namespace JobArchive {

// `fileName` in `folder`, or the first of name-2.ext, name-3.ext ... that is
// free and not among `taken` (outputs promised but not written yet). The
// pictures of NAME.png are NAME-001.png ...: the first of them holds it.
QString freePath(const QString &folder, const QString &fileName, const QSet<QString> &taken = {});

// Moves `file` into `folder` (made when missing). Across file systems, or
// out of a folder this user may not change, the file is copied whole; when
// the original cannot then be removed it stays, and `note` says so; a copy
// of the same bytes left by such an earlier move is taken as the move. False
// with an error text when not even a copy could be made. The job's side
// file (.NAME.info, written by the capture backend) goes with it.
bool moveInto(const QString &file, const QString &folder, QString *movedTo, QString *note, QString *error);

// Writes `text` whole as `path`; with `likeFile`, as private as that file.
bool writeText(const QString &path, const QString &text, QString *error, const QString &likeFile = QString());

} // namespace JobArchive
