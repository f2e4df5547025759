#pragma once

#include <QString>

namespace OpenWriters {

// True when a process this user may inspect has the file open for writing
// (Linux: the descriptors under /proc). Processes of other users are not
// seen; elsewhere the answer is always false.
bool isOpenForWriting(const QString &path);

} // namespace OpenWriters
