#include "TestSupport.h"
#include "platform/MessageBox.h"
#include "printing/RawPrinting.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cups/cups.h>

// Character-mode printing through the real code path into a private CUPS
// daemon (started by the test fixture), comparing the bytes that reach the
// queue with the expected stream.
class TestCupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { MessageBox::clearShown(); }

    void stream_data();
    void stream();
    void defaultDestination();
    void paperHeightText_data();
    void paperHeightText();
    void refused_data();
    void refused();
    void rejectingQueue();

private:
    QString newFile(const QByteArray &bytes);
    QByteArray waitForJob(const QString &queue, const QString &title);
    QStringList titlesIn(const QString &queue) const;
    void expectNothingSent(const QString &queue, const QString &title);

    QTemporaryDir m_dir;
    QString m_out;
    int m_files = 0;
};

void TestCupsPrint::initTestCase()
{
    TestSupport::init();
    const QByteArray server = qgetenv("CUPS_SERVER");
    const QString folder = qEnvironmentVariable("STICKER2_CUPS_DIR");
    if (server.isEmpty() || folder.isEmpty())
        QFAIL("CUPS_SERVER and STICKER2_CUPS_DIR are not set: run this test through ctest, whose fixture "
              "printing/cupsd_start starts the private cupsd");
    if (!QFileInfo::exists(QString::fromLocal8Bit(server)))
        QFAIL(qPrintable(
            QStringLiteral("the private cupsd is not running (no socket %1): run through ctest, or "
                           "tests/printing/cupsd-fixture.sh start %2")
                .arg(QString::fromLocal8Bit(server), folder)));
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, "Sticker2Raw", nullptr);
    if (!dest)
        QFAIL(qPrintable(QStringLiteral("the private cupsd has no queue Sticker2Raw: %1")
                             .arg(QString::fromUtf8(cupsLastErrorString()))));
    cupsFreeDests(1, dest);
    m_out = folder + "/out";
}

// Each print gets a file name of its own, which becomes the job's title.
QString TestCupsPrint::newFile(const QByteArray &bytes)
{
    const QString name
        = QStringLiteral("raw%1-%2.prn").arg(QCoreApplication::applicationPid()).arg(++m_files);
    return TestSupport::writeFile(m_dir.filePath(name), bytes);
}

QStringList TestCupsPrint::titlesIn(const QString &queue) const
{
    QStringList titles;
    const QDir dir(m_out + "/" + queue);
    for (const QString &entry : dir.entryList({"job-*.title"}, QDir::Files))
        titles << QString::fromUtf8(TestSupport::readFile(dir.filePath(entry)));
    return titles;
}

QByteArray TestCupsPrint::waitForJob(const QString &queue, const QString &title)
{
    const QDir dir(m_out + "/" + queue);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        for (const QString &entry : dir.entryList({"job-*.title"}, QDir::Files)) {
            if (TestSupport::readFile(dir.filePath(entry)) != title.toUtf8())
                continue;
            const QString prn = dir.filePath(QString(entry).replace(".title", ".prn"));
            if (QFileInfo::exists(prn))
                return TestSupport::readFile(prn);
        }
        QTest::qWait(20);
    }
    qWarning("no job titled %s reached %s", qPrintable(title), qPrintable(queue));
    return QByteArray("<no job>");
}

// Jobs leave a queue in order: once a later job has come out, an earlier
// one that had been sent would have come out too.
void TestCupsPrint::expectNothingSent(const QString &queue, const QString &title)
{
    const QString marker = newFile("marker\r\n");
    QVERIFY(PrintFile(marker, queue, 6, false, RawPanelState()));
    QCOMPARE(waitForJob(queue, QFileInfo(marker).fileName()),
        QByteArray("\x1bP\x1b\x43\x00\x06", 6) + "marker\r\n");
    QVERIFY(!titlesIn(queue).contains(title));
}

void TestCupsPrint::stream_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("draft");
    QTest::addColumn<bool>("ch12");
    QTest::addColumn<bool>("ch17");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<bool>("extraLine");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray three("one\r\ntwo\r\nthree\r\n");
    QTest::newRow("plain: ESC P then page length")
        << "Sticker2Raw" << three << false << false << false << 6 << "1" << false
        << QByteArray("\x1bP\x1b\x43\x00\x06", 6) + three;
    QTest::newRow("draft, paper height 12")
        << "Sticker2Raw" << three << true << false << false << 12 << "1" << false
        << QByteArray("\x1bP\x1bx\x00\x1b\x43\x00\x0c", 9) + three;
    QTest::newRow("both pitch boxes, 12 first")
        << "Sticker2Other" << three << true << true << true << 11 << "1" << false
        << QByteArray("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x0b", 16) + three;
    QTest::newRow("only 17") << "Sticker2Raw" << three << false << false << true << 8 << "1" << false
                             << QByteArray("\x1bP\x0f\x1b\x43\x00\x08", 7) + three;
    QTest::newRow("two copies in one document")
        << "Sticker2Raw" << three << false << false << false << 6 << "2" << false
        << QByteArray("\x1bP\x1b\x43\x00\x06", 6) + three + three;
    QTest::newRow("copies 0: setup sequences only") << "Sticker2Raw" << three << false << false << false << 6
                                                    << "0" << false << QByteArray("\x1bP\x1b\x43\x00\x06", 6);
    QTest::newRow("extra line, two copies")
        << "Sticker2Raw" << three << false << false << false << 6 << "2" << true
        << QByteArray("\x1bP\x1b\x43\x00\x06", 6) + "one\r\n\r\ntwo\r\nthree\r\n" + three;
    QTest::newRow("LF-only file is one line")
        << "Sticker2Raw" << QByteArray("a\nb\n") << false << false << false << 6 << "1" << false
        << QByteArray("\x1bP\x1b\x43\x00\x06", 6) + "a\nb\n\r\n";
    QTest::newRow("form feeds and every byte value")
        << "Sticker2Raw" << QByteArray("\x00\x01\x0c\x7f\x80\xff\x1b\x45x\r\n", 11) << false << false << false
        << 0 << "1" << false << QByteArray("\x1bP\x1b\x43\x00\x00\x00\x01\x0c\x7f\x80\xff\x1b\x45x\r\n", 17);
}

