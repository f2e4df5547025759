#pragma once

#include <QtGlobal>

// The start of a run of text that prints as plain characters, one cell each
// in the same look: no control code and, where `upperHalfStops` (the italic
// table, whose upper half prints italic, or a table whose 128-159 are control
// codes that print nothing), no byte from 128 up. While the sheet index only counts sheets, such a run needs
// no look at each character but whether any of it is ink (not a space).
struct PlainRun
{
    qsizetype length = 0; // bytes from the start that are plain
    bool inked = false;   // one of them is not a space
};

// At most `n` bytes from `p`.
PlainRun plainRun(const uchar *p, qsizetype n, bool upperHalfStops);
