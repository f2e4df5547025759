#pragma once

#include "sticker/BarcodeKind.h"

#include <QFont>
#include <QList>
#include <QPageSize>
#include <QString>

class QPainter;

// One text drawn on a sticker surface: its position in twips (top left of
// the text's line) and the font it was drawn with; or, when `barcode` is not
// None, the text drawn as that barcode in a box of width x height twips
// (its human-readable text in the font).
struct StickerText
{
    double x = 0;
    double y = 0;
    QString text;
    QString fontName;
    double fontSize = 10; // points
    bool bold = false;
    BarcodeKind barcode = BarcodeKind::None;
    double width = 0;
    double height = 0;
};

// What a sticker sheet is drawn on: the operations of a printer object.
// Positions are in twips from the top left of the drawing area.
class StickerSurface
{
public:
    virtual ~StickerSurface();

    double CurrentX = 0;
    double CurrentY = 0;
    QString FontName;
    double FontSize = 10; // points
    bool FontBold = false;

    // Prints a text at the current position in the current font. As on a
    // printer object the text ends its line: CurrentX goes back to the left
    // edge (0) and CurrentY moves down by the height of one line of the font.
    // False when the surface failed (see errorText()).
    bool Print(const QString &text);
    // Draws a text as a barcode filling a box of width x height twips whose
    // top left is the current position; CurrentX goes back to 0 and
    // CurrentY moves below the box. False when the surface failed.
    bool PrintBarcode(const QString &text, BarcodeKind kind, double width, double height);

    // Ends the open document and hands it on; nothing happens when no
    // document is open. The next Print starts a new document.
    virtual bool EndDoc() { return true; }
    // Drops the open document without handing it on.
    virtual void AbandonDoc() {}
    // Clears the surface and puts the current position at the top left.
    virtual void Cls();

    // Paper settings of a printer, numbered as printer objects number them:
    // orientation 1 portrait, 2 landscape; paper size 9 is A4. Surfaces
    // without paper accept and ignore them. False for a value not supported.
    virtual bool setOrientation(int orientation);
    int Orientation() const { return m_orientation; }
    virtual bool setPaperSize(int paperSize);
    // The paper a printer-object paper number names (1 Letter, 5 Legal, 8 A3,
    // 9 A4, 11 A5); false for any other number.
    static bool pageSizeOf(int paperSize, QPageSize::PageSizeId *id);

    QString errorText() const { return m_error; }
    // Stops the drawing with `text` as its error: false.
    bool refuse(const QString &text)
    {
        m_error = text;
        return false;
    }

    // Height in twips of one line of the current font.
    double lineHeight() const;

protected:
    virtual bool drawText(const StickerText &item) = 0;
    void setErrorText(const QString &text) { m_error = text; }

private:
    int m_orientation = 1;
    QString m_error;
};

// The font of a drawn text sized in twips (one point is 20 twips), for a
// painter whose unit is the twip.
QFont twipFont(const QString &fontName, double fontSize, bool bold);

// The one renderer of drawn sticker texts and barcodes, for screen, printer
// and PDF alike: paints them on a painter whose device has the given pixels
// per twip.
void paintStickerTexts(QPainter &painter, const QList<StickerText> &items, double pixelsPerTwipX,
                       double pixelsPerTwipY);
