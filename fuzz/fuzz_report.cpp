// One print file through everything that reads it in the emphasis look: the
// page table, read from a file as a view opens it; each page's lines as the
// report view shows them, a screen at a time from anywhere and found again by
// a search; the markup scan of each page whole and in small pieces, which
// must style every character alike; and the PDF, rich text, plain text, web
// page and workbook exports of its pages. The first byte picks the code page,
// the markup switches and the paper. Files longer than MostBytes are passed
// over, so that every run stays quick.
#include "FuzzApplication.h"
#include "export/ExportFormat.h"
#include "export/ReportExporter.h"
#include "render/ViewLines.h"
#include "report/MarkupScanner.h"
#include "report/PageSource.h"
#include "report/PageTable.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t MostBytes = 4096;
constexpr int MostPages = 16;

// Made once and never destroyed: libFuzzer leaves by exit(), after which
// Qt's own clean-up would run in no defined order.
QTemporaryDir *g_folder = nullptr;

[[noreturn]] void fail(const char *what, int page, qsizetype at)
{
    std::fprintf(stderr, "page %d: %s (at %lld)\n", page, what, static_cast<long long>(at));
    std::abort();
}

// The style of every character of the page's text, the page read in pieces
// of at most `limit` bytes as the printing and the exports read a long one:
// a first scan that learns where the closes are, then the scan kept.
QVector<int> stylesOf(QByteArrayView page, const MarkupContext &context, qsizetype limit, int number)
{
    MarkupScanner first(context, MarkupOrder::View);
    QVector<MarkupRun> runs;
    for (qsizetype at = 0; at < page.size();) {
        const qsizetype n = first.cutPoint(page.sliced(at), limit);
        if (n <= 0 || n > page.size() - at)
            fail("a piece that does not move on or runs past the page", number, at);
        first.mark(CodePage::decode(context.codePage, page.sliced(at, n)), &runs);
        at += n;
    }
    MarkupScanner scanner = first.rescan();
    QVector<int> styles;
    for (qsizetype at = 0; at < page.size();) {
        const qsizetype n = scanner.cutPoint(page.sliced(at), limit);
        if (n <= 0 || n > page.size() - at)
            fail("a piece that does not move on or runs past the page", number, at);
        const QString text = CodePage::decode(context.codePage, page.sliced(at, n));
        runs.clear();
        scanner.mark(text, &runs);
        qsizetype length = 0;
        for (const MarkupRun &run : std::as_const(runs)) {
            if (run.length <= 0)
                fail("an empty run", number, at);
            length += run.length;
            styles.insert(styles.size(), run.length, run.style);
        }
        if (length != text.size())
            fail("runs that do not add up to their piece", number, at);
        at += n;
    }
    return styles;
}

// The page's lines as the view shows them: read a screen at a time from
// lines further on, then from the start, they must be the same lines.
void viewPage(QByteArrayView page, const MarkupContext &context, uchar choice, int number)
{
    ViewLines::Options options;
    options.codePage = context.codePage;
    options.context = context;
    options.markup = context.vsual;
    options.formFeedAtEnd = choice & 1;
    const std::shared_ptr<ViewLines> lines = ViewLines::of(page.toByteArray(), options);
    const qint64 count = lines->lineCount();
    const qint64 first = count / 2;
    const QVector<ViewLine> later = lines->lines(first, 3);
    const QVector<ViewLine> all = lines->lines(0, count);
    for (qsizetype i = 0; i < later.size(); ++i) {
        const ViewLine &a = later.at(i);
        const ViewLine &b = all.at(first + i);
        if (a.text != b.text || a.startStyle != b.startStyle || a.runs.size() != b.runs.size())
            fail("a line read from further on differs from the same line read from the start", number, first + i);
        for (qsizetype r = 0; r < a.runs.size(); ++r) {
            if (a.runs.at(r).length != b.runs.at(r).length || a.runs.at(r).style != b.runs.at(r).style)
                fail("a line's styles differ read from further on", number, first + i);
        }
    }
    // The start of the page's middle line is found where it stands, or before.
    if (!all.isEmpty()) {
        const ViewLine &middle = all.at(first);
        const QString needle = middle.text.left(4).trimmed();
        if (!needle.isEmpty()) {
            const qint64 at = lines->find(needle, 0, lines->positionCount());
            if (at < 0 || at > middle.line.position + middle.text.indexOf(needle))
                fail("a search that does not find a line's own text", number, first);
            lines->findAll(needle, 0, lines->positionCount(), 50);
        }
        lines->text(0, lines->positionCount());
    }
}

void exportAll(const QString &printFile, const PageTable &table, const MarkupContext &context, uchar choice)
{
    ExportRequest request;
    request.printFile = printFile;
    request.source = PageSource::pagesOf(table);
    for (int i = 0; i < qMin(request.source.count(), MostPages); ++i)
        request.chosen.append(i);
    request.render.markup = context;
    request.columnMarks = {0, 3, 11, 40};
    request.paper = (choice & 0x40) ? PdfPaper::Letter : PdfPaper::A4;
    request.landscape = choice & 0x80;
    QString error;
    for (const ExportFormat format :
        {ExportFormat::PlainText, ExportFormat::RichText, ExportFormat::WebPage, ExportFormat::Pdf}) {
        QByteArray written;
        QBuffer buffer(&written);
        buffer.open(QIODevice::WriteOnly);
        exportReport(format, request, {QString(), &buffer, QStringLiteral("memory")}, &error);
    }
    if (choice & 0x20)
        exportReport(ExportFormat::Workbook, request, {g_folder->filePath(QStringLiteral("out.xlsx")), nullptr, {}},
            &error);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    (void)argc;
    startFuzzApplication(argv);
    g_folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > MostBytes)
        return 0;
    const uchar choice = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    MarkupContext context;
    const QList<CodePage::Id> codePages = CodePage::all();
    context.codePage = codePages.at((choice & 7) % codePages.size());
    context.vsual = !(choice & 8);
    context.zoomedIn = choice & 0x10;

    // The file as a view opens it: from a file, its line ends noted.
    const QString printFile = g_folder->filePath(QStringLiteral("in.prn"));
    QFile file(printFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    PageTable table;
    QString error;
    if (bytes.isEmpty() || !table.load(printFile, &error, PageTable::MapWhole, PageTable::NoteLineEnds))
        return 0;
    if (table.PageCount() < 1)
        std::abort();

    const qsizetype limit = 1 + (choice >> 5);
    for (int i = 0; i < qMin(table.PageCount(), MostPages); ++i) {
        const QByteArrayView page = table.pageView(i);
        if (page.size() > bytes.size())
            fail("a page larger than the file", i, page.size());
        if (stylesOf(page, context, limit, i) != stylesOf(page, context, page.size() + 1, i))
            fail("the styles of a page read in pieces differ from those of the page read whole", i, 0);
        viewPage(page, context, choice, i);
    }
    exportAll(printFile, table, context, choice);
    return 0;
}
