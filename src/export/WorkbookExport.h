#pragma once

#include "codepage/CodePage.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <functional>

// The spreadsheet export: every line of the print file is one row (line n is
// row n), cut into cells at the column marks the user clicked in the view.
namespace WorkbookExport {

struct Cell
{
    int column = 0;  // 0-based: piece j of a line goes to column j
    QByteArray text; // the piece's bytes, one character per byte
};
inline bool operator==(const Cell &a, const Cell &b)
{
    return a.column == b.column && a.text == b.text;
}

// The cells of one line. ColumnMarks is the view's mark array: element 0 is
// 0, then the marks, then a closing 0. Piece j runs from column
// ColumnMarks[j] (0-based) for ColumnMarks[j + 1] - ColumnMarks[j]
// characters, shorter where the line ends sooner; the last piece, from the
// last mark, runs to the line's end. A negative length or an empty piece
// writes no cell.
QVector<Cell> cutLine(const QByteArray &line, const QVector<int> &ColumnMarks);

// The cell text for the workbook: each byte as its character in the code
// page (Latin-1 by default) in UTF-8; control characters that a workbook
// cannot hold are dropped.
QByteArray cellText(const QByteArray &piece, CodePage::Id codePage = CodePage::Id::Latin1);

// A piece that is a plain decimal number, spaces around it allowed, goes in
// as a number, as a spreadsheet takes a typed number: optional sign, digits,
// optional decimal point and digits. Pieces with leading zeros ("007"), more
// than 15 digits, thousands separators or anything else stay text, so no
// code or figure is changed on the way.
bool numberOf(const QByteArray &piece, double *value);

// Called after each line with the number of the next row; returning false
// stops the export.
using Progress = std::function<bool(int nextRow)>;

// Writes the workbook through an OutputFile, so a failure or a stop leaves
// no file (and any old file as it was), a link is written through and a
// target that is not a regular file is refused. The workbook's parts are
// built in the target's folder and read back before the workbook replaces
// anything. Returns false with a message that names the file and the cause
// when the print file cannot be read, the workbook cannot be written in
// full or the print file has more lines than a sheet holds.
bool write(const QString &printFilePath, const QString &workbookPath, const QVector<int> &ColumnMarks,
    const Progress &progress, QString *error, CodePage::Id codePage = CodePage::Id::Latin1);

} // namespace WorkbookExport
