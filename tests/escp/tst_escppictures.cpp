// Pictures in the interpreter: only their ink is kept, a sheet's pictures
// stay within the sheet's memory budget, and the reading faults that bad
// parameters caused.
#include "EscpBytes.h"
#include "escp/EscpTokenizer.h"
#include "escp/SheetIndex.h"

#include <QTest>

namespace {


// An ESC . 2 (TIFF) raster at 720 dpi that moves `down` rows and `across`
// dots and sets the one dot there.
QByteArray farDot(int down, int across)
{
    return E + "." + b({2, 5, 5, 1, 0, 0, 0x72, down & 0xff, down >> 8, 0x52, across & 0xff, across >> 8, 0x22, 0, 0x80, 0xe3});
}

// A raster (run-length packed) of 255 rows of `dots` black dots at 720 dpi.
QByteArray blackRaster(int dots)
{
    const int rowBytes = (dots + 7) / 8;
    QByteArray rows;
    for (int y = 0; y < 255; ++y) {
        for (int left = rowBytes; left > 0; left -= 128)
            rows += b({257 - qMin(left, 128), 0xff});
    }
    return E + "." + b({1, 5, 5, 255, dots & 0xff, dots >> 8}) + rows + "\r";
}

Printed::Sheet firstSheet(const QByteArray &bytes)
{
    SheetIndex doc;
    doc.build(bytes, PrinterSetup());
    return doc.sheet(0);
}

QString boxes(const Printed::Sheet &sheet)
{
    QStringList out;
    for (const Printed::Picture &p : sheet.pictures)
        out << QStringLiteral("[%1,%2 %3x%4]").arg(p.left()).arg(p.upper()).arg(p.right() - p.left()).arg(p.lower() - p.upper());
    return out.join(' ');
}

} // namespace

