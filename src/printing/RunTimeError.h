#pragma once

#include <QString>

// A failure in the middle of a print job, as the error window reports it:
// a number, where it came from and what went wrong. Number 0 means none.
struct RunTimeError
{
    long number = 0;
    QString source;
    QString description;
    bool timedOut = false; // the server stopped answering (or the wait was cancelled)
    bool noServer = false; // the print server could not be reached at all

    bool pending() const { return number != 0; }
};
