#pragma once

#include "escp/PrintedSheet.h"

#include <QImage>
#include <QRect>
#include <QVector>

#include <limits>
#include <vector>

// A sheet's picture dots on a grid of pixels, all pictures together: one
// printer unit is scaleX by scaleY pixels and the sheet's top left corner
// lies at `origin` (pixels, fractions allowed). A pixel is inked when a dot
// covers its centre; a dot that covers no pixel centre (dots finer than the
// grid) inks the pixel under its own centre. So strips that meet share their
// edge pixel for pixel (no seam), overlapping strips add their dots (a blank
// dot erases nothing), and no dot row drops out however small the dots are.
namespace PictureRaster {

// The bytes of one row of a mask that can hold ink: [first, last), none
// when first >= last.
struct RowInk
{
    int first = 0;
    int last = 0;
};

// The pixels of `area` as a QImage::Format_Mono image, 1 = ink; its colour
// table makes blanks transparent. Given `inked`, it gets each row's inked
// bytes.
QImage dots(const QVector<Printed::Picture> &pictures, QPointF origin, double scaleX, double scaleY,
    const QRect &area, std::vector<RowInk> *inked = nullptr);

// dots() into memory the caller keeps, so that a mask is not made and
// cleared whole for every band: `bits` holds the area's rows, each
// `bytesPerLine` bytes (maskBytesPerLine(), as a QImage has them), all
// blank; `inked` gets each row's inked bytes, which clearDots() makes blank
// again.
int maskBytesPerLine(int width);
void drawDots(uchar *bits, int bytesPerLine, const QVector<Printed::Picture> &pictures, QPointF origin,
    double scaleX, double scaleY, const QRect &area, std::vector<RowInk> &inked);
void clearDots(uchar *bits, int bytesPerLine, const std::vector<RowInk> &inked);

// The pixels the pictures can ink: the box around all of them.
QRect bounds(const QVector<Printed::Picture> &pictures, QPointF origin, double scaleX, double scaleY);

// Rectangles that cover the inked pixels of a mask exactly, none
// overlapping: the runs of each row, a run joined with the same run of the
// rows below it. Offset by `at`. Given `inked` (from dots()), only those
// bytes of each row are read. False, with the rectangles found so far, when
// there would be more than `most` of them.
bool addRectangles(const QImage &mask, QPoint at, QVector<QRect> &rectangles,
    const std::vector<RowInk> *inked = nullptr, qsizetype most = std::numeric_limits<qsizetype>::max());

} // namespace PictureRaster
