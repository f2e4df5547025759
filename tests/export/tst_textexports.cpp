// The plain-text, rich-text and workbook outputs on the engine; the report
// view's buttons that call them are in tst_reportexport.
#include "ExportReaders.h"
#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "escp/SheetIndex.h"
#include "export/ExportFormat.h"
#include "export/HtmlExport.h"
#include "export/PdfExport.h"
#include "export/PlainTextExport.h"
#include "export/PngExport.h"
#include "export/ReportExporter.h"
#include "export/RichTextExport.h"
#include "export/RtfWriter.h"
#include "export/WorkbookExport.h"
#include "platform/ByteText.h"
#include "platform/FileChecks.h"
#include "render/StyledPage.h"
#include "report/PageTable.h"
#include "report/ReportFont.h"
#include "report/ReportMarkup.h"

#include <QBuffer>
#include <QTimeZone>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>
#include <QTextDocument>

#include <numeric>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using WorkbookExport::Cell;
Q_DECLARE_METATYPE(QVector<Cell>)
Q_DECLARE_METATYPE(CodePage::Id)

using namespace ExportReaders;

class TestTextExports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void plainText_data()
    {
        QTest::addColumn<QByteArray>("printFile");
        QTest::addColumn<QVector<int>>("pages");
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char *name, const QByteArray &file, QVector<int> pages,
                             const QByteArray &out) { QTest::newRow(name) << file << pages << out; };
        row("bytes kept, pages not chosen left out", "one\r\n\fpage \033E\xc4\r\n\ftail", {0, 1},
            "one\r\n\fpage \033E\xc4\r\n\f");
        row("chosen page only", "a\fb\fc\f", {1}, "b\f");
        row("file without form feed", "a\r\nb", {0}, "a\r\nb\f");
        row("lone CR and LF become CR LF", "a\rb\nc\r\n", {0}, "a\r\nb\r\nc\r\n\f");
        // A file is read in blocks of a megabyte: a line end across a block's
        // end is still one line end.
        const QByteArray block((1 << 20) - 1, 'x');
        row("CR LF across a block end", block + "\r\ny\fz", {0, 1}, block + "\r\ny\fz\f");
        row("lone CR at a block end", block + "\ry", {0}, block + "\r\ny\f");
        row("lone LF at a block start", block + "y\nz", {0}, block + "y\r\nz\f");
        // A file of CR LF lines only is copied as it is, a run of pages at a
        // time; any lone line end, among a picture's dots too, is rewritten.
        row("pages out of order and twice", "a\r\n\fb\fc", {2, 0, 0, 1}, "c\fa\r\n\fa\r\n\fb\f");
        const QByteArray picture("\x1bK\x02\x00", 4);
        row("lone line ends among a picture's dots", "A\r\n" + picture + "\n\r\r\n\f", {0},
            "A\r\n" + picture + "\r\n\r\n\r\n\f");
    }

    void plainText()
    {
        QFETCH(QByteArray, printFile);
        QFETCH(QVector<int>, pages);
        QFETCH(QByteArray, expected);
        const QString path = m_dir.filePath("out.txt");
        PageTable table;
        table.setBytes(printFile);
        QString error;
        QVERIFY2(savePlainText(path, table, pages, &error), qPrintable(error));
        QCOMPARE(TestSupport::readFile(path), expected);

        // The same from the file, read in blocks rather than through its map.
        const QString in = m_dir.filePath("in.prn");
        TestSupport::writeFile(in, printFile);
        PageTable loaded;
        QVERIFY2(loaded.load(in, &error, PageTable::MapOnDemand), qPrintable(error));
        QVERIFY2(savePlainText(path, loaded, pages, &error), qPrintable(error));
        QCOMPARE(TestSupport::readFile(path), expected);
    }

    // Text and rich text read the print file's pages whatever look they are
    // given: the chosen sheets of the printed look give the pages they were
    // printed from (page 0 runs over two sheets).
    void textOfChosenSheets_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QVector<int>>("sheets");
        QTest::addColumn<QByteArray>("expected"); // the text export of the same pages
        const QByteArray first = QByteArray("line\r\n").repeated(100);
        QTest::newRow("txt, a sheet of page 0") << "txt" << QVector<int>{1} << first + '\f';
        QTest::newRow("txt, sheets across pages") << "txt" << QVector<int>{1, 2} << first + "\fB\r\n\f";
        QTest::newRow("rtf, the last sheet") << "rtf" << QVector<int>{3} << QByteArray("C\r\n\f");
    }

    void textOfChosenSheets()
    {
        QFETCH(QString, format);
        QFETCH(QVector<int>, sheets);
        QFETCH(QByteArray, expected);
        const QByteArray bytes = QByteArray("line\r\n").repeated(100) + "\fB\r\n\fC\r\n";
        PageTable table;
        table.setBytes(bytes);
        SheetIndex document;
        QVERIFY(document.build(QByteArrayView(bytes), PrinterSetup()));
        QCOMPARE(document.sheetCount(), 4);
        ExportRequest request;
        request.printFile = QStringLiteral("rep.prn");
        request.source
            = PageSource::sheetsOf(table, [&document](int i) { return document.sheet(i); }, document.sheetCount());
        request.chosen = sheets;
        const QString path = m_dir.filePath("sheets." + format);
        QString error;
        QVERIFY2(exportReport(*exportFormatNamed(format), request, {path, nullptr, QString()}, &error),
            qPrintable(error));
        const QByteArray written = TestSupport::readFile(path);
        if (format == "txt") {
            QCOMPARE(written, expected);
        } else {
            // Only the last page's text: none of page 0's lines.
            QVERIFY(written.contains('C') && !written.contains("line"));
        }
    }

    // Another program cuts the print file short or writes it anew while
    // the whole-file formats read it: no output (an old file stays as it
    // was), and the cause said, as the mapped formats do.
    void changedWhileRead_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("toDevice");
        QTest::newRow("web page to a file") << "html" << false;
        QTest::newRow("web page to a device") << "html" << true;
        QTest::newRow("workbook") << "xlsx" << false;
    }

    void changedWhileRead()
    {
        QFETCH(QString, format);
        QFETCH(bool, toDevice);
        QTemporaryDir dir; // a folder of its own: the rows' outputs differ
        const QString in = TestSupport::writeFile(dir.filePath("changing.prn"),
            QByteArray("first line of the old report\r\n").repeated(2000));
        const QString out = TestSupport::writeFile(dir.filePath("changing." + format), "kept");
        ExportRequest request;
        request.printFile = in;
        request.columnMarks = {0, 5};
        int calls = 0;
        request.progress = [&](qint64, qint64) {
            if (calls++ == 0) // the report is written afresh, shorter
                TestSupport::writeFile(in, "new\r\n");
            return true;
        };
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ExportOutput output;
        if (toDevice) {
            output.device = &buffer;
            output.deviceName = "standard output";
        } else {
            output.path = out;
        }
        QString error;
        const ExportFormat target = format == "html" ? ExportFormat::WebPage : ExportFormat::Workbook;
        QVERIFY(!exportReport(target, request, output, &error));
        QVERIFY(calls > 0);
        QVERIFY2(error.contains("changed while it was being read") && error.contains("changing.prn"),
            qPrintable(error));
        QCOMPARE(TestSupport::readFile(out), QByteArray("kept"));
        const QStringList left = QDir(dir.path()).entryList({"changing*", ".changing*"}, QDir::Files | QDir::Hidden);
        QStringList expected {"changing." + format, "changing.prn"};
        expected.sort();
        QVERIFY2(left == expected, qPrintable(left.join(' ')));
    }

    void rtfTextSurvives_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("braces and backslash") << "a\\b{c}d";
        QTest::newRow("bytes above 127") << QString::fromLatin1("\xb3\xc4\xe9\xff\x80");
        QTest::newRow("control codes") << QString::fromLatin1("\033E\x0e\x14\x0f\x12\x01");
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("\u20ac\u0159");
    }

    void rtfTextSurvives()
    {
        QFETCH(QString, text);
        QTextDocument document;
        document.setPlainText(text);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        QVERIFY2(RtfWriter::write(document, buffer, &error), qPrintable(error));
        const RtfContent read = readRtf(bytes);
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text, text);
    }

    // The chosen pages after the markup passes: the sequences are hidden,
    // the regions carry their emphasis in the context's colours.
    void richTextEmphasis()
    {
        const QByteArray file = "Page 1 \033EBOLDTEXT\033F plain\r\n\fPage 2 \x0f"
                                "CONDENSED\x12 end\r\n\f"
                                "Page 3 {brace} \x1b-1ul\x1b-0\r\n\f";
        PageTable table;
        table.setBytes(file);
        MarkupContext context;
        context.bold = QColor(150, 10, 20);
        context.condensed = QColor(120, 30, 140);
        const QString path = m_dir.filePath("all.rtf");
        QString error;
        QVERIFY2(saveRichText(path, table, {0, 1, 2}, context, &error), qPrintable(error));
        const RtfContent read = readRtf(TestSupport::readFile(path));
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text, QString::fromLatin1(file).replace("\r\n", "\n"));
        QMap<QString, RtfRun> runs;
        for (const RtfRun &run : read.runs)
            runs[run.text] = run;
        const RtfRun plain = runs.value("Page 1 "), bold = runs.value("BOLDTEXT");
        QVERIFY(!plain.bold && !plain.underline && !plain.colour.isValid());
        QCOMPARE(plain.font, QString("Courier New"));
        QCOMPARE(plain.halfPoints, 23); // 11.25 points
        QVERIFY(bold.bold);
        QCOMPARE(bold.colour, context.bold);
        QCOMPARE(runs.value("CONDENSED").colour, context.condensed);
        QCOMPARE(runs.value("CONDENSED").halfPoints, 14);
        QVERIFY(runs.value("ul").underline && !runs.value("ul").bold);
        QCOMPARE(runs.value("\033E").halfPoints, 2);
        // Another RTF reader (unrtf) sees the same.
        const QString unrtf = QStandardPaths::findExecutable("unrtf");
        if (unrtf.isEmpty())
            QSKIP("unrtf is not installed (tools/deps.sh installs it)");
        QProcess process;
        process.start(unrtf, {"--html", path});
        process.waitForFinished(30000);
        const QString html = QString::fromLatin1(process.readAllStandardOutput());
        QVERIFY2(html.contains("<b>BOLDTEXT") && html.contains("<u>ul") && html.contains("{brace}")
                && html.contains(context.bold.name(), Qt::CaseInsensitive),
            qPrintable(html));
    }

    // A page of the rich text ends where the page table ends it; a form feed
    // byte that is a command's parameter or a picture's data stays a
    // character there, never a page break of its own.
    void richTextPageBreaks_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("keptFormFeeds");
        QTest::newRow("form feeds only") << QByteArray("a\r\n\fb\r\n\f") << 2 << 0;
        QTest::newRow("ESC C NUL 12") << QByteArrayLiteral("\033C\000\x0cLine1\r\nLine2\r\n\fPage2\r\n\f") << 2 << 1;
        QTest::newRow("a picture's dots") << QByteArrayLiteral("\033*\000\003\000\x0c\x0c\x0c invoice\r\n\f") << 1 << 3;
    }

    void richTextPageBreaks()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, pages);
        QFETCH(int, keptFormFeeds);
        PageTable table;
        table.setBytes(file);
        QCOMPARE(table.PageCount(), pages);
        QVector<int> all(pages);
        std::iota(all.begin(), all.end(), 0);
        const QString path = m_dir.filePath("breaks.rtf");
        QString error;
        QVERIFY2(saveRichText(path, table, all, MarkupContext(), &error), qPrintable(error));
        const QByteArray rtf = TestSupport::readFile(path);
        QCOMPARE(int(rtf.count("\\page ")), pages);
        QCOMPARE(int(rtf.count("\\'0c")), keptFormFeeds);
        QVERIFY(readRtf(rtf).wellFormed);
    }

    // The streamed rich text is byte for byte what the assembled document
    // gives; a cancel along the way leaves the old file as it was.
    void richTextStreamsLikeTheDocument_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QVector<int>>("pages");
        QTest::addColumn<CodePage::Id>("codePage");
        const auto row = [](const char *name, const QByteArray &file, QVector<int> pages,
                             CodePage::Id codePage = CodePage::Id::Latin1) {
            QTest::newRow(name) << file << pages << codePage;
        };
        row("bold over a page break", "a \033Ebold\r\n\fstill\033F b\r\n\f", {0, 1});
        row("open without close ends its pass", "\x0fx\x12 y \x0fz \x0fw \033Eb\033F\f", {0});
        row("colour only after an open without close", "\033Eb\033F \x0fno close\x0e\033E\033Gx", {0});
        row("passes overlap", "\x0e\033E\033GBIG\x14\033F\033H \033Eb \x0fk\033F d\x12 \033-1u\033-0", {0});
        row("line ends", "a\r\nb\rc\nd\r\r\n\n\033E\r\033F\r\fx\r", {0, 1});
        row("out of order, out of range", "one\fTWO \033E2\f\033F3", {2, 0, 7, 1});
        row("empty selection", "a\033Eb", {});
        row("PC437", "\xc9\xcd\xbb \x81\x9a \033E\x80\xff\033F\r\n\\{}\t\x01\x7f", {0}, CodePage::Id::Pc437);
        row("Kamenicky", "\x80\x9f\xa0\xe1 \033E\x87\033F", {0}, CodePage::Id::Kamenicky);
        row("Windows-1252 gaps", "\x81\x8d\x80\x9c \x0fk\x12", {0}, CodePage::Id::Windows1252);
        QByteArray big(1 << 20, 'a');
        big.replace((1 << 20) - 1, 1, "\033Ebold at the cut\033F\x0fsome");
        const QByteArray lines = QByteArray("\033-1" + QByteArray(58, 'y') + "\r\n").repeated(18000);
        row("sequences on the piece cuts", big + "\f" + lines + "\033-0", {0, 1});
        // Nothing but bytes that sequences hold, longer than a piece: cut
        // where no sequence lies (it had been one piece, held whole).
        const QByteArray escapes((1 << 20) - 2, '\033');
        row("a run of ESC longer than a piece", escapes + "\033Ebold across\033F" + escapes + "\033E\033-1b\033F", {0});
    }

    void richTextStreamsLikeTheDocument()
    {
        QFETCH(QByteArray, file);
        QFETCH(QVector<int>, pages);
        QFETCH(CodePage::Id, codePage);
        PageTable table;
        table.setBytes(file);
        for (const bool vsual : {true, false}) {
            MarkupContext context;
            context.codePage = codePage;
            context.vsual = vsual;
            QTextDocument document;
            assembleForExport(&document, table, pages, context);
            QByteArray expected;
            QBuffer buffer(&expected);
            buffer.open(QIODevice::WriteOnly);
            QString error;
            QVERIFY2(RtfWriter::write(document, buffer, &error), qPrintable(error));
            const QString path = m_dir.filePath("streamed.rtf");
            QList<int> percents;
            const auto progress = [&percents](int percent) {
                percents << percent;
                return true;
            };
            QVERIFY2(saveRichText(path, table, pages, context, &error, progress), qPrintable(error));
            const QByteArray got = TestSupport::readFile(path);
            qsizetype differs = 0;
            while (differs < qMin(got.size(), expected.size()) && got.at(differs) == expected.at(differs))
                ++differs;
            QVERIFY2(got.size() == expected.size() && differs == got.size(),
                qPrintable(QString::fromLatin1(
                    got.mid(differs - 60, 120) + "\n" + expected.mid(differs - 60, 120))));
            QVERIFY(pages.isEmpty()
                || (percents.last() == 100 && std::is_sorted(percents.begin(), percents.end())));
            // Cancelled in the writing of the body: the old file stays.
            TestSupport::writeFile(path, "old");
            const auto cancel = [](int percent) { return percent < 60; };
            QCOMPARE(saveRichText(path, table, pages, context, &error, cancel), pages.isEmpty());
            QCOMPARE(TestSupport::readFile(path), pages.isEmpty() ? expected : QByteArray("old"));
        }
    }

    // Every writer of the format table (and the printed look's PDF and
    // pictures, which the same rows write when given sheets), onto a FIFO
    // (refused, left as it is), through a link (the file it names is
    // written) and under a file-size limit (the cause named, the old file
    // kept, nothing left over). The rows come from the table, so a new
    // format cannot miss this.
    void everyWriterGuardsItsTarget_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<bool>("printed");
        QTest::addColumn<QString>("target");
        for (const char *target : {"fifo", "link", "limit"}) {
            for (const ExportFormatInfo &info : exportFormats()) {
                const QString name = info.name;
                QTest::addRow("%s onto a %s", qPrintable(name), target) << name << false << target;
                if (info.look != ExportLook::FilePages)
                    QTest::addRow("printed %s onto a %s", qPrintable(name), target) << name << true << target;
            }
            QTest::addRow("bytes onto a %s", target) << "bytes" << false << target;
        }
    }

    void everyWriterGuardsItsTarget()
    {
        QFETCH(QString, writer);
        QFETCH(bool, printed);
        QFETCH(QString, target);
        QTemporaryDir dir;
        const QByteArray bytes = QByteArray("   1234.50 \033E& <line>\r\n").repeated(10000);
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"), bytes);
        PageTable table;
        table.setBytes(bytes);
        SheetIndex document;
        const std::optional<ExportFormat> format = exportFormatNamed(writer);
        ExportRequest request;
        request.printFile = source;
        request.chosen = {0};
        request.columnMarks = {0, 6, 13, 0};
        request.dpi = 300;
        if (format == ExportFormat::Png)
            printed = true; // pictures are of sheets only
        if (printed) {
            QVERIFY(document.build(QByteArrayView(bytes), PrinterSetup()));
            request.source = PageSource::sheetsOf(
                table, [&document](int i) { return document.sheet(i); }, document.sheetCount());
        } else {
            request.source = PageSource::pagesOf(table);
        }
        const QString path = dir.filePath("out");
        // The file a writer writes for `path`: pictures are numbered.
        const QString written = format == ExportFormat::Png ? PngExport::numberedName(path, 1, 1) : path;
        auto write = [&](QString *error) {
            if (!format)
                return ByteText::writeFile(written, bytes, error); // its callers name the file
            return exportReport(*format, request, {path, nullptr, QString()}, error);
        };
        const QString named = format ? QDir::toNativeSeparators(written) : QString();
        QString error;
        if (target == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(written).constData(), 0600), 0);
            QVERIFY(!write(&error));
            QVERIFY2(error.contains(named) && error.contains("not a regular file"), qPrintable(error));
            QVERIFY(QFileInfo::exists(written) && !FileChecks::isRegularFile(written));
        } else if (target == "link") {
            TestSupport::writeFile(dir.filePath("real"), "old");
            QVERIFY(QFile::link("real", written));
            QVERIFY2(write(&error), qPrintable(error));
            QVERIFY(QFileInfo(written).isSymLink() && FileChecks::isRegularFile(written));
            QVERIFY(TestSupport::readFile(dir.filePath("real")).size() > 1000);
        } else {
            TestSupport::writeFile(written, "old");
            bool ok;
            {
                FileSizeLimit limit(1024);
                ok = write(&error);
            }
            QVERIFY(!ok);
            QVERIFY2(error.contains(named) && error.endsWith("File too large"), qPrintable(error));
            QCOMPARE(TestSupport::readFile(written), QByteArray("old"));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
        }
    }

    // A page in PC437: box drawing, "für", an escaped "<" and the bytes
    // 0x80-0x9F, which are letters there ("Ç", "Ü") and blanks in Latin-1.
    void codePage_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected"); // what the output holds, decoded
        QTest::newRow("web page") << "html"
                                  << "<HTML>\r\n<meta charset=\"utf-8\">\r\n<body"
                                     "|<br>╔═╗&nbsp;für&nbsp;&lt;\r\n<br>ÇÜ&nbsp;<b ";
        QTest::newRow("plain text") << "txt" << "╔═╗ für <\r\nÇÜ \x1b" "Ebold\x1b" "F\r\n\f";
        QTest::newRow("rich text") << "rtf" << "\\u9556?\\u9552?\\u9559? f\\'fcr <\\par|\\'c7\\'dc";
        QTest::newRow("workbook") << "xlsx" << "A1=╔═╗|A2=ÇÜ |B1= für ";
        QTest::newRow("printed page") << "print" << "╔═╗ für <|ÇÜ bold";
        QTest::newRow("the font holds it") << "font" << "DejaVu Sans Mono";
    }

    void codePage()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const QByteArray bytes("\xc9\xcd\xbb f\x81r <\r\n\x80\x9a \x1b" "Ebold\x1b" "F\r\n\f");
        const CodePage::Id cp437 = CodePage::Id::Pc437;
        PageTable table;
        table.setBytes(bytes);
        MarkupContext context;
        context.codePage = cp437;
        const QString in = TestSupport::writeFile(m_dir.filePath("cp437.prn"), bytes);
        const QString out = m_dir.filePath("cp437." + format);
        QString error, got;
        if (format == "html") {
            HtmlColours options;
            options.codePage = cp437;
            QVERIFY2(expHTml(in, out, options, &error), qPrintable(error));
        } else if (format == "txt") {
            QVERIFY2(savePlainText(out, table, {0}, &error, cp437), qPrintable(error));
        } else if (format == "rtf") {
            QVERIFY2(saveRichText(out, table, {0}, context, &error), qPrintable(error));
            QVERIFY(readRtf(TestSupport::readFile(out)).text.startsWith("╔═╗ für <\nÇÜ "));
        } else if (format == "xlsx") {
            QVERIFY2(WorkbookExport::write(in, out, {0, 3, 8}, {}, &error, cp437), qPrintable(error));
            got = sheetLines(out).join('|');
        } else if (format == "print") {
            for (const StyledLine &line : StyledPage::build(bytes, context))
                got += StyledPage::text(line) + '|';
        } else {
            got = reportFontFamily(cp437);
            QVERIFY(fontHoldsCodePage(reportFont(12, false, cp437), CodePage::Id::Kamenicky));
        }
        if (got.isEmpty())
            got = QString::fromUtf8(TestSupport::readFile(out));
        for (const QString &piece : expected.split('|'))
            QVERIFY2(got.contains(piece), qPrintable(got));
    }

    void cutLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVector<int>>("marks");
        QTest::addColumn<QVector<Cell>>("cells");
        const QByteArray thirty = "ABCDEFGHIJabcdefghijklmno12345";
        // The piece after the last mark runs to the line's end (it had been lost).
        QTest::newRow("marks 20, 5, 15: rising piece after a fall")
            << thirty << QVector<int> {0, 20, 5, 15, 0}
            << QVector<Cell> {{0, thirty.left(20)}, {2, thirty.mid(5, 10)}, {3, thirty.mid(15)}};
        QTest::newRow("no marks: the whole line") << thirty << QVector<int> {0, 0} << QVector<Cell> {{0, thirty}};
        QTest::newRow("line ends before a piece")
            << QByteArray("abc") << QVector<int> {0, 10, 25, 0} << QVector<Cell> {{0, "abc"}};
        QTest::newRow("piece cut short by the line end")
            << QByteArray("ABCDEFGHIJab") << QVector<int> {0, 10, 25, 0}
            << QVector<Cell> {{0, "ABCDEFGHIJ"}, {1, "ab"}};
        QTest::newRow("the rest after the last mark")
            << QByteArray("Name      Qty   Price") << QVector<int> {0, 10, 16, 0}
            << QVector<Cell> {{0, "Name      "}, {1, "Qty   "}, {2, "Price"}};
        QTest::newRow("a mark at the line's end leaves no rest")
            << QByteArray("Name      Qty") << QVector<int> {0, 10, 13, 0}
            << QVector<Cell> {{0, "Name      "}, {1, "Qty"}};
        QTest::newRow("empty line") << QByteArray() << QVector<int> {0, 10, 0} << QVector<Cell> {};
    }

    void cutLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(QVector<int>, marks);
        QFETCH(QVector<Cell>, cells);
        QCOMPARE(WorkbookExport::cutLine(line, marks), cells);
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("piece");
        QTest::addColumn<double>("value"); // -1: stays text
        QTest::newRow("amount with spaces") << QByteArray("   1234.50 ") << 1234.5;
        QTest::newRow("negative") << QByteArray("-7") << -7.0;
        for (const char *text : {"007", "1,234.50", "12.00-", "1234567890123456", "12.", "   "})
            QTest::newRow(text) << QByteArray(text) << -1.0;
    }

    void numbers()
    {
        QFETCH(QByteArray, piece);
        QFETCH(double, value);
        double got = 0;
        const bool isNumber = WorkbookExport::numberOf(piece, &got);
        QCOMPARE(isNumber ? got : -1.0, value);
    }

    // Control codes dropped from the text, tab kept, Latin-1 and markup
    // characters as they are; a lone CR ends a line, a lone LF does not.
    void workbookCells()
    {
        QTemporaryDir dir;
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"),
            "ABCDEFGHIJabcdefghijklmno12345\r\n"
            "\r\n"
            "Caf\xe9 & <co>\033E\tbold\x0e\033F\rline four is long enough\n!\r\n"
            "  1250.75     =SUM(A1)\r\n");
        const QString book = dir.filePath("rep.xlsx");
        QFile printed(source);
        QVERIFY(printed.open(QIODevice::ReadWrite));
        QVERIFY(printed.setFileTime(QDateTime(QDate(2021, 3, 4), QTime(5, 6, 7), QTimeZone::utc()),
            QFileDevice::FileModificationTime));
        printed.close();
        QString error;
        QVERIFY2(WorkbookExport::write(source, book, {0, 10, 25, 0}, nullptr, &error), qPrintable(error));
        // Dated as the print file, not by the clock: the same file gives the
        // same workbook.
        QVERIFY(unzipped(book, "docProps/core.xml").contains(">2021-03-04T05:06:07Z</dcterms:created>"));
        QCOMPARE(sheetLines(book),
            (QStringList {"A1=ABCDEFGHIJ", "A3=" + QString::fromLatin1("Caf\xe9 & <co"), "A4=line four ",
                "A5=1250.75", "B1=abcdefghijklmno", "B3=>E\tboldF", "B4=is long enough\n",
                "B5=    =SUM(A1)", "C1=12345", "C4=!"}));
        // Amounts are number cells, the rest text.
        QVERIFY(unzipped(book, "xl/worksheets/sheet1.xml").contains("<c r=\"A5\"><v>1250.75</v></c>"));
        // The command line's marks cut the same way: the rest of each line
        // after the last mark is the last column.
        const QString table = TestSupport::writeFile(dir.filePath("tab.prn"), "Name      Qty   Price\r\nA         10    1.50\r\n");
        const QString tableBook = dir.filePath("tab.xlsx");
        const TestSupport::ProgramRun run = TestSupport::runProgram({"convert", "--marks", "10,16", table, tableBook});
        QVERIFY2(run.status == 0, run.err.constData());
        QCOMPARE(sheetLines(tableBook),
            (QStringList {"A1=Name      ", "A2=A         ", "B1=Qty   ", "B2=10", "C1=Price", "C2=1.5"}));
        QFile::remove(table);
        QFile::remove(tableBook);
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList {"rep.prn", "rep.xlsx"}));
    }

    // A workbook that cannot be written for a full disk, as the command line
    // says it: one line with the file and the cause, not the library's own
    // lines too. A small memory file system is the full disk (a size limit
    // per file stops the rows first, before the library writes its package).
    void workbookFaultInOneLine()
    {
        QTemporaryDir dir;
        const QString full = dir.filePath("full");
        QVERIFY(QDir().mkpath(full));
        if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(full).constData(), "tmpfs", 0, "size=200k") != 0)
            QSKIP("no small file system can be mounted here (not root, or not allowed)");
        const auto unmount = qScopeGuard([&full] { ::umount2(QFile::encodeName(full).constData(), MNT_DETACH); });
        QByteArray lines;
        for (int i = 0; i < 20000; ++i)
            lines += "L" + QByteArray::number(i) + " text text text text text\r\n";
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"), lines);
        const QString book = full + "/rep.xlsx";
        const TestSupport::ProgramRun run = TestSupport::runProgram({"convert", source, book, "--marks", "5,10"});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.count('\n') == 1 && run.err.contains(QFile::encodeName(book)) && run.err.contains("No space left"),
            run.err.constData());
        QCOMPARE(QDir(full).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
    }

    // A PDF is drawn into a temporary file first: a full temporary folder is
    // named as the cause, not the output, whose disk has room.
    void pdfTemporaryFolderFull_data()
    {
        QTest::addColumn<QString>("look");
        QTest::newRow("emphasis") << "emphasis";
        QTest::newRow("printed") << "printed";
    }

    void pdfTemporaryFolderFull()
    {
        QFETCH(QString, look);
        QTemporaryDir dir;
        const QString full = dir.filePath("tmp");
        QVERIFY(QDir().mkpath(full));
        if (::geteuid() != 0 || ::mount("tmpfs", QFile::encodeName(full).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("no small file system can be mounted here (not root, or not allowed)");
        const auto unmount = qScopeGuard([&full] { ::umount2(QFile::encodeName(full).constData(), MNT_DETACH); });
        QFile filler(full + "/filler"); // the folder filled up, the last write cut short
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) { }
        filler.close();
        const QString source = TestSupport::writeFile(
            dir.filePath("rep.prn"), QByteArray("a line of the report to fill a page\r\n").repeated(3000));
        const QString pdf = dir.filePath("rep.pdf");
        const QByteArray before = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(full));
        const TestSupport::ProgramRun run = TestSupport::runProgram({"convert", "--look", look, source, pdf});
        qputenv("TMPDIR", before);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.count('\n') == 1 && run.err.contains("Cannot write the temporary file " + QFile::encodeName(full))
                && run.err.contains("No space left"),
            run.err.constData());
        QVERIFY(!QFileInfo::exists(pdf));
    }

    void failuresLeaveNoFileAndEmptyFileGivesEmptySheet()
    {
        QTemporaryDir dir;
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"), "one\r\ntwo\r\nthree\r\n");
        QString error;
        // Stopped after the second line: the old workbook stays as it was.
        const QString kept = TestSupport::writeFile(dir.filePath("kept.xlsx"), "old");
        QVERIFY(!WorkbookExport::write(
            source, kept, {0, 3, 0}, [](int next) { return next < 3; }, &error));
        QVERIFY2(error.contains("kept.xlsx"), qPrintable(error));
        QCOMPARE(TestSupport::readFile(kept), QByteArray("old"));
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList {"kept.xlsx", "rep.prn"}));
        // An empty print file still makes a workbook, with an empty sheet.
        const QString empty = TestSupport::writeFile(dir.filePath("empty.prn"), "");
        QVERIFY2(WorkbookExport::write(empty, dir.filePath("empty.xlsx"), {0, 10, 0}, nullptr, &error),
            qPrintable(error));
        QVERIFY(!unzipped(dir.filePath("empty.xlsx"), "xl/worksheets/sheet1.xml").isEmpty());
        QVERIFY(sheetLines(dir.filePath("empty.xlsx")).isEmpty());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTextExports)
#include "tst_textexports.moc"
