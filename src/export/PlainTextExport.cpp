#include "export/PlainTextExport.h"

#include "platform/ByteText.h"
#include "report/PageTable.h"

#include <QDir>
#include <QObject>

namespace {

// Appends the page with its line ends made CR LF.
void appendPage(QByteArray &out, const QByteArray &page)
{
    const char *p = page.constData();
    const qsizetype n = page.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c != '\r' && c != '\n')
            continue;
        out.append(p + start, i - start);
        out.append("\r\n", 2);
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    out.append(p + start, n - start);
    out.append('\f');
}

} // namespace

bool writePlainText(
    QIODevice &out, const PageTable &table, const QVector<int> &pages, QString *error, CodePage::Id codePage)
{
    QByteArray bytes;
    for (int i : pages) {
        if (i < 0 || i >= table.PageCount()) {
            if (error)
                *error = QObject::tr("Page %1 is not in the report, which has %2 pages.")
                             .arg(i + 1)
                             .arg(table.PageCount());
            return false;
        }
        bytes.clear();
        appendPage(bytes, table.pageBytes(i));
        if (codePage != CodePage::Id::Latin1)
            bytes = CodePage::decode(codePage, bytes).toUtf8();
        if (out.write(bytes) != bytes.size()) {
            if (error)
                *error = out.errorString();
            return false;
        }
    }
    return true;
}

bool savePlainText(const QString &path, const PageTable &table, const QVector<int> &pages, QString *error,
    CodePage::Id codePage)
{
    return ByteText::saveThrough(
        path,
        [&](QIODevice &out, QString *reason) { return writePlainText(out, table, pages, reason, codePage); },
        error);
}
