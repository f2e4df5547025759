#include "PrintingFixture.h"

#include <QTemporaryDir>
#include <cups/cups.h>

using namespace PrintingFixture;

// Character-mode printing through the real code path into the private CUPS
// daemon (started by the test fixture), comparing the bytes that reach the
// queue with the expected stream. The print panel's own prints to the same
// queues are in tst_cupspanel.
class TestCupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { MessageBox::clearShown(); }

    void stream_data();
    void stream();
    void refused_data();
    void refused();
    void rejectingQueue();

private:
    // Each print gets a file name of its own, which becomes the job's title.
    QString newFile(const QByteArray &bytes)
    {
        const QString name
            = QStringLiteral("raw%1-%2.prn").arg(QCoreApplication::applicationPid()).arg(++m_files);
        return TestSupport::writeFile(m_dir.filePath(name), bytes);
    }

    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestCupsPrint::initTestCase()
{
    TestSupport::init();
    if (!cupsdRunning())
        QFAIL("the private cupsd is not running: run this test through ctest (fixture printing/cupsd_start)");
}

void TestCupsPrint::stream_data()
{
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("draft");
    QTest::addColumn<bool>("ch12");
    QTest::addColumn<bool>("ch17");
    QTest::addColumn<QString>("height");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QByteArray>("setup");
    const QByteArray three("one\r\ntwo\r\nthree\r\n");
    QTest::newRow("draft and both pitch boxes, 12 first")
        << "Sticker2Other" << three << true << true << true << "11" << 2
        << QByteArray("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x0b", 16);
    QTest::newRow("only 17") << "Sticker2Raw" << three << false << false << true << "8" << 1
                             << QByteArray("\x1bP\x0f\x1b\x43\x00\x08", 7);
    QTest::newRow("copies 0: setup sequences only") << "Sticker2Raw" << three << false << false << false
                                                    << "6" << 0 << QByteArray("\x1bP\x1b\x43\x00\x06", 6);
    QTest::newRow("no printer named: default destination")
        << "" << three << false << false << false << "6" << 1 << QByteArray("\x1bP\x1b\x43\x00\x06", 6);
    QTest::newRow("form feeds and every byte value, height 0")
        << "Sticker2Raw" << QByteArray("\x00\x01\x0c\x7f\x80\xff\x1b\x45x\r\n", 11) << false << false << false
        << "0" << 1 << QByteArray("\x1bP\x1b\x43\x00\x00", 6);
    // The paper height box's text, rounded to whole inches.
    QTest::newRow("height 255") << "Sticker2Other" << three << false << false << false << "255" << 1
                                << QByteArray("\x1bP\x1b\x43\x00\xff", 6);
    QTest::newRow("height with spaces") << "Sticker2Other" << three << false << false << false << " 8 " << 1
                                        << QByteArray("\x1bP\x1b\x43\x00\x08", 6);
    QTest::newRow("height 5.6 rounds up") << "Sticker2Other" << three << false << false << false << "5.6" << 1
                                          << QByteArray("\x1bP\x1b\x43\x00\x06", 6);
    QTest::newRow("height 4.5 rounds to even") << "Sticker2Other" << three << false << false << false << "4.5"
                                               << 1 << QByteArray("\x1bP\x1b\x43\x00\x04", 6);
}

void TestCupsPrint::stream()
{
    QFETCH(QString, printer);
    QFETCH(QByteArray, file);
    QFETCH(bool, draft);
    QFETCH(bool, ch12);
    QFETCH(bool, ch17);
    QFETCH(QString, height);
    QFETCH(int, copies);
    QFETCH(QByteArray, setup);
    const Queue queue(printer.isEmpty() ? "Sticker2Raw" : printer);
    CharModeOptions options;
    options.printerName = printer;
    options.file = newFile(file);
    options.draft = draft;
    options.paperHeight = height;
    options.panel.ch12 = ch12;
    options.panel.ch17 = ch17;
    options.panel.copies = QString::number(copies);
    QVERIFY(PrintCharMode(options));
    QCOMPARE(MessageBox::shown().size(), 0);
    QCOMPARE(queue.next(QFileInfo(options.file).fileName()), setup + file.repeated(copies));
}

void TestCupsPrint::refused_data()
{
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("height");
    QTest::addColumn<bool>("missingFile");
    QTest::addColumn<bool>("serverDown");
    QTest::addColumn<QString>("message");
    const QString heightMessage("The paper height (%1) must be a number of inches from 0 to 255.");
    QTest::newRow("missing file") << "Sticker2Raw"
                                  << "6" << true << false << "File %1 does not exists";
    QTest::newRow("unknown printer") << "No Such Printer"
                                     << "6" << false << false
                                     << "The Printer Name (No Such Printer) wasn't recognized.";
    QTest::newRow("print server unreachable")
        << "Sticker2Raw"
        << "6" << false << true << "The Printer Name (Sticker2Raw) wasn't recognized.";
    for (const char *height : {"256", "-1", "", "12 inch"})
        QTest::addRow("paper height \"%s\"", height)
            << "Sticker2Raw" << height << false << false << heightMessage.arg(height);
}

void TestCupsPrint::refused()
{
    QFETCH(QString, printer);
    QFETCH(QString, height);
    QFETCH(bool, missingFile);
    QFETCH(bool, serverDown);
    QFETCH(QString, message);
    const Queue queue("Sticker2Raw");
    CharModeOptions options;
    options.printerName = printer;
    options.file = newFile("never\r\n");
    options.paperHeight = height;
    if (missingFile) {
        QFile::remove(options.file);
        message = message.arg(options.file);
    }
    const QByteArray server = cupsServer();
    if (serverDown)
        cupsSetServer(QFile::encodeName(m_dir.filePath("no-cupsd.sock")).constData());
    const bool printed = PrintCharMode(options);
    cupsSetServer(server.constData());
    QVERIFY(!printed);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, message);
    QCOMPARE(MessageBox::shown().first().title, QString("Printer Error Information"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
    QVERIFY(queue.nothingNew());
}

void TestCupsPrint::rejectingQueue()
{
    // The refusal reaches the user instead of looking like a finished print.
    QVERIFY(!PrintFile(newFile("refused\r\n"), "Sticker2Closed", 6, false, RawPanelState()));
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record box = MessageBox::shown().first();
    QCOMPARE(box.title, QString("Printer Error Information"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY2(box.text.startsWith("Procedure Name : PrintFile\nError number: "), qPrintable(box.text));
    QVERIFY2(box.text.contains("Error context: CUPS"), qPrintable(box.text));
    QVERIFY(Queue("Sticker2Closed").jobs().isEmpty());
}

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