class TestEscpPictures : public QObject
{
    Q_OBJECT

private slots:
    // The box around each kept piece of ink, in units, and the most memory
    // the sheet's pictures may take.
    void inkNotExtent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<qint64>("mostBytes");
        QTest::newRow("TIFF raster: one dot in a far corner") << farDot(7000, 9000) << "[27000,21000 3x3]" << qint64(512);
        QTest::newRow("TIFF raster: a dot either end of a row")
            << E + "." + b({2, 5, 5, 1, 0, 0, 0x22, 0, 0x80, 0x52, 0xe0, 0x23, 0x22, 0, 0x01, 0xe3})
            << "[0,0 3x3] [27573,0 3x3]" << qint64(1024);
        QTest::newRow("blank columns around a bit image")
            << E + "K" + b({6, 0, 0, 0, 0x18, 0x18, 0, 0}) << "[72,90 72x60]" << qint64(512);
        // The fuzzer's second find: rows that end before a later tile begins.
        QTest::newRow("raster cut short in its first tile")
            << E + "." + b({0, 5, 5, 2, 0xb0, 0x04}) + QByteArray(10, '\xff') << "[0,0 240x3]" << qint64(512);
        QTest::newRow("an all-blank strip keeps nothing") << E + "K" + b({3, 0, 0, 0, 0}) << "" << qint64(0);
        // A wide raster is cut into tiles of 512 dots across.
        QTest::newRow("a row of 1,200 dots in three tiles") << E + "." + b({1, 5, 5, 1, 0xb0, 0x04, 0x81, 0xff, 0xeb, 0xff})
                                                           << "[0,0 1536x3] [1536,0 1536x3] [3072,0 528x3]" << qint64(2048);
    }
    void inkNotExtent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, boxes);
        QFETCH(qint64, mostBytes);
        const Printed::Sheet sheet = firstSheet(bytes);
        QCOMPARE(::boxes(sheet), boxes);
        QVERIFY2(sheet.pictureBytes <= mostBytes, qPrintable(QString::number(sheet.pictureBytes)));
        QVERIFY(!sheet.overBudget);
    }

    // A thousand far-corner rasters (19 KB) take a few hundred kilobytes.
    void thousandFarCorners()
    {
        QByteArray bytes;
        for (int i = 0; i < 1000; ++i)
            bytes += farDot(7000 + i, 9000) + "\r"; // the raster moves the head past its width
        const Printed::Sheet sheet = firstSheet(bytes);
        QCOMPARE(sheet.pictures.size(), 1000);
        QVERIFY2(sheet.pictureBytes < 1000 * 512, qPrintable(QString::number(sheet.pictureBytes)));
        QVERIFY(!sheet.overBudget);
    }

    // Rasters that pack 306 KB of ink each into 5 KB of file: the sheet
    // keeps what fits its budget and says it is over; the next sheet is
    // whole again.
    void overBudget()
    {
        const QByteArray raster = blackRaster(9600); // 13.3 in: within the carriage
        const int count = int(Printed::SheetBudget / (255 * 1200)) + 2;
        const QByteArray bytes = raster.repeated(count) + "\f" + raster;
        SheetIndex doc;
        QVERIFY(doc.build(bytes, PrinterSetup()));
        QCOMPARE(doc.sheetCount(), 2);
        const Printed::Sheet first = doc.sheet(0);
        QVERIFY(first.overBudget);
        QVERIFY(first.pictureBytes <= Printed::SheetBudget);
        const Printed::Sheet second = doc.sheet(1);
        QVERIFY(!second.overBudget);
        QVERIFY(second.pictureBytes > 255 * 1200);
    }

    // Downloaded characters are pictures too: printed over and over on one
    // sheet (no line spacing, so the sheet never ends) they stop at the
    // budget rather than take the memory without end.
    void downloadedCharactersOverBudget()
    {
        const QByteArray character = E + "&" + b({0, 'A', 'A', 0x8b, 0x7e, 0, 0x42, 0, 0x42, 0, 0x7e, 0, 0, 0, 0, 0});
        const qint64 count = Printed::SheetBudget / Printed::pictureCost(11, 9) + 16;
        const QByteArray bytes = E + "3" + b({0}) + character + E + "%" + b({1}) + QByteArray(count, 'A');
        PrinterSetup setup;
        setup.model = PrinterModel::NinePin;
        SheetIndex doc;
        QVERIFY(doc.build(bytes, setup));
        QCOMPARE(doc.sheetCount(), 1);
        const Printed::Sheet sheet = doc.sheet(0);
        QVERIFY(sheet.overBudget);
        QVERIFY(sheet.pictureBytes <= Printed::SheetBudget);
        QVERIFY(sheet.pictures.size() < count);
    }

    // A 24-pin downloaded character prints its own dots, column by column
    // (3 bytes a column, top dot first), after its space before.
    void downloadedCharacterDots()
    {
        const QByteArray character = E + "&" + b({0, 'A', 'A', 2, 2, 2, 0x80, 0, 0, 0, 0, 0x01});
        PrinterSetup setup;
        setup.model = PrinterModel::TwentyFourPin;
        const QByteArray bytes = character + E + "%" + b({1}) + "A"; // the document reads them where they are
        SheetIndex doc;
        QVERIFY(doc.build(bytes, setup));
        const Printed::Sheet sheet = doc.sheet(0);
        QCOMPARE(sheet.pictures.size(), 1);
        const QImage &dots = sheet.pictures.first().image;
        QCOMPARE(dots.size(), QSize(6, 24));
        QString set;
        for (int y = 0; y < dots.height(); ++y)
            for (int x = 0; x < dots.width(); ++x)
                if (dots.pixelIndex(x, y))
                    set += QStringLiteral("(%1,%2)").arg(x).arg(y);
        QCOMPARE(set, QStringLiteral("(2,0)(3,23)"));
    }

    // Parameters past what the printer takes: the sheet as text.
    void badParameters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("runs"); // "x,baseline'text'advance" per run, then "h=form length"
        // ESC c past 4 inches is ignored; 4 inches is taken.
        QTest::newRow("ESC c of 120 in ignored") << E + "c" + b({0xff, 0xa9}) + "AB" << "0,240'AB'216 h=23760";
        QTest::newRow("ESC c of 4 in") << E + "c" + b({0xa0, 0x05}) + "AB" << "0,240'AB'8640 h=23760";
        // A four-byte length past any form is bounded, never wrapped round.
        QTest::newRow("ESC ( C with four bytes, huge") << E + "(C" + b({4, 0, 1, 0, 0, 0x80}) + "A\nB"
                                                      << "0,240'A'216 0,600'B'216 h=95040";
        QTest::newRow("ESC ( C with four bytes, 12 in") << E + "(C" + b({4, 0, 0xe0, 0x10, 0, 0}) + "A"
                                                       << "0,240'A'216 h=25920";
    }
    void badParameters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, runs);
        const Printed::Sheet sheet = firstSheet(bytes);
        QStringList out;
        for (const Printed::TextRun &r : sheet.runs)
            out << QStringLiteral("%1,%2'%3'%4").arg(r.x).arg(r.baseline).arg(r.text).arg(r.style.advance);
        out << QStringLiteral("h=%1").arg(sheet.height);
        QCOMPARE(out.join(' '), runs);
    }

    // A run of text longer than a token is read in tokens of at most
    // MostText bytes (each sheet then reads only its own part of the run),
    // and prints as one run: every line full, wherever a token ends.
    void longRunOfText()
    {
        const QByteArray bytes(200000, 'x');
        EscpTokenizer tokens(bytes);
        QCOMPARE(tokens.next().length, EscpTokenizer::MostText);
        SheetIndex doc;
        QVERIFY(doc.build(bytes, PrinterSetup()));
        const int lines = (200000 + 135) / 136;
        QCOMPARE(doc.sheetCount(), (lines + 65) / 66);
        qsizetype total = 0;
        for (int i = 0; i < doc.sheetCount(); ++i) {
            const Printed::Sheet sheet = doc.sheet(i);
            for (const Printed::TextRun &run : sheet.runs) {
                total += run.text.size();
                if (total < 200000)
                    QCOMPARE(run.text.size(), 136);
            }
        }
        QCOMPARE(total, 200000);
    }

    // A set-up with no number for its form or carriage takes the defaults.
    void setupWithoutNumbers()
    {
        for (double bad : {qQNaN(), qInf(), -qInf(), 0.0, 1e300}) {
            PrinterSetup setup;
            setup.formLengthInches = bad;
            setup.carriageInches = bad;
            const QByteArray bytes("A");
            SheetIndex doc;
            QVERIFY(doc.build(bytes, setup));
            QCOMPARE(doc.sheet(0).height, Printed::inches(11));
        }
    }
};

QTEST_GUILESS_MAIN(TestEscpPictures)
#include "tst_escppictures.moc"
