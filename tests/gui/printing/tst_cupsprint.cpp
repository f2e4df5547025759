// Character-mode and Windows-mode printing from the windows into the private
// CUPS daemon (started by the test fixture): the bytes that reach a queue,
// and how the refusals on the way are told. The raw job itself is checked on
// the engine in tst_rawjob, the command line's in tst_cupscommandline.
#include "PrintingFixture.h"

#include "gui/sticker/PrinterStickerSurface.h"
#include "gui/sticker/WindowSheetPrinting.h"
#include "printing/PrinterList.h"
#include "report/ReportViewSettings.h"

#include <QPrinter>
#include <QScopeGuard>

#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace PrintingFixture;


class TestCupsPrint : public QObject
{
    Q_OBJECT

private slots:
    void init() { reset(); }
    void cleanup() { PrintingFixture::cleanup(); }
    void initTestCase()
    {
        TestSupport::initWindows();
        if (!cupsdRunning())
            QFAIL("the private cupsd is not running: run this test through ctest (fixture "
                  "printing/cupsd_start)");
    }

    // No printer named: the current one. Every byte value reaches the queue
    // as it is, after ESC P and the page length (the height text rounded).
    void everyByteToTheCurrentPrinter()
    {
        QByteArray file; // every byte but CR, which would end a line
        for (int b = 0; b < 256; ++b)
            file += b == '\r' ? QByteArray() : QByteArray(1, char(b));
        CurrentPrinter::setName("Sticker2Other");
        const Queue queue("Sticker2Other");
        CharModeOptions options;
        options.file = printFile("bytes.prn", file + "\r\n");
        options.draft = false;
        options.paperHeight = "5.6";
        options.panel.copies = "2";
        QVERIFY(PrintCharMode(options));
        QCOMPARE(MessageBox::shown().size(), 0);
        QCOMPARE(
            queue.next("bytes.prn"), QByteArray("\x1bP\x1b\x43\x00\x06", 6) + (file + "\r\n").repeated(2));
    }

    void refused_data()
    {
        // Nothing reaches the queue, and the user is told how the message begins.
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("fault"); // "missing file", "server down"
        QTest::addColumn<QString>("message");
        const auto row
            = [](const char *name, const char *printer, const char *height, const char *fault,
                  const QString &message) { QTest::newRow(name) << printer << height << fault << message; };
        row("missing file", "Sticker2Raw", "6", "missing file", "File %1 does not exists");
        row("unknown printer", "No Such", "6", "", "The Printer Name (No Such) wasn't recognized.");
        row("print server unreachable", "Sticker2Raw", "6", "server down", "The print server ");
        row("queue refusing jobs: error window", "Sticker2Closed", "6", "",
            "Procedure Name : PrintFile\nError number: ");
        row("paper height refused", "Sticker2Raw", "12 inch", "",
            "The paper height (12 inch) must be a number of inches from 0 to 255.");
    }

    void refused()
    {
        QFETCH(QString, printer);
        QFETCH(QString, height);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        const Queue queue(printer == "Sticker2Closed" ? printer : QString("Sticker2Raw"));
        CharModeOptions options;
        options.printerName = printer;
        options.file = printFile("never.prn", "never\r\n");
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
        const bool closed = printer == "Sticker2Closed";
        QCOMPARE(box.icon, closed ? QMessageBox::Warning : QMessageBox::Information);
        QVERIFY2(!closed || box.text.contains("Error context: CUPS"), qPrintable(box.text));
        QVERIFY2(fault != "server down" || box.text.contains("does not answer"), qPrintable(box.text));
        QVERIFY(closed ? queue.jobs().isEmpty() : queue.nothingNew());
    }

