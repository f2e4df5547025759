#pragma once

#include <QString>

#include <atomic>

// Prints a finished file (the job's PDF) on a CUPS queue, such as the
// office's laser printer, through the print server CUPS is set up to use
// (CUPS_SERVER or the client configuration). A PDF goes as application/pdf,
// so the queue's driver renders it; anything else is typed by CUPS.
//
// True once the server has taken the whole job. False with one line naming
// the queue and the cause: no such queue, a queue that refuses jobs, a print
// server that cannot be reached or stops answering for a minute, a file that
// cannot be read. A job that fails half-way is cancelled, so nothing prints.
// As soon as `stop` (when given) turns true, the job is given up too. The
// job asks for `copies` copies (the printing user's, from the captured job).
bool printFileTo(const QString &queue, const QString &path, const QString &title, int copies, QString *error,
    const std::atomic_bool *stop = nullptr);
