// Picture dots in every output (an image as the screen draws it, PNG and
// PDF read back with pdftoppm) at common resolutions: blanks never erase
// ink, strips that meet show no seam, no dot row drops out, a sheet over its
// memory budget is refused, and the fit to paper counts what prints.
#include "TestSupport.h"
#include "export/PngExport.h"
#include "export/PrintedPdfExport.h"
#include "render/PictureRaster.h"
#include "render/PrintedRenderer.h"

#include <QDir>
#include <QImage>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

using Printed::inches;
using Printed::UnitsPerInch;

// A picture of width x height dots at (x, top) units; `inked(column, row)` says which dots print.
template<typename Inked>
Printed::Picture picture(Printed::Unit x, Printed::Unit top, int width, int height, int dpiX, int dpiY, Inked inked)
{
    Printed::Picture p;
    p.x = x;
    p.top = top;
    p.dpiX = dpiX;
    p.dpiY = dpiY;
    p.image = QImage(width, height, QImage::Format_Mono);
    p.image.setColorTable({0xFFFFFFFFu, 0xFF000000u});
    p.image.fill(0);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c)
            if (inked(c, r))
                p.image.setPixel(c, r, 1);
    return p;
}

Printed::Sheet sheetOf(const QVector<Printed::Picture> &pictures)
{
    Printed::Sheet sheet;
    sheet.width = inches(8.5);
    sheet.height = inches(11);
    sheet.pictures = pictures;
    return sheet;
}

// The sheet at `dpi` through the output named: in colour, or as grey
// levels (the PDF then read back in grey).
QImage drawnAs(const Printed::Sheet &sheet, const QString &output, int dpi, bool grey)
{
    QImage image;
    QTemporaryDir dir;
    QString error;
    if (output == "image") {
        image = QImage(qCeil(sheet.width * double(dpi) / UnitsPerInch), qCeil(sheet.height * double(dpi) / UnitsPerInch),
            QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PrintedRenderer().draw(painter, sheet, QPointF(0, 0), double(dpi) / UnitsPerInch);
    } else if (output == "png") {
        PngOptions options;
        options.pages = {0};
        options.dpi = dpi;
        QStringList written;
        if (!PngExport::save(dir.filePath("s.png"), [&](int) { return sheet; }, options, &error, &written))
            qWarning() << error;
        image = QImage(written.value(0));
    } else {
        PdfOptions options;
        options.pages = {0};
        options.paper = PdfPaper::Letter;
        if (!PrintedPdfExport::save(dir.filePath("s.pdf"), [&](int) { return sheet; }, options, &error))
            qWarning() << error;
        TestSupport::runTool("pdftoppm", {"-r", QString::number(dpi), grey ? "-gray" : "-png", "-singlefile",
                                             dir.filePath("s.pdf"), dir.filePath("p")});
        image = QImage(dir.filePath(grey ? "p.pgm" : "p.png"));
    }
    return grey ? image.convertToFormat(QImage::Format_Grayscale8) : image;
}

QImage drawn(const Printed::Sheet &sheet, const QString &output, int dpi)
{
    return drawnAs(sheet, output, dpi, true);
}

QImage drawnInColour(const Printed::Sheet &sheet, const QString &output, int dpi)
{
    return drawnAs(sheet, output, dpi, false);
}

// The colour at (x, y) inches, or what it is when it is not `want` (within
// `slack` of each of red, green and blue).
QString colourAt(const QImage &image, double x, double y, int dpi, QRgb want, int slack)
{
    const QRgb got = image.pixel(int(x * dpi), int(y * dpi));
    if (qAbs(qRed(got) - qRed(want)) <= slack && qAbs(qGreen(got) - qGreen(want)) <= slack
        && qAbs(qBlue(got) - qBlue(want)) <= slack)
        return QString();
    return QStringLiteral("at %1,%2 in: %3, not %4").arg(x).arg(y).arg(QColor(got).name(), QColor(want).name());
}

int grey(const QImage &image, int x, int y)
{
    return image.constScanLine(y)[x];
}

// Every pixel well inside the box (inches) is black.
QString solid(const QImage &image, QRectF box, int dpi)
{
    const int left = int(std::ceil(box.left() * dpi)) + 1, right = int(std::floor(box.right() * dpi)) - 2;
    const int top = int(std::ceil(box.top() * dpi)) + 1, bottom = int(std::floor(box.bottom() * dpi)) - 2;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (grey(image, x, y) > 40)
                return QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(grey(image, x, y));
    return QString();
}

} // namespace

