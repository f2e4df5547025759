#pragma once

#include <QString>
#include <QtGlobal>

// Process-wide state shared by the forms and the command line, and the small
// utilities several of them call. Everything runs on the one user-interface thread.

// Globals, with program lifetime.
extern QString SettingsAppName; // "Sticker2"
extern quint8 OpenViewCount;    // report views open now, at most six
extern QString PrintFileName;   // print file the next report view loads
extern QString LastTempNumber;  // number of the last temporary print file

// The printer sequences of the markup are constants of the ESC/P vocabulary
// (escp/EscpCommands.h): nothing needs filling before they are used.

// The globals as the start-up procedure leaves them, without any window: the
// settings name, no views open.
void startGlobals();

// A free temporary print file name "Tz<n>.Tmp" in the private temporary
// folder, searching from LastTempNumber; updates LastTempNumber. The file is
// created (empty, exclusively, never through a link) so nobody else can take
// the name. Empty when the private folder cannot be used.
QString NextTempFileName();

// The text without its leading and trailing spaces (other blanks stay).
QString TrimSpaces(const QString &text);

// Trimmed text, left-aligned, exactly `width` characters.
QString PadRight(const QString &text, int width);

// Key filters: return the key code, or 1 to drop the keystroke.
int IntegerKeyFilter(int keyCode);
int DecimalKeyFilter(int keyCode, const QString &boxText);

// The absolute, clean path of an existing file (Linux has no 8.3 names).
QString ShortPathOf(const QString &path);
