// Character-mode and Windows-mode printing into the private CUPS daemon
// (started by the test fixture): the bytes that reach a queue, from the raw
// print itself and from the print panel, and the refusals on the way.
#include "PrintingFixture.h"

#include <cups/cups.h>

using namespace PrintingFixture;

class TestCupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { reset(); }
    void cleanup() { PrintingFixture::cleanup(); }

    void stream_data();
    void stream();
    void refused_data();
    void refused();
    void panelToQueue_data();
    void panelToQueue();
    void opening_currentPrinterGone();
    void windowsMode_data();
    void windowsMode();

private:
    // Each raw print gets a file name of its own, which becomes the job's title.
    QString newFile(const QByteArray &bytes) { return printFile(QString("raw%1.prn").arg(++m_files), bytes); }

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
    // ESC P, the condensed code when asked, then the page length in inches.
    QTest::addColumn<QString>("printer"); // empty: the current printer, here Sticker2Other
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("height");
    QTest::addColumn<bool>("ch17");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("inches");
    const QByteArray three("one\r\ntwo\r\nthree\r\n");
    const auto row
        = [&three](const char *name, const char *printer, const char *height, bool ch17, int copies,
              int inches) { QTest::newRow(name) << printer << three << height << ch17 << copies << inches; };
    row("only 17", "Sticker2Raw", "8", true, 1, 8);
    row("copies 0: setup sequences only", "Sticker2Raw", "6", false, 0, 6);
    row("no printer named: the current one", "", "6", false, 2, 6);
    // The paper height box's text, rounded to whole inches.
    row("height 255", "Sticker2Other", "255", false, 1, 255);
    row("height with spaces", "Sticker2Other", " 8 ", false, 1, 8);
    row("height 5.6 rounds up", "Sticker2Other", "5.6", false, 1, 6);
    row("height 4.5 rounds to even", "Sticker2Other", "4.5", false, 1, 4);
    QTest::newRow("form feeds and every byte value, height 0")
        << "Sticker2Raw" << QByteArray("\x00\x01\x0c\x7f\x80\xff\x1b\x45x\r\n", 11) << "0" << false << 1 << 0;
}

void TestCupsPrint::stream()
{
    QFETCH(QString, printer);
    QFETCH(QByteArray, file);
    QFETCH(QString, height);
    QFETCH(bool, ch17);
    QFETCH(int, copies);
    QFETCH(int, inches);
    CurrentPrinter::setName("Sticker2Other");
    const Queue queue(printer.isEmpty() ? CurrentPrinter::name() : printer);
    CharModeOptions options;
    options.printerName = printer;
    options.file = newFile(file);
    options.draft = false;
    options.paperHeight = height;
    options.panel.ch17 = ch17;
    options.panel.copies = QString::number(copies);
    QVERIFY(PrintCharMode(options));
    QCOMPARE(MessageBox::shown().size(), 0);
    const QByteArray setup
        = QByteArray("\x1bP") + (ch17 ? "\x0f" : "") + QByteArray("\x1b\x43\x00", 3) + char(inches);
    QCOMPARE(queue.next(QFileInfo(options.file).fileName()), setup + file.repeated(copies));
}

void TestCupsPrint::refused_data()
{
    // Nothing reaches the queue, and the user is told how the message begins.
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QString>("fault"); // "missing file", "server down"
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "Sticker2Raw"
                                  << "6"
                                  << "missing file"
                                  << "File %1 does not exists";
    QTest::newRow("unknown printer") << "No Such"
                                     << "6"
                                     << ""
                                     << "The Printer Name (No Such) wasn't recognized.";
    QTest::newRow("print server unreachable") << "Sticker2Raw"
                                              << "6"
                                              << "server down"
                                              << "The Printer Name (Sticker2Raw) wasn't recognized.";
    QTest::newRow("queue refusing jobs: error window") << "Sticker2Closed"
                                                       << "6"
                                                       << ""
                                                       << "Procedure Name : PrintFile\nError number: ";
    for (const char *height : {"256", "-1", "", "12 inch"})
        QTest::addRow("paper height \"%s\"", height)
            << "Sticker2Raw" << height << ""
            << QString("The paper height (%1) must be a number of inches from 0 to 255.").arg(height);
}

void TestCupsPrint::refused()
{
    QFETCH(QString, printer);
    QFETCH(QString, height);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    const Queue queue(printer == "Sticker2Closed" ? printer : QString("Sticker2Raw"));
    CharModeOptions options;
    options.printerName = printer;
    options.file = newFile("never\r\n");
    options.paperHeight = height;
    if (fault == "missing file") {
        QFile::remove(options.file);
        message = message.arg(options.file);
    }
    // The job runs on a thread of its own, which takes the server from the
    // environment as any new thread of the program does.
    const QByteArray server = qgetenv("CUPS_SERVER");
    if (fault == "server down")
        qputenv("CUPS_SERVER", QFile::encodeName(QDir::temp().filePath("no-cupsd.sock")));
    const bool printed = PrintCharMode(options);
    qputenv("CUPS_SERVER", server);
    QVERIFY(!printed);
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record box = MessageBox::shown().first();
    QVERIFY2(box.text.startsWith(message), qPrintable(box.text));
    QCOMPARE(box.title, QString("Printer Error Information"));
    if (printer == "Sticker2Closed") {
        QCOMPARE(box.icon, QMessageBox::Warning);
        QVERIFY2(box.text.contains("Error context: CUPS"), qPrintable(box.text));
        QVERIFY(queue.jobs().isEmpty());
    } else {
        QCOMPARE(box.icon, QMessageBox::Information);
        QVERIFY(queue.nothingNew());
    }
}

