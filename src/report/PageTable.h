#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// A print file cut into pages at form feeds. The file's bytes are kept once;
// a page is made on demand. Element i of the table is the text before the
// i-th form feed; with no form feed the whole file is one page. The element
// after the last form feed (index PageCount()) exists but is never a page.
class PageTable
{
public:
    // Reads and cuts a file. On failure the table is left unchanged.
    bool load(const QString &path, QString *error);
    void setBytes(const QByteArray &bytes);

    // Number of pages shown, printed and exported; at least 1.
    int PageCount() const { return int(m_starts.size()) - 1; }
    // Page i without its form feed, 0 <= i <= PageCount().
    QByteArray pageBytes(int i) const;
    // The same as text, one character per byte.
    QString page(int i) const { return QString::fromLatin1(pageBytes(i)); }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    // m_starts[i] is where element i begins; element i ends one byte before
    // m_starts[i + 1] (its form feed), the last one at the end of the file.
    QVector<qsizetype> m_starts{0, 0};
};
