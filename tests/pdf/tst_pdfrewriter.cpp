// The finishing pass over Qt's own PDF, an object at a time: the same
// bytes for the same drawing, the same text and pages as Qt drew, and
// nothing written for a PDF laid out otherwise.
#include "pdf/PdfFinishing.h"
#include "pdf/PdfRewriter.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

namespace {

// `pages` pages of text in two faces and a picture, as the program's
// writers draw them.
QByteArray qtPdf(int pages = 3)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Sticker2"));
    writer.setTitle(QStringLiteral("report.prn"));
    QPainter painter(&writer);
    QImage picture(40, 8, QImage::Format_Mono);
    picture.fill(0);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        for (int line = 0; line < 20; ++line) {
            QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
            font.setBold(line % 3 == 0);
            painter.setFont(font);
            painter.drawText(QPointF(200, 300 + 250 * line),
                QStringLiteral("Page %1 line %2 Item 00042 pcs 1,234.50").arg(page).arg(line));
        }
        painter.drawImage(QPointF(200, 100), picture);
    }
    painter.end();
    return bytes;
}

QByteArray rewritten(const QByteArray &pdf, const PdfDocumentInfo &info, PdfRewriter::Outcome *outcome)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    *outcome = PdfRewriter::write(std::string_view(pdf.constData(), size_t(pdf.size())), info, buffer, &error);
    return bytes;
}

QString saved(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

} // namespace

class TestPdfRewriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // Each run of Qt's writer makes another first pass (its date, its
    // fonts' objects in a hash table's order); the finished bytes are the
    // same, read as Qt's own: pages, text, pixels.
    void sameBytesAndPagesAsQtDrew()
    {
        QTemporaryDir dir;
        PdfDocumentInfo info;
        info.subject = QStringLiteral("Stock Übersicht");
        info.created = QDateTime(QDate(2024, 3, 5), QTime(6, 7, 8), Qt::UTC);
        const QByteArray original = qtPdf();
        PdfRewriter::Outcome outcome;
        const QByteArray first = rewritten(original, info, &outcome);
        QCOMPARE(outcome, PdfRewriter::Outcome::Written);
        QCOMPARE(rewritten(qtPdf(), info, &outcome), first);

        const QString qtFile = saved(dir, "qt.pdf", original);
        const QString finished = saved(dir, "finished.pdf", first);
        QVERIFY(TestSupport::pdfIsValid(finished));
        QCOMPARE(TestSupport::runTool("pdftotext", {finished, "-"}), TestSupport::runTool("pdftotext", {qtFile, "-"}));
        for (const QString &file : {qtFile, finished})
            TestSupport::runTool("pdftoppm", {"-r", "30", "-gray", file, file});
        for (int page = 1; page <= 3; ++page) {
            const QString name = QStringLiteral(".pdf-%1.pgm").arg(page);
            QCOMPARE(TestSupport::readFile(dir.filePath("finished" + name)), TestSupport::readFile(dir.filePath("qt" + name)));
        }
        const QString information = TestSupport::runTool("pdfinfo", {finished});
        QVERIFY(information.contains(QStringLiteral("Stock Übersicht")));
        QVERIFY(information.contains(QStringLiteral("Title:           report.prn")));
        QVERIFY(first.contains("/CreationDate (D:20240305060708Z)"));
        // The glyphs are shown a run to a string.
        const QString content = TestSupport::runTool("qpdf", {"--qdf", "--object-streams=disable", finished, "-"});
        QVERIFY(content.count(QRegularExpression("T[jJ]\n")) <= 3 * 20 * 2);
    }

    // What qpdf or another writer laid out (object streams, a cross-
    // reference stream) is left to qpdf: nothing is written here.
    void otherLayoutsAreLeftAlone_data()
    {
        QTest::addColumn<QStringList>("qpdfOptions");
        QTest::newRow("object streams") << QStringList {"--object-streams=generate"};
        QTest::newRow("encrypted") << QStringList {"--encrypt", "a", "b", "256", "--"};
    }

    void otherLayoutsAreLeftAlone()
    {
        QFETCH(QStringList, qpdfOptions);
        QTemporaryDir dir;
        const QString qtFile = saved(dir, "qt.pdf", qtPdf());
        const QString other = dir.filePath("other.pdf");
        TestSupport::runTool("qpdf", qpdfOptions + QStringList {qtFile, other});
        PdfRewriter::Outcome outcome;
        const QByteArray bytes = rewritten(TestSupport::readFile(other), PdfDocumentInfo(), &outcome);
        QCOMPARE(outcome, PdfRewriter::Outcome::NotQtsShape);
        QVERIFY(bytes.isEmpty());

        // The finishing pass then goes through qpdf and still finishes it.
        QByteArray finished;
        QBuffer buffer(&finished);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        const bool done = PdfFinishing::finish(other, PdfDocumentInfo(), buffer, &error);
        QVERIFY2(done || qpdfOptions.contains("--encrypt"), qPrintable(error));
    }

    // A long PDF's bytes read are handed back as the pass goes (a map's
    // pages would otherwise all stay resident), and it reads them again.
    void readBytesAreHandedBack()
    {
        const QByteArray pdf = qtPdf(300);
        int handedBack = 0;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        QCOMPARE(PdfRewriter::write(std::string_view(pdf.constData(), size_t(pdf.size())), PdfDocumentInfo(), buffer,
                     &error, [&] { ++handedBack; }),
            PdfRewriter::Outcome::Written);
        QVERIFY2(handedBack >= 4, qPrintable(QString::number(handedBack)));
        QTemporaryDir dir;
        QVERIFY(TestSupport::pdfIsValid(saved(dir, "long.pdf", bytes)));
    }

    // A device that stops taking bytes fails the pass with its cause.
    void failedOutputIsReported()
    {
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        const QByteArray pdf = qtPdf();
        QString error;
        QCOMPARE(PdfRewriter::write(std::string_view(pdf.constData(), size_t(pdf.size())), PdfDocumentInfo(),
                     readOnly, &error),
            PdfRewriter::Outcome::Failed);
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestPdfRewriter)
#include "tst_pdfrewriter.moc"
