// Printed sheets drawn onto images, into PDFs and into pictures, checked by
// where the ink falls and by reading the PDFs back with the poppler tools.
#include "FileSizeLimit.h"
#include "TestSupport.h"
#include "escp/SheetIndex.h"
#include "export/PngExport.h"
#include "export/PrintedPdfExport.h"
#include "render/PrintedRenderer.h"
#include "render/SheetText.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Printed::Sheet)
Q_DECLARE_METATYPE(Printed::TextStyle)

namespace {

using Printed::inches;

Printed::TextRun run(double x, double baseline, const QString &text, Printed::TextStyle style = {})
{
    Printed::TextRun r;
    r.x = inches(x);
    r.baseline = inches(baseline);
    r.text = text;
    r.style = style;
    return r;
}

// A picture of width x height dots, every dot black.
Printed::Picture picture(double x, double top, int width, int height, int dpiX, int dpiY)
{
    Printed::Picture p;
    p.x = inches(x);
    p.top = inches(top);
    p.dpiX = dpiX;
    p.dpiY = dpiY;
    p.image = QImage(width, height, QImage::Format_Mono);
    p.image.fill(1);
    return p;
}

Printed::Sheet sheetOf(const QVector<Printed::TextRun> &runs, const QVector<Printed::Picture> &pictures = {})
{
    Printed::Sheet sheet;
    sheet.width = inches(8.5);
    sheet.height = inches(11);
    sheet.runs = runs;
    sheet.pictures = pictures;
    return sheet;
}

// Where the ink of a sheet drawn at `dpi` lies, in inches.
QRectF inkOf(const Printed::Sheet &sheet, int dpi)
{
    QImage image(int(8.5 * dpi), 11 * dpi, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PrintedRenderer().draw(painter, sheet, QPointF(0, 0), double(dpi) / Printed::UnitsPerInch);
    painter.end();
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128) {
                left = qMin(left, x), right = qMax(right, x);
                top = qMin(top, y), bottom = qMax(bottom, y);
            }
        }
    }
    if (right < 0)
        return QRectF();
    return QRectF(double(left) / dpi, double(top) / dpi, double(right - left + 1) / dpi,
        double(bottom - top + 1) / dpi);
}

} // namespace

