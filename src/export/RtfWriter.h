#pragma once

#include <QString>

class QIODevice;
class QTextDocument;

// Writes a rich-text document as RTF that word processors open: one font
// table entry per font family, a colour table, and per run its font, size
// (half-points), colour, bold and underline; one paragraph per block. Text
// is escaped so that a reader shows exactly the document's characters:
// "\", "{" and "}" escaped, characters 128-255 and control characters as
// \'hh bytes (code page 1252), tab as \tab, form feed as \page, anything
// above 255 as \uN with "?" for readers without Unicode.
class RtfWriter
{
public:
    static bool write(const QTextDocument &document, QIODevice &out, QString *error);
    // Into a file, whole or not at all; the error names the file.
    static bool save(const QTextDocument &document, const QString &path, QString *error);
};
