#pragma once

#include "codepage/CodePage.h"

#include <QFont>
#include <QString>
#include <QVector>

class PageTable;
class QTextDocument;
struct MarkupContext;

// The font of the assembly buffer: Courier New, regular, 11.25 points.
QFont assemblyFont();

// Fills the assembly document with the chosen pages, each followed by one
// form feed, unformatted, in the assembly font, the bytes read in the code
// page. Indexes that are not pages of the table are left out.
void assemblePages(QTextDocument *document, const PageTable &table, const QVector<int> &pages,
    CodePage::Id codePage = CodePage::Id::Latin1);

// The export mode of the page assembly: the chosen pages, then the markup
// passes in print order ("cond", "uline", "bbold", "bold"), in the context's
// code page.
void assembleForExport(
    QTextDocument *document, const PageTable &table, const QVector<int> &pages, const MarkupContext &context);

// Rich-text export in one call: assembles the pages in a document of its
// own and saves it as RTF, whole or not at all; the error names the file.
bool saveRichText(const QString &path, const PageTable &table, const QVector<int> &pages,
    const MarkupContext &context, QString *error);