    void panelToQueue_data()
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
            << 10 << QStringList {"ChDraft", "Op(2)", "Tst=2", "Tend=4", "ComPaperHeight=12"} << "Sticker2Raw"
            << "RANGE.prn" << range << QByteArray("\x1bP\x1b\x43\x00\x0c", 6) + range + "\r\n";
        // Draft is ticked on opening; ChL adds a line after the first line only.
        QTest::newRow("current page 2, draft, both pitch boxes, ChL, two copies")
            << 3 << QStringList {"CmdNxt", "Op(1)", "Ch12", "Ch17", "Text3=2", "ComPaperHeight=6", "ChL=1"}
            << "Sticker2Raw" << "Currnt.prn" << page2
            << QByteArray("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x06", 16)
                + "Page 2\r\n\r\nsecond line\r\nthird line\r\n\f\r\n" + page2 + "\r\n";
        // Stored, "-1 Line" prints so without the colour panel ever opened.
        QTest::newRow("current page 2, -1 Line as stored")
            << 3 << QStringList {"stored:chl=1", "CmdNxt", "Op(1)", "Ch12", "Ch17", "Text3=2", "ComPaperHeight=6"}
            << "Sticker2Raw" << "Currnt.prn" << page2
            << QByteArray("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x06", 16)
                + "Page 2\r\n\r\nsecond line\r\nthird line\r\n\f\r\n" + page2 + "\r\n";
        QTest::newRow("all pages: the report file on the chosen queue")
            << 2 << QStringList {"CboPrinters=Sticker2Other", "ChDraft", "ComPaperHeight=6"}
            << "Sticker2Other" << "" << QByteArray() << QByteArray("\x1bP\x1b\x43\x00\x06", 6) + pagedBytes(2) + "\r\n";
    }

    void panelToQueue()
    {
        QFETCH(int, pages);
        QFETCH(QStringList, steps);
        QFETCH(QString, queue);
        QFETCH(QString, pageFile);
        QFETCH(QByteArray, pageBytes);
        QFETCH(QByteArray, job);
        const bool storedLine = steps.removeAll("stored:chl=1") > 0;
        ReportViewSettings::saveMinusOneLine(storedLine);
        const auto unstore = qScopeGuard([] { ReportViewSettings::saveMinusOneLine(false); });
        FrmReport *view = openPanel("panel.prn", pagedBytes(pages));
        if (!storedLine)
            view->colorPanel(); // "-1 Line" is in it
        QCOMPARE(view->findChild<QWidget *>("Frame6") != nullptr, !storedLine);
        apply(view, steps);
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

    void currentPageInDosCodePage_data()
    {
        // "Current Page" of a view in cp437 sends the file's bytes, not the
        // page as Latin-1 would have them ("?" for box drawing).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("pageFile");
        const QByteArray page("\xb3\xc4\xda\x82\x9c\n");
        QTest::newRow("as read") << QStringList {"Op(1)"} << page + "\f";
        // Typing replaces the first character, which showing a page selects.
        QTest::newRow("edited") << QStringList {"Check2", "Rt1+x"} << QByteArray("x\xc4\xda\x82\x9c\r\n\f");
    }

    void currentPageInDosCodePage()
    {
        QFETCH(QStringList, steps);
        QFETCH(QByteArray, pageFile);
        FrmReport *view = openPanel("dos.prn", QByteArray("\xb3\xc4\xda\x82\x9c\n\ftwo\f"));
        view->setCodePage(CodePage::Id::Pc437);
        apply(view, steps);
        const Queue target("Sticker2Raw");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(view, "CmdOk");
        QCOMPARE(TestSupport::readFile(programFile("Currnt.prn")), pageFile);
        QVERIFY(target.next("Currnt.prn").contains(pageFile.left(5)));
    }

    void printerList_data()
    {
        // The printer list of the print panel and of the current printer:
        // the private daemon's queues; a spooler that takes the connection
        // and never answers is given up on in the time allowed.
        QTest::addColumn<bool>("silent");
        QTest::newRow("the private daemon") << false;
        QTest::newRow("a spooler that never answers") << true;
    }

    void printerList()
    {
        QFETCH(bool, silent);
        // A socket that takes connections (the kernel's backlog does) and
        // never reads a request.
        const auto dir = TestSupport::socketFolder();
        const QByteArray path = QFile::encodeName(dir->filePath("mute.sock"));
        const int mute = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        QVERIFY(::bind(mute, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && ::listen(mute, 4) == 0);
        const PrinterList list = PrinterList::fetch(silent ? QString::fromLocal8Bit(path) : QString(), 500);
        ::close(mute);
        QCOMPARE(list.answered, !silent);
        QCOMPARE(list.timedOut, silent);
        QCOMPARE(list.names.contains("Sticker2Raw"), !silent);
        QVERIFY2(!silent || list.error.contains("did not answer"), qPrintable(list.error));
    }

    void opening_currentPrinterGone()
    {
        CurrentPrinter::setName("Printer Taken Away");
        FrmReport *view = open(printFile("gone.prn", pagedBytes(1)));
        QVERIFY(QTest::qWaitForWindowActive(view));
        QTRY_COMPARE(control<QComboBox>(view, "CboPrinters")->count(), 3); // filled when the spooler answers
        click(view, "CmdPrint");
        QVERIFY(view->printPanel()->isVisible());
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(
            MessageBox::shown().first().text, QString("Select any of the Printer from  Printers Collection"));
        QCOMPARE(MessageBox::shown().first().title, QString("Information Window"));
        QTRY_VERIFY(control(view, "CboPrinters")->hasFocus());
    }

    void windowsMode_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("queue");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("installed: made current") << "Sticker2Other" << "Sticker2Other" << false;
        QTest::newRow("case differs: default stays, landscape") << "sticker2other" << "Sticker2Raw" << true;
        QTest::newRow("not installed: default stays") << "Elsewhere" << "Sticker2Raw" << false;
    }

    void windowsMode()
    {
        // Through the desktop driver: the job is the driver's page description, here PDF, with the pages'
        // text. How a page is drawn, and the copies, are checked in tst_pdfexport and tst_printpanel.
        QFETCH(QString, chosen);
        QFETCH(QString, queue);
        QFETCH(bool, landscape);
        FrmReport *view = openPanel("win.prn", pagedBytes(2));
        QCOMPARE(control<QComboBox>(view, "CboPrinters")->currentText(), QString("Sticker2Raw"));
        apply(view, {"OptWinMode", landscape ? "OpPL(1)" : "OpPL(0)", "CboPrinters=" + chosen});
        const Queue target(queue);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(view, "CmdOk");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(CurrentPrinter::name(PrinterList::fetch()), queue);
        const QByteArray job = target.next("win.prn");
        QVERIFY2(job.startsWith("%PDF"), job.left(20).constData());
        const QString pdf = TestSupport::writeFile(QDir::temp().filePath("win.pdf"), job);
        QCOMPARE(pdfText(pdf).simplified(), QString("Page 1 second line third line Page 2 second line third line"));
        const auto size = QRegularExpression("Page size: +([\\d.]+) x ([\\d.]+)")
                              .match(TestSupport::runTool("pdfinfo", {pdf}));
        QCOMPARE(size.captured(1).toDouble() > size.captured(2).toDouble(), landscape);
    }

    void desktopJobRefused_data()
    {
        // Qt hands a desktop-driver job to the print server when its painter ends and drops the answer:
        // a queue that takes no jobs must still be told, and nothing after it tried.
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("queue");
        QTest::newRow("report view, print panel: refused") << "panel" << "Sticker2Closed";
        QTest::newRow("report view, print panel: taken") << "panel" << "Sticker2Raw";
        QTest::newRow("sticker sheet of two documents: refused") << "stickers" << "Sticker2Closed";
        QTest::newRow("sticker sheet of two documents: taken") << "stickers" << "Sticker2Raw";
    }

    void desktopJobRefused()
    {
        QFETCH(QString, route);
        QFETCH(QString, queue);
        const bool refused = queue == "Sticker2Closed";
        const Queue target(queue);
        bool printed = false;
        if (route == "panel") {
            FrmReport *view = openPanel("win.prn", pagedBytes(2));
            apply(view, {"OptWinMode", "CboPrinters=" + queue});
            MessageBox::setNextAnswer(QMessageBox::Yes);
            click(view, "CmdOk");
            printed = MessageBox::shown().size() == 1;
        } else {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setPrinterName(queue);
            PrinterStickerSurface surface(std::move(printer));
            StickerInput in;
            in.lineTexts = {"ACME", "Box", "", "", "", "", "", "", "", "", "1", "10"};
            in.stickersAcross = "1";
            in.TxRow = "2";
            in.maxField = 2;
            in.lineWidth = "10";
            in.TxtFontNM = "DejaVu Sans";
            in.TxtFontSZ = "10";
            in.TxtMLeft = in.TxtMtop = "720";
            in.TxtHEight = "2000";
            in.TxtWidth = "200";
            in.TxBlank = "1000";
            in.txtRowPrint = "1"; // a document for each row
            in.windowMode = true;
            printed = printWindowSheet(in, surface);
        }
        const QList<MessageBox::Record> shown = MessageBox::shown();
        if (!refused) {
            QVERIFY(printed);
            QVERIFY(target.next(route == "panel" ? "win.prn" : "Stickers").startsWith("%PDF"));
            return;
        }
        QVERIFY(!printed);
        QVERIFY(!shown.isEmpty());
        const QString text = shown.last().text;
        const QRegularExpression told("^The printer Sticker2Closed did not take the job: .+",
            QRegularExpression::MultilineOption);
        QVERIFY2(text.contains(told), qPrintable(text));
        QVERIFY(target.jobs().isEmpty());
        if (route == "stickers") {
            // One refusal told, and the run stopped there (that the later documents are not drawn is
            // checked on the engine, tst_windowsheet).
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown.first().title, QString("Printing Error"));
        }
    }
};

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
