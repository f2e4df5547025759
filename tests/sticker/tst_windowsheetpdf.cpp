#include "TestSupport.h"
#include "sticker/WindowSheetPdf.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The Windows-mode sheet as a PDF with barcodes, read back the way a scanner
// would: the page rendered by pdftoppm, the symbols decoded by zbarimg.
class TestWindowSheetPdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void barcodes_data();
    void barcodes();
};

void TestWindowSheetPdf::barcodes_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("lineText");
    QTest::addColumn<QStringList>("decoded"); // empty when refused
    const QStringList padded {"000601", "000602", "000603", "000604"};
    auto with = [&](const QString &type) {
        QStringList out;
        for (const QString &number : padded)
            out << type + ":" + number;
        return out;
    };
    QTest::newRow("Code 128") << "code128" << "" << with("CODE-128");
    QTest::newRow("Code 39") << "code39" << "" << with("CODE-39");
    QTest::newRow("QR") << "qr" << "" << with("QR-Code");
    // Twelve digits: the check digit is added.
    QTest::newRow("EAN-13") << "ean13"
                            << "590123"
                            << QStringList {"EAN-13:5901230006013", "EAN-13:5901230006020",
                                   "EAN-13:5901230006037", "EAN-13:5901230006044"};
    QTest::newRow("EAN-13 refuses letters") << "ean13" << "No" << QStringList();
}

void TestWindowSheetPdf::barcodes()
{
    QFETCH(QString, kind);
    QFETCH(QString, lineText);
    QFETCH(QStringList, decoded);

    StickerInput in;
    in.Atxt = {"ACME", "", "", lineText, "", "601", "612", "", "", "", "1", "1"};
    in.TxCol = "2";
    in.TxRow = "2";
    in.maxField = 4;
    in.TxMaxFLenth = "16";
    in.TxtFontNM = "DejaVu Sans";
    in.TxtFontSZ = "10";
    in.TxtMLeft = "720";
    in.TxtMtop = "720";
    in.TxtHEight = "4500"; // the barcode's width
    in.TxtWidth = "1000";  // and height
    in.TxBlank = "5000";
    in.txtRowPrint = "2";
    in.digits = 6;
    QVERIFY(parseBarcodeKind(kind, &in.barcode));

    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    QString error;
    QCOMPARE(writeWindowSheetPdf(in, pdf, &error), !decoded.isEmpty());
    if (decoded.isEmpty()) {
        QCOMPARE(error,
            QString("The stickers could not be drawn.\nAn EAN-13 barcode needs 12 or 13 digits; "
                    "\"No000601\" is not that."));
        QVERIFY(!QFile::exists(pdf));
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // The top seven inches hold the two rows.
    TestSupport::runTool("pdftoppm", {"-r", "300", "-gray", "-png", "-singlefile", "-H", "2100", pdf, dir.filePath("page")});
    QStringList got = TestSupport::runTool("zbarimg", {"-q", dir.filePath("page.png")}).split('\n', Qt::SkipEmptyParts);
    got.sort();
    QCOMPARE(got, decoded);
}

QTEST_MAIN(TestWindowSheetPdf)
#include "tst_windowsheetpdf.moc"
