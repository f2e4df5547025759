// What the printer prints as dots rather than as characters of its fonts:
// characters defined by the job, bar codes and pictures.
#include "escp/EscpInterpreter.h"

#include "escp/EscpBarcode.h"
#include "escp/EscpCommands.h"
#include "escp/EscpPictures.h"

#include <cstring>
#include <memory>
#include <utility>

using namespace Escp;
using Printed::Unit;
using Printed::UnitsPerInch;

namespace {

// ESC k 5: the OCR-B face, which the bar codes' human-readable line is in.
constexpr quint8 OcrBTypeface = 5;

} // namespace

void EscpInterpreter::userCharacter(uchar code)
{
    // A downloaded character prints its dots, one column after another, at
    // the head's place: a picture of the character's own.
    PrinterState &s = m_state;
    const qsizetype at = s.downloaded->at[code];
    const bool nine = s.downloaded->pins[code] == 9;
    const bool small = s.downloaded->pins[code] == 16;
    const uchar *d = m_data + at;
    int columns = 0, before = 0, after = 0, dpiX = 0, dpiY = 0, rows = 0, bytes = 1;
    if (nine) {
        columns = 11, dpiX = 120, dpiY = 72, rows = 9;
    } else {
        before = d[0], columns = d[1], after = d[2];
        d += 3;
        dpiX = s.letterQuality ? 360 : 120;
        dpiY = 180, rows = small ? 16 : 24, bytes = small ? 2 : 3;
    }
    // A character of super- or subscript's 16 dots: in the upper part of
    // the line, or 8 dots lower as a subscript.
    const Unit top = s.y + (small && s.subscript ? 8 * (UnitsPerInch / 180) : 0);
    Unit advance = s.advance();
    if (s.proportional && s.hmi == 0) {
        advance = nine ? Unit((d[0] & 15) - ((d[0] >> 4) & 7) + 2) * (UnitsPerInch / 120)
                       : Unit(before + columns + after) * (UnitsPerInch / dpiX);
        if (s.doubleWidth || s.doubleWidthLine)
            advance *= 2;
    }
    if (s.x + advance > s.rightMargin && s.x > s.leftMargin) {
        lineFeed(s.lineSpacing);
        if (m_sheetEnded)
            return;
    }
    flushRun();
    const int stretch = (s.doubleWidth || s.doubleWidthLine) ? 2 : 1;
    if (m_sheet && columns > 0) {
        // Each printed character is a picture of its own and counts against
        // the sheet's budget as any picture does.
        const qint64 cost = Printed::pictureCost((before + columns + after) * stretch, rows);
        if (m_sheet->overBudget || m_sheet->pictureBytes + cost > Printed::SheetBudget) {
            m_sheet->overBudget = true;
            s.sheetInked = true;
            s.x += advance;
            return;
        }
        m_sheet->pictureBytes += cost;
        QImage image((before + columns + after) * stretch, rows, QImage::Format_Mono);
        image.setColor(0, qRgba(255, 255, 255, 0));
        image.setColor(1, qRgb(0, 0, 0));
        image.fill(0);
        for (int col = 0; col < columns; ++col) {
            for (int row = 0; row < rows; ++row) {
                bool dot;
                if (nine) {
                    // Bit 7 of the attribute byte clear: the lower eight pins.
                    const int pin = row - ((d[0] & 0x80) ? 0 : 1);
                    dot = pin >= 0 && pin < 8 && (d[1 + col] >> (7 - pin)) & 1;
                } else {
                    dot = (d[col * bytes + row / 8] >> (7 - row % 8)) & 1;
                }
                if (dot) {
                    for (int k = 0; k < stretch; ++k)
                        image.setPixel((before + col) * stretch + k, row, 1);
                }
            }
        }
        Printed::Picture picture;
        picture.x = s.x;
        picture.top = top;
        picture.dpiX = dpiX;
        picture.dpiY = dpiY;
        picture.image = image;
        picture.sourceOffset = at;
        picture.color = s.color;
        m_sheet->pictures.append(std::move(picture));
    }
    s.sheetInked = true;
    s.x += advance;
}

