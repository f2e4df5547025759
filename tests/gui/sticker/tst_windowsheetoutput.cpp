#include "WindowSupport.h"
#include "sticker/Barcode.h"
#include "gui/platform/MessageBox.h"
#include "gui/sticker/PrinterStickerSurface.h"
#include "gui/sticker/StickerPreview.h"
#include "gui/sticker/WindowSheetPrinting.h"
#include "sticker/WindowSheetPdf.h"
#include "gui/printing/CurrentPrinter.h"

#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

// The sheet on real outputs, with the messages the form shows: QPrinter's PDF
// output read back with pdftotext, the sheet PDF's barcodes decoded by zbarimg
// as a scanner would, the on-screen view "Pic", and the printer look-up with
// no printer at all.

namespace {

StickerInput sheet(const char *rows, const char *rowsPerSheet)
{
    StickerInput in;
    in.lineTexts = {"ACME STORES", "Main Road", "Pune", "Box", "Lot", "601", "612", "", "", "", "1", "10"};
    in.stickersAcross = "2";
    in.TxRow = rows;
    in.maxField = 5;
    in.lineWidth = "16";
    in.TxtFontNM = "DejaVu Sans";
    in.TxtFontSZ = "10";
    in.TxtMLeft = in.TxtMtop = "720";
    in.TxtHEight = "4500";
    in.TxtWidth = "260";
    in.TxBlank = "2200";
    in.txtRowPrint = rowsPerSheet;
    in.windowMode = true;
    return in;
}

// Dark pixels of an image inside a rectangle.
int inkIn(const QImage &image, const QRect &rect)
{
    int ink = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

} // namespace

class TestWindowSheetOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void init()
    {
        MessageBox::clearShown();
        CurrentPrinter::setName(QString());
    }

    void pdfShowsTheStickerLines()
    {
        // Five rows printed two to a sheet: three A4 PDF documents, named on from the first. Which rows
        // and numbers each document holds is checked on the engine (tst_windowsheet).
        QTemporaryDir dir;
        PrinterStickerSurface printer {std::make_unique<QPrinter>(QPrinter::HighResolution)};
        printer.setPdfOutputFile(dir.filePath("rows.pdf"));
        StickerInput in = sheet("5", "2");
        QVERIFY(printWindowSheet(in, printer));
        QVERIFY(MessageBox::shown().isEmpty());
        const QStringList files {
            dir.filePath("rows.pdf"), dir.filePath("rows-2.pdf"), dir.filePath("rows-3.pdf")};
        QCOMPARE(printer.writtenFiles(), files);
        // Two columns side by side on one text line of the page.
        const QString first = TestSupport::pdfText(files[0]);
        QVERIFY2(
            first.contains(QRegularExpression("Box601 +Box602")) && first.contains("Main Road"), qPrintable(first));
        QVERIFY(TestSupport::runTool("pdfinfo", {files[0]}).contains("(A4)"));
        QVERIFY(TestSupport::pdfText(files[2]).contains("Box610"));
    }

    void printerRefusals_data()
    {
        QTest::addColumn<QString>("current"); // "pdf": a PDF that cannot be written
        QTest::addColumn<QString>("rowsPerSheet");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        const int info = QMessageBox::Information;
        QTest::newRow("none installed") << "" << "1" << "No Printers Installed to do the Print job" << info;
        QTest::newRow("current printer gone")
            << "Office Laser" << "1" << "The printer \"Office Laser\" is not installed." << info;
        QTest::newRow("rows per sheet refused") << "pdf" << "0" << "Row Printing must be a whole number" << info;
        QTest::newRow("PDF cannot be written")
            << "pdf" << "1" << "missing-folder/sheet.pdf" << int(QMessageBox::Critical);
    }

    void printerRefusals()
    {
        QFETCH(QString, current);
        QFETCH(QString, rowsPerSheet);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
        StickerInput in = sheet("3", qPrintable(rowsPerSheet));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("missing-folder/sheet.pdf");
        PrinterStickerSurface printer {std::make_unique<QPrinter>(QPrinter::HighResolution)};
        printer.setPdfOutputFile(pdf);
        CurrentPrinter::setName(current == "pdf" ? QString() : current);
        QVERIFY(!(current == "pdf" ? printWindowSheet(in, printer) : printWindowSheet(in)));
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(
            MessageBox::shown().at(0).text.contains(message), qPrintable(MessageBox::shown().at(0).text));
        QCOMPARE(int(MessageBox::shown().at(0).icon), icon);
        QCOMPARE(printer.documentsPrinted(), 0);
        QVERIFY(!QFile::exists(pdf));
    }