class TestPictureDots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void overlapsAndSeams_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("dpi");
        for (const char *output : {"image", "png", "pdf"})
            for (int dpi : {72, 96, 150, 180, 300})
                QTest::addRow("%s at %d dpi", output, dpi) << QString(output) << dpi;
    }
    void overlapsAndSeams()
    {
        QFETCH(QString, output);
        QFETCH(int, dpi);
        const Printed::Unit x = inches(1) + 7; // between pixels
        // Two 8-dot strips 7/72 in apart: the second's blank top row lies on
        // the first one's last row of ink.
        const Printed::Unit a = inches(1) + 11;
        const auto all = [](int, int) { return true; };
        QVector<Printed::Picture> pictures{picture(x, a, 240, 8, 120, 72, all),
            picture(x, a + 7 * 30, 240, 8, 120, 72, [](int, int r) { return r > 0; })};
        // Nine touching 8-dot strips, a solid block.
        const Printed::Unit b = inches(3) + 13;
        for (int k = 0; k < 9; ++k)
            pictures.append(picture(x, b + k * 240, 240, 8, 120, 72, all));
        const QImage image = drawn(sheetOf(pictures), output, dpi);
        QVERIFY(!image.isNull());
        const double left = x / double(UnitsPerInch);
        QString fault = solid(image, QRectF(left, a / double(UnitsPerInch), 2, 15 / 72.0), dpi);
        QVERIFY2(fault.isEmpty(), qPrintable("overlapping strips: " + fault));
        fault = solid(image, QRectF(left, b / double(UnitsPerInch), 2, 1), dpi);
        QVERIFY2(fault.isEmpty(), qPrintable("solid block: " + fault));
        // Blank around the block.
        QCOMPARE(grey(image, int((left + 1) * dpi), int((b / double(UnitsPerInch) + 1.05) * dpi)), 255);
    }

    // A 120 x 180 dpi picture of one-dot lines a third apart, across and
    // down: every line keeps ink at and below its own resolution.
    void denseLinesStay_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("dpi");
        for (const char *output : {"image", "png", "pdf"})
            for (int dpi : {72, 96, 120, 150})
                QTest::addRow("%s at %d dpi", output, dpi) << QString(output) << dpi;
    }
    void denseLinesStay()
    {
        QFETCH(QString, output);
        QFETCH(int, dpi);
        const Printed::Unit x = inches(1), top = inches(1);
        const Printed::Sheet sheet = sheetOf({picture(x, top, 240, 60, 120, 180, [](int c, int r) {
            return r % 3 == 0 || (r >= 30 && c % 3 == 0);
        })});
        const QImage image = drawn(sheet, output, dpi);
        QVERIFY(!image.isNull());
        // A PDF holds the line at its true width; a reader smooths a line
        // finer than its pixels into grey rows (a 1/180 in line at 72 dpi is
        // light grey): some ink is enough there, never white.
        const int most = output == "pdf" ? 240 : 100;
        const int middle = int(1.5 * dpi);
        for (int r = 0; r < 30; r += 3) {
            const double centre = (top + (r + 0.5) * 12) / double(UnitsPerInch) * dpi;
            const int y = int(std::floor(centre));
            const int ink = qMin(grey(image, middle, y), output == "pdf" ? grey(image, middle, y + (centre - y < 0.5 ? -1 : 1)) : 255);
            QVERIFY2(ink <= most, qPrintable(QStringLiteral("line %1: %2").arg(r).arg(ink)));
        }
        const int row = int((top + 45 * 12) / double(UnitsPerInch) * dpi);
        for (int c = 0; c < 240; c += 3) {
            const double centre = (x + (c + 0.5) * 18) / double(UnitsPerInch) * dpi;
            const int px = int(std::floor(centre));
            const int ink = qMin(grey(image, px, row), output == "pdf" ? grey(image, px + (centre - px < 0.5 ? -1 : 1), row) : 255);
            QVERIFY2(ink <= most, qPrintable(QStringLiteral("column %1: %2").arg(c).arg(ink)));
        }
    }

    // A picture narrower than its distance from the sheet's edge (the
    // fuzzer's first find: the dots of such a picture were set past the
    // end of a row's buffer).
    void narrowPictureFarRight_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("dpi");
        for (int dpi : {11, 72, 150})
            QTest::addRow("image at %d dpi", dpi) << "image" << dpi;
        QTest::addRow("png at 72 dpi") << "png" << 72;
    }
    void narrowPictureFarRight()
    {
        QFETCH(QString, output);
        QFETCH(int, dpi);
        const auto all = [](int, int) { return true; };
        const Printed::Sheet sheet = sheetOf({picture(inches(7), inches(1), 3, 3, 60, 72, all),
            picture(inches(4), inches(5), 1, 1, 180, 180, all)});
        const QImage image = drawn(sheet, output, dpi);
        QCOMPARE(grey(image, int(7.02 * dpi), int(1.02 * dpi)), 0);
        QCOMPARE(grey(image, int(4.002 * dpi), int(5.002 * dpi)), 0);
        QCOMPARE(grey(image, int(6.9 * dpi), int(1.02 * dpi)), 255);
    }

    // The rectangles a PDF gets for a mask of dots cover each dot once and
    // nothing else, whatever the runs' places in the bytes.
    void rectanglesCoverTheDots_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("pattern");
        const int widths[] = {1, 7, 8, 9, 63, 64, 65, 130};
        for (int width : widths)
            for (int pattern = 0; pattern < 5; ++pattern)
                QTest::addRow("%d dots, pattern %d", width, pattern) << width << pattern;
    }
    void rectanglesCoverTheDots()
    {
        QFETCH(int, width);
        QFETCH(int, pattern);
        QImage mask(width, 12, QImage::Format_Mono);
        mask.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0)});
        mask.fill(0);
        quint32 seed = 12345u + quint32(width * 7 + pattern);
        qsizetype ink = 0;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < width; ++x) {
                seed = seed * 1103515245u + 12345u;
                const bool on = pattern == 0 ? false
                    : pattern == 1           ? true
                    : pattern == 2           ? (x + y) % 2 == 0
                    : pattern == 3           ? x % 9 < 5 && y % 4 != 3 // runs across byte edges, stacked
                                             : (seed >> 16) % 3 == 0;
                if (on)
                    mask.setPixel(x, y, 1), ++ink;
            }
        QVector<QRect> rectangles;
        PictureRaster::addRectangles(mask, QPoint(3, 5), rectangles);
        QImage covered(width, mask.height(), QImage::Format_Grayscale8);
        covered.fill(0);
        qsizetype area = 0;
        for (const QRect &r : std::as_const(rectangles)) {
            area += qsizetype(r.width()) * r.height();
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    covered.scanLine(y - 5)[x - 3] += 1;
        }
        QCOMPARE(area, ink);
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(int(covered.constScanLine(y)[x]), mask.pixelIndex(x, y));
        // A run with the same ends as one in the row above continues its
        // rectangle (a PDF gets one shape for a solid block, not a row each).
        const auto runsOf = [&](int y) {
            QVector<QPair<int, int>> runs;
            for (int x = 0; x < width;) {
                if (!mask.pixelIndex(x, y)) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < width && mask.pixelIndex(x, y))
                    ++x;
                runs.append({start, x});
            }
            return runs;
        };
        qsizetype opened = 0;
        QVector<QPair<int, int>> above;
        for (int y = 0; y < mask.height(); ++y) {
            const QVector<QPair<int, int>> here = runsOf(y);
            for (const auto &run : here)
                opened += above.contains(run) ? 0 : 1;
            above = here;
        }
        QCOMPARE(rectangles.size(), opened);
    }

    // The rows' inked bytes that dots() reports let the rectangles skip the
    // blank rest of each row; they must be the rectangles of a full scan.
    void inkedRowsGiveTheSameRectangles_data()
    {
        QTest::addColumn<QVector<Printed::Picture>>("pictures");
        const auto every = [](int, int) { return true; };
        const auto sparse = [](int c, int r) { return (c * 7 + r * 3) % 11 == 0; };
        QTest::newRow("far corners") << QVector<Printed::Picture>{
            picture(inches(0.1), inches(0.1), 9, 8, 60, 72, sparse), picture(inches(7), inches(9), 13, 8, 60, 72, every)};
        QTest::newRow("overlapping strips") << QVector<Printed::Picture>{
            picture(inches(1), inches(1), 40, 8, 120, 72, sparse), picture(inches(1.05), inches(1.05), 40, 8, 120, 72, every),
            picture(inches(1), inches(1.1), 70, 24, 180, 180, sparse)};
        QTest::newRow("byte edges") << QVector<Printed::Picture>{
            picture(inches(2), inches(2), 65, 9, 240, 72, [](int c, int) { return c % 9 < 5; })};
    }
    void inkedRowsGiveTheSameRectangles()
    {
        QFETCH(QVector<Printed::Picture>, pictures);
        const double toCell = 1.0 / 2; // cells of 2 units
        const QRect area = PictureRaster::bounds(pictures, QPointF(0, 0), toCell, toCell);
        std::vector<PictureRaster::RowInk> inked;
        const QImage mask = PictureRaster::dots(pictures, QPointF(0, 0), toCell, toCell, area, &inked);
        QCOMPARE(qsizetype(inked.size()), qsizetype(mask.height()));
        QVector<QRect> skipping, full;
        PictureRaster::addRectangles(mask, area.topLeft(), skipping, &inked);
        PictureRaster::addRectangles(mask, area.topLeft(), full);
        QVERIFY(!full.isEmpty());
        QCOMPARE(skipping, full);
    }

    // The mask a PDF's picture shapes are found in is kept blank from one
    // sheet to the next: a sheet written after one full of ink has its own
    // dots alone, as when it is written by itself.
    void nextSheetHasItsOwnDots()
    {
        const Printed::Sheet full = sheetOf({picture(inches(1), inches(1), 300, 240, 60, 72, [](int, int) { return true; })});
        const Printed::Sheet diagonal
            = sheetOf({picture(inches(1), inches(1), 300, 240, 60, 72, [](int c, int r) { return c == r; })});
        QTemporaryDir dir;
        QString error;
        PdfOptions options;
        options.paper = PdfPaper::Letter;
        options.pages = {0, 1};
        QVERIFY2(PrintedPdfExport::save(dir.filePath("two.pdf"), [&](int i) { return i == 0 ? full : diagonal; },
                     options, &error),
            qPrintable(error));
        options.pages = {0};
        QVERIFY2(PrintedPdfExport::save(dir.filePath("one.pdf"), [&](int) { return diagonal; }, options, &error),
            qPrintable(error));
        TestSupport::runTool("pdftoppm",
            {"-r", "40", "-gray", "-f", "2", "-l", "2", "-singlefile", dir.filePath("two.pdf"), dir.filePath("two")});
        TestSupport::runTool("pdftoppm", {"-r", "40", "-gray", "-singlefile", dir.filePath("one.pdf"), dir.filePath("one")});
        const QImage after(dir.filePath("two.pgm")), alone(dir.filePath("one.pgm"));
        QVERIFY(!alone.isNull());
        QCOMPARE(after, alone);
        QVERIFY(grey(alone.convertToFormat(QImage::Format_Grayscale8), 60, 45) > 200); // off the diagonal: paper
    }

    // Pictures printed in colours (ESC r) in every output: each in its ink,
    // and dots struck in several colours show the inks laid over each
    // other (black covers them), whichever is printed last; pictures that
    // only touch keep their own colours. An inch-square picture of every
    // dot for each colour, printed at 1 in down and `across` inches.
    void coloursLaidOver_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QVector<int>>("colours");
        QTest::addColumn<QVector<double>>("across");
        QTest::addColumn<QVector<int>>("inks"); // InkBand sets at 1.25, 1.75, 2.25 and 2.75 in across; 0 blank
        const int M = PrintedRenderer::MagentaBand, C = PrintedRenderer::CyanBand, Y = PrintedRenderer::YellowBand,
                  K = PrintedRenderer::BlackBand;
        for (const char *output : {"image", "png", "pdf"}) {
            const auto row = [&](const char *name) -> QTestData & { return QTest::addRow("%s: %s", output, name) << QString(output); };
            row("magenta") << QVector<int>{1} << QVector<double>{1} << QVector<int>{M, M, 0, 0};
            row("violet, one band") << QVector<int>{3} << QVector<double>{1} << QVector<int>{M | C, M | C, 0, 0};
            row("green, one band") << QVector<int>{6} << QVector<double>{1} << QVector<int>{C | Y, C | Y, 0, 0};
            row("magenta, then cyan over half") << QVector<int>{1, 2} << QVector<double>{1, 1.5}
                                                << QVector<int>{M, M | C, C, 0};
            row("cyan, then magenta over half") << QVector<int>{2, 1} << QVector<double>{1, 1.5}
                                                << QVector<int>{C, M | C, M, 0};
            row("yellow, magenta, cyan") << QVector<int>{4, 1, 2} << QVector<double>{1, 1.5, 1.5}
                                         << QVector<int>{Y, M | C | Y, M | C, 0};
            row("orange over cyan") << QVector<int>{5, 2} << QVector<double>{1, 1.5} << QVector<int>{M | Y, M | C | Y, C, 0};
            row("black under yellow") << QVector<int>{0, 4} << QVector<double>{1, 1.5} << QVector<int>{K, K, Y, 0};
            row("magenta beside cyan") << QVector<int>{1, 2} << QVector<double>{1, 2} << QVector<int>{M, M, C, C};
        }
    }
    void coloursLaidOver()
    {
        QFETCH(QString, output);
        QFETCH(QVector<int>, colours);
        QFETCH(QVector<double>, across);
        QFETCH(QVector<int>, inks);
        QVector<Printed::Picture> pictures;
        for (qsizetype i = 0; i < colours.size(); ++i) {
            pictures.append(picture(inches(across[i]), inches(1), 60, 72, 60, 72, [](int, int) { return true; }));
            pictures.last().color = quint8(colours[i]);
        }
        const int dpi = 72;
        const QImage image = drawnInColour(sheetOf(pictures), output, dpi);
        QVERIFY(!image.isNull());
        for (int k = 0; k < 4; ++k) {
            const QRgb want = inks[k] ? PrintedRenderer::inkOfBands(inks[k]).rgb() : qRgb(255, 255, 255);
            const QString fault = colourAt(image, 1.25 + 0.5 * k, 1.5, dpi, want, output == "pdf" ? 3 : 0);
            QVERIFY2(fault.isEmpty(), qPrintable(fault));
        }
    }

    // Dots of two inks side by side, finer than the pixels (a colour driver's
    // dithering at a lower resolution): a pixel shows the mean of their
    // inks, as a PDF viewer does, not the inks laid over each other (cyan
    // beside yellow read as solid green). A square inch checkered in cyan
    // and yellow at 180 dpi, and beside it one in cyan alone.
    void coloursFinerThanPixels_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("dpi");
        for (const char *output : {"image", "png"}) {
            for (int dpi : {50, 72, 150})
                QTest::addRow("%s at %d dpi", output, dpi) << QString(output) << dpi;
        }
    }
    void coloursFinerThanPixels()
    {
        QFETCH(QString, output);
        QFETCH(int, dpi);
        const auto checkered = [](int colour, int odd) {
            Printed::Picture p = picture(inches(1), inches(1), 180, 180, 180, 180,
                [odd](int c, int r) { return (c + r) % 2 == odd; });
            p.color = quint8(colour);
            return p;
        };
        Printed::Picture alone = picture(inches(2), inches(1), 180, 180, 180, 180, [](int, int) { return true; });
        alone.color = 2;
        const QImage image = drawnInColour(sheetOf({checkered(2, 0), checkered(4, 1), alone}), output, dpi);
        QVERIFY(!image.isNull());
        const QColor cyan = PrintedRenderer::inkOfBands(PrintedRenderer::CyanBand);
        const QColor yellow = PrintedRenderer::inkOfBands(PrintedRenderer::YellowBand);
        const QRgb mean = qRgb((cyan.red() + yellow.red()) / 2, (cyan.green() + yellow.green()) / 2,
            (cyan.blue() + yellow.blue()) / 2);
        // Over the checkered square's middle half inch: the mean, and not
        // one pixel of the inks laid over each other.
        const QRgb laidOver = PrintedRenderer::inkOfBands(PrintedRenderer::CyanBand | PrintedRenderer::YellowBand).rgb();
        qint64 sum[3] = {};
        int pixels = 0;
        for (int y = int(1.25 * dpi); y < int(1.75 * dpi); ++y) {
            for (int x = int(1.25 * dpi); x < int(1.75 * dpi); ++x) {
                const QRgb got = image.pixel(x, y);
                QVERIFY2(got != laidOver, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
                sum[0] += qRed(got);
                sum[1] += qGreen(got);
                sum[2] += qBlue(got);
                ++pixels;
            }
        }
        QImage average(1, 1, QImage::Format_RGB32);
        average.setPixel(0, 0, qRgb(int(sum[0] / pixels), int(sum[1] / pixels), int(sum[2] / pixels)));
        QString fault = colourAt(average, 0, 0, dpi, mean, 14);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        fault = colourAt(image, 2.5, 1.5, dpi, cyan.rgb(), 0);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // A picture that would make over a million rectangles (checkered dots,
    // as dithering makes) goes into a PDF as images of its dots, in bands:
    // the ink black (or in its colours, kept exact), the blanks still
    // showing what lies below, no seam between the bands, and the file small.
    void tooManyShapesGoAsImages_data()
    {
        QTest::addColumn<bool>("colours"); // magenta, its block struck again in cyan
        QTest::newRow("black") << false;
        QTest::newRow("magenta, then cyan") << true;
    }
    void tooManyShapesGoAsImages()
    {
        QFETCH(bool, colours);
        const auto dots = [](int c, int r) {
            if (c < 2200)
                return r < 1000 && (c + r) % 2 == 0; // 1,100,000 runs of one dot, and below them nothing
            return c >= 2250; // a solid block from top to bottom, across the bands
        };
        Printed::Sheet sheet = sheetOf({picture(inches(1), inches(1), 2400, 4000, 720, 720, dots)});
        if (colours) {
            sheet.pictures.first().color = 1;
            sheet.pictures.append(picture(inches(1), inches(1), 2400, 4000, 720, 720, [](int c, int) { return c >= 2250; }));
            sheet.pictures.last().color = 2;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("dots.pdf");
        {
            QPdfWriter writer(path);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setResolution(1200);
            QPainter painter(&writer);
            painter.fillRect(QRect(0, 0, writer.width(), writer.height()), QColor(128, 128, 128));
            PrintedRenderer().draw(painter, sheet, QPointF(0, 0), 1200.0 / UnitsPerInch);
        }
        QVERIFY2(QFileInfo(path).size() < 2'000'000, qPrintable(QString::number(QFileInfo(path).size())));
        const int dpi = 150;
        if (colours) {
            // The images keep their inks exact (not as JPEG).
            const QString images = TestSupport::runTool("pdfimages", {"-list", path});
            QVERIFY2(images.contains(" rgb ") && !images.contains("jpeg"), qPrintable(images));
            TestSupport::runTool("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", path, dir.filePath("c")});
            const QImage image(dir.filePath("c.png"));
            QVERIFY(!image.isNull());
            const QRgb violet = PrintedRenderer::inkOfBands(PrintedRenderer::MagentaBand | PrintedRenderer::CyanBand).rgb();
            for (double down : {1.2, 2.5, 4.5, 6.3}) {
                const QString fault = colourAt(image, 1 + 2325 / 720.0, down, dpi, violet, 3);
                QVERIFY2(fault.isEmpty(), qPrintable("the block: " + fault));
            }
            // The checkered dots: magenta and the grey between, never violet.
            const QRgb magenta = PrintedRenderer::inkOfBands(PrintedRenderer::MagentaBand).rgb();
            const QRgb mixed = image.pixel(int(1.5 * dpi), int(1.5 * dpi));
            const auto between = [](int a, int b, int v) { return v >= qMin(a, b) - 3 && v <= qMax(a, b) + 3; };
            QVERIFY2(between(qRed(magenta), 128, qRed(mixed)) && between(qGreen(magenta), 128, qGreen(mixed))
                    && between(qBlue(magenta), 128, qBlue(mixed)),
                qPrintable(QColor(mixed).name()));
            QVERIFY2(colourAt(image, 0.5, 0.5, dpi, qRgb(128, 128, 128), 3).isEmpty(), "outside the picture, the grey shows");
            return;
        }
        TestSupport::runTool("pdftoppm", {"-r", QString::number(dpi), "-gray", "-singlefile", path, dir.filePath("p")});
        const QImage image = QImage(dir.filePath("p.pgm")).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(!image.isNull());
        const auto at = [&](double x, double y) { return grey(image, int(x * dpi), int(y * dpi)); };
        QVERIFY2(solid(image, QRectF(1 + 2250 / 720.0, 1, 150 / 720.0, 4000 / 720.0), dpi).isEmpty(),
            qPrintable(solid(image, QRectF(1 + 2250 / 720.0, 1, 150 / 720.0, 4000 / 720.0), dpi)));
        QVERIFY2(qAbs(at(1 + 1000 / 720.0, 1 + 3000 / 720.0) - 128) < 8, "below the dots, the grey shows");
        QVERIFY2(qAbs(at(0.5, 0.5) - 128) < 8, "outside the picture, the grey shows");
    }

    // A long form at a high resolution is drawn in bands: the picture that
    // crosses their borders is whole.
    void tallSheetInBands()
    {
        Printed::Sheet sheet = sheetOf({picture(inches(1), inches(20), 120, 288, 60, 72, [](int, int) { return true; })});
        sheet.height = inches(44);
        const QImage image = drawn(sheet, "png", 150);
        QCOMPARE(image.size(), QSize(1275, 6600));
        QVERIFY2(solid(image, QRectF(1, 20, 2, 4), 150).isEmpty(), qPrintable(solid(image, QRectF(1, 20, 2, 4), 150)));
        QCOMPARE(grey(image, 200, 2990), 255);
        QCOMPARE(grey(image, 200, 3610), 255);
    }

    // A cell far wider than any pitch (ESC c of 120 in, ESC SP) at the
    // lowest resolutions.
    void hugeCells_data()
    {
        QTest::addColumn<int>("dpi");
        for (int dpi = 10; dpi <= 13; ++dpi)
            QTest::addRow("%d dpi", dpi) << dpi;
    }
    void hugeCells()
    {
        QFETCH(int, dpi);
        Printed::TextRun run;
        run.x = 0;
        run.baseline = 240;
        run.text = QStringLiteral("AB");
        run.style.advance = 0xA9FF * 6;
        Printed::Sheet sheet = sheetOf({});
        sheet.runs = {run};
        const QImage image = drawn(sheet, "image", dpi);
        QVERIFY(!image.isNull());
    }

    void fitsByWhatPrints_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("underline");
        QTest::addColumn<double>("right"); // inches
        QTest::newRow("trailing blanks print nothing") << QString("AB") + QString(100, ' ') << false << 0.2;
        QTest::newRow("underlined blanks print") << QString("AB") + QString(8, ' ') << true << 1.0;
        QTest::newRow("only blanks") << QString(80, ' ') << false << 0.0;
    }
    void fitsByWhatPrints()
    {
        QFETCH(QString, text);
        QFETCH(bool, underline);
        QFETCH(double, right);
        Printed::TextRun run;
        run.baseline = 240;
        run.text = text;
        run.style.underline = underline;
        Printed::Sheet sheet = sheetOf({});
        sheet.runs = {run};
        QCOMPARE(PrintedRenderer::usedSize(sheet).width(), right * UnitsPerInch);
    }

    // A sheet whose pictures or text did not all fit its budget is not
    // written without them, and the message says which.
    void overBudgetRefused_data()
    {
        QTest::addColumn<bool>("text");
        QTest::addColumn<QString>("cause");
        QTest::newRow("pictures") << false << "pictures than the 256 MB";
        QTest::newRow("text") << true << "524288 runs of text";
    }
    void overBudgetRefused()
    {
        QFETCH(bool, text);
        QFETCH(QString, cause);
        Printed::Sheet sheet = sheetOf({});
        sheet.overBudget = true;
        sheet.textOverBudget = text;
        QTemporaryDir dir;
        QString error;
        PdfOptions pdf;
        pdf.pages = {0, 2};
        QVERIFY(!PrintedPdfExport::save(dir.filePath("s.pdf"), [&](int i) { return i == 2 ? sheet : sheetOf({}); }, pdf, &error));
        QVERIFY2(error.contains("sheet 3") && error.contains(cause), qPrintable(error));
        PngOptions png;
        png.pages = {0, 2};
        QVERIFY(!PngExport::save(dir.filePath("s.png"), [&](int i) { return i == 2 ? sheet : sheetOf({}); }, png, &error));
        QVERIFY2(error.contains("sheet 3") && error.contains(cause), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(TestPictureDots)
#include "tst_picturedots.moc"
