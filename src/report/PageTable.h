#pragma once

#include "codepage/CodePage.h"
#include "report/PageStarts.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QVector>

#include <memory>

class MappedFile;

// A print file cut into pages at form feeds. The file's bytes are kept once,
// memory-mapped where the file allows it (so a large file is not copied),
// and the table holds only the offsets of the pages; a page is made on
// demand. Element i of the table is the text before the i-th form feed that
// the printer obeys (a 0x0C inside a command's parameters or a picture's
// dots cuts nothing); with no form feed the whole file is one page. The text
// after the last form feed is a page too when it prints anything. The
// element after the last page (index PageCount()) exists but is never a page.
class PageTable
{
public:
    // Maps (or reads) and cuts a file. Only a regular file is taken: a
    // folder, a device or a FIFO is refused, since reading one never ends
    // or never means a print file. On failure the table is left unchanged.
    // MapWhole asks the kernel to map the whole file in at once, for a
    // caller that reads it through the map afterwards (the emphasis look's
    // drawn outputs); MapOnDemand leaves the map alone for one
    // that reads the file in blocks (copyBytes) or only a few pages of it.
    enum MapAhead { MapWhole, MapOnDemand };
    // NoteLineEnds: the cut also finds whether every line end is a CR LF
    // (lineEndsAllCrLf), for the plain text of the whole file; otherwise
    // that pass is left out.
    enum LineEnds { IgnoreLineEnds, NoteLineEnds };
    bool load(const QString &path, QString *error, MapAhead ahead = MapWhole, LineEnds lineEnds = IgnoreLineEnds);
    void setBytes(const QByteArray &bytes);
    // Maps a file as load() does without cutting it (a file that cannot be
    // mapped is read and cut whole): the pages are then added as they are
    // cut (addStarts, finishCut), and until then the table holds the pages
    // cut so far. By default the kernel is not asked to read the file ahead:
    // the cut reads it in blocks (mappedFile()). The printed look opens the
    // file without cutting it: its sheets are found by the printer's own
    // reading (SheetIndex), not at form feeds, which maps the file in a
    // stretch at a time as it reads it (mappedFile(), MapPass).
    bool open(const QString &path, QString *error, MapAhead ahead = MapOnDemand);
    // Pages found by a cut of these bytes (PageCutter), in order. Past the
    // most pages an int counts, the rest of the file is the last page's.
    void addStarts(const QVector<qsizetype> &starts);
    // The cut reached the end: the text after the last form feed is a page
    // when it prints anything.
    void finishCut();
    // Every page is cut.
    bool complete() const { return m_complete; }
    // The map the bytes are, for a pass that reads them in blocks; none
    // for bytes in memory.
    const MappedFile *mappedFile() const { return m_mapped.get(); }
    // Copies bytes [from, from + length) to `into`: from the file in large
    // reads where it is mapped (see MappedFile::copy), else from memory.
    void copyBytes(qsizetype from, qsizetype length, char *into) const;
    // Copies bytes [from, from + length) of the mapped file to the end of
    // the open file `out` in the kernel; the count copied (none without a
    // map, or where the kernel cannot).
    qsizetype copyToFile(qsizetype from, qsizetype length, int out) const;
    // Whether every line end of the file is a CR LF, found as it was cut
    // with NoteLineEnds (false when not known): its plain text is then its
    // own bytes.
    bool lineEndsAllCrLf() const { return m_lineEndsAllCrLf; }
    // Where page i begins in bytes() and where it ends: at its form feed,
    // or at the end of the file for the text after the last one.
    qsizetype pageStart(int i) const { return m_starts.at(i); }
    qsizetype pageEnd(int i) const { return qMin(m_starts.at(i + 1) - 1, m_bytes.size()); }
    // The page byte `at` of bytes() lies on (its form feed is its page's):
    // the last page begun at or before it, 0 before any.
    int pageAt(qsizetype at) const;

    // Number of pages shown, printed and exported; at least 1 once the table
    // is complete (while it is cut, the pages whose end is found).
    int PageCount() const { return int(m_starts.size()) - 1; }
    // Page i without its form feed, 0 <= i <= PageCount().
    QByteArray pageBytes(int i) const { return pageView(i).toByteArray(); }
    // The same bytes where they lie, valid while the table is.
    QByteArrayView pageView(int i) const;
    // The same as text, one character per byte, read in the code page.
    QString page(int i, CodePage::Id codePage = CodePage::Id::Latin1) const
    {
        return CodePage::decode(codePage, pageBytes(i));
    }
    const QByteArray &bytes() const { return m_bytes; }

    // True once the mapped file was cut short or written anew after it was
    // loaded: what the table reads is then no longer one file (the part
    // past the new end reads as zeros, never as a crash). A file replaced
    // under its name is not a change of this one.
    bool changed() const;

private:
    bool openFile(const QString &path, bool cutNow, MapAhead ahead, LineEnds lineEnds, QString *error);
    void cut(const QByteArray &bytes, LineEnds lineEnds = IgnoreLineEnds);

    QByteArray m_bytes; // over the map when there is one
    std::shared_ptr<const MappedFile> m_mapped; // keeps the map alive for every copy of the table
    // m_starts.at(i) is where element i begins; element i ends one byte
    // before m_starts.at(i + 1) (its form feed), the last one at the end of
    // the file.
    PageStarts m_starts{0, 0};
    bool m_complete = true;
    bool m_lineEndsAllCrLf = false;
};