    void barcodes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("lineText");
        QTest::addColumn<QStringList>("decoded"); // empty when refused
        const auto with = [](const QString &type, const QString &check = QString()) {
            QStringList out;
            for (const char *n : {"1", "2", "3", "4"})
                out << type + ":" + (check.isEmpty() ? "00060" + QString(n) : "59012300060" + QString(n) + check[*n - '1']);
            return out;
        };
        QTest::newRow("Code 128") << "code128" << "" << with("CODE-128");
        QTest::newRow("Code 39") << "code39" << "" << with("CODE-39");
        QTest::newRow("QR") << "qr" << "" << with("QR-Code");
        // Twelve digits: the check digit is added.
        QTest::newRow("EAN-13") << "ean13" << "590123" << with("EAN-13", "3074");
        QTest::newRow("EAN-13 refuses letters") << "ean13" << "No" << QStringList();
        // Its number cut to the line's 16 characters: every sticker the same code.
        QTest::newRow("Code 128 of a number cut") << "code128" << "ABCDEFGHIJKLM" << QStringList();
    }

    void barcodeCheck_data()
    {
        QTest::addColumn<BarcodeKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("EAN-13, twelve digits") << BarcodeKind::Ean13 << "590123412345" << true;
        QTest::newRow("EAN-13 with its check digit") << BarcodeKind::Ean13 << "5901234123457" << true;
        QTest::newRow("EAN-13 with a wrong check digit") << BarcodeKind::Ean13 << "5901234123458" << false;
        // Code 39 has no small letters: they were read back as capitals.
        QTest::newRow("Code 39, capitals") << BarcodeKind::Code39 << "ABC-DEF 12" << true;
        QTest::newRow("Code 39, small letters") << BarcodeKind::Code39 << "abc-def" << false;
        QTest::newRow("Code 128, small letters") << BarcodeKind::Code128 << "abc-def" << true;
    }

    void barcodeCheck()
    {
        QFETCH(BarcodeKind, kind);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(Barcode::check(kind, text).isEmpty(), accepted);
    }

    void barcodes()
    {
        QFETCH(QString, kind);
        QFETCH(QString, lineText);
        QFETCH(QStringList, decoded);
        StickerInput in = sheet("2", "2");
        in.lineTexts = {"ACME", "", "", lineText, "", "601", "612", "", "", "", "1", "1"};
        in.maxField = 4;
        in.TxtWidth = "1000"; // the barcode's height; TxtHEight its width
        in.TxBlank = "5000";
        in.digits = 6;
        QVERIFY(parseBarcodeKind(kind, &in.barcode));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("sheet.pdf");
        QString error;
        QCOMPARE(writeWindowSheetPdf(in, pdf, &error), !decoded.isEmpty());
        if (decoded.isEmpty()) {
            QCOMPARE(error, kind == "ean13" ? QString("The stickers could not be drawn.\nAn EAN-13 barcode needs 12 or 13 digits; "
                                                      "\"No000601\" is not that.")
                                            : QString("The stickers could not be drawn.\nThe bar code of line 4 would be "
                                                      "cut to the line's 16 characters (\"ABCDEFGHIJKLM000\" of "
                                                      "\"ABCDEFGHIJKLM000601\"), and stickers would carry the same "
                                                      "code: widen \"Max Field Lenth\" or use fewer digits."));
            QVERIFY(!QFile::exists(pdf));
            return;
        }
        // The top seven inches hold the two rows.
        TestSupport::runTool("pdftoppm", {"-r", "300", "-gray", "-png", "-singlefile", "-H", "2100", pdf, dir.filePath("p")});
        QStringList got = TestSupport::runTool("zbarimg", {"-q", dir.filePath("p.png")}).split('\n', Qt::SkipEmptyParts);
        got.sort();
        QCOMPARE(got, decoded);
    }

    void picShowsWhatIsDrawn()
    {
        StickerPreview pic;
        pic.resize(420, 600);
        StickerInput in = sheet("3", "3");
        in.pageCount = QStringLiteral("2");
        previewWindowSheet(in, pic); // the items drawn are checked in tst_windowsheet
        QCOMPARE(in.pageCount, QStringLiteral("2")); // only a page count of 0 is shown back as 1

        const QImage image = pic.grab().toImage();
        const QRectF paper = pic.paperRect();
        const double s = pic.scale();
        auto at = [&](double x, double y, double w, double h) {
            return QRectF(paper.left() + x * s, paper.top() + y * s, w * s, h * s).toAlignedRect();
        };
        // Ink where the first sticker's first line stands and the last
        // sticker's last; none left of the margin, none below the last row.
        QVERIFY(inkIn(image, at(720, 720, 2000, 260)) > 20);
        QVERIFY(inkIn(image, at(4500 + 720, 720 + 2 * 2200 + 4 * 260, 600, 260)) > 5);
        QCOMPARE(inkIn(image, at(0, 0, 700, 16000)), 0);
        QCOMPARE(inkIn(image, at(720, 720 + 3 * 2200 + 200, 9000, 3000)), 0);
    }

    void picZooms()
    {
        StickerPreview pic;
        pic.resize(420, 600);
        pic.show();
        const double fit = pic.scale();
        QTest::mouseClick(TestSupport::child(&pic, "CmdZoomIn"), Qt::LeftButton);
        QCOMPARE(pic.scale(), fit * 1.25);
        QVERIFY(pic.paperRect().height() > pic.viewport()->height() && pic.verticalScrollBar()->maximum() > 0);
        QTest::mouseClick(TestSupport::child(&pic, "CmdFit"), Qt::LeftButton);
        QCOMPARE(pic.scale(), fit);
        QTest::mouseClick(TestSupport::child(&pic, "CmdZoomOut"), Qt::LeftButton);
        QCOMPARE(pic.scale(), fit / 1.25);
    }
};

QTEST_MAIN(TestWindowSheetOutput)
#include "tst_windowsheetoutput.moc"
