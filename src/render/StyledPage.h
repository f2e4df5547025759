#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRgb>
#include <QString>
#include <QVector>

#include <functional>

struct MarkupContext;

// How a run of printed characters looks, in the view's terms: the size is
// the one the view gives it, 0 for the view's own size.
struct RunLook
{
    double points = 0;
    QRgb colour = 0xFF000000; // opaque black
    bool bold = false;
    bool underline = false;

    bool operator==(const RunLook &other) const
    {
        return points == other.points && colour == other.colour && bold == other.bold
            && underline == other.underline;
    }
    bool operator!=(const RunLook &other) const { return !(*this == other); }
};

struct StyledRun
{
    QString text;
    RunLook look;
};

// One line of a page: its runs, left to right; an empty line has none.
using StyledLine = QVector<StyledRun>;

// A print-file page as it prints: the markup passes in print order give the
// emphasis (with the twelve-pitch sequences hidden too, as the view hides
// them), and what is left are the characters that take a place on paper.
// Every character a pass hid is left out, and so is every control code
// (C0 and DEL), which a printer obeys rather than prints; a tab runs to the
// next multiple of eight columns. Bytes 0x80-0x9F, which are printable in
// the printer's code page but have no glyph in Latin-1, print as a blank
// column so that the columns after them stay in place. Lines end at CR LF,
// a lone CR or a lone LF; blanks at the end of a line and blank lines at the
// end of the page are dropped, since they print nothing. The page's bytes
// are read in the context's code page (Latin-1 by default; in a PC code page
// bytes 0x80-0x9F are letters and print as such).
namespace StyledPage {

QVector<StyledLine> build(QByteArrayView page, const MarkupContext &context);

// The same lines told as they are found, for a page too large to hold as
// lines: put() gets a line's characters in order, in pieces of one look
// (never more than a few thousand characters), and endLine() ends each line,
// an empty one too. Only a piece of the page is held at a time, however long
// its lines.
void stream(QByteArrayView page, const MarkupContext &context,
    const std::function<void(QStringView text, const RunLook &look)> &put,
    const std::function<void()> &endLine);

// The line's characters, without their looks.
QString text(const StyledLine &line);

} // namespace StyledPage
