#pragma once

#include <QImage>
#include <QtGlobal>

// The dots of the printer's picture commands as images: one pixel per dot,
// QImage::Format_Mono with 1 = black. Without `draw` only the size is
// worked out (the pass that indexes sheets needs the width, not the dots).
// Data cut short by the end of the file draws as far as it goes.
namespace Escp {

struct DotImage
{
    QImage image;
    int width = 0; // dots across
    int dpiX = 0;
    int dpiY = 0;
};

// ESC K/L/Y/Z and ESC * m: columns of 1, 3 or 6 bytes, top dot first.
DotImage columnImage(const uchar *data, qsizetype available, qsizetype columns, int m, bool draw);
// ESC ^ m: columns of 9 dots in 2 bytes.
DotImage ninePinImage(const uchar *data, qsizetype available, qsizetype columns, int m, bool draw);
// ESC . c v h m nL nH and its rows (plain, run-length or TIFF packed);
// `command` starts at the ESC, `length` bytes long.
DotImage rasterImage(const uchar *command, qsizetype length, bool draw);

} // namespace Escp
