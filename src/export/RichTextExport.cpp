#include "export/RichTextExport.h"

#include "export/RtfWriter.h"
#include "report/PageDocument.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"

#include <QTextDocument>

QFont assemblyFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(11.25);
    return font;
}

void assemblePages(
    QTextDocument *document, const PageTable &table, const QVector<int> &pages, CodePage::Id codePage)
{
    QByteArray bytes;
    for (int i : pages) {
        if (i < 0 || i >= table.PageCount())
            continue;
        bytes += table.pageBytes(i);
        bytes += '\f';
    }
    document->setDefaultFont(assemblyFont());
    // CR LF, a lone CR and a lone LF each become one paragraph break.
    PageDocument::setText(document, CodePage::decode(codePage, bytes));
}

void assembleForExport(
    QTextDocument *document, const PageTable &table, const QVector<int> &pages, const MarkupContext &context)
{
    assemblePages(document, table, pages, context.codePage);
    applyMarkupPasses(document, context, MarkupOrder::Print);
}

bool saveRichText(const QString &path, const PageTable &table, const QVector<int> &pages,
    const MarkupContext &context, QString *error)
{
    QTextDocument document;
    assembleForExport(&document, table, pages, context);
    return RtfWriter::save(document, path, error);
}
