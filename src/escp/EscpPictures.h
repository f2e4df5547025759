#pragma once

#include <QImage>
#include <QtGlobal>

#include <vector>

// The dots of the printer's picture commands as images: one pixel per dot,
// QImage::Format_Mono with 1 = black. Only the ink is kept: the dots are cut
// into tiles and each tile that holds ink keeps the box around it, so a
// command that moves far and sets one dot takes a few bytes, not its extent.
// Without `draw` only the size is worked out (the pass that indexes sheets
// needs the width, not the dots). Data cut short by the end of the file
// draws as far as it goes.
namespace Escp {

// Tiles of at most this many dots across and down.
constexpr int TileDotsAcross = 512;
constexpr int TileDotsDown = 64;

struct DotPiece
{
    QImage image;
    int column = 0; // the image's first dot in the command's dots
    int row = 0;
};

struct DotImage
{
    std::vector<DotPiece> pieces; // the inked tiles
    int width = 0;                // dots across, blank ones included: how far the head moves
    int dpiX = 0;
    int dpiY = 0;
};

// ESC K/L/Y/Z and ESC * m: columns of 1, 3 or 6 bytes, top dot first. The
// eight dots of a 1-byte column are 1/72 in apart on 9 pins (`pins`), but
// 1/60 in on 24 pins and ESC/P2, which print them with every third pin.
DotImage columnImage(const uchar *data, qsizetype available, qsizetype columns, int m, int pins, bool draw);
// ESC ^ m: columns of 9 dots in 2 bytes.
DotImage ninePinImage(const uchar *data, qsizetype available, qsizetype columns, int m, bool draw);
// ESC . c v h m nL nH and its rows (plain, run-length or TIFF packed);
// `command` starts at the ESC, `length` bytes long.
DotImage rasterImage(const uchar *command, qsizetype length, bool draw);

} // namespace Escp
