#pragma once

#include <QString>

// The CUPS queues on the sticker2 backend: every job printed to one is kept,
// byte for byte, as a file in a folder. A queue is raw: its driver passes
// raw jobs, plain text and unknown bytes unchanged and declares no filter
// for anything else, so CUPS refuses PDF, PostScript, raster and images
// instead of keeping them as if they were print files.
namespace CaptureQueue {

const QString DefaultName = QStringLiteral("TextCapture");
const QString DefaultFolder = QStringLiteral("/var/spool/sticker2");

struct Options
{
    QString name = DefaultName;
    QString folder = DefaultFolder; // absolute
    bool shared = false;            // offered to other computers
};

// "sticker2:/var/spool/sticker2", the path percent-encoded where a URI needs it.
QString deviceUri(const QString &folder);

// Empty when `name` may name a CUPS queue, else why not.
QString nameProblem(const QString &name);

// The user the spooler runs its unprivileged backends as, who writes the jobs.
const QString SpoolerUser = QStringLiteral("lp");

// Empty when the spooler's user may write into `folder` (it can reach it
// and create files there), else why not, naming the folder and the cause:
// without it every job would wait in the queue for ever. Judged from the
// owners and modes of the folder and the folders above it, and whether it
// lies on a read-only file system.
QString folderProblem(const QString &folder, const QString &user = SpoolerUser);

// Creates the queue, or changes it when it is a capture queue already (a
// queue of that name on another device is left alone and reported). Needs
// the spooler's administrator (root). False with an error text naming the
// queue and the cause.
bool add(const Options &options, QString *error);

// True when `name` is a capture queue, or a class with one among its
// members: what is printed on it may come back into a folder as a print
// job. False when it is not, or the spooler cannot say.
bool isCaptureQueue(const QString &name);

// Deletes a capture queue; any other queue is left alone and reported.
bool remove(const QString &name, QString *error);

} // namespace CaptureQueue
