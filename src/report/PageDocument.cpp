#include "report/PageDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void PageDocument::setText(QTextDocument *document, const QString &text)
{
    if (document)
        document->setPlainText(text);
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