void TestCupsPrint::stream()
{
    QFETCH(QString, queue);
    QFETCH(QByteArray, file);
    QFETCH(bool, draft);
    QFETCH(bool, ch12);
    QFETCH(bool, ch17);
    QFETCH(int, height);
    QFETCH(QString, copies);
    QFETCH(bool, extraLine);
    QFETCH(QByteArray, expected);

    const QString path = newFile(file);
    RawPanelState panel;
    panel.ch12 = ch12;
    panel.ch17 = ch17;
    panel.copies = copies;
    panel.extraLine = extraLine;
    QVERIFY(PrintFile(path, queue, qint16(height), draft, panel));
    QCOMPARE(MessageBox::shown().size(), 0);
    QCOMPARE(waitForJob(queue, QFileInfo(path).fileName()), expected);
}

void TestCupsPrint::defaultDestination()
{
    const QString path = newFile("default\r\n");
    QVERIFY(PrintFile(path, QString(), 6, false, RawPanelState()));
    QCOMPARE(waitForJob("Sticker2Raw", QFileInfo(path).fileName()),
        QByteArray("\x1bP\x1b\x43\x00\x06", 6) + "default\r\n");
}

void TestCupsPrint::paperHeightText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("height"); // -1: refused
    QTest::newRow("12") << "12" << 12;
    QTest::newRow("spaces around") << " 8 " << 8;
    QTest::newRow("fraction rounds up") << "5.6" << 6;
    QTest::newRow("half rounds to even") << "4.5" << 4;
    QTest::newRow("255") << "255" << 255;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("256 refused") << "256" << -1;
    QTest::newRow("negative refused") << "-2" << -1;
    QTest::newRow("empty refused") << "" << -1;
    QTest::newRow("words refused") << "12 inch" << -1;
}

void TestCupsPrint::paperHeightText()
{
    QFETCH(QString, text);
    QFETCH(int, height);

    CharModeOptions options;
    options.printerName = "Sticker2Other";
    options.file = newFile("h\r\n");
    options.draft = false;
    options.paperHeight = text;
    const QString title = QFileInfo(options.file).fileName();
    if (height < 0) {
        QVERIFY(!PrintCharMode(options));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text,
            QString("The paper height (%1) must be a number of inches from 0 to 255.").arg(text));
        QCOMPARE(MessageBox::shown().first().title, QString("Printer Error Information"));
        expectNothingSent("Sticker2Other", title);
        return;
    }
    QVERIFY(PrintCharMode(options));
    QByteArray expected("\x1bP\x1b\x43\x00", 5);
    expected += char(height);
    expected += "h\r\n";
    QCOMPARE(waitForJob("Sticker2Other", title), expected);
}

void TestCupsPrint::refused_data()
{
    QTest::addColumn<bool>("missingFile");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("serverDown");
    QTest::newRow("missing file") << true << "Sticker2Raw"
                                  << "File %1 does not exists" << false;
    QTest::newRow("unknown printer") << false << "No Such Printer"
                                     << "The Printer Name (No Such Printer) wasn't recognized." << false;
    QTest::newRow("print server unreachable") << false << "Sticker2Raw"
                                              << "The Printer Name (Sticker2Raw) wasn't recognized." << true;
}

void TestCupsPrint::refused()
{
    QFETCH(bool, missingFile);
    QFETCH(QString, printer);
    QFETCH(QString, message);
    QFETCH(bool, serverDown);

    QString path = newFile("never\r\n");
    if (missingFile) {
        QFile::remove(path);
        message = message.arg(path);
    }
    const QByteArray server = cupsServer();
    if (serverDown)
        cupsSetServer(QFile::encodeName(m_dir.filePath("no-cupsd.sock")).constData());
    const bool printed = PrintFile(path, printer, 6, true, RawPanelState());
    cupsSetServer(server.constData());
    QVERIFY(!printed);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, message);
    QCOMPARE(MessageBox::shown().first().title, QString("Printer Error Information"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
    expectNothingSent("Sticker2Raw", QFileInfo(path).fileName());
}

void TestCupsPrint::rejectingQueue()
{
    // A queue that refuses jobs: the refusal reaches the user instead of
    // looking like a finished print.
    const QString path = newFile("refused\r\n");
    QVERIFY(!PrintFile(path, "Sticker2Closed", 6, false, RawPanelState()));
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record box = MessageBox::shown().first();
    QCOMPARE(box.title, QString("Printer Error Information"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.startsWith("Procedure Name : PrintFile\nError number: "), qPrintable(box.text));
    QVERIFY2(box.text.contains("Error context: CUPS"), qPrintable(box.text));
    QVERIFY(titlesIn("Sticker2Closed").isEmpty());
}

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
