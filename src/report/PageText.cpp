#include "report/PageText.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void PageText::setText(QTextDocument *document, const QString &text)
{
    if (document)
        document->setPlainText(text);
}

QString PageText::text(const QTextDocument *document)
{
    return document ? document->toRawText() : QString();
}

bool PageText::toBytes(QString text, CodePage::Id codePage, QByteArray *bytes, QString *error)
{
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    QString missing;
    if (CodePage::encode(codePage, text, bytes, &missing))
        return true;
    if (error) {
        *error = QObject::tr("The page holds %1, which the code page %2 has no byte for.")
                     .arg(CodePage::describe(missing), CodePage::label(codePage));
    }
    return false;
}

namespace {

// The bytes with every line end (CR LF, lone CR, lone LF) made a CR LF, as
// toBytes() writes them.
QByteArray withCrLf(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

bool PageText::printBytes(const QString &text, const QByteArray &source, CodePage::Id codePage,
    QByteArray *bytes, QString *error)
{
    if (!toBytes(text, codePage, bytes, error))
        return false;
    if (*bytes == withCrLf(source))
        *bytes = source;
    return true;
}

int PageText::lineFromPosition(const QTextDocument *document, int position)
{
    if (!document)
        return 0;
    QTextBlock block = document->findBlock(qMax(0, position));
    if (!block.isValid())
        block = document->lastBlock();
    return qMax(0, block.blockNumber());
}

int PageText::lineStart(const QTextDocument *document, int line)
{
    if (!document || line < 0)
        return -1;
    const QTextBlock block = document->findBlockByNumber(line);
    return block.isValid() ? block.position() : -1;
}

PageText::LineColumn PageText::lineColumn(const QTextDocument *document, int position)
{
    LineColumn result;
    if (!document)
        return result;
    result.line = lineFromPosition(document, position);
    result.column = qMax(0, position - lineStart(document, result.line));
    return result;
}