void TestCupsPrint::panelToQueue_data()
{
    // A print from the panel in character mode, answered Yes: the page file
    // it writes (none for all pages) and the job the queue gets.
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QString>("pageFile");
    QTest::addColumn<QByteArray>("pageBytes");
    QTest::addColumn<QByteArray>("job");
    const QByteArray range = pagedBytes(4).mid(pagedBytes(1).size());
    const QByteArray page2 = range.left(range.size() / 3);
    // The last line (the form feed) has no line end of its own in the file.
    QTest::newRow("range 2 to 4 of ten, no draft, height 12")
        << 10 << QStringList {"ChDraft", "Op(2)", "Tst=2", "Tend=4", "ComPaperHeight=12"}
        << QString("Sticker2Raw") << QString("RANGE.prn") << range
        << QByteArray("\x1bP\x1b\x43\x00\x0c", 6) + range + "\r\n";
    // Draft is ticked on opening; ChL adds a line after the first line only.
    QTest::newRow("current page 2, draft, both pitch boxes, ChL, two copies")
        << 3 << QStringList {"CmdNxt", "Op(1)", "Ch12", "Ch17", "Text3=2", "ComPaperHeight=6", "ChL=1"}
        << QString("Sticker2Raw") << QString("Currnt.prn") << page2
        << QByteArray("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x06", 16)
            + "Page 2\r\n\r\nsecond line\r\nthird line\r\n\f\r\n" + page2 + "\r\n";
    QTest::newRow("all pages: the report file on the chosen queue")
        << 2 << QStringList {"CboPrinters=Sticker2Other", "ChDraft", "ComPaperHeight=6"}
        << QString("Sticker2Other") << QString() << QByteArray()
        << QByteArray("\x1bP\x1b\x43\x00\x06", 6) + pagedBytes(2) + "\r\n";
}

void TestCupsPrint::panelToQueue()
{
    QFETCH(int, pages);
    QFETCH(QStringList, steps);
    QFETCH(QString, queue);
    QFETCH(QString, pageFile);
    QFETCH(QByteArray, pageBytes);
    QFETCH(QByteArray, job);
    FrmReport *view = openPanel("panel.prn", pagedBytes(pages));
    apply(view, steps);
    view->setTagText("left over from an earlier print");
    const Queue target(queue);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(view, "CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(view->printPanel()->isHidden());
    QCOMPARE(target.next(pageFile.isEmpty() ? "panel.prn" : pageFile), job);
    QCOMPARE(view->tagText(), pageFile.isEmpty() ? QString() : ShortPathOf(programFile(pageFile)));
    QCOMPARE(TestSupport::readFile(programFile(pageFile)), pageBytes);
    for (const char *name : {"Currnt.prn", "RANGE.prn"})
        QCOMPARE(QFileInfo::exists(programFile(name)), pageFile == name);
}

void TestCupsPrint::opening_currentPrinterGone()
{
    CurrentPrinter::setName("Printer Taken Away");
    FrmReport *view = open(printFile("gone.prn", pagedBytes(1)));
    QVERIFY(QTest::qWaitForWindowActive(view));
    QCOMPARE(control<QComboBox>(view, "CboPrinters")->count(), 3);
    QTest::mouseClick(control(view, "CmdPrint"), Qt::LeftButton);
    QVERIFY(view->printPanel()->isVisible());
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(
        MessageBox::shown().first().text, QString("Select any of the Printer from  Printers Collection"));
    QCOMPARE(MessageBox::shown().first().title, QString("Information Window"));
    QTRY_VERIFY(control(view, "CboPrinters")->hasFocus());
}

void TestCupsPrint::windowsMode_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("queue");
    QTest::addColumn<bool>("landscape");
    const auto row = [](const char *name, const char *chosen, const char *queue, bool landscape) {
        QTest::newRow(name) << chosen << queue << landscape;
    };
    row("installed: made current", "Sticker2Other", "Sticker2Other", false);
    row("case differs: default stays, landscape", "sticker2other", "Sticker2Raw", true);
    row("not installed: default stays", "Elsewhere", "Sticker2Raw", false);
}

void TestCupsPrint::windowsMode()
{
    // Through the desktop driver: the job is the driver's page description,
    // here PDF, with the pages' text and none of the hidden sequences.
    QFETCH(QString, chosen);
    QFETCH(QString, queue);
    QFETCH(bool, landscape);
    const QByteArray bytes = "Plain start " + BoldOn.toLatin1() + "Bold words" + BoldOff.toLatin1()
        + " end\r\n" + CondOn.toLatin1() + "small print" + CondOff.toLatin1() + "\r\n\fsecond page "
        + ULineOn.toLatin1() + "underlined" + ULineOff.toLatin1() + "\r\n\f";
    FrmReport *view = openPanel("win.prn", bytes);
    QCOMPARE(control<QComboBox>(view, "CboPrinters")->currentText(), QString("Sticker2Raw"));
    apply(view, {"OptWinMode", landscape ? "OpPL(1)" : "OpPL(0)", "CboPrinters=" + chosen, "Text3=2"});
    const Queue target(queue);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(view, "CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(CurrentPrinter::name(), queue);

    const QByteArray job = target.next("win.prn");
    QVERIFY2(job.startsWith("%PDF"), job.left(20).constData());
    const QString pdf = TestSupport::writeFile(QDir::temp().filePath("win.pdf"), job);
    QCOMPARE(pdfText(pdf).simplified(), // each page as many times as copies
        QString("Plain start Bold words end small print Plain start Bold words end small print "
                "second page underlined second page underlined"));
    const QStringList size = pdfInfo(pdf, "Page size").split(' ');
    QCOMPARE(size.value(0).toDouble() > size.value(2).toDouble(), landscape);
}

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
