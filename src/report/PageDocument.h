#pragma once

#include <QString>

class QTextDocument;

// A page's text inside a rich-text document, and the document's positions.
// The document keeps every character of the page except its line ends: CR LF,
// a lone CR and a lone LF each become one paragraph break, so a position in
// the document is a position in the page minus the CRs that preceded it as
// part of a CR LF. Searches and formats use the document's own positions.
class PageDocument
{
public:
    // Replaces the content with the text, unformatted.
    static void setText(QTextDocument *document, const QString &text);

    // The document's text in document positions: paragraph breaks are
    // U+2029 and every other character is kept as it is (U+00A0 included).
    static QString text(const QTextDocument *document);

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
