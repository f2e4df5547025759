#pragma once

#include <QString>

// Where the program keeps its files on this platform.
namespace AppPaths {

// "The program's folder": the per-user data folder (XDG_DATA_HOME moves it).
// Holds the Format folder and the print panel's page files.
QString programFolder();

// The Format folder inside the program's folder.
QString formatFolder();

// `name` inside `folder`, matched without regard to letter case: an existing
// entry of any case is returned, else the path with `name` as given.
QString findNoCase(const QString &folder, const QString &name);

// The private per-user folder (mode 0700) in the temporary location (TMPDIR
// moves it) where temporary print files are made. Created when missing;
// empty when it cannot be made safely (exists but is a link or not ours).
QString privateTempFolder();

// Creates the program's folder, the Format folder and a default Setting.txt
// when they are missing. Returns false when the folders cannot be created.
bool ensureProgramFolder();

} // namespace AppPaths

// A free temporary print file name "Tz<n>.Tmp" in the private temporary
// folder, searching from `lastNumber` (the caller's numbering, the number of
// the last temporary print file); updates `lastNumber`. The file is created
// (empty, exclusively, never through a link) so nobody else can take the
// name. Empty when the private folder cannot be used.
QString NextTempFileName(QString &lastNumber);

// The absolute, clean path of an existing file; empty when there is none.
QString ShortPathOf(const QString &path);
