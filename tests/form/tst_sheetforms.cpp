// Forms under the printed look: read and checked, drawn by the printed
// renderer (pictures, the screen's and printers' path), laid under a PDF's
// pages by qpdf, read back with the poppler tools and qpdf.
#include "TestSupport.h"
#include "escp/SheetIndex.h"
#include "export/ReportExporter.h"
#include "form/SheetForms.h"
#include "render/PrintedRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double PointsPerMm = 72.0 / 25.4;

// A one-page A4 PDF form: a filled box `box` (mm from the top left) in a
// colour, and the words FORMTEXT as real text at its top; with `noise`, a
// picture of random grey too, so that the form has a size worth measuring.
QString makePdfForm(const QString &path, const QColor &colour, const QRectF &box, bool noise = false,
    int pages = 1, QPageSize::PageSizeId size = QPageSize::A4)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(size));
    writer.setPageMargins(QMarginsF());
    writer.setResolution(72); // points
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        const QRectF points(box.topLeft() * PointsPerMm, box.size() * PointsPerMm);
        painter.fillRect(points, colour);
        painter.setPen(Qt::black);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(14);
        painter.setFont(font);
        painter.drawText(QPointF(40, 40), page == 0 ? QStringLiteral("FORMTEXT") : QStringLiteral("PAGETWO"));
        if (noise) {
            QImage grain(200, 200, QImage::Format_Grayscale8);
            for (int y = 0; y < grain.height(); ++y)
                for (int x = 0; x < grain.width(); ++x)
                    grain.scanLine(y)[x] = uchar(QRandomGenerator::global()->bounded(256));
            painter.drawImage(QRectF(300, 700, 100, 100), grain);
        }
    }
    painter.end();
    return path;
}

// An image form of `size` pixels at `dpi`, one colour, saved as PNG or JPEG.
QString makeImageForm(const QString &path, const QColor &colour, const QSize &size, int dpi)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    if (!image.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A job of `sheets` sheets, each with a line of text near its top left.
QByteArray job(int sheets)
{
    QByteArray bytes;
    for (int i = 1; i <= sheets; ++i)
        bytes += "JOBTEXT " + QByteArray::number(i) + "\r\n" + (i < sheets ? "\f" : "");
    return bytes;
}

struct Job
{
    QByteArray bytes;
    SheetIndex document;
    explicit Job(int sheets)
        : bytes(job(sheets))
    {
        PrinterSetup setup;
        setup.carriageInches = 8.0;
        setup.formLengthInches = 11.0;
        document.build(QByteArrayView(bytes), setup);
    }
};

bool exportJob(const Job &job, ExportFormat format, const QString &out, const SheetForms &forms,
    QString *error, const PdfDocumentInfo &info = {}, int dpi = 50)
{
    ExportRequest request;
    request.printFile = QStringLiteral("job.prn");
    request.source = PageSource::sheetsOf(
        PageTable(), [&job](int i) { return job.document.sheet(i); }, job.document.sheetCount());
    for (int i = 0; i < job.document.sheetCount(); ++i)
        request.chosen.append(i);
    request.render.forms = forms;
    request.pdfInfo = info;
    request.dpi = dpi;
    return exportReport(format, request, {out, nullptr, QString()}, error);
}

SheetForms loaded(const FormChoice &choice)
{
    SheetForms forms;
    QString error;
    if (!SheetForms::load(choice, &forms, &error))
        qFatal("%s", qPrintable(error));
    return forms;
}

// Page `page` (1-based) of a PDF as an image at `dpi`.
QImage pdfPage(const QString &pdf, int page, int dpi)
{
    const QString base = QFileInfo(pdf).absolutePath() + QStringLiteral("/page");
    TestSupport::runTool(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page),
            QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), QStringLiteral("-png"),
            pdf, base});
    QImage image(base + QStringLiteral(".png"));
    QFile::remove(base + QStringLiteral(".png"));
    return image;
}

