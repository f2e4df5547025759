#pragma once

#include <QString>
#include <QtGlobal>

// Process-wide state shared by the forms and the command line, and the small
// utilities several of them call. Everything runs on the one user-interface thread.

// The name the settings are stored under.
extern const QString SettingsAppName; // "Sticker2"

// The printer sequences of the markup are constants of the ESC/P vocabulary
// (escp/EscpCommands.h), and the numbering of the temporary print files and
// the count of open views belong to the windows: nothing here needs a
// start-up routine before it is used.

// A free temporary print file name "Tz<n>.Tmp" in the private temporary
// folder, searching from `lastNumber` (the caller's numbering, the number of
// the last temporary print file); updates `lastNumber`. The file is created
// (empty, exclusively, never through a link) so nobody else can take the
// name. Empty when the private folder cannot be used.
QString NextTempFileName(QString &lastNumber);

// The text without its leading and trailing spaces (other blanks stay).
QString TrimSpaces(const QString &text);

// Trimmed text, left-aligned, exactly `width` characters.
QString PadRight(const QString &text, int width);

// Key filters: return the key code, or 1 to drop the keystroke.
int IntegerKeyFilter(int keyCode);
int DecimalKeyFilter(int keyCode, const QString &boxText);

// The absolute, clean path of an existing file (Linux has no 8.3 names).
QString ShortPathOf(const QString &path);