void EscpInterpreter::defineCharacters(const uchar *p, qsizetype n)
{
    // ESC & NUL n m, in the form the tokenizer cut it: this printer's, with
    // columns of 2 bytes on 24 pins under super- or subscript.
    if (n < 3 || p[0] != 0 || p[2] < p[1])
        return;
    auto chars = std::make_shared<DownloadedCharacters>(
        m_state.downloaded ? *m_state.downloaded : DownloadedCharacters());
    const bool nine = m_fine == 10;
    const bool small = !nine && (m_state.superscript || m_state.subscript);
    const int perColumn = downloadColumnBytes(small);
    qsizetype q = 3;
    for (int c = p[1]; c <= p[2]; ++c) {
        const qsizetype size = nine ? 12 : q + 1 < n ? 3 + perColumn * qsizetype(p[q + 1]) : n;
        if (q + size > n)
            break;
        chars->at[size_t(c)] = (p + q) - m_data;
        chars->pins[size_t(c)] = nine ? 9 : small ? 16 : 24;
        q += size;
    }
    m_state.downloaded = std::move(chars);
}

void EscpInterpreter::barcode(const uchar *d, qsizetype len, qsizetype offset)
{
    // ESC ( B n k m s v1 v2 c data: module width in dots (1/180 in on 24
    // pins, 1/120 on 9) and bar length (1/180 in, 1/72 in).
    if (len < 7)
        return;
    PrinterState &s = m_state;
    const bool nine = m_fine == 10;
    const int dpiX = nine ? 240 : 360; // half dots

    const int dpiY = nine ? 72 : 180;
    const int module = d[1];
    if (module < 2 || module > 6)
        return;
    const int length = int(word(d + 3));
    const QByteArrayView data(reinterpret_cast<const char *>(d + 6), len - 6);
    const int adjust = qint8(d[2]);
    if (adjust < -3 || adjust > 3)
        return;
    // The printer draws no bar code that does not fit before the right margin.
    const int room = int(qMax<qint64>(0, qint64(s.rightMargin - s.x) * dpiX / UnitsPerInch));
    const bool pixels = m_sheet != nullptr && !m_sheet->overBudget;
    EscpBarcode::Bars bars = EscpBarcode::draw(d[0], data, module, adjust, length, dpiY, d[5] & 1, room, pixels, nullptr);
    if (bars.width <= 0)
        return;
    flushRun();
    const Unit width = Unit(qint64(bars.width) * UnitsPerInch / dpiX);
    if (s.x + width > s.rightMargin)
        return;
    const QString readable = bars.readable;
    s.sheetInked = true;
    if (m_sheet) {
        // The bars count against the sheet's picture budget as any picture does.
        const qint64 bytes = Printed::pictureCost(bars.width, bars.height);
        if (bars.image.isNull() || m_sheet->pictureBytes + bytes > Printed::SheetBudget) {
            m_sheet->overBudget = true;
            s.x += width;
            return;
        }
        m_sheet->pictureBytes += bytes;
        Printed::Picture picture;
        picture.x = s.x;
        picture.top = s.y;
        picture.dpiX = dpiX;
        picture.dpiY = dpiY;
        picture.image = std::move(bars.image);
        picture.sourceOffset = offset;
        picture.color = s.color;
        const Unit height = picture.lower() - picture.upper();
        m_sheet->pictures.append(std::move(picture));
        if (!(d[5] & 2) && !readable.isEmpty()) {
            // The human-readable line under the bars (control flag bit 1
            // clear), in OCR-B: EAN and UPC digits in their groups, just
            // under the data bars, the other kinds centred under the bars.
            const Unit halfDot = UnitsPerInch / dpiX;
            const Unit dataBottom = bars.dataBottom > 0 && bars.dataBottom < bars.height
                ? Unit(qint64(bars.dataBottom) * UnitsPerInch / dpiY) : height;
            for (const EscpBarcode::ReadableGroup &group : EscpBarcode::readableGroups(d[0], bars, module)) {
                Printed::TextRun line;
                line.style = s.style();
                line.style.letterQuality = true;
                line.style.typeface = OcrBTypeface;
                const Unit span = Unit(group.width) * halfDot;
                line.style.advance = qMin(line.style.advance, span / Unit(group.text.size()));
                line.x = s.x + Unit(group.x) * halfDot + (span - line.style.advance * Unit(group.text.size())) / 2;
                line.baseline = s.y + dataBottom + 240;
                line.text = group.text;
                line.sourceOffset = offset;
                keepRun(line);
            }
        }
    }
    s.x += width;
}

