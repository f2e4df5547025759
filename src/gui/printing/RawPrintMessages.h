#pragma once

#include "printing/RawPrinting.h"

class QWidget;
class Spooler;

// Raw printing from the windows: the job of printing/RawPrinting.h under a
// busy cursor, with every refusal and failure told in the print panel's
// message boxes and the error window.

// Prints the panel's choice: converts the paper height (rounded to a whole
// number; a text that is not a number, or outside 0-255, is refused with a
// message) and calls PrintFile. True when the job went to the spooler whole.
bool PrintCharMode(const CharModeOptions &options, QWidget *parent = nullptr);

// Prints `PStrtextfile` on `PStrPrinterName` through CUPS. An empty name takes
// the current printer (CurrentPrinter), or else CUPS's default destination.
bool PrintFile(const QString &PStrtextfile, const QString &PStrPrinterName, qint16 PIntPaperHeight,
    bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent = nullptr);

// The same job on any spooler (tests record with this one).
bool PrintFile(Spooler &spooler, const QString &PStrtextfile, const QString &PStrPrinterName,
    qint16 PIntPaperHeight, bool PBlnDraftMode, const RawPanelState &panel, QWidget *parent = nullptr);

// Tells a failed job's cause the way the print panel does.
void showRawJobFailure(const RawJobFailure &failure, QWidget *parent);
