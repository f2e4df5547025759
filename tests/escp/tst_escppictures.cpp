// Pictures in the interpreter: only their ink is kept, a sheet's pictures
// stay within the sheet's memory budget, the reading faults that bad
// parameters caused, and pictures as ghostscript's printer drivers write them
// land dot for dot where the printer puts them.
#include "EscpBytes.h"
#include "TestSupport.h"
#include "escp/EscpTokenizer.h"
#include "escp/SheetIndex.h"

#include <QMap>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <utility>

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

// A test picture of `width` x `height` dots: a frame, a diagonal, a block,
// a checkerboard and dots scattered by a fixed rule, so that a dot out of
// place, a pass out of step or a column dropped shows.
QImage testPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_Mono);
    picture.setColorTable({0xFFFFFFFFu, 0xFF000000u});
    picture.fill(0);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const bool diagonal = x == y * width / height;
            const bool block = x >= 8 && x < 20 && y >= 5 && y < 15;
            const bool checker = x >= 30 && x < 46 && y >= 4 && y < 20 && (x + y) % 2 == 0;
            const bool scattered = x > 50 && (seed >> 16) % 7 == 0;
            if (frame || diagonal || block || checker || scattered)
                picture.setPixel(x, y, 1);
        }
    }
    return picture;
}

// A PostScript page with `picture` on it at one image sample per device dot
// (dpiX x dpiY), an inch in from the top left corner.
QByteArray pictureOnPage(const QImage &picture, int dpiX, int dpiY)
{
    QByteArray samples;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int i = 0; i < (picture.width() + 7) / 8; ++i)
            samples += char(~line[i]); // 1 is white to the image operator
    }
    const double width = picture.width() * 72.0 / dpiX;
    const double height = picture.height() * 72.0 / dpiY;
    return QStringLiteral("%!PS\n<< /PageSize [288 216] >> setpagedevice\n72 %1 translate %2 %3 scale\n"
                          "%4 %5 1 [%4 0 0 -%5 0 %5] {<%6>} image showpage\n")
        .arg(216 - 72 - height)
        .arg(width)
        .arg(height)
        .arg(picture.width())
        .arg(picture.height())
        .arg(QString::fromLatin1(samples.toHex()))
        .toLatin1();
}

// The sheet's pictures as dots on a grid of dpiX x dpiY: each dot where the
// printer puts it; `offGrid` counts dots that fall between the grid's.
QImage dotsOnGrid(const Printed::Sheet &sheet, int dpiX, int dpiY, int *offGrid)
{
    QImage grid(int(sheet.width * qint64(dpiX) / Printed::UnitsPerInch) + 1,
        int(sheet.height * qint64(dpiY) / Printed::UnitsPerInch) + 1, QImage::Format_Mono);
    grid.setColorTable({0xFFFFFFFFu, 0xFF000000u});
    grid.fill(0);
    *offGrid = 0;
    for (const Printed::Picture &p : sheet.pictures) {
        for (int y = 0; y < p.image.height(); ++y) {
            for (int x = 0; x < p.image.width(); ++x) {
                if (!p.image.pixelIndex(x, y))
                    continue;
                const double gx = (p.left() + double(x) * Printed::UnitsPerInch / p.dpiX) * dpiX / Printed::UnitsPerInch;
                const double gy = (p.upper() + double(y) * Printed::UnitsPerInch / p.dpiY) * dpiY / Printed::UnitsPerInch;
                const int X = int(std::lround(gx));
                const int Y = int(std::lround(gy));
                if (std::abs(gx - X) > 0.01 || std::abs(gy - Y) > 0.01)
                    ++*offGrid;
                else if (grid.valid(X, Y))
                    grid.setPixel(X, Y, 1);
            }
        }
    }
    return grid;
}

// The smallest part of a picture that holds all its ink.
QImage inked(const QImage &image)
{
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelIndex(x, y)) {
                left = qMin(left, x), right = qMax(right, x);
                top = qMin(top, y), bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QImage() : image.copy(left, top, right - left + 1, bottom - top + 1);
}

