#pragma once

#include <QFont>
#include <QString>
#include <QStringView>

#include <functional>

class QIODevice;
class QTextCharFormat;
class QTextDocument;

// A text the RTF writer reads as a document's blocks would give it: its runs
// of one format in order, and the ends of its paragraphs. The writer reads it
// at least twice: the tables of fonts and colours come first in the file but
// are known only after the runs.
class RtfSource
{
public:
    using Run = std::function<void(const QTextCharFormat &format, QStringView text)>;
    using ParagraphEnd = std::function<bool()>; // false: stop (the output failed)

    virtual ~RtfSource() = default;
    virtual QFont defaultFont() const = 0;
    // Reads the whole text; false with an error text when it stops early.
    virtual bool read(const Run &run, const ParagraphEnd &paragraphEnd, QString *error) = 0;
    // After a reading for the tables: whether its runs are final, or the
    // tables have to be read again.
    virtual bool settled() const { return true; }
    // What ends a page in the runs: a document's form feed, or for a source
    // whose form feeds may be bytes of a printer command, a mark of its own
    // (its form feeds are then characters of the text).
    virtual char16_t pageEnd() const { return u'\f'; }
};

// Writes a rich-text document as RTF that word processors open: one font
// table entry per font family, a colour table, and per run its font, size
// (half-points), colour, bold and underline; one paragraph per block. Text
// is escaped so that a reader shows exactly the document's characters:
// "\", "{" and "}" escaped, characters 128-255 and control characters as
// \'hh bytes (code page 1252), tab as \tab, the source's page end as \page,
// anything above 255 as \uN with "?" for readers without Unicode.
class RtfWriter
{
public:
    static bool write(const QTextDocument &document, QIODevice &out, QString *error);
    static bool write(RtfSource &source, QIODevice &out, QString *error);
    // Into a file, whole or not at all; the error names the file.
    static bool save(const QTextDocument &document, const QString &path, QString *error);
};
