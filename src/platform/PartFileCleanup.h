#pragma once

#include <QByteArray>

// The hidden files of saves under way (a save group's parts, written whole
// before they take their names) taken away when the program is stopped by
// SIGINT, SIGTERM or SIGHUP: Ctrl+C during a long export of pictures, or a
// watch stopping its converter, leaves no hidden files behind. Each save
// says the folder and the ending its hidden files have; the handler, which
// may only make system calls, lists each such folder and removes the files
// with that ending, then ends the program by the signal as it would have
// ended without it.
//
// The handler is set for a signal only where it would end the program: a
// signal that is ignored (nohup), caught or held back (the watch reads its
// stop signals itself) is left as it is. At most `Saves` saves at once are
// covered; one more is simply not taken away by a signal.
namespace PartFileCleanup {

constexpr int Saves = 32;

// Covers the files in `folder` whose names end in `ending` (a hidden file's
// ".TAG.part"); the slot to give back, or -1 when every slot is taken or
// the names are too long.
int cover(const QByteArray &folder, const QByteArray &ending);
// Done with: the save removed its files itself, or renamed them.
void release(int slot);

} // namespace PartFileCleanup
