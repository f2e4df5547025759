// PDFs of print files, read back with the poppler tools.
#include "TestSupport.h"
#include "escp/SheetIndex.h"
#include "export/PdfExport.h"
#include "export/PngExport.h"
#include "export/ReportExporter.h"
#include "report/PageTable.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>

Q_DECLARE_METATYPE(PdfPaper)

namespace {

// The lines of text of PDF pages as laid out, without their blanks.
QString pdfText(const QString &pdf, const QStringList &arguments = {})
{
    QStringList lines;
    const QStringList layout = {"-layout"};
    for (QString line :
        TestSupport::runTool("pdftotext", layout + arguments + QStringList {pdf, "-"}).split('\n')) {
        line = line.simplified().remove(QRegularExpression("[ \\f]"));
        if (!line.isEmpty())
            lines << line;
    }
    return lines.join('\n');
}

// A page of `lines` lines: double width, underline, bold, condensed, a
// Latin-1 letter, twelve pitch, escapes outside the markup, a code-page byte
// of 80-9F, a tab, then numbered lines with a mark far to the right.
// `visible` gets what prints, without blanks.
QByteArray reportPage(int number, int lines, QString *visible)
{
    QByteArray bytes = "\x0e\x1b"
                       "E\x1bGPAGE "
        + QByteArray::number(number)
        + "\x14\x1b"
          "F\x1bH\r\n\x1b-1Customer\x1b-0  \x1b"
          "ETOTAL\x1b"
          "F  \x0fsmall print\x12  M\xfcller\r\n\x12\x1bW \x1bMtwelve\x1bP\tpitch "
          "\x1b@\x1b\x43\x42x\x87y\r\n";
    *visible = QStringLiteral("PAGE%1\nCustomerTOTALsmallprintM\u00fcller\ntwelvepitch@CBxy").arg(number);
    for (int i = 4; i <= lines; ++i) {
        const QByteArray line = "Line " + QByteArray::number(i) + " of page " + QByteArray::number(number);
        bytes += line + QByteArray(60, ' ') + "|\r\n";
        *visible += '\n' + QString::fromLatin1(line).remove(' ') + '|';
    }
    return bytes;
}

} // namespace

class TestPdfExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void pagesReadBack_data()
    {
        QTest::addColumn<QByteArray>("printFile");
        QTest::addColumn<QVector<int>>("pages");
        QTest::addColumn<PdfPaper>("paper");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QStringList>("sheets"); // the text of each PDF page

        QString v1, v2, v3; // 66-line pages: each on a sheet of its own
        const QByteArray three
            = reportPage(1, 66, &v1) + '\f' + reportPage(2, 66, &v2) + '\f' + reportPage(3, 66, &v3) + '\f';
        QTest::newRow("three pages with emphasis")
            << three << QVector<int> {0, 1, 2} << PdfPaper::A4 << false << QStringList {v1, v2, v3};
        QTest::newRow("chosen pages in their order, Letter")
            << three << QVector<int> {2, 0} << PdfPaper::Letter << true << QStringList {v3, v1};

        // 200 columns in numbered groups: at 6 points 149 fit across A4.
        QString wide;
        for (int i = 0; i < 40; ++i)
            wide += QString::number(1000 + i) + '|';
        const QByteArray wideFile = wide.toLatin1() + "\r\nend";
        QTest::newRow("200 columns, portrait: wrapped at the edge")
            << wideFile << QVector<int> {0} << PdfPaper::A4 << false
            << QStringList {wide.left(149) + '\n' + wide.mid(149) + "\nend"};
        QTest::newRow("200 columns, landscape: whole")
            << wideFile << QVector<int> {0} << PdfPaper::A4 << true << QStringList {wide + "\nend"};

        // Too many lines for a sheet even at 6 points: the size stays, the
        // page goes on over the next sheets.
        QByteArray longPage;
        QStringList rows;
        for (int i = 1; i <= 150; ++i) {
            longPage += "row " + QByteArray::number(i) + "\r\n";
            rows << QStringLiteral("row%1").arg(i);
        }
        QTest::addRow("a page longer than a sheet")
            << longPage << QVector<int> {0} << PdfPaper::A4 << false
            << QStringList {
                   rows.mid(0, 61).join('\n'), rows.mid(61, 61).join('\n'), rows.mid(122).join('\n')};

        // Over 2 MB, drawn as it is read: an underline region over a line of
        // hidden sequences and NULs that spans many pieces, and an open
        // without a close at the end.
        QString huge;
        const QByteArray hidden("\x1b\x45\x1b\x46\x00", 5); // ESC E, ESC F, NUL
        const QByteArray hugePage
            = "\x1b-1" + hidden.repeated(500000) + "\x1b-0" + reportPage(1, 40, &huge) + "\x1b-1";
        QTest::newRow("a huge page") << hugePage << QVector<int> {0} << PdfPaper::A4 << false
                                     << QStringList {huge};
    }

    void pagesReadBack()
    {
        QFETCH(QByteArray, printFile);
        QFETCH(QVector<int>, pages);
        QFETCH(PdfPaper, paper);
        QFETCH(bool, landscape);
        QFETCH(QStringList, sheets);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("out.PDF");
        PageTable table;
        table.setBytes(printFile);
        PdfOptions options {pages, paper, landscape};
        QString error;
        QVERIFY2(PdfExport::save(pdf, table, options, &error), qPrintable(error));

        const QString info = TestSupport::runTool("pdfinfo", {pdf});
        QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages: +%1\n").arg(sheets.size()))));
        QVERIFY(info.contains(paper == PdfPaper::A4 ? (landscape ? "842 x 595" : "595 x 842")
                                                    : (landscape ? "792 x 612" : "612 x 792")));
        for (int i = 0; i < sheets.size(); ++i) {
            const QString n = QString::number(i + 1);
            const QString text = pdfText(pdf, {"-f", n, "-l", n});
            QCOMPARE(text, sheets[i]);
            QVERIFY(!text.contains(QRegularExpression("[\\x00-\\x09\\x0b-\\x1f\\x7f-\\x9f]")));
        }
        // Every font embedded: the first of the emb, sub and uni columns.
        const QStringList fonts
            = TestSupport::runTool("pdffonts", {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts)
            QVERIFY2(
                font.contains(QRegularExpression(" yes +(yes|no) +(yes|no) +\\d+ +\\d+$")), qPrintable(font));
    }

    // Hidden sequences take no room and bold is as wide as plain, so the
    // second column starts at one place on every line; bold, double width
    // (bold after it in print order) and condensed take the view's colours.
    void columnsAndColours()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("columns.pdf");
        PageTable table;
        table.setBytes("12345 XYZ\r\n\x1b-1ABCDE\x1b-0 XYZ\r\n\x1b"
                       "EABCDE\x1b"
                       "F XYZ\r\n\x0e\x1b"
                       "E\x1bG\x14\x1b"
                       "F\x1bH12345 XYZ\r\n\x0e\x1b"
                       "E\x1bGWIDE\x14\x1b"
                       "F\x1bH \x0f"
                       "CONDENSED\x12");
        PdfOptions options {{0}};
        options.render.markup.bold = Qt::red;
        options.render.markup.condensed = Qt::green;
        QString error;
        QVERIFY2(PdfExport::save(pdf, table, options, &error), qPrintable(error));
        const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>XYZ</word>"));
        QStringList starts;
        for (auto it = word.globalMatch(TestSupport::runTool("pdftotext", {"-bbox", pdf, "-"}));
             it.hasNext();)
            starts << it.next().captured(1);
        QCOMPARE(starts, QStringList(4, starts.value(0)));

        TestSupport::runTool("pdftoppm",
            {"-r", "100", "-aa", "no", "-aaVector", "no", "-png", "-singlefile", pdf, dir.filePath("p")});
        const QImage image = QImage(dir.filePath("p.png")).convertToFormat(QImage::Format_RGB32);
        QMap<QRgb, int> count;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                ++count[image.pixel(x, y)];
        }
        QVERIFY(count.value(qRgb(255, 0, 0)) > 100 && count.value(qRgb(0, 255, 0)) > 20);
    }

    // Refusals that leave the old file as it was; a FIFO, a link and a full
    // disk are in tst_textexports with the other writers.
    void failedSaveLeavesNoFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QVector<int>>("pages"); // -1 last: cancelled after the first page
        QTest::newRow("folder missing") << "missing/out.pdf" << QVector<int> {0};
        QTest::newRow("page not in the report") << "kept.pdf" << QVector<int> {0, 5};
        QTest::newRow("cancelled") << "kept.pdf" << QVector<int> {0, 1, 2, -1};
    }

    void failedSaveLeavesNoFile()
    {
        QFETCH(QString, target);
        QFETCH(QVector<int>, pages);
        QTemporaryDir dir;
        TestSupport::writeFile(dir.filePath("kept.pdf"), "old");
        QString v;
        PageTable table;
        table.setBytes(reportPage(1, 66, &v) + '\f' + reportPage(2, 66, &v) + '\f' + reportPage(3, 66, &v));
        QString error;
        PdfOptions options {pages};
        if (pages.endsWith(-1)) {
            options.pages.removeLast();
            options.progress = [](int written, int total) { return written < 1 || total < 0; };
        }
        QVERIFY(!PdfExport::save(dir.filePath(target), table, options, &error));
        QVERIFY2(error.contains(QFileInfo(target).fileName()), qPrintable(error));
        QCOMPARE(TestSupport::readFile(dir.filePath("kept.pdf")), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System), QStringList({"kept.pdf"}));
    }

    // A job of nothing but form feeds is a blank page a byte: past
    // MostDrawnPages a PDF or pictures are refused before a page is written
    // (50 MB of form feeds made a 32 GB PDF), whatever the look; a part of
    // the same file is drawn.
    void tooManyPagesRefused_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("sheets"); // the printed look's sheets, else the pages cut at form feeds
        QTest::addColumn<int>("chosen");  // the first pages chosen; 0: all
        QTest::newRow("PDF of sheets") << "pdf" << true << 0;
        QTest::newRow("PDF of pages") << "pdf" << false << 0;
        QTest::newRow("pictures of sheets") << "png" << true << 0;
        QTest::newRow("a part of the sheets") << "pdf" << true << 3;
        QTest::newRow("a part as pictures") << "png" << true << 2;
    }

    void tooManyPagesRefused()
    {
        QFETCH(QString, format);
        QFETCH(bool, sheets);
        QFETCH(int, chosen);
        // (The last form feed begins no page: nothing is printed after it.)
        const QByteArray bytes = "x" + QByteArray(MostDrawnPages + 1, '\f');
        PageTable table;
        table.setBytes(bytes);
        SheetIndex document;
        QVERIFY(document.build(QByteArrayView(bytes), PrinterSetup()));
        ExportRequest request;
        request.printFile = QStringLiteral("blank.prn");
        request.source = sheets ? PageSource::sheetsOf(
                                      table, [&document](int i) { return document.sheet(i); }, document.sheetCount())
                                : PageSource::pagesOf(table);
        QCOMPARE(request.source.count(), int(MostDrawnPages) + 1);
        for (int i = 0; i < (chosen > 0 ? chosen : request.source.count()); ++i)
            request.chosen.append(i);
        QTemporaryDir dir;
        const QString path = dir.filePath("out." + format);
        const QString first = format == "png" ? PngExport::numberedName(path, 1, chosen) : path;
        TestSupport::writeFile(first, "old");
        QString error;
        const bool written = exportReport(*exportFormatNamed(format), request, {path, nullptr, QString()}, &error);
        if (chosen > 0) {
            QVERIFY2(written, qPrintable(error));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), format == "png" ? chosen : 1);
            QVERIFY(TestSupport::readFile(first) != "old");
            return;
        }
        QVERIFY(!written);
        QVERIFY2(error.contains("blank.prn") && error.contains("1000001 pages to draw")
                && error.contains("1000000"), qPrintable(error));
        QCOMPARE(TestSupport::readFile(first), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
    }

    // The same print file and options give the same PDF bytes in every
    // run, whatever order Qt's hash tables (seeded anew in each process)
    // put the faces in; dated when the print file was printed, the text
    // shown a run to a string and read back whole.
    void sameBytesEveryRun_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("printed look") << QStringList {"--look", "printed"};
        QTest::newRow("emphasis look") << QStringList {"--look", "emphasis"};
        QTest::newRow("printed look with a subject") << QStringList {"--look", "printed", "--pdf-subject", "Stock"};
    }

    void sameBytesEveryRun()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        QString visible;
        // Four faces: regular, bold, italic and bold italic.
        const QString in = TestSupport::writeFile(dir.filePath("report.prn"),
            reportPage(1, 40, &visible) + "\x1b" "4italic \x1b" "Ebold italic\x1b" "5\x1b" "F\r\n\f");
        const QDateTime printed(QDate(2024, 3, 5), QTime(6, 7, 8), Qt::UTC);
        {
            QFile file(in);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(printed, QFileDevice::FileModificationTime));
        }
        QByteArray first;
        for (int run = 0; run < 3; ++run) {
            const QString out = dir.filePath(QStringLiteral("run%1.pdf").arg(run));
            const TestSupport::ProgramRun result
                = TestSupport::runProgram(QStringList {"convert"} + options + QStringList {in, out});
            QVERIFY2(result.status == 0, result.err.constData());
            const QByteArray bytes = TestSupport::readFile(out);
            if (run == 0)
                first = bytes;
            else
                QVERIFY2(bytes == first, qPrintable(QStringLiteral("run %1 differs from the first").arg(run + 1)));
        }
        const QString pdf = dir.filePath("run0.pdf");
        QVERIFY(TestSupport::pdfIsValid(pdf));
        const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
        const QDateTime dated = epoch.isEmpty() ? printed : QDateTime::fromSecsSinceEpoch(epoch.toLongLong(), Qt::UTC);
        QVERIFY(first.contains("/CreationDate (D:" + dated.toString("yyyyMMddHHmmss").toLatin1() + "Z)"));
        const QString text = pdfText(pdf);
        // The numbered lines read the same in both looks.
        for (const QString &line : visible.split('\n').filter(QRegularExpression("^Line")))
            QVERIFY2(text.contains(line), qPrintable(line));
        QVERIFY(text.contains("italicbolditalic"));

        // About 2,800 glyphs, shown by a few strings a line.
        const QString content = TestSupport::runTool("qpdf", {"--qdf", "--object-streams=disable", pdf, "-"});
        const qsizetype shown = content.count(QRegularExpression("T[jJ]\n"));
        QVERIFY2(shown > 40 && shown < 400, qPrintable(QString::number(shown)));
    }

    // SOURCE_DATE_EPOCH, as reproducible builds set it, dates every PDF.
    void dateFromSourceDateEpoch()
    {
        QTemporaryDir dir;
        QString visible;
        const QString in = TestSupport::writeFile(dir.filePath("report.prn"), reportPage(1, 5, &visible));
        const QByteArray before = qgetenv("SOURCE_DATE_EPOCH");
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        const TestSupport::ProgramRun result = TestSupport::runProgram({"convert", in, dir.filePath("a.pdf")});
        if (before.isEmpty())
            qunsetenv("SOURCE_DATE_EPOCH");
        else
            qputenv("SOURCE_DATE_EPOCH", before);
        QCOMPARE(result.status, 0);
        QVERIFY(TestSupport::readFile(dir.filePath("a.pdf")).contains("/CreationDate (D:20231114221320Z)"));
    }

    void defaultPaper_data()
    {
        QTest::addColumn<QByteArray>("papersize"); // the environment's $PAPERSIZE
        QTest::addColumn<QByteArray>("papersizeFile"); // the system's setting
        QTest::addColumn<PdfPaper>("paper");
        QTest::newRow("system letter") << QByteArray() << QByteArray("letter\n") << PdfPaper::Letter;
        QTest::newRow("system a4") << QByteArray() << QByteArray("a4\n") << PdfPaper::A4;
        QTest::newRow("legal is letter wide") << QByteArray() << QByteArray("legal\n") << PdfPaper::Letter;
        QTest::newRow("a5 is not") << QByteArray() << QByteArray("a5\n") << PdfPaper::A4;
        QTest::newRow("environment first") << QByteArray("Letter") << QByteArray("a4\n") << PdfPaper::Letter;
        QTest::newRow("unknown name ignored") << QByteArray("b99") << QByteArray("# a comment\na4\n")
                                              << PdfPaper::A4;
    }

    void defaultPaper()
    {
        QFETCH(QByteArray, papersize);
        QFETCH(QByteArray, papersizeFile);
        QFETCH(PdfPaper, paper);
        const QByteArray locale = std::setlocale(LC_PAPER, nullptr);
        if (locale != "C" && locale != "POSIX" && !locale.startsWith("C."))
            QSKIP("the locale names a paper");
        QTemporaryDir dir;
        const QString conf = dir.filePath("papersize");
        TestSupport::writeFile(conf, papersizeFile);
        qputenv("PAPERCONF", QFile::encodeName(conf));
        if (!papersize.isEmpty())
            qputenv("PAPERSIZE", papersize);
        QCOMPARE(PdfExport::defaultPaper(), paper);
        qunsetenv("PAPERSIZE");
        qunsetenv("PAPERCONF");
    }
};

QTEST_MAIN(TestPdfExport)
#include "tst_pdfexport.moc"
