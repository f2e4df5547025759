#pragma once

#include <QByteArray>
#include <QString>

class QWidget;
class Spooler;

// Character-mode printing: a print file goes to a printer as raw bytes, after
// the setup sequences that the print options ask for, once per copy, in one
// spooler document. Every outcome is told to the user in a message box.

// The print panel's boxes that a raw print reads at the moment it runs.
struct RawPanelState
{
    bool ch12 = false;                    // Ch12: twelve-pitch sequence
    bool ch17 = false;                    // Ch17: condensed sequence
    QString copies = QStringLiteral("1"); // Text3: its leading number
    bool extraLine = false;               // ChL: extra CR LF after the first line
};

// Everything the print panel hands to a character-mode print.
struct CharModeOptions
{
    QString printerName; // CboPrinters text; empty takes the current printer
    QString file;        // recorded page file, or the view's own print file
    bool draft = true;   // ChDraft
    bool ch10 = false;   // Ch10: sends nothing of its own (ESC P always goes out)
    QString paperHeight; // ComPaperHeight text, inches
    RawPanelState panel;
};

// Prints the panel's choice: converts the paper height (rounded to a whole
// number; a text that is not a number, or outside 0-255, is refused with a
// message) and calls PrintFile. True when the job went to the spooler whole.
bool PrintCharMode(const CharModeOptions &options, QWidget *parent = nullptr);

// Prints `PStrtextfile` on `PStrPrinterName` through CUPS. An empty name takes
// the current printer (CurrentPrinter), or else CUPS's default destination. True when the job went to the
// spooler whole.
bool PrintFile(const QString &PStrtextfile, const QString &PStrPrinterName, qint16 PIntPaperHeight,
    bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent = nullptr);

// The same job on any spooler (tests record with this one).
bool PrintFile(Spooler &spooler, const QString &PStrtextfile, const QString &PStrPrinterName,
    qint16 PIntPaperHeight, bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent = nullptr);

// The bytes that go out before the file's lines, in their order.
QByteArray setupSequences(bool draft, bool ch12, bool ch17, quint8 paperHeight);

// Writes the bytes to the open document in one spooler write.
bool WriteRaw(Spooler &printer, const QByteArray &bytes);

// True when the path names something that exists (a file or a folder).
bool FileExists(const QString &path);

// The file-name part of a path: the text after the last "\" or "/", or the
// whole text when it has neither.
QString ParseFileName11(const QString &PstrFileIn);
