#pragma once

#include "form/SheetForms.h"
#include "render/StyledPage.h"
#include "report/ReportFont.h"
#include "report/ReportMarkup.h"

#include <QByteArray>
#include <QFont>
#include <QRawFont>

#include <map>

class QPagedPaintDevice;
class QPainter;

// Draws print-file pages onto a paged device (a printer, a PDF writer, a
// print preview), each from a fresh sheet, as the page prints: the emphasis
// of the markup passes in the view's colours and sizes, the control codes
// left out (see StyledPage), in the report font, so the columns stay
// aligned. The painter's coordinates are the device's pixels, with the
// origin at the top left of the printable area; paper size, orientation and
// margins are the device's own.
//
// The size of a page is the largest (at most largestPoints, in steps of a
// quarter point) at which its widest line fits the printable width, made
// smaller still, down to smallestPoints, when that lets all its lines fit
// one sheet (when no size does, it keeps the size its width gives and runs
// on over more sheets). Everything on the page scales alike, so a condensed
// or double width run keeps its proportion to the rest. At smallestPoints a
// line still wider than the sheet wraps at the character that would cross
// the edge. A page larger than HugePageBytes, which no size would fit on one
// sheet, is read twice instead of held: once for its widest line, which gives
// its size, and once to draw it line by line, so that its memory stays flat
// however long its lines are.
class EmphasisRenderer
{
public:
    EmphasisRenderer(QPainter &painter, QPagedPaintDevice &device, const PageRenderOptions &options = {});

    // Draws one page. The first page goes on the device's current sheet,
    // every later one on a new sheet. False when the device refuses a new
    // sheet; the page is then cut short.
    bool drawPage(QByteArrayView page);

    static constexpr qsizetype HugePageBytes = 1024 * 1024;

    int sheetCount() const { return m_sheets; }    // sheets begun so far

private:
    struct Face
    {
        QFont font;
        QRawFont raw; // the same face at the device's pixel size, for glyph runs
        bool underline = false;
        double advance = 0, ascent = 0, descent = 0;
    };
    struct Line
    {
        StyledLine runs;
        double ascent = 0, descent = 0;
    };

    const Face &face(double points, bool bold, bool underline);
    const Face &runFace(const RunLook &look, double points);
    double width(const StyledLine &line, double points);
    QVector<Line> layout(const QVector<StyledLine> &lines, double points, double sheetWidth);
    static double height(const QVector<Line> &lines);
    double hugePagePoints(QByteArrayView page);
    bool drawHugePage(QByteArrayView page);
    bool newSheet();
    void drawLine(const Line &line, double top);
    void drawRun(const QString &text, const Face &f, QPointF origin);

    QPainter &m_painter;
    QPagedPaintDevice &m_device;
    PageRenderOptions m_options;
    std::map<qint64, Face> m_faces; // by size, weight and underline
    int m_sheets = 0;
    double m_points = 0;
};
