#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

#include "printing/RunTimeError.h"

class Spooler;

// Character-mode printing: a print file goes to a printer as raw bytes, after
// the setup sequences that the print options ask for (sent once), once per
// copy, in one spooler document. The windows tell the outcome in their message boxes
// (gui/printing/RawPrintMessages.h); the command line prints it.

// The print options that a raw print reads at the moment it runs.
struct RawPanelState
{
    bool ch12 = false;                    // 12 cpi: the twelve-pitch sequence
    bool ch17 = false;                    // 17 cpi: the condensed sequence
    QString copies = QStringLiteral("1"); // the copies as typed: its leading number counts
    bool extraLine = false;               // "-1 Line": an extra CR LF after the first line
};

// The copies box's leading number as a count of copies; nothing below one.
long long copiesOf(const QString &text);

// Everything the print panel hands to a character-mode print.
struct CharModeOptions
{
    QString printerName; // the printer's name as typed; empty takes the current printer
    QString file;        // recorded page file, or the view's own print file
    bool draft = true;   // draft quality
    bool ch10 = false;   // 10 cpi: sends nothing of its own (ESC P always goes out)
    QString paperHeight; // the paper height as typed, inches
    RawPanelState panel;
};

// What one raw job sends, besides the file.
struct RawJobOptions
{
    QString printerName; // empty: the spooler's default destination
    // The job's name in the queue; empty: the file's name.
    QString documentName;
    qint16 paperHeight = 0;
    bool draft = true;
    RawPanelState panel;
    // Asked between writes and while the spooler waits: true cancels the job.
    std::function<bool()> stopped;
    // Told the bytes of the file sent so far (all copies counted).
    std::function<void(qint64 sent, qint64 total)> progress;
};

// Why a raw job did not go out whole. `message` is one line naming the file
// or printer and the cause, in the words the print panel shows.
struct RawJobFailure
{
    enum Kind { None, MissingFile, PaperHeight, UnknownPrinter, NoServer, RunTime, Cancelled, Changed };
    Kind kind = None;
    QString message;
    QString printerName; // UnknownPrinter: the name asked for
    RunTimeError error;  // RunTime: what the error window shows
};

// The paper-height box's text as whole inches (rounded); false with the
// panel's message when it is not a number or outside 0-255.
bool paperHeightOf(const QString &text, qint16 *height, QString *message);

// Sends the file as one raw document: the setup sequences, then the file's
// lines framed with CR LF, once per copy. A job that fails is cancelled, so
// nothing of it prints; so is a job whose file was cut short or written anew
// while it was sent (Changed). True when the job went to the spooler whole.
bool sendRawJob(Spooler &spooler, const QString &PStrtextfile, const RawJobOptions &options,
    RawJobFailure *failure);

// The bytes that go out before the file's lines, in their order; the page
// length only when a paper height is chosen (not 0).
QByteArray setupSequences(bool draft, bool ch12, bool ch17, quint8 paperHeight);

// Writes the bytes to the open document in one spooler write.
bool WriteRaw(Spooler &printer, const QByteArray &bytes);

// True when the path names something that exists (a file or a folder).
bool FileExists(const QString &path);

// The file-name part of a path: the text after the last "\" or "/", or the
// whole text when it has neither.
QString ParseFileName11(const QString &PstrFileIn);
