#pragma once

// Some libraries say their own faults on standard error (libxlsxwriter's
// "[ERROR][packager.c: ...]", libpng's "libpng error: Read Error") beside
// the one line with the cause that the program gives. While one of these
// lives, standard error goes to /dev/null; the first to start holds it back
// and the last to end gives it back, so holds on several threads at once
// never leave it lost. Keep them short: what other threads say meanwhile is
// dropped too.
class LibraryMessagesHeldBack
{
public:
    LibraryMessagesHeldBack();
    ~LibraryMessagesHeldBack();
    LibraryMessagesHeldBack(const LibraryMessagesHeldBack &) = delete;
    LibraryMessagesHeldBack &operator=(const LibraryMessagesHeldBack &) = delete;
};
