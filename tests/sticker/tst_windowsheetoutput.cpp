#include "TestSupport.h"
#include "gui/platform/MessageBox.h"
#include "printing/CurrentPrinter.h"
#include "gui/sticker/PrinterStickerSurface.h"
#include "gui/sticker/StickerPreview.h"
#include "gui/sticker/WindowSheetPrinting.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The sheet on real outputs: QPrinter's PDF output read back with pdftotext,
// the on-screen view "Pic", and the printer look-up with no printer at all.

namespace {

StickerInput sheet()
{
    StickerInput in;
    in.Atxt = {QStringLiteral("ACME STORES"), QStringLiteral("Main Road"), QStringLiteral("Pune"),
        QStringLiteral("Box"), QStringLiteral("Lot"), QStringLiteral("601"), QStringLiteral("612"), QString(),
        QString(), QString(), QStringLiteral("1"), QStringLiteral("10")};
    in.TxCol = QStringLiteral("2");
    in.TxRow = QStringLiteral("3");
    in.maxField = 5;
    in.TxMaxFLenth = QStringLiteral("16");
    in.TxtFontNM = QStringLiteral("DejaVu Sans");
    in.TxtFontSZ = QStringLiteral("10");
    in.TxtMLeft = QStringLiteral("720");
    in.TxtMtop = QStringLiteral("720");
    in.TxtHEight = QStringLiteral("4500");
    in.TxtWidth = QStringLiteral("260");
    in.TxBlank = QStringLiteral("2200");
    in.txtRowPrint = QStringLiteral("3");
    in.txtPage = QStringLiteral("1");
    in.windowMode = true;
    return in;
}

QString runTool(const QString &tool, const QStringList &args)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
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
    void initTestCase()
    {
        // No spooler to be found: the machine has no printer installed.
        qputenv("CUPS_SERVER", QFile::encodeName(QDir::temp().filePath("no-cupsd.sock")));
        TestSupport::init();
    }
    void init()
    {
        MessageBox::clearShown();
        CurrentPrinter::setName(QString());
    }

    void pdfShowsTheStickerLines();
    void pdfThatCannotBeWrittenIsReportedOnce();
    void noPrinter_data();
    void noPrinter();
    void picShowsWhatIsDrawn();
};

void TestWindowSheetOutput::pdfShowsTheStickerLines()
{
    // Five rows printed two to a sheet: three PDF documents.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("rows.pdf");
    PrinterStickerSurface printer {QString()};
    printer.setPdfOutputFile(pdf);
    StickerInput in = sheet();
    in.TxRow = "5";
    in.txtRowPrint = "2";
    QVERIFY(printWindowSheet(in, printer));
    QVERIFY(MessageBox::shown().isEmpty());
    const QStringList files {pdf, dir.filePath("rows-2.pdf"), dir.filePath("rows-3.pdf")};
    QCOMPARE(printer.writtenFiles(), files);

    const QString first = runTool("pdftotext", {"-layout", pdf, "-"});
    for (const QString &expected : {"ACME STORES", "Main Road", "Box601", "Box604", "Lot1"})
        QVERIFY2(first.contains(expected), qPrintable(expected + " missing in:\n" + first));
    // Two columns side by side on one text line of the page.
    QVERIFY2(first.contains(QRegularExpression("Box601 +Box602")), qPrintable(first));
    QVERIFY(!first.contains("Box605"));
    const QString info = runTool("pdfinfo", {pdf});
    QVERIFY2(info.contains("(A4)"), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Pages: +1\\b")), qPrintable(info));

    // Rows 3-4 and 5: numbers 605-608 and 609-610.
    const QList<QStringList> expected {{"Box605", "Box608"}, {"Box609", "Box610"}};
    for (int i = 1; i < files.size(); ++i) {
        const QString text = runTool("pdftotext", {files.at(i), "-"});
        for (const QString &number : expected.at(i - 1))
            QVERIFY2(text.contains(number), qPrintable(files.at(i) + ":\n" + text));
        QCOMPARE(text.count("ACME STORES"), i < 2 ? 4 : 2);
    }
}

void TestWindowSheetOutput::pdfThatCannotBeWrittenIsReportedOnce()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("missing-folder/sheet.pdf"));
    PrinterStickerSurface printer {QString()};
    printer.setPdfOutputFile(pdf);
    StickerInput in = sheet();
    in.txtRowPrint = QStringLiteral("1");
    QVERIFY(!printWindowSheet(in, printer));
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().at(0).icon, QMessageBox::Critical);
    QVERIFY2(MessageBox::shown().at(0).text.contains(pdf), qPrintable(MessageBox::shown().at(0).text));
    QCOMPARE(printer.documentsPrinted(), 0);
    QVERIFY(!QFile::exists(pdf));
}

void TestWindowSheetOutput::noPrinter_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("message");
    QTest::newRow("none installed") << ""
                                    << "No Printers Installed to do the Print job";
    QTest::newRow("current printer gone") << "Office Laser"
                                          << "The printer \"Office Laser\" is not installed.";
}

void TestWindowSheetOutput::noPrinter()
{
    QFETCH(QString, current);
    QFETCH(QString, message);
    QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
    CurrentPrinter::setName(current);
    QCOMPARE(CurrentPrinter::name(), current);
    StickerInput in = sheet();
    QVERIFY(!printWindowSheet(in));
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().at(0).text, message);
}

void TestWindowSheetOutput::picShowsWhatIsDrawn()
{
    StickerPreview pic;
    QCOMPARE(pic.objectName(), QStringLiteral("Pic"));
    pic.resize(420, 600);
    StickerInput in = sheet();
    in.txtPage = QStringLiteral("2");
    previewWindowSheet(in, pic);
    QCOMPARE(in.txtPage, QStringLiteral("2"));
    QCOMPARE(pic.items().size(), 2 * 2 * 3 * 5);
    QCOMPARE(pic.items().first().text.trimmed(), QStringLiteral("ACME STORES"));
    QCOMPARE(pic.items().at(30).y, pic.items().at(0).y); // page 2 over page 1

    const QImage image = pic.grab().toImage();
    const QRectF paper = pic.paperRect();
    const double s = pic.scale();
    auto at = [&](double x, double y, double w, double h) {
        return QRectF(paper.left() + x * s, paper.top() + y * s, w * s, h * s).toAlignedRect();
    };
    // Ink where the first sticker's first line stands; none left of the
    // margin, none between the two columns, none below the last row.
    QVERIFY(inkIn(image, at(720, 720, 2000, 260)) > 20);
    QVERIFY(inkIn(image, at(4500 + 720, 720 + 2 * 2200 + 4 * 260, 600, 260)) > 5);
    QCOMPARE(inkIn(image, at(0, 0, 700, 16000)), 0);
    QCOMPARE(inkIn(image, at(720, 720 + 3 * 2200 + 200, 9000, 3000)), 0);

    // The next show starts from a clear view.
    in.txtPage = QStringLiteral("1");
    in.maxField = 1;
    previewWindowSheet(in, pic);
    QCOMPARE(pic.items().size(), 2 * 3);
    const QImage again = pic.grab().toImage();
    QCOMPARE(inkIn(again, at(720, 720 + 260, 9000, 5 * 260)), 0);
}

QTEST_MAIN(TestWindowSheetOutput)
#include "tst_windowsheetoutput.moc"
