#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// How a CSV file is written; the defaults find out from the file.
struct CsvFormat
{
    // Comma, semicolon or tab; none: the one the header line uses most.
    QChar delimiter;
    // An encoding name (see CsvTable::encodingNames()); empty: UTF-8 when
    // the bytes are valid UTF-8, Windows-1252 otherwise. A byte-order mark
    // (UTF-8, UTF-16 LE or BE) decides over both.
    QString encoding;
};

// A table read from a CSV file (RFC 4180): fields separated by a delimiter
// (comma, semicolon or tab), records by line breaks (CR LF, LF or CR); a
// field in double quotes may hold delimiters, line breaks and doubled
// quotes. The first record names the columns; every later one is a data
// row. Blank lines are skipped; a row shorter than the header has empty
// values for the missing columns.
class CsvTable
{
public:
    // Reads a CSV file. Special files and NUL characters are refused.
    // False with an error text naming the file, and the line where there is one.
    static bool readFile(const QString &path, CsvTable *table, QString *error, const CsvFormat &format = {});

    // Parses CSV text. False with an error text naming the line where a
    // quoted field is left open or a NUL stands, or when there is no header.
    static bool parse(const QString &text, CsvTable *table, QString *error, QChar delimiter = QLatin1Char(','));

    // The text of a file's bytes in the format's encoding (a byte-order mark
    // decides and is dropped). False for an unknown encoding name.
    static bool decode(const QByteArray &bytes, const QString &encoding, QString *text);
    // The delimiter the first line uses most: comma, semicolon or tab.
    static QChar detectDelimiter(const QString &text);

    // The encodings offered by name; any other name the converter knows is
    // taken too.
    static QStringList encodingNames();
    static bool isKnownEncoding(const QString &name);
    // "comma", "semicolon", "tab" to the character, or none.
    static QChar delimiterNamed(const QString &name);

    // The file the table was read from (empty when parsed from text).
    const QString &fileName() const { return m_fileName; }
    // True when the file named no encoding and, not being UTF-8, was read
    // as Windows-1252: another code page's letters then come out as others.
    bool readAsWindows1252() const { return m_readAsWindows1252; }

    const QStringList &columns() const { return m_columns; }
    // The index of the first column of that name (surrounding spaces do not
    // count), or -1.
    int columnIndex(const QString &name) const;
    int rowCount() const { return int(m_rows.size()); }
    // The value of a data row (0 for the first row after the header).
    QString value(int row, int column) const;
    // The line of the file where a data row begins.
    int rowLine(int row) const;

private:
    QString m_fileName;
    bool m_readAsWindows1252 = false;
    QStringList m_columns;
    QList<QStringList> m_rows;
    QList<int> m_rowLines;
};
