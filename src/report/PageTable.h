#pragma once

#include "codepage/CodePage.h"

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
    bool load(const QString &path, QString *error);
    void setBytes(const QByteArray &bytes);

    // Number of pages shown, printed and exported; at least 1.
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
    void cut(const QByteArray &bytes);

    QByteArray m_bytes; // over the map when there is one
    std::shared_ptr<const MappedFile> m_mapped; // keeps the map alive for every copy of the table
    // m_starts[i] is where element i begins; element i ends one byte before
    // m_starts[i + 1] (its form feed), the last one at the end of the file.
    QVector<qsizetype> m_starts{0, 0};
};