class TestPrintedRenderer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void inkAtItsPlace_data()
    {
        QTest::addColumn<Printed::Sheet>("sheet");
        QTest::addColumn<QRectF>("ink"); // inches
        QTest::addColumn<double>("slack");

        // A 480-dot row of 8 dots at 60 x 72 dpi is 8 in by 1/9 in.
        QTest::newRow("bit image at 60 dpi")
            << sheetOf({}, {picture(0.25, 1, 480, 8, 60, 72)}) << QRectF(0.25, 1, 8, 8 / 72.0) << 0.01;
        QTest::newRow("24-pin picture at 180 dpi")
            << sheetOf({}, {picture(1, 2, 360, 24, 180, 180)}) << QRectF(1, 2, 2, 24 / 180.0) << 0.01;
        // Ten cells of pica; the first and last glyphs keep a little of their cells blank.
        QTest::newRow("pica") << sheetOf({run(1, 1, "HHHHHHHHHH")}) << QRectF(1, 0.9, 1, 0.1) << 0.04;
        Printed::TextStyle wide;
        wide.advance = Printed::UnitsPerInch / 5;
        wide.doubleWidth = true;
        QTest::newRow("double width twice as wide")
            << sheetOf({run(1, 1, "HHHHHHHHHH", wide)}) << QRectF(1, 0.9, 2, 0.1) << 0.06;
        Printed::TextStyle condensed;
        condensed.advance = Printed::UnitsPerInch / 17;
        condensed.condensed = true;
        QTest::newRow("condensed at 17 cpi")
            << sheetOf({run(1, 1, QString(17, 'H'), condensed)}) << QRectF(1, 0.9, 1, 0.1) << 0.04;
        Printed::TextStyle underline;
        underline.underline = true;
        QTest::newRow("underline under blanks")
            << sheetOf({run(2, 3, "     ", underline)}) << QRectF(2, 3.02, 0.5, 1 / 72.0) << 0.01;
        // Box drawing comes from the font as it does for letters.
        QTest::newRow("box drawing") << sheetOf({run(1, 1, QStringLiteral("\u2500\u2500\u2500\u2500"))})
                                     << QRectF(1, 0.95, 0.4, 0.01) << 0.03;
        // Capitals stand on the baseline and reach the top of the head's line (1/9 in above).
        QTest::newRow("capitals in the head's line") << sheetOf({run(1, 1, "HHHHHHHHHH")})
                                                     << QRectF(1, 1 - 1 / 9.0, 1, 1 / 9.0) << 0.02;
    }

    void inkAtItsPlace()
    {
        QFETCH(Printed::Sheet, sheet);
        QFETCH(QRectF, ink);
        QFETCH(double, slack);
        const QRectF drawn = inkOf(sheet, 216);
        QVERIFY2(qAbs(drawn.left() - ink.left()) <= slack && qAbs(drawn.right() - ink.right()) <= slack,
            qPrintable(QStringLiteral("across %1-%2").arg(drawn.left()).arg(drawn.right())));
        // Text is checked across only, but for its capitals' row; pictures and rules all round.
        if (ink.height() < 0.1 || sheet.runs.isEmpty() || QTest::currentDataTag() == QByteArray("capitals in the head's line"))
            QVERIFY2(qAbs(drawn.top() - ink.top()) <= slack && qAbs(drawn.bottom() - ink.bottom()) <= slack,
                qPrintable(QStringLiteral("down %1-%2").arg(drawn.top()).arg(drawn.bottom())));
    }

    // The shifts of raised, lowered and double-height text scale with the
    // drawing: the ink lies at the same place in inches at any zoom.
    void shiftsAtAnyScale_data()
    {
        QTest::addColumn<Printed::TextStyle>("style");
        Printed::TextStyle superscript;
        superscript.superscript = true;
        Printed::TextStyle subscript;
        subscript.subscript = true;
        Printed::TextStyle tall;
        tall.doubleHeight = true;
        QTest::newRow("superscript") << superscript;
        QTest::newRow("subscript") << subscript;
        QTest::newRow("double height") << tall;
    }

    void shiftsAtAnyScale()
    {
        QFETCH(Printed::TextStyle, style);
        const Printed::Sheet sheet = sheetOf({run(1, 2, "HHHHHHHHHH", style)});
        const QRectF full = inkOf(sheet, 216);
        const QRectF small = inkOf(sheet, 72);
        QVERIFY(!full.isEmpty());
        const double slack = 1.5 / 72;
        QVERIFY2(qAbs(full.top() - small.top()) <= slack && qAbs(full.bottom() - small.bottom()) <= slack,
            qPrintable(QStringLiteral("at 216 dpi %1-%2, at 72 dpi %3-%4")
                           .arg(full.top()).arg(full.bottom()).arg(small.top()).arg(small.bottom())));
    }

    void fitScale_data()
    {
        QTest::addColumn<QSizeF>("sheet");
        QTest::addColumn<QSizeF>("used");
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<double>("scale");
        QTest::newRow("80 columns of a wide carriage on A4") << QSizeF(13.6, 11) << QSizeF(8, 10) << QSizeF(8.27, 11.69) << 1.0;
        QTest::newRow("136 columns on A4") << QSizeF(13.6, 11) << QSizeF(13.6, 10) << QSizeF(8.27, 11.69) << 8.27 / 13.6;
        QTest::newRow("12 in form inked to its foot on Letter") << QSizeF(8, 12) << QSizeF(8, 12) << QSizeF(8.5, 11) << 11 / 12.0;
        QTest::newRow("12 in form inked to 10 in on Letter") << QSizeF(8, 12) << QSizeF(8, 10) << QSizeF(8.5, 11) << 1.0;
        QTest::newRow("ink beyond the sheet") << QSizeF(8, 11) << QSizeF(20, 11) << QSizeF(8.5, 11) << 1.0;
    }

    void fitScale()
    {
        QFETCH(QSizeF, sheet);
        QFETCH(QSizeF, used);
        QFETCH(QSizeF, paper);
        QFETCH(double, scale);
        QCOMPARE(PrintedRenderer::fitScale(sheet, used, paper), scale);
    }

    void pdfReadBack()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sheets.pdf");
        Printed::TextStyle bold;
        bold.bold = true;
        const QVector<Printed::Sheet> sheets = {
            sheetOf({run(0.5, 0.5, QStringLiteral("INVOICE 4711 M\u00fcller"), bold),
                        run(0.5, 1, QStringLiteral("\u250c\u2500\u2500\u2510 Total 99.50"))},
                {picture(0.5, 2, 480, 8, 60, 72)}),
            sheetOf({run(1, 1, QStringLiteral("Second sheet"))}, {picture(1, 2, 240, 24, 120, 180)}),
        };
        PdfOptions options;
        options.pages = {0, 1};
        QString error;
        QVERIFY2(PrintedPdfExport::save(pdf, [&](int i) { return sheets.at(i); }, options, &error),
            qPrintable(error));
        const QString text = TestSupport::pdfText(pdf, false);
        for (const char *words : {"INVOICE 4711 M\u00fcller", "\u250c\u2500\u2500\u2510 Total 99.50", "Second sheet"})
            QVERIFY2(text.contains(QString::fromUtf8(words)), qPrintable(text));
        QCOMPARE(text.count('\f'), 2);
        // The dots go as filled shapes (no image paints their blanks white).
        QCOMPARE(TestSupport::runTool("pdfimages", {"-list", pdf}).trimmed().count('\n') - 1, 0);
        // Its dots are black where the sheet has them: the middle of the first picture at 72 dpi.
        TestSupport::runTool("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-gray", "-singlefile", pdf, dir.filePath("p1")});
        const QImage page(dir.filePath("p1.pgm"));
        QCOMPARE(qGray(page.pixel(int(4.5 * 72), int(2.05 * 72))), 0);
        QCOMPARE(qGray(page.pixel(int(4.5 * 72), int(2.3 * 72))), 255);
    }

    // A print file through the interpreter into a PDF: its text, never a
    // command's letters or parameters, and its pictures.
    void printFileReadBack_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");   // pdftotext's words, one space apart
        QTest::newRow("resets, spacing, italic")
            << QByteArrayLiteral("\x1b@\x1bx1\x1b" "3\x18\x1b" "4Italic text\x1b" "5 plain\r\n") << "Italic text plain";
        QTest::newRow("tabs, double width, underline")
            << QByteArrayLiteral("\x1b" "D\x05\x0a\x00" "A\tB\tC\r\n\x0eWIDE\x14 \x1b-\x01under\x1b-\x00\r\n")
            << "A B C WIDE under";
        // Letter quality's monospaced faces keep the words whole.
        QTest::newRow("letter quality: Roman, OCR-B, OCR-A")
            << QByteArrayLiteral("\x1bx1Roman words\x1bk\x05 OCR B 4711\x1bk\x06 OCR A\r\n")
            << "Roman words OCR B 4711 OCR A";
        // Sans serif reads back whole in every width of cell (its letters,
        // of their own widths and centred in their cells, had read as
        // "Hambu r g").
        QTest::newRow("letter quality: Sans serif")
            << QByteArrayLiteral("\x1bx1\x1bk\x01" "Hamburg illumination \x1b" "E" "Bold\x1b" "F\r\n\x1bW\x01" "Wide Hamburg"
                                 "\x1bW\x00" "\r\n\x1bp\x01" "Prop Hamburg\x1bp\x00" " \x0f" "Cond illumination\x12" "\r\n")
            << "Hamburg illumination Bold Wide Hamburg Prop Hamburg Cond illumination";
        QTest::newRow("bit image with a form feed byte inside")
            << QByteArrayLiteral("Logo\r\n\x1bK\x04\x00\x0c\xff\x0c\xff\r\nafter\r\n") << "Logo after";
        // Printed over (a backspace, a carriage return): each cell's text once.
        QTest::newRow("bold and underlined by backspaces")
            << QByteArrayLiteral("B\bBo\bol\bld\bd _\bU_\bn_\bd_\be_\br\r\n") << "Bold Under";
        // Outlined and shadowed letters are drawn as shapes: their words
        // are in the PDF all the same (they had been missing).
        QTest::newRow("outline, shadow, both")
            << QByteArrayLiteral("before \x1bq\x01outlined\x1bq\x02 shadowed\x1bq\x03 both\x1bq\x00 after\r\n")
            << "before outlined shadowed both after";
        QTest::newRow("underscores under a word after a carriage return")
            << QByteArrayLiteral("Total due\r_____\r\n") << "Total due";
    }

    void printFileReadBack()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        SheetIndex document;
        QVERIFY(document.build(QByteArrayView(bytes), PrinterSetup()));
        QCOMPARE(document.sheetCount(), 1);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("file.pdf");
        PdfOptions options;
        options.pages = {0};
        QString error;
        QVERIFY2(PrintedPdfExport::save(pdf, [&](int i) { return document.sheet(i); }, options, &error),
            qPrintable(error));
        QCOMPARE(TestSupport::pdfText(pdf, false).simplified(), text);
    }

    // The sheet as the view reads it (its search, its copy): a cell printed
    // over is read once, as its most telling character, and a word is found
    // across the runs that printed it; the overstruck characters are known.
    void readsEachCellOnce_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");   // the sheet's text
        QTest::addColumn<QString>("needle"); // found once, as wide as its letters
        QTest::addColumn<int>("overstruck"); // characters out of the text
        QTest::newRow("nothing printed over") << QByteArrayLiteral("Total \x1b" "EBold\x1b" "F\r\n") << "Total Bold\n"
                                              << "total bold" << 0;
        QTest::newRow("bold by backspaces") << QByteArrayLiteral("Total: B\bBo\bol\bld\bd\r\n") << "Total: Bold\n"
                                            << "bold" << 4;
        QTest::newRow("underlined by backspaces") << QByteArrayLiteral("_\bU_\bn_\bd_\be_\br end\r\n")
                                                  << "Under end\n" << "under" << 5;
        QTest::newRow("underscores after a carriage return")
            << QByteArrayLiteral("Total due\r_____\r\n") << "Total due\n" << "total" << 5;
        QTest::newRow("a line printed twice") << QByteArrayLiteral("Sum 12\rSum 12\r\n") << "Sum 12\n" << "sum 12" << 6;
        QTest::newRow("underscores beyond the word") << QByteArrayLiteral("Name\r________\r\n") << "Name____\n"
                                                     << "name____" << 4;
        QTest::newRow("two letters in one cell: the first") << QByteArrayLiteral("a\bb\r\n") << "a\n" << "a" << 1;
    }

    void readsEachCellOnce()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QString, needle);
        QFETCH(int, overstruck);
        SheetIndex document;
        QVERIFY(document.build(QByteArrayView(bytes), PrinterSetup()));
        const Printed::Sheet sheet = document.sheet(0);
        QCOMPARE(SheetText::text(sheet), text);
        const QVector<QRectF> found = SheetText::find(sheet, needle);
        QCOMPARE(found.size(), 1);
        QCOMPARE(qRound(found.first().width()), int(needle.size()) * Printed::UnitsPerInch / 10);
        QCOMPARE(SheetText::textIn(sheet, found.first()).trimmed().toLower(), needle);
        int out = 0;
        for (const QBitArray &bits : SheetText::overstruck(sheet))
            out += int(bits.count(true));
        QCOMPARE(out, overstruck);
    }

    // A line printed over again and again (a carriage return in a loop):
    // each cell is drawn in one look MostStrikes times at most, so the
    // drawing and the PDF stay small; what the strikes draw is the same as
    // with MostStrikes of them, and a strike in another look still shows.
    void strikesWithoutEnd_data()
    {
        QTest::addColumn<QByteArray>("pass");   // printed `count` times, then `last`
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("last");
        QTest::addColumn<int>("repeated");      // characters left out of the drawing
        QTest::newRow("a line 1000 times") << QByteArray("ABCDEFGH\r") << 1000 << QByteArray() << (1000 - 4) * 8;
        QTest::newRow("a line 5 times") << QByteArray("AB\r") << 5 << QByteArray() << 2;
        QTest::newRow("bold by backspaces") << QByteArray("B\bB") << 3 << QByteArray() << 0;
        QTest::newRow("then once in bold") << QByteArray("AB\r") << 6 << QByteArray("\x1b" "EAB") << 4;
        QTest::newRow("then other letters") << QByteArray("AB\r") << 6 << QByteArray("__") << 4;
    }
    void strikesWithoutEnd()
    {
        QFETCH(QByteArray, pass);
        QFETCH(int, count);
        QFETCH(QByteArray, last);
        QFETCH(int, repeated);
        const auto sheetOf = [&](int passes, SheetIndex *document) {
            QByteArray bytes = pass.repeated(passes) + last + "\r\n";
            document->build(QByteArrayView(bytes), PrinterSetup());
            return document->sheet(0);
        };
        SheetIndex many, few;
        const Printed::Sheet sheet = sheetOf(count, &many);
        QVector<QBitArray> left;
        SheetText::overstruck(sheet, &left);
        int out = 0;
        for (const QBitArray &bits : left)
            out += int(bits.count(true));
        QCOMPARE(out, repeated);
        const auto drawn = [](const Printed::Sheet &sheet) {
            QImage image(300, 100, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            PrintedRenderer().draw(painter, sheet, QPointF(0, 0), 150.0 / Printed::UnitsPerInch);
            return image;
        };
        QCOMPARE(drawn(sheet), drawn(sheetOf(qMin(count, SheetText::MostStrikes), &few)));
        if (count < 1000)
            return;
        // The PDF of the line struck a thousand times holds its text once.
        QTemporaryDir dir;
        const QString pdf = dir.filePath("struck.pdf");
        PdfOptions options;
        options.pages = {0};
        QString error;
        QVERIFY2(PrintedPdfExport::save(pdf, [&](int) { return sheet; }, options, &error), qPrintable(error));
        QVERIFY2(QFileInfo(pdf).size() < 40000, qPrintable(QString::number(QFileInfo(pdf).size())));
        QCOMPARE(TestSupport::pdfText(pdf, false).simplified(), QStringLiteral("ABCDEFGH"));
    }

    void pdfFailingPartWayLeavesNoFile()
    {
        // Sheets of dots in no order (they do not compress) overrun the limit
        // after the writer's first megabyte of buffering has long started.
        Printed::Sheet sheet = sheetOf({run(1, 1, "Noise")}, {picture(1, 2, 960, 480, 120, 72)});
        quint32 seed = 1;
        for (int y = 0; y < sheet.pictures[0].image.height(); ++y) {
            uchar *line = sheet.pictures[0].image.scanLine(y);
            for (int x = 0; x < sheet.pictures[0].image.bytesPerLine(); ++x)
                line[x] = uchar((seed = seed * 1103515245 + 12345) >> 16);
        }
        QTemporaryDir dir;
        PdfOptions options;
        options.pages = QVector<int>(40, 0);
        QString error;
        bool saved = false;
        {
            FileSizeLimit limit(256 * 1024);
            saved = PrintedPdfExport::save(dir.filePath("big.pdf"), [&](int) { return sheet; }, options, &error);
        }
        QVERIFY(!saved);
        QVERIFY2(error.contains("big.pdf"), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void picturesNumbered()
    {
        QTemporaryDir dir;
        const Printed::Sheet sheet = sheetOf({run(1, 1, "Sheet")});
        const Printed::Sheet fedThrough = sheetOf({});
        PngOptions options;
        options.pages = {0, 1, 2};
        options.dpi = 50;
        QStringList written;
        QString error;
        QVERIFY2(PngExport::save(dir.filePath("out.png"), [&](int i) { return i == 1 ? fedThrough : sheet; }, options,
                     &error, &written),
            qPrintable(error));
        QCOMPARE(written, QStringList({dir.filePath("out-001.png"), dir.filePath("out-002.png"), dir.filePath("out-003.png")}));
        QCOMPARE(QImage(written.last()).size(), QSize(425, 550));
        // A sheet with nothing on it, written without being drawn: as large,
        // grey and white.
        const QImage blank(written.at(1));
        QCOMPARE(blank.size(), QSize(425, 550));
        QCOMPARE(blank.format(), QImage::Format_Grayscale8);
        QCOMPARE(blank.convertToFormat(QImage::Format_Grayscale8), [] {
            QImage white(425, 550, QImage::Format_Grayscale8);
            white.fill(Qt::white);
            return white;
        }());
        QVERIFY(QImage(written.first()) != blank);
    }

    // A sheet with anything in colour (text or pictures struck under ESC r)
    // is written in colour, one all black in grey as before; its coloured
    // ink keeps its colour in the PNG.
    void picturesInColourWhenInked_data()
    {
        QTest::addColumn<Printed::Sheet>("sheet");
        QTest::addColumn<bool>("colour");
        Printed::TextStyle magenta;
        magenta.color = 1;
        Printed::Picture yellow = picture(1, 2, 60, 72, 60, 72);
        yellow.color = 4;
        Printed::Picture green = picture(3, 2, 60, 72, 60, 72);
        green.color = 6;
        QTest::newRow("black text") << sheetOf({run(1, 1, "HHHH")}) << false;
        QTest::newRow("black picture") << sheetOf({run(1, 1, "HHHH")}, {picture(1, 2, 60, 72, 60, 72)}) << false;
        QTest::newRow("magenta text") << sheetOf({run(1, 1, "HHHH"), run(1, 1.5, "HHHH", magenta)}) << true;
        QTest::newRow("magenta blanks") << sheetOf({run(1, 1, "HHHH"), run(1, 1.5, "    ", magenta)}) << false;
        Printed::TextStyle underlined = magenta;
        underlined.underline = true;
        QTest::newRow("magenta blanks underlined") << sheetOf({run(1, 1, "HHHH"), run(1, 1.5, "    ", underlined)})
                                                   << true;
        QTest::newRow("yellow picture") << sheetOf({run(1, 1, "HHHH")}, {yellow}) << true;
        QTest::newRow("black picture and a green one") << sheetOf({}, {picture(1, 2, 60, 72, 60, 72), green}) << true;
    }

    void picturesInColourWhenInked()
    {
        QFETCH(Printed::Sheet, sheet);
        QFETCH(bool, colour);
        QTemporaryDir dir;
        PngOptions options;
        options.pages = {0};
        options.dpi = 72;
        QStringList written;
        QString error;
        QVERIFY2(PngExport::save(dir.filePath("out.png"), [&](int) { return sheet; }, options, &error, &written),
            qPrintable(error));
        const QImage image(written.value(0));
        QVERIFY(!image.isNull());
        QCOMPARE(image.isGrayscale(), !colour);
        QCOMPARE(image.format() == QImage::Format_Grayscale8, !colour);
        // Each picture's ink at its middle; the darkest pixel of a line of
        // text leans to the ink's hue (its edges are smoothed on white).
        for (const Printed::Picture &p : sheet.pictures) {
            const QPoint middle((p.left() + p.right()) * 36 / Printed::UnitsPerInch,
                (p.upper() + p.lower()) * 36 / Printed::UnitsPerInch);
            QCOMPARE(QColor(image.pixel(middle)).name(), PrintedRenderer::inkOf(p.color).name());
        }
        for (const Printed::TextRun &r : sheet.runs) {
            if (r.text.trimmed().isEmpty())
                continue;
            const int baseline = int(r.baseline * 72.0 / Printed::UnitsPerInch);
            int darkest = 255 * 3;
            QRgb found = 0;
            for (int y = baseline - 10; y <= baseline; ++y) {
                for (int x = 72; x < 72 + 30; ++x) {
                    const QRgb c = image.pixel(x, y);
                    if (qRed(c) + qGreen(c) + qBlue(c) < darkest)
                        darkest = qRed(c) + qGreen(c) + qBlue(c), found = c;
                }
            }
            const QRgb ink = PrintedRenderer::inkOf(r.style.color).rgb();
            QVERIFY2(darkest < 600, qPrintable(QColor(found).name()));
            for (const auto &[got, want] : {std::pair {qRed(found) - qGreen(found), qRed(ink) - qGreen(ink)},
                     {qBlue(found) - qGreen(found), qBlue(ink) - qGreen(ink)}})
                QVERIFY2(want == 0 ? got == 0 : (got > want / 3) == (want > 0), qPrintable(QColor(found).name()));
        }
    }

    // The pictures of one export appear together or none: a failure on the
    // way leaves an earlier export's pictures as they were, no new picture
    // and no hidden part, and names the cause.
    void picturesFailTogether_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("cause");
        QTest::newRow("a folder in the way of the third") << "folder" << "out-003.png: it is a folder";
        QTest::newRow("a full file-size limit") << "limit" << "File too large";
    }

    void picturesFailTogether()
    {
        QFETCH(QString, fault);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const Printed::Sheet sheet = sheetOf({run(1, 1, "Sheet")});
        QStringList before;
        for (const char *name : {"out-001.png", "out-002.png"})
            before << QFileInfo(TestSupport::writeFile(dir.filePath(name), QByteArray("earlier ") + name)).fileName();
        if (fault == "folder") {
            QVERIFY(QDir(dir.path()).mkdir("out-003.png"));
            before << "out-003.png";
        }
        before.sort();
        PngOptions options;
        options.pages = {0, 0, 0};
        options.dpi = 100;
        QString error;
        bool saved = false;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (fault == "limit")
                limit = std::make_unique<FileSizeLimit>(256);
            saved = PngExport::save(dir.filePath("out.png"), [&](int) { return sheet; }, options, &error);
        }
        QVERIFY(!saved);
        QVERIFY2(error.contains(cause) && !error.contains("Unknown error"), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name), before);
        QCOMPARE(TestSupport::readFile(dir.filePath("out-001.png")), QByteArray("earlier out-001.png"));
        QCOMPARE(TestSupport::readFile(dir.filePath("out-002.png")), QByteArray("earlier out-002.png"));
    }

    // A later export replaces the whole set; a new picture gets the usual
    // mode, a replaced one keeps its own, and a link is written through.
    void picturesReplaceTogether()
    {
        QTemporaryDir dir;
        const Printed::Sheet sheet = sheetOf({run(1, 1, "Sheet")});
        const QString kept = TestSupport::writeFile(dir.filePath("elsewhere.png"), "old");
        QVERIFY(QFile::link(kept, dir.filePath("out-002.png")));
        TestSupport::writeFile(dir.filePath("out-001.png"), "old");
        QVERIFY(QFile::setPermissions(dir.filePath("out-001.png"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        PngOptions options;
        options.pages = {0, 0};
        options.dpi = 30;
        QString error;
        QVERIFY2(PngExport::save(dir.filePath("out.png"), [&](int) { return sheet; }, options, &error), qPrintable(error));
        QVERIFY(TestSupport::readFile(dir.filePath("out-001.png")).startsWith("\x89PNG"));
        QVERIFY(TestSupport::readFile(kept).startsWith("\x89PNG"));
        QVERIFY(QFileInfo(dir.filePath("out-002.png")).isSymLink());
        QCOMPARE(QFile::permissions(dir.filePath("out-001.png")) & 0x0777, QFileDevice::Permissions(0x0600));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 3);

        // An earlier picture of the name that is the export's input (a print
        // file, a form named like a picture) stays: it had been taken away.
        const QString input = TestSupport::writeFile(dir.filePath("out-009.png"), "p1\r\n\f");
        options.inputs = {input};
        QVERIFY2(PngExport::save(dir.filePath("out.png"), [&](int) { return sheet; }, options, &error), qPrintable(error));
        QCOMPARE(TestSupport::readFile(input), QByteArray("p1\r\n\f"));
    }
};

QTEST_MAIN(TestPrintedRenderer)
#include "tst_printedrenderer.moc"
