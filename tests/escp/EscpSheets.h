#pragma once

#include "escp/SheetIndex.h"

#include <QString>
#include <QStringList>

#include <utility>

// The sheets a print file makes, written out for the ESC/P tests' tables.
namespace {

SheetIndex built(const QByteArray &bytes, PrinterModel model = PrinterModel::Auto, double carriage = 13.6)
{
    PrinterSetup setup;
    setup.model = model;
    setup.carriageInches = carriage;
    SheetIndex doc;
    doc.build(bytes, setup);
    return doc;
}

// The sheets as text: "h=<height>" per sheet, then its runs
// "x,baseline'text'advance+look" and pictures "[x,top WxH]" in units (then
// r<n> for a picture in colour n). The
// look letters: b bold, u underline, i italic, w double width, h double
// height, c condensed, s superscript, d double strike, t strike-through,
// o overscore, O outline, S shadow, r<n> colour, L letter quality, k<n>
// typeface, p<height> a size of its own.
QString sheets(const QByteArray &bytes, PrinterModel model = PrinterModel::Auto, double carriage = 13.6)
{
    const SheetIndex doc = built(bytes, model, carriage);
    QStringList out;
    for (int i = 0; i < doc.sheetCount(); ++i) {
        const Printed::Sheet s = doc.sheet(i);
        QStringList items{QStringLiteral("h=%1").arg(s.height)};
        for (const Printed::TextRun &r : s.runs) {
            const Printed::TextStyle &l = r.style;
            QString look;
            for (auto [flag, c] : {std::pair{l.bold, 'b'}, {l.underline, 'u'}, {l.italic, 'i'},
                     {l.doubleWidth, 'w'}, {l.doubleHeight, 'h'}, {l.condensed, 'c'}, {l.superscript, 's'},
                     {l.doubleStrike, 'd'}, {l.strike > 0, 't'}, {l.overscore > 0, 'o'}, {l.outline, 'O'},
                     {l.shadow, 'S'}, {l.letterQuality, 'L'}})
                if (flag)
                    look += QLatin1Char(c);
            if (l.color)
                look += QStringLiteral("r%1").arg(l.color);
            if (l.typeface)
                look += QStringLiteral("k%1").arg(l.typeface);
            if (l.height != Printed::UnitsPerInch / 6)
                look += QStringLiteral("p%1").arg(l.height);
            items << QStringLiteral("%1,%2'%3'%4%5").arg(r.x).arg(r.baseline).arg(r.text).arg(l.advance).arg(look);
        }
        for (const Printed::Picture &p : s.pictures)
            items << QStringLiteral("[%1,%2 %3x%4]").arg(p.left()).arg(p.upper()).arg(p.right() - p.left()).arg(p.lower() - p.upper())
                    + (p.color ? QStringLiteral("r%1").arg(p.color) : QString());
        out << items.join(' ');
    }
    return out.join(" | ");
}

} // namespace
