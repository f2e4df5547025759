#pragma once

#include "escp/PrintedSheet.h"
#include "form/SheetForms.h"
#include "report/PageSource.h" // SheetSource

#include <QColor>
#include <QHash>
#include <QPainterPath>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <map>
#include <vector>

class QBitArray;
class QPainter;

// Draws a printed sheet as it comes off the printer, at true size times a
// scale, onto any painter (a window, a printer, a PDF writer, an image):
// the text in DejaVu Sans Mono (monospaced, it holds every character of the
// DOS code pages, box drawing included), every character in its own cell
// of the run's advance, each run one glyph run so a PDF holds it as real,
// searchable text; pictures as their dots at their true size, all of
// a sheet's pictures together (see PictureRaster: overlapping strips add
// their dots, strips that meet show no seam, no dot row drops out at a low
// resolution), the blank dots transparent, each dot in the ink of the
// colours struck on it (ESC r: a band printed once per colour shows its
// colours laid over each other).
// Nothing is moved or shrunk to fit: what lies outside the sheet is clipped
// by the device, not by the renderer.
//
// Looks as the printer makes them: bold and double strike print heavier
// (the bold face), italic slants (the oblique face), double width and
// condensed widen or narrow the glyphs to their cell, double height doubles
// the glyphs down from the top of the line, super- and subscript print two
// thirds high in the upper or lower part of the cell, underline is a rule under
// every cell of the run, blanks included. The renderer paints no paper:
// the caller fills the sheet's background where the device needs one.
//
// Forms: given them, the renderer first draws the sheet's form (the first
// sheet's or the later sheets') at its own size from the sheet's corner plus
// the offset, made at the device's resolution (at most MaximumFormDpi), so
// everything of the job lies above it.
class PrintedRenderer
{
public:
    PrintedRenderer();

    // Draws the sheet with its top left corner at `origin` (device pixels),
    // one printer unit being `scale` device pixels. Only what meets `exposed`
    // (device pixels; an empty rectangle for all) is drawn.
    void draw(QPainter &painter, const Printed::Sheet &sheet, QPointF origin, double scale,
        const QRectF &exposed = QRectF());

    // The part of the sheet that holds ink, from its top left corner, in
    // units: the right edge of the rightmost cell or dot, the bottom of the
    // lowest line or picture.
    static QSizeF usedSize(const Printed::Sheet &sheet);

    // How much a sheet is scaled on paper, the rule of every output that
    // puts sheets on paper (PDF, desktop printer): 1 when the part of the
    // sheet that holds ink fits the paper, else the factor that makes that
    // part, or the whole sheet when it is smaller, fit. All sizes in one unit.
    static double fitScale(const QSizeF &sheet, const QSizeF &used, const QSizeF &paper);
    // The same for a sheet drawn `unit` device pixels a printer unit on
    // paper of `paper` device pixels.
    static double fitScale(const Printed::Sheet &sheet, double unit, const QSizeF &paper);

    // ESC r's colours (0 black ... 6 green) as the bands of a colour ribbon
    // they strike, and the ink of bands struck over each other: black
    // covers all, the coloured bands' inks lie one on the other.
    enum InkBand { BlackBand = 1, MagentaBand = 2, CyanBand = 4, YellowBand = 8 };
    static int bandsOf(quint8 color);
    static QColor inkOfBands(int bands);
    static QColor inkOf(quint8 color) { return inkOfBands(bandsOf(color)); }

    // The forms drawn under the sheets from now on (none: empty forms).
    void setForms(const SheetForms &forms);
    const SheetForms &forms() const { return m_forms; }

    // The finest a form is made for a device (a printer's 1200 dots per
    // inch would take 140 MB a letter page); finer devices enlarge it.
    static constexpr double MaximumFormDpi = 600;
    // The most pixels a form is made of at once (256 MB): a larger one is
    // made only where the device shows it, and coarser when that is larger
    // still.
    static constexpr double MaximumFormPixels = double(1 << 26);

private:
    enum Face { Regular, Bold, Oblique, BoldOblique };
    struct Sized
    {
        QRawFont font;
        double advance = 0; // the glyph's own advance at that size, in pixels
        // The glyphs' outlines, made once: the font engine loads and hints
        // a glyph anew for every outline it is asked for (tens of
        // microseconds each), and a cell printed over is drawn as one.
        mutable QHash<quint32, QPainterPath> outlines;
        const QPainterPath &outline(quint32 glyph) const
        {
            auto found = outlines.constFind(glyph);
            if (found == outlines.constEnd())
                found = outlines.insert(glyph, font.pathForGlyph(glyph));
            return found.value();
        }
    };
    const Sized &font(int face, double pixelSize); // face: family * 4 + Face
    // The face at no size, loaded on first use.
    const QRawFont &rawFace(int face);
    // `overstruck`: the run's characters drawn as shapes, out of a PDF's
    // text; `repeated`: those left out, struck in the same look often
    // enough before (SheetText::overstruck). Either may be null.
    void drawRun(QPainter &painter, const Printed::TextRun &run, QPointF origin, double scale,
        const QBitArray *overstruck, const QBitArray *repeated = nullptr);
    void drawPicturesOnPixels(QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin,
        double scale, const QRectF &exposed);
    void drawPicturesAsShapes(
        QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin, double scale);
    // The same for pictures of several colours; `area` is their cells.
    void drawMixedAsShapes(QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin,
        double scale, const QRect &area);
    // The same as one image of the dots, for pictures that would make too
    // many shapes; `area` is their cells.
    void drawPicturesAsImage(QPainter &painter, const QVector<Printed::Picture> &pictures, QPointF origin,
        double scale, const QRect &area);
    void drawForm(QPainter &painter, const Printed::Sheet &sheet, QPointF origin, double scale, const QRectF &exposed);

    QRawFont m_faces[16]; // four faces each of the draft (and sans-serif), serif, OCR-B and OCR-A families
    std::map<std::pair<int, qint64>, Sized> m_sized; // by face and size in 1/64 pixel
    SheetForms m_forms;
    // The form last made, kept while the same form is drawn at the same
    // size (the next sheet, the next paint of a window): one image, so a
    // PDF printer's spool file holds it once.
    const FormPage *m_madeForm = nullptr;
    QSize m_madeSize;  // the whole form's size in pixels
    QRect m_madePart;  // the part of it made
    QImage m_madeImage;
    // The mask the pictures' shapes are found in, blank between uses.
    std::vector<uchar> m_maskBits;
};
