#pragma once

#include "escp/PrintedSheet.h"

#include <QRectF>
#include <QString>
#include <QVector>

// The text of a printed-look sheet as a reader takes it from the paper: its
// runs in lines from the top, each line from the left, a gap between runs
// kept as spaces. Finds a text in the runs (letters matched regardless of
// case) and gives where each match lies on the sheet, so the view can mark,
// select and copy what the printed look shows.
namespace SheetText {

// One match: `length` characters of run `run` from character `from`.
struct Match
{
    int run = 0;
    int from = 0;
    int length = 0;
};

// The sheet's text, lines ended by '\n'.
QString text(const Printed::Sheet &sheet);
// Every match of `needle` in the runs, in reading order (top to bottom,
// left to right); a match does not run from one run into the next.
QVector<Match> find(const Printed::Sheet &sheet, const QString &needle);
// Where the characters of a match lie, in printer units from the sheet's
// top left: from the top of their cell to its foot.
QRectF area(const Printed::Sheet &sheet, const Match &match);
// The runs' characters whose cells meet `area` (printer units), in reading
// order, each line ended by '\n': what a mouse drag over the sheet selects.
QString textIn(const Printed::Sheet &sheet, const QRectF &area);

} // namespace SheetText
