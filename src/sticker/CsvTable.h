#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table read from a CSV file (RFC 4180): fields separated by commas,
// records by line breaks (CR LF, LF or CR); a field in double quotes may hold
// commas, line breaks and doubled quotes. The first record names the
// columns; every later one is a data row. Blank lines are skipped; a row
// shorter than the header has empty values for the missing columns.
class CsvTable
{
public:
    // Reads a CSV file: UTF-8 (a byte-order mark is dropped), or
    // Windows-1252 when the bytes are not valid UTF-8. Special files are
    // refused. False with an error text naming the file and the cause.
    static bool readFile(const QString &path, CsvTable *table, QString *error);

    // Parses CSV text. False with an error text naming the line where a
    // quoted field is left open, or when there is no header.
    static bool parse(const QString &text, CsvTable *table, QString *error);

    // The text of a file's bytes: UTF-8 when they are valid UTF-8,
    // Windows-1252 otherwise.
    static QString decode(const QByteArray &bytes);

    const QStringList &columns() const { return m_columns; }
    // The index of the first column of that name (surrounding spaces do not
    // count), or -1.
    int columnIndex(const QString &name) const;
    int rowCount() const { return int(m_rows.size()); }
    // The value of a data row (0 for the first row after the header).
    QString value(int row, int column) const;

private:
    QStringList m_columns;
    QList<QStringList> m_rows;
};
