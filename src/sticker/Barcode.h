#pragma once

#include "sticker/BarcodeKind.h"

#include <QFont>
#include <QString>

#include <memory>

class QPainter;
class QRectF;
struct zint_symbol;

// One barcode symbol encoded by libzint, drawn as vector shapes so it stays
// sharp on the printer and in a PDF.
class Barcode
{
public:
    Barcode(BarcodeKind kind, const QString &text);
    ~Barcode();
    Barcode(const Barcode &) = delete;
    Barcode &operator=(const Barcode &) = delete;

    bool isValid() const { return m_error.isEmpty(); }
    // Why the text cannot be drawn as this kind of barcode, for the user.
    QString errorText() const { return m_error; }

    // Draws the symbol filling `rect` (a matrix symbol as the largest square
    // that fits, at the left), with the human-readable text in `font`, sized
    // to the room, under the bars where the symbology has one. Nothing is
    // drawn for a symbol that is not valid.
    void draw(QPainter &painter, const QRectF &rect, const QFont &font) const;

    // The error text of encoding `text` as `kind`, or an empty text.
    static QString check(BarcodeKind kind, const QString &text);

private:
    struct Deleter
    {
        void operator()(zint_symbol *symbol) const;
    };
    std::unique_ptr<zint_symbol, Deleter> m_symbol;
    BarcodeKind m_kind;
    QString m_error;
};
