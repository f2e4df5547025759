#include "report/PageDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

void PageDocument::setText(QTextDocument *document, const QString &text)
{
    if (document)
        document->setPlainText(text);
}

void PageDocument::setText(QTextEdit *edit, const QString &text)
{
    if (!edit)
        return;
    // QTextEdit::setPlainText would give the whole new text the format at the
    // caret, which after the markup passes is a hidden 1-point sequence.
    edit->document()->setPlainText(text);
    QTextCursor start(edit->document());
    start.setCharFormat(QTextCharFormat());
    edit->setTextCursor(start);
    edit->setCurrentCharFormat(QTextCharFormat());
}

QString PageDocument::text(const QTextDocument *document)
{
    return document ? document->toRawText() : QString();
}

int PageDocument::lineFromPosition(const QTextDocument *document, int position)
{
    if (!document)
        return 0;
    QTextBlock block = document->findBlock(qMax(0, position));
    if (!block.isValid())
        block = document->lastBlock();
    return qMax(0, block.blockNumber());
}

int PageDocument::lineStart(const QTextDocument *document, int line)
{
    if (!document || line < 0)
        return -1;
    const QTextBlock block = document->findBlockByNumber(line);
    return block.isValid() ? block.position() : -1;
}

PageDocument::LineColumn PageDocument::lineColumn(const QTextDocument *document, int position)
{
    LineColumn result;
    if (!document)
        return result;
    result.line = lineFromPosition(document, position);
    result.column = qMax(0, position - lineStart(document, result.line));
    return result;
}