// The first dot where two pictures of one size differ, or "" when they agree.
QString firstDifference(const QImage &got, const QImage &want)
{
    if (got.size() != want.size())
        return QStringLiteral("%1x%2 dots of ink, not %3x%4")
            .arg(got.width()).arg(got.height()).arg(want.width()).arg(want.height());
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            if (got.pixelIndex(x, y) != want.pixelIndex(x, y))
                return QStringLiteral("dot %1,%2 is %3").arg(x).arg(y).arg(got.pixelIndex(x, y) ? "black" : "white");
        }
    }
    return QString();
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
            << "[0,0 3x3] [27597,0 3x3]" << qint64(1024);
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

    // A band printed across the form's end: on continuous paper the pins
    // print its lower rows past the perforation, at the top of the next
    // sheet, which shows them whether it is made after the first or alone
    // (from the index, which only counted the first).
    void bandsAcrossTheFormEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("below"); // units of the band past the end
        QTest::addColumn<int>("color"); // ESC r of the band: both sheets' rows print in it
        const QByteArray inch = E + "@" + E + "C" + b({0, 1});
        // 2000 units down, eight dots 30 units apart: 80 past the end.
        QTest::newRow("9 pins, ESC * 5") << inch + E + "J" + b({200}) + E + "*" + b({5, 72, 0}) + QByteArray(72, '\xff')
                                         << int(PrinterModel::NinePin) << 80 << 0;
        // 2040 units down, 24 dots 12 units apart: 168 past the end.
        QTest::newRow("24 pins, ESC * 39") << inch + E + "J" + b({170}) + E + "*" + b({39, 60, 0})
                + QByteArray(180, '\xff') << int(PrinterModel::TwentyFourPin) << 168 << 0;
        QTest::newRow("ESC/P2, ESC . 0") << inch + E + "J" + b({170}) + E + "." + b({0, 20, 20, 24, 48, 0})
                + QByteArray(24 * 6, '\xff') << int(PrinterModel::EscP2) << 168 << 0;
        QTest::newRow("ESC/P2, ESC . 0 in cyan") << inch + E + "J" + b({170}) + E + "r" + b({2}) + E + "."
                + b({0, 20, 20, 24, 48, 0}) + QByteArray(24 * 6, '\xff') + E + "r" + b({0})
                                                 << int(PrinterModel::EscP2) << 168 << 2;
    }
    void bandsAcrossTheFormEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, model);
        QFETCH(int, below);
        QFETCH(int, color);
        const QByteArray job = bytes + "\r\nAB\r\n";
        const auto built = [](const QByteArray &file, PrinterModel printer) {
            PrinterSetup setup;
            setup.model = printer;
            auto doc = std::make_unique<SheetIndex>();
            doc->build(file, setup);
            return doc;
        };
        for (const bool alone : {true, false}) {
            const auto doc = built(job, PrinterModel(model));
            QCOMPARE(doc->sheetCount(), 2);
            const Printed::Sheet first = alone ? Printed::Sheet() : doc->sheet(0);
            const Printed::Sheet second = doc->sheet(1);
            if (!alone) {
                QCOMPARE(first.pictures.size(), 1);
                QVERIFY(first.pictures.first().lower() > first.height);
                QCOMPARE(int(first.pictures.first().color), color);
            }
            QCOMPARE(second.pictures.size(), 1);
            const Printed::Picture &rest = second.pictures.first();
            QCOMPARE(rest.lower(), below);
            QCOMPARE(int(rest.color), color);
            // From the first row that begins past the end: the row the end
            // cuts stays on its sheet, so that the sliver of a dot below the
            // last line makes no sheet of its own.
            QVERIFY(rest.upper() >= 0);
            QVERIFY(rest.upper() < Printed::UnitsPerInch / 60);
            QCOMPARE(second.runs.size(), 1); // the text after it, on its own line
        }
        // With nothing after the band but the form feed that ends the job,
        // the next sheet is there for the rows alone (it had been left out
        // as empty, and the rows lost).
        const auto ended = built(bytes + "\f", PrinterModel(model));
        QCOMPARE(ended->sheetCount(), 2);
        QCOMPARE(ended->sheet(1).pictures.size(), 1);
        QCOMPARE(ended->sheet(1).pictures.first().lower(), below);
        // Nothing carried when the band ends above the end.
        const auto whole = built(E + "@" + E + "C" + b({0, 1}) + E + "*" + b({5, 72, 0}) + QByteArray(72, '\xff')
                + "\f" + "AB", PrinterModel::NinePin);
        QCOMPARE(whole->sheet(1).pictures.size(), 0);
        // A dot whose top is 2/216 in above the end of an 11 in form (as
        // ghostscript's eps9high writes a page's last row): one sheet.
        QByteArray lastRow = E + "@";
        for (int i = 0; i < 9; ++i)
            lastRow += E + "J" + b({255});
        lastRow += E + "J" + b({79}) + E + "*" + b({0, 1, 0, 0x80}) + "\r\f";
        QCOMPARE(built(lastRow, PrinterModel::NinePin)->sheetCount(), 1);
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
        // ESC c past 3 inches is ignored; 3 inches is taken.
        QTest::newRow("ESC c of 120 in ignored") << E + "c" + b({0xff, 0xa9}) + "AB" << "0,240'AB'216 h=23760";
        QTest::newRow("ESC c of 4 in ignored") << E + "c" + b({0xa0, 0x05}) + "AB" << "0,240'AB'216 h=23760";
        QTest::newRow("ESC c of 3 in") << E + "c" + b({0x38, 0x04}) + "AB" << "0,240'AB'6480 h=23760";
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

    // Ghostscript's dot-matrix drivers: 9-pin bit images placed with tabs
    // (ESC D, HT), 9-pin triple passes a 216th of an inch apart (ESC J 1),
    // 24-pin columns fed in 180ths, and the ESC/P2 raster (run-length packed,
    // ESC ( U units). The dots on the sheet are the picture's, each where the
    // driver meant it.
    void ghostscriptPictures_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::newRow("epson 60 dpi, ESC K") << "epson" << 60 << 72;
        QTest::newRow("epson 120 dpi, ESC L") << "epson" << 120 << 72;
        QTest::newRow("eps9high, three passes") << "eps9high" << 240 << 216;
        QTest::newRow("eps9high 120 dpi") << "eps9high" << 120 << 216;
        QTest::newRow("lq850, ESC * 39") << "lq850" << 180 << 180;
        QTest::newRow("st800, ESC/P2 raster") << "st800" << 360 << 360;
    }
    void ghostscriptPictures()
    {
        QFETCH(QString, device);
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        if (QStandardPaths::findExecutable(QStringLiteral("gs")).isEmpty())
            QSKIP("ghostscript is not installed");
        const QImage picture = testPicture(96, 40);
        QByteArray print;
        QString said;
        QVERIFY2(TestSupport::filterThrough(QStringLiteral("gs"),
                     {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                         QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=") + device,
                         QStringLiteral("-r%1x%2").arg(dpiX).arg(dpiY), QStringLiteral("-sOutputFile=-"),
                         QStringLiteral("-")},
                     pictureOnPage(picture, dpiX, dpiY), &print, &said),
            qPrintable(said));
        SheetIndex doc;
        QVERIFY(doc.build(print, PrinterSetup()));
        QCOMPARE(doc.sheetCount(), 1);
        int offGrid = 0;
        const QImage dots = inked(dotsOnGrid(doc.sheet(0), dpiX, dpiY, &offGrid));
        QCOMPARE(offGrid, 0);
        QCOMPARE(firstDifference(dots, picture), QString());
    }

    // Ghostscript's colour drivers print each band once for each colour
    // (ESC r), the carriage returned between: epsonc with bit images in all
    // seven colours, stcolor with ESC/P2 raster rows in its four. Every
    // square of the page gets the dots of its colour's inks (stcolor
    // dithers a few dots of a neighbouring ink into cyan and magenta: an
    // ink counts with a third of the square's most used ink's dots).
    void ghostscriptColours_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("black"); // the inks of black
        QTest::newRow("epsonc, ESC * 39") << "epsonc" << "K";
        QTest::newRow("stcolor, ESC . in graphics mode") << "stcolor" << "CKMY"; // all four, as stcolor prints black
    }
    void ghostscriptColours()
    {
        QFETCH(QString, device);
        QFETCH(QString, black);
        if (QStandardPaths::findExecutable(QStringLiteral("gs")).isEmpty())
            QSKIP("ghostscript is not installed");
        // Squares an inch wide, an inch apart, their top left corners an
        // inch from the top and left (then every 1.5 in).
        struct Square
        {
            const char *rgb;
            const char *inks; // K black, M magenta, C cyan, Y yellow
        };
        const Square squares[] = {{"0 0 0", "K"}, {"1 0 0", "MY"}, {"0 1 0", "CY"}, {"0 0 1", "MC"},
            {"0 1 1", "C"}, {"1 0 1", "M"}, {"1 1 0", "Y"}};
        QByteArray ps = "%!PS\n<< /PageSize [612 792] >> setpagedevice\n";
        for (int i = 0; i < 7; ++i)
            ps += QByteArray::number(72 + 108 * (i % 4)) + " " + QByteArray::number(648 - 108 * (i / 4)) + " 72 72 "
                + squares[i].rgb + " setrgbcolor rectfill\n";
        ps += "showpage\n";
        QByteArray print;
        QString said;
        QVERIFY2(TestSupport::filterThrough(QStringLiteral("gs"),
                     {QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                         QStringLiteral("-dNOPAUSE"), QStringLiteral("-sDEVICE=") + device, QStringLiteral("-r180"),
                         QStringLiteral("-sOutputFile=-"), QStringLiteral("-")},
                     ps, &print, &said),
            qPrintable(said));
        SheetIndex doc;
        QVERIFY(doc.build(print, PrinterSetup()));
        const Printed::Sheet sheet = doc.sheet(0);
        // The inks struck inside each square, a dot's width in from its edges.
        static const char *const InksOf[] = {"K", "M", "C", "MC", "Y", "MY", "CY"};
        QMap<char, int> dots[7];
        for (const Printed::Picture &p : sheet.pictures) {
            QVERIFY(p.color < 7);
            for (int y = 0; y < p.image.height(); ++y) {
                for (int x = 0; x < p.image.width(); ++x) {
                    if (!p.image.pixelIndex(x, y))
                        continue;
                    const double across = (p.left() + (x + 0.5) * Printed::UnitsPerInch / p.dpiX) / Printed::UnitsPerInch;
                    const double down = (p.upper() + (y + 0.5) * Printed::UnitsPerInch / p.dpiY) / Printed::UnitsPerInch;
                    for (int i = 0; i < 7; ++i) {
                        const double left = 1 + 1.5 * (i % 4), top = 1 + 1.5 * (i / 4);
                        if (across > left + 0.05 && across < left + 0.95 && down > top + 0.05 && down < top + 0.95) {
                            for (const char ink : QByteArray(InksOf[p.color]))
                                ++dots[i][ink];
                        }
                    }
                }
            }
        }
        for (int i = 0; i < 7; ++i) {
            int most = 0;
            for (const int n : std::as_const(dots[i]))
                most = qMax(most, n);
            QString found;
            for (auto it = dots[i].cbegin(); it != dots[i].cend(); ++it) {
                if (it.value() * 3 >= most)
                    found += QLatin1Char(it.key());
            }
            QString want = i == 0 ? black : QString::fromLatin1(squares[i].inks);
            std::sort(want.begin(), want.end());
            QVERIFY2(found == want, qPrintable(QStringLiteral("square %1 (%2): %3, not %4")
                                                   .arg(i).arg(squares[i].rgb, found, want)));
        }
    }

    // Netpbm's pbmtoepson: 8-dot columns, bands ESC A 8 apart, which are 8/72 in
    // on 9 pins and 8/60 in on 24 pins (whose 8-dot modes print every third
    // pin): the bands meet without a gap or an overlap on both.
    void netpbmPictures_data()
    {
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<int>("dpiOption");
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::newRow("9 pins, ESC * 5") << "escp9" << 72 << int(PrinterModel::NinePin) << 72 << 72;
        QTest::newRow("9 pins, ESC * 1") << "escp9" << 120 << int(PrinterModel::NinePin) << 120 << 72;
        QTest::newRow("24 pins, ESC * 6") << "escp" << 90 << int(PrinterModel::TwentyFourPin) << 90 << 60;
        QTest::newRow("24 pins, ESC * 3") << "escp" << 240 << int(PrinterModel::TwentyFourPin) << 240 << 60;
        QTest::newRow("ESC/P2, ESC * 0") << "escp" << 60 << int(PrinterModel::EscP2) << 60 << 60;
    }
    void netpbmPictures()
    {
        QFETCH(QString, protocol);
        QFETCH(int, dpiOption);
        QFETCH(int, model);
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        if (QStandardPaths::findExecutable(QStringLiteral("pbmtoepson")).isEmpty())
            QSKIP("netpbm is not installed");
        const QImage picture = testPicture(96, 40); // five bands of 8 rows
        QByteArray pbm = QStringLiteral("P4\n%1 %2\n").arg(picture.width()).arg(picture.height()).toLatin1();
        for (int y = 0; y < picture.height(); ++y)
            pbm.append(reinterpret_cast<const char *>(picture.constScanLine(y)), (picture.width() + 7) / 8);
        QByteArray print;
        QString said;
        QVERIFY2(TestSupport::filterThrough(QStringLiteral("pbmtoepson"),
                     {QStringLiteral("-protocol=") + protocol, QStringLiteral("-dpi=%1").arg(dpiOption)}, pbm, &print,
                     &said),
            qPrintable(said));
        PrinterSetup setup;
        setup.model = PrinterModel(model);
        SheetIndex doc;
        QVERIFY(doc.build(print, setup));
        int offGrid = 0;
        const QImage dots = inked(dotsOnGrid(doc.sheet(0), dpiX, dpiY, &offGrid));
        QCOMPARE(offGrid, 0);
        QCOMPARE(firstDifference(dots, picture), QString());
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
