#pragma once

#include "codepage/CodePage.h"
#include "form/SheetForms.h"
#include "report/ReportFont.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QVector>

#include <functional>
#include <optional>

class QTextDocument;

// What one markup pass reads from its report view's settings: whether the
// markup is shown at all, the zoom, the colours of the emphasis, and the code
// page the page's bytes are read in (the markup sequences are ASCII, so they
// stay what they are in every code page). Defaults are those of an empty
// settings store.
struct MarkupContext
{
    bool vsual = true;                       // the markup shown; false: no formatting at all
    bool zoomedIn = false;                   // the view zoomed in: larger region sizes
    QColor doubleWidth = QColor(0, 0, 0x80);      // the "Dubble" colour, of "bbold" text
    QColor bold = QColor(0x80, 0, 0);        // the "Bold" colour, of "bold" text
    QColor condensed = QColor(0x80, 0, 0x80); // the "Condence" colour, of "cond" text
    CodePage::Id codePage = CodePage::Id::Latin1; // the code page the view reads the file in
};

// How the pages of the emphasis look are drawn for printing and the PDF: the
// markup context and the sizes a page may take.
struct PageRenderOptions
{
    MarkupContext markup;                     // "Vsual", zoom and the swatch colours of the view
    double largestPoints = ReportStartPoints; // the view's size (zoomed: ReportZoomedPoints): never larger
    double smallestPoints = 6.0;              // never smaller: a line still too wide wraps
    SheetForms forms;                         // the printed look's forms under its sheets
};

// One markup pass: hides every open/close sequence pair of one tag (1 point,
// white) and formats the text between them by the tag. Never fails loudly.
void ReportSetting(QTextDocument *document, const QString &Search, const QString &Search1,
                   const QString &seting, const MarkupContext &context);

// The series of passes: the view runs "cond", "uline", "bold", "bbold", "c96";
// printing and rich-text export run "cond", "uline", "bbold", "bold".
enum class MarkupOrder { View, Print };
void applyMarkupPasses(QTextDocument *document, const MarkupContext &context, MarkupOrder order);

// One pass of a series: the tag and its open and close sequences.
struct MarkupPass
{
    QString open;
    QString close;
    QString tag;
};
QVector<MarkupPass> markupPasses(MarkupOrder order);

// How a tag's regions look: what it changes of their characters' look (an
// unset field keeps what the character had); nothing for a tag that only
// hides its sequences ("c96" and any unknown tag). The one description of
// the emphasis: the page renderer reads it as it is, a text document as the
// format below.
struct RegionLook
{
    std::optional<QColor> colour;
    bool bold = false;      // set bold (never set back to normal)
    std::optional<double> points;
    bool underline = false; // set underlined
};
RegionLook markupRegionLook(const QString &tag, const MarkupContext &context);
// The region look as a text document's character format.
QTextCharFormat charFormatOf(const RegionLook &look);
// The format a tag gives the text of its regions (charFormatOf its look).
QTextCharFormat markupRegionFormat(const QString &tag, const MarkupContext &context);
// The format a pass gives the sequences it hides: 1 point, white.
QTextCharFormat markupHiddenFormat();

// What one pass does to a text, in the order it does it: take(start, length,
// true) for each open or close sequence it hides, take(start, length, false)
// for each region between them (never empty). Positions are the text's own.
void findMarkupRanges(const QString &text, const QString &open, const QString &close,
    const std::function<void(qsizetype start, qsizetype length, bool hidden)> &take);
