#pragma once

#include "escp/PrintedSheet.h"

#include <QBitArray>
#include <QRectF>
#include <QString>
#include <QVector>

// The text of a printed-look sheet as a reader takes it from the paper: its
// runs in lines from the top, each line from the left, a gap between runs
// kept as spaces, a cell printed over read once. Finds a text in the lines
// and gives where each match lies on the sheet, so the view can mark, select
// and copy what the printed look shows.
namespace SheetText {

// The sheet's text, lines ended by '\n'.
QString text(const Printed::Sheet &sheet);
// Where each match of `needle` in the sheet's lines lies (letters matched
// regardless of case), in reading order (top to bottom, left to right): in
// printer units from the sheet's top left, from the top of the characters'
// cells to their foot. A match may run from one run into the next.
QVector<QRectF> find(const Printed::Sheet &sheet, const QString &needle);
// The characters whose cells meet `area` (printer units), in reading order,
// each line ended by '\n': what a mouse drag over the sheet selects.
QString textIn(const Printed::Sheet &sheet, const QRectF &area);

// The characters of each run that are printed over another in the same cell
// and are not the cell's text (a cell holds one character of text: of those
// printed in it, the first of the most telling, a letter before an
// underscore before a blank). A backspace or a carriage return prints over:
// bold by printing a letter twice, underlined by an underscore. The bits of
// run i at [i], empty for a run with none; no bits at all when no run
// prints over another. The drawing keeps the overstruck characters out of a
// PDF's text, and the reading of the sheet out of its lines.
// Given `repeated`, it gets the bits of the strikes that add nothing to the
// drawing (same layout, empty for a run with none, nothing at all when no
// strike repeats that often): a character printed in a cell in the very look
// it was printed there MostStrikes times already. A file that returns the
// carriage and prints the same line over without end draws each cell
// MostStrikes times, not once a pass. These are always overstruck ones.
QVector<QBitArray> overstruck(const Printed::Sheet &sheet, QVector<QBitArray> *repeated = nullptr);

// How often the same character in the same look is drawn in one cell: the
// cell's text and its bold strokes (a letter printed twice or three times)
// keep their look, the ink of a cell struck without end stops at this.
constexpr int MostStrikes = 4;

} // namespace SheetText
