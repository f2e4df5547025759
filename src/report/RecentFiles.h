#pragma once

#include <QStringList>

// The print files opened last, newest first, kept in the settings: what the
// windows' "Recent Files" lists.
namespace RecentFiles {

constexpr int Limit = 10;

// The files as stored (at most Limit; empty entries left out).
QStringList read();
// Puts `path` (made absolute) first, dropping an earlier entry of the same
// file and any beyond the limit. False with the reason when the settings
// cannot be written.
bool add(const QString &path, QString *error = nullptr);
// Leaves `path` out of the list (a file that no longer exists).
bool remove(const QString &path, QString *error = nullptr);

} // namespace RecentFiles
