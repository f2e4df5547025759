#pragma once

#include <QSaveFile>

// The file every writer of this program saves through: a QSaveFile (whole
// or not at all, the old file kept on failure, written through a link to
// the file it names) that also
// - refuses at open a target that exists and is not a regular file (a
//   device, a FIFO, a folder), with a reason in errorString();
// - refuses a link that another user planted in a shared sticky folder
//   such as /tmp (one neither the caller nor the folder's owner made);
// - writes without a buffer, so every failure shows at the write that met
//   it and not only at commit(), which lets a failed flush pass;
// - names the cause of a short write ("No space left on device", "File too
//   large") where the plain device gives "Unknown error";
// - hands what it has written to the disk as it goes (a few megabytes at a
//   time, without waiting), so that the wait for the disk at commit() is
//   short rather than the whole file's.
class OutputFile : public QSaveFile
{
public:
    explicit OutputFile(const QString &path);

    bool open(OpenMode mode) override;
    // QSaveFile's commit, naming the cause where it gives "Unknown error": a
    // file named near the longest name a folder takes cannot be replaced
    // (the file written beside it takes a name 7 bytes longer).
    bool commit();

protected:
    qint64 writeData(const char *data, qint64 len) override;

private:
    qint64 m_written = 0; // bytes written so far
    qint64 m_handedOn = 0; // bytes handed to the disk so far
};