void EscpInterpreter::picture(const EscpToken &t)
{
    flushRun();
    PrinterState &s = m_state;
    const qsizetype end = t.end();
    const uchar *p = m_data + t.offset;
    Escp::DotImage image;
    // How far down the band may reach: one that may cross the form's end
    // is decoded while only counting too, for the rows the next sheet gets.
    Unit reach = Printed::inches(0.5);
    if (t.code == '.' && t.length >= 8 && p[2] < 2)
        reach = Unit(qint64(p[5]) * p[3] * UnitsPerInch / 3600) + 1;
    else if (t.code == '.')
        reach = Printed::inches(2);
    const bool crosses = s.y + reach > s.formEnd();
    // A sheet over its memory budget decodes no more pictures.
    const bool draw = (m_sheet != nullptr && !m_sheet->overBudget) || crosses;
    if (t.code == '.') {
        image = Escp::rasterImage(p, t.length, draw);
    } else {
        int m = 0;
        qsizetype header = 0;
        if (t.code == '*') {
            m = p[2];
            header = 5;
        } else if (t.code == '^') {
            m = p[2] ? 1 : 0;
            header = 5;
        } else {
            static const char Letters[] = "KLYZ";
            m = s.imageModes[std::strchr(Letters, t.code) - Letters];
            header = 4;
        }
        const qsizetype columns = word(p + header - 2);
        const qsizetype data = end - (t.offset + header);
        image = t.code == '^' ? Escp::ninePinImage(p + header, data, columns, m, draw)
                              : Escp::columnImage(p + header, data, columns, m, m_fine == 10 ? 9 : 24, draw);
    }
    if (image.width <= 0 || image.dpiX <= 0)
        return;
    // The printer drops the dots past the right margin.
    const qint64 room = qint64(s.rightMargin - s.x) * image.dpiX / UnitsPerInch;
    if (room <= 0)
        return;
    const int width = int(qMin<qint64>(image.width, room));
    const Unit left = s.x;
    s.x += Unit(qint64(width) * UnitsPerInch / image.dpiX);
    s.sheetInked = true;
    if (!m_sheet && !crosses)
        return;
    for (Escp::DotPiece &piece : image.pieces) {
        if (piece.column >= width)
            continue;
        if (piece.column + piece.image.width() > width)
            piece.image = piece.image.copy(0, 0, width - piece.column, piece.image.height());
        if (crosses)
            carryOver(piece, left, image.dpiX, image.dpiY, t.offset);
        if (!m_sheet || m_sheet->overBudget)
            continue;
        // The dots and what keeping a picture costs besides.
        const qint64 bytes = Printed::pictureCost(piece.image.width(), piece.image.height());
        if (m_sheet->pictureBytes + bytes > Printed::SheetBudget) {
            m_sheet->overBudget = true;
            continue;
        }
        m_sheet->pictureBytes += bytes;
        Printed::Picture picture;
        picture.x = left;
        picture.top = s.y;
        picture.dpiX = image.dpiX;
        picture.dpiY = image.dpiY;
        picture.column = piece.column;
        picture.row = piece.row;
        picture.image = std::move(piece.image);
        picture.sourceOffset = t.offset;
        picture.color = s.color;
        m_sheet->pictures.append(std::move(picture));
    }
}

void EscpInterpreter::carryOver(const Escp::DotPiece &piece, Unit left, int dpiX, int dpiY, qsizetype offset)
{
    const PrinterState &s = m_state;
    const qint64 room = qMax<qint64>(0, qint64(s.formEnd()) - s.y);
    // The first row that begins past the end, counted from the band's top.
    // A row the end cuts stays on its sheet: the sliver of a dot below the
    // last line had made a sheet of its own (a one-page job with ink in its
    // bottom row came out two pages).
    const qint64 first = qMax<qint64>(0, (room * dpiY + UnitsPerInch - 1) / UnitsPerInch - piece.row);
    const int height = piece.image.height();
    if (first >= height)
        return;
    QVector<Printed::Picture> carried = s.carried ? *s.carried : QVector<Printed::Picture>();
    qint64 bytes = 0;
    for (const Printed::Picture &kept : carried)
        bytes += Printed::pictureCost(kept.image.width(), kept.image.height());
    const int rows = int(height - first);
    if (bytes + Printed::pictureCost(piece.image.width(), rows) > Printed::SheetBudget)
        return; // more than the next sheet could take
    Printed::Picture picture;
    picture.x = left;
    picture.top = s.y - s.formEnd(); // from the next sheet's top
    picture.dpiX = dpiX;
    picture.dpiY = dpiY;
    picture.column = piece.column;
    picture.row = piece.row + int(first);
    picture.image = piece.image.copy(0, int(first), piece.image.width(), rows);
    picture.sourceOffset = offset;
    picture.color = s.color;
    carried.append(std::move(picture));
    m_state.carried = std::make_shared<const QVector<Printed::Picture>>(std::move(carried));
}
