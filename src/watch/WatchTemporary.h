#pragma once

#include <QString>

// The watch's private temporary folders (the copy of the rules in force,
// each job's plan, with its mail addresses and fields) are named after the
// watch's process. A watch killed outright (SIGKILL, a power cut) cannot
// take its own away: the next watch of the same user takes away those of
// watches that no longer run.
namespace WatchTemporary {

// For a QTemporaryDir: <temporary folder>/sticker2-watch-<pid>-XXXXXX.
QString folderTemplate();

// Takes away the folders of this user's watches that no longer run (a
// process of the number that runs keeps its folder, whoever it is). The
// folders taken away.
int removeLeftOver();

} // namespace WatchTemporary
