#pragma once

#include "codepage/CodePage.h"

#include <QString>
#include <QtGlobal>

#include <functional>

class QColor;
class QIODevice;

// The colours of a web page, as the view's swatches hold them (0x00BBGGRR),
// and the code page its text is read in. Defaults are those of an empty
// settings store.
struct HtmlColours
{
    quint32 background = 0xFFFFFF; // the "Report Backcolor" colour
    quint32 doubleWidth = 0x800000;     // the "Dubble" colour: "bbold" text
    quint32 bold = 0x000080;       // the "Bold" colour: "bold" text
    quint32 condensed = 0x800080;   // the "Condence" colour: "cond" text
    // Latin-1 copies the file's bytes as they are; any other code page
    // declares UTF-8 after <HTML> and writes the decoded text in UTF-8.
    CodePage::Id codePage = CodePage::Id::Latin1;
};

// The colours of a web page from the view's swatches (report background,
// "Dubble", "Bold", "Condence") and its code page.
HtmlColours htmlColours(const QColor &background, const QColor &doubleWidth, const QColor &bold,
    const QColor &condensed, CodePage::Id codePage);

// The components of a 0x00BBGGRR colour.
quint8 RgbR(quint32 Colr);
quint8 RgbG(quint32 Colr);
quint8 RgbB(quint32 Colr);

// Translates a whole print file into a web page, line by line: spaces become
// non-breaking spaces, the emphasis sequences become coloured elements, the
// underline sequences are dropped, and "<", ">" and "&" of the file's own
// text are escaped. Lines end at CR LF, a lone CR or a lone LF (LF CR is
// one line end). Streams: memory does not
// grow with the file or with a line. Returns false with an error text when
// reading or writing fails. `progress`, when given, is told the bytes read
// so far and the file's size after each block; false stops the export.
using HtmlProgress = std::function<bool(qint64 read, qint64 total)>;
bool expHTml(QIODevice &printFile, QIODevice &page, const HtmlColours &colours, QString *error,
    const HtmlProgress &progress = {});

// The same from a print file to a web page file, written whole or not at all:
// nothing is written either when the print file changed while it was read.
// The error text names the file that failed.
bool expHTml(const QString &printFilePath, const QString &pagePath, const HtmlColours &colours, QString *error,
    const HtmlProgress &progress = {});