QColor at(const QImage &image, QPointF mm, int dpi)
{
    return image.pixelColor(QPoint(qRound(mm.x() / 25.4 * dpi), qRound(mm.y() / 25.4 * dpi)));
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

// The darkest pixel of a rectangle (mm) of the image.
int darkest(const QImage &image, const QRectF &mm, int dpi)
{
    int least = 255;
    const QRect pixels(QPoint(qRound(mm.left() / 25.4 * dpi), qRound(mm.top() / 25.4 * dpi)),
        QPoint(qRound(mm.right() / 25.4 * dpi), qRound(mm.bottom() / 25.4 * dpi)));
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            least = qMin(least, qGray(image.pixel(x, y)));
    return least;
}

// A one-bit grey PNG that says it is of that size, with no rows in it.
QByteArray hugePngHead(quint32 width, quint32 height)
{
    const auto big = [](quint32 v) {
        const char bytes[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
        return QByteArray(bytes, 4);
    };
    const auto chunk = [&big](const QByteArray &type, const QByteArray &data) {
        quint32 crc = 0xffffffff;
        for (const char c : type + data) {
            crc ^= quint8(c);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
        }
        return big(quint32(data.size())) + type + data + big(~crc);
    };
    return QByteArray("\x89PNG\r\n\x1a\n", 8)
        + chunk("IHDR", big(width) + big(height) + QByteArray("\x01\0\0\0\0", 5))
        + chunk("IDAT", QByteArray("\x78\x9c\x03\0\0\0\0\x01", 8)) + chunk("IEND", QByteArray());
}

const QColor Yellow(255, 230, 0);
const QColor Blue(40, 80, 220);
const QRectF TopBox(0, 0, 150, 40);      // mm: under the job's first lines
const QRectF LowBox(20, 200, 100, 50);   // mm: where the job has no ink

} // namespace

class TestSheetForms : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::init();
        QVERIFY(m_dir.isValid());
        m_yellow = makePdfForm(path("yellow.pdf"), Yellow, TopBox);
        m_blue = makePdfForm(path("blue.pdf"), Blue, LowBox, false, 2);
    }

    void choiceText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("next");
        QTest::newRow("one form under every sheet") << "a.pdf" << "a.pdf" << "a.pdf";
        QTest::newRow("first and next") << "a.pdf,b.png" << "a.pdf" << "b.png";
        QTest::newRow("first only") << "a.pdf," << "a.pdf" << "";
        QTest::newRow("next only") << ",b.pdf" << "" << "b.pdf";
        QTest::newRow("none") << "," << "" << "";
        QTest::newRow("a comma in a folder's name") << "/x,y/a.pdf,b.pdf" << "/x,y/a.pdf" << "b.pdf";
    }
    void choiceText()
    {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QString, next);
        const FormChoice choice = FormChoice::fromFormsText(text);
        QCOMPARE(choice.first, first);
        QCOMPARE(choice.next, next);
    }

    void offsetText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("whole") << "3,-4" << true << QPointF(3, -4);
        QTest::newRow("decimals, blanks") << " 1.5 , 0.25 " << true << QPointF(1.5, 0.25);
        QTest::newRow("at the limit") << "1000,-1000" << true << QPointF(1000, -1000);
        QTest::newRow("beyond the limit") << "1000.5,0" << false << QPointF();
        QTest::newRow("nan") << "nan,0" << false << QPointF();
        QTest::newRow("infinity") << "0,inf" << false << QPointF();
        QTest::newRow("one number") << "5" << false << QPointF();
        QTest::newRow("three numbers") << "1,2,3" << false << QPointF();
        QTest::newRow("words") << "left,top" << false << QPointF();
        QTest::newRow("empty") << "" << false << QPointF();
    }
    void offsetText()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QPointF, offset);
        QPointF read(-9, -9);
        QString error;
        QCOMPARE(FormChoice::offsetFromText(text, &read, &error), valid);
        if (valid)
            QCOMPARE(read, offset);
        else
            QVERIFY2(error.contains(text) && read == QPointF(-9, -9), qPrintable(error));
    }

    // Each bad form is refused on load with its file and the cause.
    void badForms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // empty: not made
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing") << "missing.pdf" << QByteArray() << "does not exist";
        QTest::newRow("text") << "notes.pdf" << QByteArray("just some text\n") << "is not a PDF, PNG or JPEG";
        QTest::newRow("damaged PDF") << "damaged.pdf" << QByteArray("%PDF-1.4\n1 0 obj garbage\n%%EOF\n")
                                     << "cannot be read as a PDF";
        QTest::newRow("PDF of no page")
            << "empty.pdf"
            << QByteArray("%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                          "2 0 obj << /Type /Pages /Kids [] /Count 0 >> endobj\n"
                          "trailer << /Root 1 0 R /Size 3 >>\n%%EOF\n")
            << "has no page";
        QTest::newRow("damaged PNG") << "cut.png" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                     << "cannot be read as an image";
        QTest::newRow("damaged JPEG") << "cut.jpg" << QByteArray("\xff\xd8\xff\xe0\0\x10JFIF", 10)
                                      << "cannot be read as an image";
        QTest::newRow("an image larger than Qt reads") << "huge.png" << hugePngHead(60000, 60000)
                                                       << "is an image too large to be read (60000 x 60000 pixels, more than 134 million;";
        QTest::newRow("a folder") << "folder" << QByteArray("dir") << "is not a regular file";
        QTest::newRow("no such page") << "yellow.pdf#page=3" << QByteArray() << "has no page 3 (it has 1)";
        QTest::newRow("a page of no number") << "yellow.pdf#page=x" << QByteArray() << "\"#page=x\" names no page";
    }
    void badForms()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, cause);
        const QString file = path(name);
        if (bytes == "dir")
            QDir().mkpath(file);
        else if (!bytes.isEmpty())
            TestSupport::writeFile(file, bytes);
        for (const FormChoice &choice : {FormChoice {file, QString(), {}}, FormChoice {QString(), file, {}}}) {
            SheetForms forms;
            QString error;
            QVERIFY(!SheetForms::load(choice, &forms, &error));
            QVERIFY2(error.contains(QDir::toNativeSeparators(file.section('#', 0, 0))), qPrintable(error));
            QVERIFY2(error.contains(cause), qPrintable(error));
        }
        // Beside a good one, the bad one alone is left out (a view had
        // dropped both).
        QStringList errors;
        const SheetForms usable = SheetForms::loadUsable(FormChoice {file, m_yellow, {}}, &errors);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(cause), qPrintable(errors.first()));
        QVERIFY(!usable.forSheet(0));
        QVERIFY(usable.forSheet(1) && usable.forSheet(1)->filePath() == m_yellow);
    }

    void pageChoice()
    {
        QString error;
        auto second = FormPage::load(m_blue + QStringLiteral("#page=2"), &error);
        QVERIFY2(second, qPrintable(error));
        QCOMPARE(second->pageIndex(), 1);
        QCOMPARE(second->filePath(), m_blue);
        QVERIFY(qAbs(second->sizePoints().width() - 595.3) < 1);
    }

    // An image is as large as its resolution says.
    void imageSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("PNG at 150 dpi") << "f150.png" << 150 << QSize(600, 300);
        QTest::newRow("JPEG at 300 dpi") << "f300.jpg" << 300 << QSize(600, 300);
        // Past Qt's own limit of 128 MB (it had been refused as too large).
        QTest::newRow("A4 letterhead scanned at 600 dpi") << "a4-600.jpg" << 600 << QSize(4961, 7016);
    }
    void imageSize()
    {
        QFETCH(QString, name);
        QFETCH(int, dpi);
        QFETCH(QSize, pixels);
        const QString file = makeImageForm(path(name), Blue, pixels, dpi);
        QString error;
        auto form = FormPage::load(file, &error);
        QVERIFY2(form, qPrintable(error));
        QCOMPARE(form->kind(), FormPage::Kind::Image);
        QVERIFY(qAbs(form->sizePoints().width() - pixels.width() * 72.0 / dpi) < 0.5);
        QVERIFY(qAbs(form->sizePoints().height() - pixels.height() * 72.0 / dpi) < 0.5);
    }

    // The renderer (the screen's, the printers' and the pictures' path)
    // draws the form under the job, moved by the offset.
    void rendererDrawsFormUnderJob()
    {
        Job job(2);
        FormChoice choice {m_yellow, m_blue, QPointF(10, 0)};
        PrintedRenderer renderer;
        renderer.setForms(loaded(choice));
        constexpr int Dpi = 72;
        for (int i = 0; i < 2; ++i) {
            const Printed::Sheet sheet = job.document.sheet(i);
            QImage image(qRound(8.0 * Dpi), 11 * Dpi, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            renderer.draw(painter, sheet, QPointF(0, 0), double(Dpi) / Printed::UnitsPerInch);
            painter.end();
            if (i == 0) {
                QVERIFY(near(at(image, QPointF(100, 30), Dpi), Yellow));
                QVERIFY(near(at(image, QPointF(5, 30), Dpi), Qt::white)); // moved 10 mm right
                QVERIFY(darkest(image, QRectF(11, 0.5, 10, 3.5), Dpi) < 100); // the job's text above it
            } else {
                QVERIFY(near(at(image, QPointF(80, 230), Dpi), Blue));
                QVERIFY(near(at(image, QPointF(100, 30), Dpi), Qt::white));
            }
        }
    }

    void pdfWithForms_data()
    {
        QTest::addColumn<QString>("forms");
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<QStringList>("colours"); // of each page at the two boxes: "y", "b" or "-"
        QTest::newRow("first and next") << "yellow,blue" << QPointF() << QStringList {"y-", "-b", "-b"};
        QTest::newRow("one under every sheet") << "yellow" << QPointF() << QStringList {"y-", "y-", "y-"};
        QTest::newRow("next only") << ",blue" << QPointF() << QStringList {"--", "-b", "-b"};
        QTest::newRow("first only") << "yellow," << QPointF() << QStringList {"y-", "--", "--"};
        QTest::newRow("moved away") << "yellow,blue" << QPointF(0, 60) << QStringList {"--", "--", "--"};
        QTest::newRow("image forms") << "yellow.png,blue.jpg" << QPointF() << QStringList {"y-", "-b", "-b"};
    }
    void pdfWithForms()
    {
        QFETCH(QString, forms);
        QFETCH(QPointF, offset);
        QFETCH(QStringList, colours);
        makeImageForm(path("yellow.png"), Yellow, QSize(150 * 4, 40 * 4), qRound(25.4 * 4));
        QImage blue(210 * 2, 297 * 2, QImage::Format_RGB32); // an A4 at 2 dots a millimetre
        blue.fill(Qt::white);
        QPainter(&blue).fillRect(QRectF(LowBox.topLeft() * 2, LowBox.size() * 2), Blue);
        blue.setDotsPerMeterX(2000);
        blue.setDotsPerMeterY(2000);
        QVERIFY(blue.save(path("blue.jpg"), "jpeg", 95));

        FormChoice choice = FormChoice::fromFormsText(forms);
        for (QString *name : {&choice.first, &choice.next}) {
            if (!name->isEmpty())
                *name = path(name->contains('.') ? *name : *name + QStringLiteral(".pdf"));
        }
        choice.offsetMillimetres = offset;
        Job job(3);
        const QString out = path(QStringLiteral("out-%1.pdf").arg(QTest::currentDataTag()).replace(' ', '-'));
        QString error;
        QVERIFY2(exportJob(job, ExportFormat::Pdf, out, loaded(choice), &error), qPrintable(error));
        QVERIFY(TestSupport::pdfIsValid(out));
        const QString text = TestSupport::pdfText(out, false);
        QCOMPARE(text.count(QStringLiteral("JOBTEXT")), 3);
        if (choice.first.endsWith(QLatin1String("yellow.pdf")) && offset.isNull())
            QVERIFY2(text.contains(QStringLiteral("FORMTEXT")), qPrintable(text)); // the form's text stays text
        constexpr int Dpi = 40;
        for (int page = 0; page < 3; ++page) {
            const QImage image = pdfPage(out, page + 1, Dpi);
            QVERIFY(!image.isNull());
            const QString seen = QString(near(at(image, QPointF(120, 25), Dpi), Yellow) ? 'y' : '-')
                + (near(at(image, QPointF(60, 230), Dpi), Blue) ? 'b' : '-');
            QCOMPARE(seen, colours.at(page));
            // The job's text lies above the form.
            QVERIFY(darkest(image, QRectF(2, 2, 40, 10), Dpi) < 100);
        }
    }

    // A form is stored once however many sheets show it.
    void pdfStoresFormOnce()
    {
        const QString heavy = makePdfForm(path("heavy.pdf"), Yellow, TopBox, true);
        const qint64 formSize = QFileInfo(heavy).size();
        QVERIFY(formSize > 20000);
        Job job(100);
        QString error;
        QVERIFY2(exportJob(job, ExportFormat::Pdf, path("plain100.pdf"), SheetForms(), &error), qPrintable(error));
        QVERIFY2(exportJob(job, ExportFormat::Pdf, path("form100.pdf"), loaded({heavy, heavy, {}}), &error),
            qPrintable(error));
        QVERIFY(TestSupport::pdfIsValid(path("form100.pdf")));
        const qint64 grown = QFileInfo(path("form100.pdf")).size() - QFileInfo(path("plain100.pdf")).size();
        // Beyond the form, a sheet costs its form's name and a reference to
        // the one stream that draws the form, shared by every page.
        QVERIFY2(grown > formSize / 2 && grown < formSize + 100 * 60,
            qPrintable(QStringLiteral("grown by %1 for a form of %2").arg(grown).arg(formSize)));
        const QJsonDocument pages = QJsonDocument::fromJson(TestSupport::runTool(QStringLiteral("qpdf"),
            {QStringLiteral("--json"), QStringLiteral("--json-key=pages"), path("form100.pdf")}).toUtf8());
        QSet<QString> drawings;
        for (const QJsonValue &page : pages.object().value(QStringLiteral("pages")).toArray())
            drawings.insert(page.toObject().value(QStringLiteral("contents")).toArray().first().toString());
        QCOMPARE(drawings.size(), 1);
        QCOMPARE(TestSupport::pdfText(path("form100.pdf"), false).count(QStringLiteral("FORMTEXT")), 100);
    }

    void pdfInformation()
    {
        Job job(1);
        QString error;
        const PdfDocumentInfo info {QStringLiteral("Invoice REI42"), QStringLiteral("Rechnung für Anna"),
            QStringLiteral("invoice, REI42")};
        for (const bool withForm : {false, true}) {
            const QString out = path(withForm ? "info-form.pdf" : "info.pdf");
            QVERIFY2(exportJob(job, ExportFormat::Pdf, out, withForm ? loaded({m_yellow, {}, {}}) : SheetForms(),
                         &error, info),
                qPrintable(error));
            QVERIFY(TestSupport::pdfIsValid(out));
            const QString shown = TestSupport::runTool(QStringLiteral("pdfinfo"), {out});
            QVERIFY2(shown.contains(QStringLiteral("Title:           Invoice REI42")), qPrintable(shown));
            QVERIFY2(shown.contains(QStringLiteral("Subject:         Rechnung für Anna")), qPrintable(shown));
            QVERIFY2(shown.contains(QStringLiteral("Keywords:        invoice, REI42")), qPrintable(shown));
        }
    }

    void picturesWithForms()
    {
        Job job(2);
        QString error;
        const QString out = path("sheet.png");
        QVERIFY2(exportJob(job, ExportFormat::Png, out, loaded({m_yellow, m_blue, {}}), &error, {}, 40),
            qPrintable(error));
        const QImage first(path("sheet-001.png")), second(path("sheet-002.png"));
        QVERIFY(!first.isNull() && !second.isNull());
        QVERIFY(near(at(first, QPointF(120, 25), 40), Yellow));
        QVERIFY(darkest(first, QRectF(2, 2, 40, 10), 40) < 100);
        QVERIFY(near(at(second, QPointF(60, 230), 40), Blue));
        QVERIFY(near(at(second, QPointF(120, 25), 40), Qt::white));
    }

    // A form far larger than the sheet (a plan of A0 or A1) made at a
    // printer's resolution would take gigabytes whole, more than poppler
    // makes: it is made where the sheet shows it, band by band, and
    // lies where it belongs in each band.
    void largeFormsAtHighResolution_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("dpi");
        QTest::newRow("A0 at 600 dpi") << int(QPageSize::A0) << 600;
        QTest::newRow("A1 at 450 dpi") << int(QPageSize::A1) << 450;
        QTest::newRow("A4 at 600 dpi, made whole") << int(QPageSize::A4) << 600;
    }
    void largeFormsAtHighResolution()
    {
        QFETCH(int, size);
        QFETCH(int, dpi);
        const QString form = makePdfForm(path(QStringLiteral("plan%1.pdf").arg(size)), Blue, LowBox, false, 1,
            QPageSize::PageSizeId(size));
        Job job(1);
        QString error;
        const QString out = path(QStringLiteral("plan%1.png").arg(size));
        QVERIFY2(exportJob(job, ExportFormat::Png, out, loaded({form, {}, {}}), &error, {}, dpi), qPrintable(error));
        const QImage sheet(path(QStringLiteral("plan%1-001.png").arg(size)));
        QCOMPARE(sheet.size(), QSize(8 * dpi, 11 * dpi));
        // Inside the box, in several bands, and around it.
        for (const QPointF mm : {QPointF(22, 202), QPointF(60, 225), QPointF(118, 248)})
            QVERIFY2(near(at(sheet, mm, dpi), Blue), qPrintable(QStringLiteral("%1,%2").arg(mm.x()).arg(mm.y())));
        for (const QPointF mm : {QPointF(18, 225), QPointF(122, 225), QPointF(60, 198), QPointF(60, 252)})
            QVERIFY2(near(at(sheet, mm, dpi), Qt::white), qPrintable(QStringLiteral("%1,%2").arg(mm.x()).arg(mm.y())));
        QVERIFY(darkest(sheet, QRectF(2, 2, 40, 10), dpi) < 100); // the job's text
    }

    // A form is drawn as it was read when it was chosen, in every output
    // alike: its file removed, emptied or rewritten since changes nothing.
    void formChangedAfterChoosing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("removed") << "removed";
        QTest::newRow("emptied") << "emptied";
        QTest::newRow("rewritten") << "rewritten";
    }
    void formChangedAfterChoosing()
    {
        QFETCH(QString, change);
        const QString file = makePdfForm(path(change + QStringLiteral(".pdf")), Yellow, TopBox);
        const QString image = makeImageForm(path(change + QStringLiteral(".png")), Blue, QSize(200, 100), 10);
        const SheetForms forms = loaded({file, image, {}});
        for (const QString &name : {file, image}) {
            QFile f(name);
            if (change == QLatin1String("removed"))
                QVERIFY(f.remove());
            else
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            if (change == QLatin1String("rewritten"))
                f.write(QByteArray(5000, 'x'));
        }
        Job job(2);
        QString error;
        const QString out = path(change + QStringLiteral("-out.pdf"));
        QVERIFY2(exportJob(job, ExportFormat::Pdf, out, forms, &error), qPrintable(error));
        QVERIFY(TestSupport::pdfText(out, false).contains(QStringLiteral("FORMTEXT")));
        QVERIFY(near(at(pdfPage(out, 1, 40), QPointF(120, 25), 40), Yellow));
        QVERIFY(near(at(pdfPage(out, 2, 40), QPointF(60, 230), 40), Blue));
        const QString png = path(change + QStringLiteral("-out.png"));
        QVERIFY2(exportJob(job, ExportFormat::Png, png, forms, &error, {}, 40), qPrintable(error));
        QVERIFY(near(at(QImage(path(change + QStringLiteral("-out-001.png"))), QPointF(120, 25), 40), Yellow));
        QVERIFY(near(at(QImage(path(change + QStringLiteral("-out-002.png"))), QPointF(60, 230), 40), Blue));
    }

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_yellow;
    QString m_blue;
};

QTEST_MAIN(TestSheetForms)
#include "tst_sheetforms.moc"
