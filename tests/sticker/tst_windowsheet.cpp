#include "TestSupport.h"
#include "sticker/CsvTable.h"
#include "sticker/PdfStickerSurface.h"
#include "sticker/RecordingStickerSurface.h"
#include "sticker/WindowSheet.h"
#include "sticker/WindowSheetPdf.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The sheet drawn with a desktop font on the engine, checked on a recording
// surface: where every text lands, which numbers it carries, how the
// printer's documents are cut, and what is refused. The printer and the view
// "Pic" themselves are in tst_windowsheetoutput.

namespace {

// A sheet of `cols` x `rows` stickers with `lines` lines, font and geometry set.
StickerInput sheet(int cols, int rows, int lines)
{
    StickerInput in;
    in.lineTexts = {"ACME", "Road", "Pune", "No", "Lot", "601", "612", "4", "Six", "Seven", "1", "10"};
    in.stickersAcross = QString::number(cols);
    in.TxRow = QString::number(rows);
    in.maxField = lines;
    in.lineWidth = "12";
    in.TxtFontNM = "DejaVu Sans";
    in.TxtFontSZ = "11";
    in.TxtMLeft = "300";
    in.TxtMtop = "500";
    in.TxtHEight = "1900"; // six columns fit the A4 sheet
    in.TxtWidth = "250";
    in.TxBlank = "2000";
    in.txtRowPrint = QString::number(rows);
    in.windowMode = true;
    return in;
}

bool print(StickerInput in, RecordingStickerSurface &s, QString *message = nullptr)
{
    WindowSheetFailure failure;
    const bool done = drawWindowSheetOnPrinter(in, s, &failure);
    if (message)
        *message = failure.message;
    return done;
}

// The numbers drawn after a line's text, in drawing order. The line is found
// by its text, so the test does not restate the drawing loop.
QStringList numbersOnLine(const RecordingStickerSurface &s, const QString &text)
{
    QStringList out;
    for (const auto &item : s.items()) {
        const QString t = item.text.trimmed();
        if (t.startsWith(text) && (t.size() == text.size() || t.at(text.size()).isDigit()))
            out << t.mid(text.size());
    }
    return out;
}

QStringList counting(long long from, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QString::number(from + i);
    return out;
}

} // namespace

class TestWindowSheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void positions_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("rowPitch");
        QTest::addColumn<QString>("fontSize");
        QTest::addColumn<double>("points");
        const auto row = [](const char *name, bool printer, int cols, int rows, int lines, const char *pitch,
                             const char *size, double points) {
            QTest::newRow(name) << printer << cols << rows << lines << QString(pitch) << QString(size)
                                << points;
        };
        row("printer 3 x 4, 5 lines", true, 3, 4, 5, "2000", "11", 11.0);
        row("view 1 x 2, 7 lines, no size is 10 pt", false, 1, 2, 7, "1800", "", 10.0);
        row("view row pitch rounds (1000.6), size 12.4 to 12", false, 2, 3, 2, "1000.6", "12.4", 12.0);
        row("printer row pitch rounds (1000.6), size 14pt", true, 2, 3, 2, "1000.6", "14pt", 14.0);
    }

    void positions()
    {
        QFETCH(bool, printer);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(int, lines);
        QFETCH(QString, rowPitch);
        QFETCH(QString, fontSize);
        QFETCH(double, points);
        StickerInput in = sheet(cols, rows, lines);
        in.TxBlank = rowPitch;
        in.TxtFontSZ = fontSize;
        RecordingStickerSurface s;
        if (printer)
            QVERIFY(print(in, s));
        else
            drawWindowSheetPreview(in, s);
        // Row r, line x, column c, counted from 0, in drawing order.
        QCOMPARE(s.items().size(), cols * rows * lines);
        for (int i = 0; i < s.items().size(); ++i) {
            const auto &item = s.items().at(i);
            const int c = i % cols, x = i / cols % lines, r = i / cols / lines;
            QCOMPARE(QPointF(item.x, item.y),
                QPointF(300 + c * 1900, 500 + std::llrint(r * rowPitch.toDouble()) + x * 250));
            QVERIFY(item.bold);
            QCOMPARE(item.fontName, QStringLiteral("DejaVu Sans"));
            QCOMPARE(item.fontSize, points);
        }
        // Line texts are padded to the field width; 4 and 5 carry the numbers.
        QCOMPARE(s.items().at(0).text, QStringLiteral("ACME        "));
        if (lines >= 4)
            QCOMPARE(s.items().at(3 * cols).text, QStringLiteral("No601       "));
        if (lines >= 7)
            QCOMPARE(s.items().at(6 * cols).text, QStringLiteral("Seven       "));
    }

    void numbers_data()
    {
        QTest::addColumn<StickerInput>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const StickerInput base = sheet(6, 4, 5);
        auto with = [&](auto change) {
            StickerInput in = base;
            change(in);
            return in;
        };
        const QStringList outer = QStringList(12, "1") + QStringList(12, "2");
        QTest::newRow("inner 601..612 then 601, across then down")
            << base << "No" << counting(601, 12) + counting(601, 12);
        QTest::newRow("outer 1 twelve times, then 2") << base << "Lot" << outer;
        QTest::newRow("every page restarts both numbers")
            << with([](StickerInput &in) { in.pageCount = "2"; }) << "Lot" << outer + outer;
        const StickerInput loop5 = with([](StickerInput &in) {
            in.Combo2 = "5";
            in.maxField = 4;
        });
        QTest::newRow("loop 5, four lines: line 4 is the outer line") << loop5 << "No" << outer;
        QTest::newRow("loop 5, four lines: inner line never drawn") << loop5 << "Lot" << QStringList();
        const StickerInput noInner = with([](StickerInput &in) { in.ChkIn1 = false; });
        QTest::newRow("inner ++ unticked: text only") << noInner << "No" << QStringList(24, "");
        QTest::newRow("outer ++ unticked: text only")
            << with([](StickerInput &in) { in.ChkIn2 = false; }) << "Lot" << QStringList(24, "");
        const StickerInput padded = with([](StickerInput &in) { in.digits = 5; });
        QTest::newRow("digits 5: inner padded")
            << padded << "No"
            << (counting(601, 12) + counting(601, 12)).replaceInStrings(QRegularExpression("^"), "00");
        QTest::newRow("digits 5: outer padded")
            << padded << "Lot" << QStringList(12, "00001") + QStringList(12, "00002");
        const StickerInput start = with([](StickerInput &in) { in.startAt = 4; });
        QTest::newRow("start at 4: numbers from the first sticker drawn")
            << start << "No" << counting(601, 12) + counting(601, 9);
        QTest::newRow("start at 4: outer too") << start << "Lot" << QStringList(12, "1") + QStringList(9, "2");
        const StickerInput rows = with([](StickerInput &in) {
            auto table = std::make_shared<CsvTable>();
            CsvTable::parse(QString("Name\n") + QString("x\n").repeated(30), table.get(), nullptr);
            in.data = table;
            in.pageCount = "5";
        });
        QTest::newRow("30 data rows: two sheets, numbers count on")
            << rows << "No" << counting(601, 12) + counting(601, 12) + counting(601, 6);
        // In decimal however long: 16-digit serials count on in digits.
        const StickerInput serials = with([](StickerInput &in) {
            in.lineTexts[5] = "999999999999998";
            in.lineTexts[6] = "1000000000000020";
            in.lineTexts[10] = "123456789012345678";
            in.lineWidth = "24";
        });
        QStringList longer {"999999999999998", "999999999999999"};
        for (int i = 0; i <= 20; ++i)
            longer << QString::number(1000000000000000LL + i);
        QTest::newRow("16 digits, round again at the range's end")
            << serials << "No" << longer + QStringList {"999999999999998"};
        // Past 2^53, where a double stops counting by one.
        const StickerInput past53 = with([](StickerInput &in) {
            in.lineTexts[5] = "9007199254740990";
            in.lineTexts[6] = "999999999999999999";
            in.lineWidth = "24";
        });
        QStringList exact;
        for (int i = 0; i < 24; ++i)
            exact << QString::number(9007199254740990LL + i);
        QTest::newRow("past 2^53, exactly") << past53 << "No" << exact;
        const StickerInput eighteen = with([](StickerInput &in) {
            in.lineTexts[5] = "999999999999999998";
            in.lineTexts[6] = "999999999999999999";
            in.lineWidth = "24";
        });
        QStringList round;
        for (int i = 0; i < 12; ++i)
            round << "999999999999999998" << "999999999999999999";
        QTest::newRow("18 digits inner, round again") << eighteen << "No" << round;
        QTest::newRow("18 digits outer, one up after the round")
            << serials << "Lot" << QStringList(23, "123456789012345678") + QStringList {"123456789012345679"};
    }

    // A whole number no count holds is refused, naming it, where it had
    // come out as -9223372036854775808 on every sticker.
    void numbersTooLarge_data()
    {
        QTest::addColumn<int>("field");
        QTest::newRow("second range's start") << 10;
        QTest::newRow("first range's start") << 5;
        QTest::newRow("first range's end") << 6; // every sticker had the end's number
    }

    // A sheet that would draw nothing is refused on every surface, where the
    // printer and the PDF had taken a blank sheet as done and the view had
    // stayed empty without a word.
    void nothingToDraw_data()
    {
        QTest::addColumn<QString>("cols");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("said");
        // The form works out the rows from the first range: backwards, they are below 0.
        QTest::newRow("range backwards") << "6" << "-4" << 5
                                         << "The first range runs backwards, from 612 to 601: give the smaller number first.";
        QTest::newRow("no columns") << "0" << "4" << 5
                                    << "A sheet of 0 columns and 4 rows of stickers holds none: \"Col\" and \"Row\" must be 1 or more.";
        QTest::newRow("no lines") << "2" << "2" << 0 << "The stickers have no lines: \"Max Field\" must be 1 or more.";
    }

    void nothingToDraw()
    {
        QFETCH(QString, cols);
        QFETCH(QString, rows);
        QFETCH(int, lines);
        QFETCH(QString, said);
        StickerInput in = sheet(2, 2, lines);
        in.stickersAcross = cols;
        in.TxRow = rows;
        in.txtRowPrint = "2";
        if (rows.startsWith('-'))
            std::swap(in.lineTexts[5], in.lineTexts[6]);
        RecordingStickerSurface printer, view;
        QString message;
        QVERIFY(!print(in, printer, &message));
        QCOMPARE(message.section('\n', 1), said);
        QVERIFY(printer.items().isEmpty());
        QCOMPARE(drawWindowSheetPreview(in, view), said);
        QTemporaryDir dir;
        QString error;
        bool refused = false;
        QVERIFY(!writeWindowSheetPdf(in, dir.filePath("sheet.pdf"), &error, &refused));
        QVERIFY(refused);
        QVERIFY(!QFileInfo::exists(dir.filePath("sheet.pdf")));
    }

    void numbersTooLarge()
    {
        QFETCH(int, field);
        StickerInput in = sheet(2, 2, 5);
        in.lineTexts[size_t(field)] = "99999999999999999999";
        RecordingStickerSurface s;
        QString message;
        QVERIFY(!print(in, s, &message));
        QVERIFY(s.items().isEmpty());
        QCOMPARE(message.section('\n', 1), QStringLiteral("\"99999999999999999999\" is too large a number for the sheet (at most 9223372036854775807)."));
    }

    void numbers()
    {
        QFETCH(StickerInput, input);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        RecordingStickerSurface s, p;
        drawWindowSheetPreview(input, s);
        QCOMPARE(numbersOnLine(s, text), expected);
        // The printer draws the same numbers.
        QVERIFY(print(input, p));
        QCOMPARE(numbersOnLine(p, text), expected);
    }

    void documents_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QString>("rowsPerSheet");
        QTest::addColumn<QList<int>>("rowsPerDocument"); // empty: refused
        auto row = [](const char *name, int rows, const char *pages, const char *perSheet, QList<int> docs) {
            QTest::newRow(name) << rows << QString(pages) << QString(perSheet) << docs;
        };
        row("7 rows by 3: 3, 3, 1", 7, "1", "3", {3, 3, 1});
        row("6 rows by 3: no empty last document", 6, "1", "3", {3, 3});
        row("4 rows by 9: one document", 4, "1", "9", {4});
        row("2 pages of 3 rows by 2: pages run on", 3, "2", "2", {2, 2, 2});
        // Refused before anything reaches the printer.
        for (const char *refused : {"", "0", "2.5", "abc"})
            row(qPrintable(QString("rows per sheet \"%1\" refused").arg(refused)), 3, "1", refused, {});
    }

    void documents()
    {
        QFETCH(int, rows);
        QFETCH(QString, pages);
        QFETCH(QString, rowsPerSheet);
        QFETCH(QList<int>, rowsPerDocument);
        StickerInput in = sheet(2, rows, 3);
        in.pageCount = pages;
        in.txtRowPrint = rowsPerSheet;
        RecordingStickerSurface s;
        QString message;
        QCOMPARE(print(in, s, &message), !rowsPerDocument.isEmpty());
        if (rowsPerDocument.isEmpty()) {
            QVERIFY(s.calls().isEmpty());
            QVERIFY2(message.startsWith("Row Printing must be a whole number"), qPrintable(message));
            return;
        }
        QVERIFY(!s.documentOpen());
        QCOMPARE(s.calls().mid(0, 2), (QStringList {"Orientation 1", "PaperSize 9"}));
        QList<int> got;
        for (int n : s.endedDocuments())
            got << n / (2 * 3);
        QCOMPARE(got, rowsPerDocument);
        // Within every document the rows stand at Y0, Y0 + pitch, Y0 + 2 pitch ...
        int item = 0;
        for (int doc = 0; doc < rowsPerDocument.size(); ++doc) {
            for (int k = 0; k < rowsPerDocument.at(doc); ++k, item += 2 * 3) {
                QCOMPARE(s.items().at(item).document, doc + 1);
                QCOMPARE(s.items().at(item).y, 500.0 + k * 2000);
            }
        }
    }

    void startAndData_data()
    {
        QTest::addColumn<int>("startAt");
        QTest::addColumn<QString>("csv");       // none when empty
        QTest::addColumn<QStringList>("drawn"); // "column,row:text" of every sticker drawn
        QTest::addColumn<QString>("error");
        QTest::newRow("start at 5 of 6") << 5 << "" << QStringList {"2,2:ACME", "3,2:ACME"} << "";
        QTest::newRow("data from 3, on to a second sheet")
            << 3 << "Name\nA\n\"B\nb\"\nC\nD\nE" << QStringList {"3,1:A", "1,2:B b", "2,2:C", "3,2:D", "1,1:E"}
            << "";
        QTest::newRow("start beyond the sheet")
            << 7 << "" << QStringList() << "\"Start at sticker\" must be a number from 1 to 6, the stickers on a sheet.";
        QTest::newRow("column unknown")
            << 1 << "Town\nx" << QStringList() << "Sticker line 1 holds {Name}, but the data file has no column \"Name\".";
    }

    void startAndData()
    {
        QFETCH(int, startAt);
        QFETCH(QString, csv);
        QFETCH(QStringList, drawn);
        QFETCH(QString, error);
        StickerInput in = sheet(3, 2, 1);
        in.startAt = startAt;
        if (!csv.isEmpty()) {
            auto table = std::make_shared<CsvTable>();
            QVERIFY(CsvTable::parse(csv, table.get(), nullptr));
            in.data = table;
            in.lineTexts[0] = "{Name}";
        }
        RecordingStickerSurface s;
        QString message;
        QCOMPARE(print(in, s, &message), error.isEmpty());
        QStringList got;
        for (const auto &item : s.items())
            got << QString("%1,%2:%3")
                       .arg((item.x - 300) / 1900 + 1)
                       .arg((item.y - 500) / 2000 + 1)
                       .arg(item.text.trimmed());
        QCOMPARE(got, drawn);
        if (!error.isEmpty()) {
            QVERIFY(s.calls().mid(2).isEmpty()); // refused before drawing
            QCOMPARE(message.section('\n', 1), error);
        }
    }

    void marginsOffThePaper_data()
    {
        // Margins past the A4 sheet's right or bottom edge put every sticker off the paper: refused before
        // anything is drawn (the printer and the PDF took blank sheets). A4 is 11906 x 16838 twips.
        // A column or row of stickers that starts past the edge while others print is refused too (1000
        // columns had printed 7 stickers as done).
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<int>("stickers"); // columns and rows
        QTest::addColumn<QString>("said");  // none when drawn, else the refusal's start
        QTest::addColumn<QString>("columnPitch");
        QTest::addColumn<QString>("rowPitch");
        const QString none = "No sticker falls on the paper";
        QTest::newRow("just inside") << "11900" << "16800" << 1 << "" << "1900" << "2000";
        QTest::newRow("left past the edge") << "11906" << "500" << 2 << none << "1900" << "2000";
        QTest::newRow("top past the edge") << "300" << "99999999" << 2 << none << "1900" << "2000";
        QTest::newRow("left of the edge: partly on the paper") << "-500" << "-100" << 2 << "" << "1900" << "2000";
        // So far left or up that even the last column's or row's text ends before the sheet.
        QTest::newRow("left: the last column ends before the sheet") << "-100000" << "500" << 2 << none << "1900" << "2000";
        QTest::newRow("up: the last row ends above the sheet") << "300" << "-100000000" << 2 << none << "1900" << "2000";
        QTest::newRow("left: the last column reaches the sheet") << "-1900" << "500" << 2 << "" << "1900" << "2000";
        QTest::newRow("the seventh of seven columns starts on the sheet") << "300" << "500" << 7 << "" << "1900" << "2000"; // at 11700
        QTest::newRow("the eighth of eight columns past the right edge")
            << "300" << "500" << 8 << "Only 7 of the 8 columns of stickers fall on the A4 sheet (11906 twips wide)" << "1900" << "2000";
        QTest::newRow("the second of two rows past the bottom")
            << "300" << "15000" << 2 << "Only 1 of the 2 rows of stickers on a printed sheet fall on the A4 sheet" << "1900" << "2000";
        // Pitches below 0 run the columns left and the rows up, off the sheet (a PDF had kept 2 of 6 stickers).
        QTest::newRow("columns run left off the sheet")
            << "720" << "500" << 3
            << "Only 2 of the 3 columns of stickers fall on the A4 sheet: \"Sticker Left Space\" is below 0 (-1800 twips)"
            << "-1800" << "2000";
        QTest::newRow("columns run left, overlapping on the sheet") << "3000" << "500" << 3 << "" << "-900" << "2000";
        QTest::newRow("rows run up off the sheet")
            << "300" << "3000" << 3
            << "Only 2 of the 3 rows of stickers on a printed sheet fall on the A4 sheet: the \"Margin Between Two "
               "Sticker\" is below 0 (-2500 twips)"
            << "1900" << "-2500";
        QTest::newRow("rows run up, overlapping on the sheet") << "300" << "3000" << 3 << "" << "1900" << "-900";
    }

    void marginsOffThePaper()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(int, stickers);
        QFETCH(QString, said);
        QFETCH(QString, columnPitch);
        QFETCH(QString, rowPitch);
        const bool drawn = said.isEmpty();
        StickerInput in = sheet(stickers, stickers, 1);
        in.TxtMLeft = left;
        in.TxtMtop = top;
        in.TxtHEight = columnPitch;
        in.TxBlank = rowPitch;
        RecordingStickerSurface s;
        QString message;
        QCOMPARE(print(in, s, &message), drawn);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sheet.pdf");
        QString error;
        QCOMPARE(writeWindowSheetPdf(in, pdf, &error), drawn);
        QCOMPARE(QFile::exists(pdf), drawn);
        if (drawn)
            return;
        QVERIFY(s.items().isEmpty());
        const QString why = said.startsWith("No sticker")
            ? QString("No sticker falls on the paper: the margins (left %1, top %2 twips) lie "
                      "beyond the A4 sheet (11906 x 16838 twips).")
                  .arg(left, top)
            : said;
        QVERIFY2(message.section('\n', 1).startsWith(why), qPrintable(message));
        QCOMPARE(error.section('\n', 1), message.section('\n', 1));
    }

    // With data, a printed sheet holds the rows its data fills, however many
    // "Row Printing" allows: those that fit the paper print.
    void dataRowsOnPaper_data()
    {
        QTest::addColumn<int>("dataRows");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("2 rows of data, one row of stickers") << 2 << true;
        QTest::newRow("60 rows of data, 30 rows of stickers") << 60 << true;
        QTest::newRow("140 rows of data, 70 rows of stickers past the bottom") << 140 << false;
    }

    void dataRowsOnPaper()
    {
        QFETCH(int, dataRows);
        QFETCH(bool, drawn);
        StickerInput in = sheet(2, 3, 3);
        in.txtRowPrint = "100";
        in.TxBlank = "300";
        in.TxtWidth = "80";
        auto table = std::make_shared<CsvTable>();
        QVERIFY(CsvTable::parse("Name\n" + QString("x\n").repeated(dataRows), table.get(), nullptr));
        in.data = table;
        in.lineTexts[0] = "{Name}";
        RecordingStickerSurface s;
        QString message;
        QVERIFY2(print(in, s, &message) == drawn, qPrintable(message));
    }

    void printingErrorAbandonsTheDocument()
    {
        StickerInput in = sheet(2, 4, 3);
        in.txtRowPrint = QStringLiteral("2");
        RecordingStickerSurface s;
        // The first document (12 texts) goes out; the second fails on its third text.
        s.failAtPrint(15, QStringLiteral("paper jam"));
        QString message;
        QVERIFY(!print(in, s, &message));
        QCOMPARE(s.endedDocuments(), QList<int> {12});
        QCOMPARE(s.calls().count(QStringLiteral("Print")), 15); // no second attempt
        QCOMPARE(s.calls().last(), QStringLiteral("AbandonDoc"));
        QVERIFY(!s.documentOpen());
        QVERIFY(message.contains(QStringLiteral("paper jam")));
    }

    // The PDF draws each page as it ends (a long run holds one page at a
    // time) and refuses a run of more pages than a PDF may have: the
    // output is then left as it was. A count of sheets that alone is too
    // many is refused before anything is drawn.
    void pdfPageLimit()
    {
        QTemporaryDir dir;
        const QString pdf = TestSupport::writeFile(dir.filePath("sheet.pdf"), "old");
        const auto pages = [](PdfStickerSurface &surface, int count) {
            for (int i = 0; i < count; ++i) {
                if (!surface.Print(QStringLiteral("page %1").arg(i + 1)) || !surface.EndDoc())
                    return false;
            }
            return true;
        };
        PdfStickerSurface three(pdf, 3);
        QString error;
        QVERIFY2(three.write([&](QString *) { return pages(three, 3); }, &error), qPrintable(error));
        QCOMPARE(three.pageCount(), 3);
        QCOMPARE(TestSupport::runTool("pdfinfo", {pdf}).contains(QRegularExpression("Pages: +3\\n")), true);
        TestSupport::writeFile(pdf, "old");
        PdfStickerSurface four(pdf, 3);
        QVERIFY(!four.write([&](QString *reason) { return pages(four, 4) || (*reason = four.errorText(), false); }, &error));
        QCOMPARE(error, PdfStickerSurface::tooManyPages(3));
        QCOMPARE(TestSupport::readFile(pdf), QByteArray("old"));

        StickerInput in = sheet(2, 4, 1);
        in.pageCount = QStringLiteral("2147483647");
        QVERIFY(!writeWindowSheetPdf(in, pdf, &error));
        QCOMPARE(error.section('\n', 1), PdfStickerSurface::tooManyPages(PdfStickerSurface::MostPages));
        QCOMPARE(TestSupport::readFile(pdf), QByteArray("old"));
    }

    // The sheet's PDF is the same bytes every time it is written: Qt's
    // writer dates its files and orders its fonts by a hash seeded anew in
    // each process; the finishing pass makes neither reach the file.
    void pdfSameBytesEachTime()
    {
        StickerInput in = sheet(3, 4, 5);
        in.lineTexts[0] = QStringLiteral("ACME Müller");
        QTemporaryDir dir;
        QString error;
        QVERIFY2(writeWindowSheetPdf(in, dir.filePath("a.pdf"), &error), qPrintable(error));
        QVERIFY2(writeWindowSheetPdf(in, dir.filePath("b.pdf"), &error), qPrintable(error));
        const QByteArray first = TestSupport::readFile(dir.filePath("a.pdf"));
        QCOMPARE(TestSupport::readFile(dir.filePath("b.pdf")), first);
        QVERIFY(TestSupport::pdfIsValid(dir.filePath("a.pdf")));
        QVERIFY(!first.contains("/CreationDate") || qEnvironmentVariableIsSet("SOURCE_DATE_EPOCH"));
        QVERIFY(TestSupport::pdfText(dir.filePath("a.pdf"), false).contains(QStringLiteral("ACME Müller")));
    }
};

QTEST_MAIN(TestWindowSheet)
#include "tst_windowsheet.moc"
