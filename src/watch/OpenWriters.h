#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace OpenWriters {

// Of `paths`, those that a process this user may inspect has open for
// writing (Linux: the descriptors under /proc, walked once for all of
// them). Processes of other users are not seen; elsewhere none is.
QSet<QString> openForWriting(const QStringList &paths);

// The same for one file.
bool isOpenForWriting(const QString &path);

} // namespace OpenWriters
