#pragma once

#include "codepage/CodePage.h"

#include <QFont>
#include <QString>
#include <QVector>

#include <functional>

class PageTable;
class QIODevice;
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

// Told how far a rich-text export has come (0 to 100); false cancels it.
using RichTextProgress = std::function<bool(int percent)>;

// Rich-text export in one call: the very bytes that the export mode of the
// page assembly gives when saved as RTF, written whole or not at all; the
// error names the file. The pages are read a piece at a time straight from
// the table instead of assembled, so memory stays the same however large the
// selection. A cancelled export leaves no file (an old one stays as it was).
bool saveRichText(const QString &path, const PageTable &table, const QVector<int> &pages,
    const MarkupContext &context, QString *error, const RichTextProgress &progress = {});
// The same into a device; the error says why without naming it.
bool writeRichText(QIODevice &out, const PageTable &table, const QVector<int> &pages,
    const MarkupContext &context, QString *error, const RichTextProgress &progress = {});
