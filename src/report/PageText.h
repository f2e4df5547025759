#pragma once

#include "codepage/CodePage.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

// A page's text inside a rich-text document, and the document's positions.
// The document keeps every character of the page except its line ends: CR LF,
// a lone CR and a lone LF each become one paragraph break, so a position in
// the document is a position in the page minus the CRs that preceded it as
// part of a CR LF. Searches and formats use the document's own positions.
class PageText
{
public:
    // Replaces the content with the text, unformatted.
    static void setText(QTextDocument *document, const QString &text);

    // The document's text in document positions: paragraph breaks are
    // U+2029 and every other character is kept as it is (U+00A0 included).
    static QString text(const QTextDocument *document);

    // Text taken from a document (paragraph breaks U+2029) as print-file
    // bytes in the code page the page was read in, each line end a CR LF.
    // Fails, leaving `bytes` empty, on a character the code page has no
    // byte for; `error` then names it.
    static bool toBytes(QString text, CodePage::Id codePage, QByteArray *bytes, QString *error);

    // What a page shown as `text` prints as: the bytes it was read from,
    // unchanged, while the text is still theirs (line ends aside); an edited
    // text encoded as toBytes() does.
    static bool printBytes(const QString &text, const QByteArray &source, CodePage::Id codePage,
        QByteArray *bytes, QString *error);

    // The 0-based line that holds a position (EM_EXLINEFROMCHAR): the
    // paragraph's index; a position past the end gives the last line.
    static int lineFromPosition(const QTextDocument *document, int position);
    // Where a line begins (EM_LINEINDEX), or -1 when there is no such line.
    static int lineStart(const QTextDocument *document, int line);

    struct LineColumn {
        int line = 0; // 0-based
        int column = 0; // 0-based
    };
    static LineColumn lineColumn(const QTextDocument *document, int position);
};
