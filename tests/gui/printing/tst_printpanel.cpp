// The print panel's rules driven through its controls, and printing through
// the desktop driver with the pages recorded. Prints that reach a queue of
// the private cupsd are in tst_cupsprint.
#include "gui/printing/DesktopPrinting.h"
#include "PrintingFixture.h"
#include "gui/controls/JeweledButton.h"
#include "gui/report/SheetView.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>

using namespace PrintingFixture;

namespace {

// Prints through the desktop driver go to this PDF file.
QString printedPdf()
{
    return QDir::temp().filePath("printed.pdf");
}

// The first line of each page printed (its number), in order.
QString printedPages()
{
    QStringList pages;
    if (!QFileInfo::exists(printedPdf()))
        return QString();
    auto matches = QRegularExpression("Page (\\d+)").globalMatch(pdfText(printedPdf()));
    while (matches.hasNext())
        pages << matches.next().captured(1);
    return pages.join(' ');
}

} // namespace

class TestPrintPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void init()
    {
        reset();
        QFile::remove(printedPdf());
        DesktopPrinting::setFactory([](const DesktopPrintSetup &setup, QString *) {
            auto printer = DesktopPrinting::makePrinter(setup);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(printedPdf());
            return std::make_unique<QPrinterDocumentPrinter>(std::move(printer), setup.render);
        });
    }
    void cleanup() { PrintingFixture::cleanup(); }

    void opening_noPrintersMessage()
    {
        QVERIFY(QPrinterInfo::availablePrinterNames().isEmpty());
        FrmReport *view = open(printFile("a.prn", pagedBytes(2)));
        click(view, "CmdPrint");
        QVERIFY(view->printPanel()->isVisible());
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QString("No Printers Installed to do the Print job"));
        QCOMPARE(MessageBox::shown().first().title, QString("Information Window"));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
    }

    void steps_data()
    {
        // Steps on a ten-page view with its panel open (ReportViewFixture::apply),
        // then the states they leave (ReportViewFixture::states).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("states");
        const auto row = [](const char *name, const QStringList &steps, const char *states) {
            QTest::newRow(name) << steps << states;
        };
        row("opened", {}, "stored:Winp=<absent>;Op(0)=1;Tst.enabled=0;Tst.base=#febed7;Text3=1;VScroll1=99");
        row("Windows mode stored on click, kept on closing", {"OptWinMode", "CmdCancel"},
            "stored:Winp=1;OptWinMode.bold=1;OptCharMode.bold=0;FrmWin.enabled=1;Tst.visible=0");
        row("character mode stored on click", {"OptWinMode", "OptCharMode"},
            "stored:Winp=0;OptCharMode.bold=1;OptWinMode.bold=0;FrmWin.enabled=0");
        row("10 clears 12 and 17", {"Ch12=1", "Ch17=1", "Ch10"},
            "Ch10=1;Ch12=0;Ch17=0;Ch10.bold=1;Ch12.bold=0;Ch17.bold=0");
        row("12 clears 10, leaves 17", {"Ch10=1", "Ch17=1", "Ch12"},
            "Ch10=0;Ch12=1;Ch17=1;Ch12.bold=1;Ch17.bold=0");
        row("draft off", {"ChDraft=1", "ChDraft"}, "ChDraft=0;ChDraft.bold=0");
        row("range: its boxes open", {"Op(2)"},
            "Op(2).bold=1;Op(0).bold=0;Tst.enabled=1;Tend.enabled=1;Tst.base=#ffffff;Tend.base=#ffffff");
        row("start box keeps a decimal number", {"Op(2)", "Tst+1a.5.x"}, "Tst=1.5");
        row("copies box keeps digits", {"Text3=", "Text3+2.b5"}, "Text3=25");
        row("spinner up: 2 copies", {"VScroll1=98"}, "Text3=2");
        row("spinner at 100: 0 copies", {"VScroll1=100"}, "Text3=0");
        // The range check on leaving the end box: the end kept within start
        // and the page count, an empty start made 1; an end left empty or 0 is
        // refused, with the focus kept in the box and nothing written.
        const QString taken = "Tst=%1;Tend=%2;boxes=0;Tend.focus=0";
        const QString refused
            = "Tst=1;Tend=%1;boxes=1;box=plese Check Velue...;icon=0;Tend.focus=1;Tst.visible=1";
        for (const auto &[typed, after] : QList<QPair<QString, QString>> {{"2 4", taken.arg(2).arg(4)},
                 {"5 3", taken.arg(5).arg(5)}, {"2 99", taken.arg(2).arg(10)}, {" 4", taken.arg(1).arg(4)},
                 {"12 ", taken.arg(12).arg(10)}, {"0 0", refused.arg(0)}, {" ", refused.arg("")}})
            row(qPrintable("range \"" + typed + "\" left by Tab"),
                {"Op(2)", "Tst=" + typed.section(' ', 0, 0), "Tend=" + typed.section(' ', 1), "Tend!Tab"},
                qPrintable(after));
        row("range end 0 on the print button: refused", {"Op(2)", "Tst=", "Tend=0", "CmdOk"},
            qPrintable(refused.arg("")));
        // A start past the last page is left by the check (only the end is
        // kept to the page count): the print says so, sends nothing and asks
        // nothing, in either mode (an empty job had gone to the printer).
        for (const auto &[mode, end] : QList<QPair<QString, int>> {{"OptCharMode", 10}, {"OptWinMode", 14}})
            row(qPrintable("range past the end, " + mode), {mode, "Op(2)", "Tst=12", "Tend=14", "CmdOk"},
                qPrintable(QString("Tst=12;Tend=%1;boxes=1;box=Page 12 is past the last page (10).").arg(end)));
    }

    void steps()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, states);
        openView(10);
        QVERIFY(QTest::qWaitForWindowActive(m_view));
        apply(m_view, steps);
        QTRY_COMPARE(ReportViewFixture::states(m_view, states), states);
        QVERIFY(!QFileInfo::exists(programFile("RANGE.prn")));
    }

    void pageFileNotWritable()
    {
        openView(3);
        // A folder where the page file should be: it cannot be replaced.
        const QString blocked = programFile("Currnt.prn");
        QVERIFY2(QDir().mkpath(blocked + "/inside"), qPrintable(blocked));
        click(m_view, "Op(1)");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(m_view, "CmdOk");
        QDir(blocked).removeRecursively();
        QCOMPARE(MessageBox::shown().size(), 2);
        QVERIFY(MessageBox::shown().last().text.startsWith("The page file "));
        QCOMPARE(MessageBox::shown().last().title, QString("Printer Error Information"));
        QVERIFY(m_view->tagText().isEmpty() && m_view->printPanel()->isVisible());
    }

    void windowsModeNamesChosenPrinter()
    {
        // The printer list was filled while the spooler answered; now it does
        // not, and the real printer route names the printer the user chose.
        DesktopPrinting::setFactory({});
        openView(1);
        auto *printers = control<QComboBox>(m_view, "CboPrinters");
        printers->addItem("Office");
        printers->setCurrentText("Office");
        apply(m_view, {"OptWinMode"});
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(m_view, "CmdOk");
        QCOMPARE(MessageBox::shown().last().text, QString("The Printer Name (Office) wasn't recognized."));
    }

    void pageOrder_data()
    {
        // A three-page view showing page 2. Character mode here has no spooler:
        // a print would add its error to the question. The pages a range
        // chooses are checked with the export (tst_reportexport).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("order");
        const auto row = [](const char *name, const QStringList &steps, bool yes, const char *order) {
            QTest::newRow(name) << steps << yes << order;
        };
        row("all pages, 2 copies", {"OptWinMode", "Text3=2"}, true, "1 1 2 2 3 3");
        row("all pages, copies 0", {"OptWinMode", "Text3=0"}, true, "");
        row("current page, copies 3.9", {"OptWinMode", "Op(1)", "Text3=3.9"}, true, "2 2 2");
        row("range 2 to 99 kept to the pages", {"OptWinMode", "Op(2)", "Tst=2", "Tend=99"}, true, "2 3");
        row("answered No, Windows mode", {"OptWinMode"}, false, "");
    }

    void pageOrder()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, yes);
        QFETCH(QString, order);
        openView(3);
        apply(m_view, QStringList {"CmdNxt"} + steps);
        MessageBox::setNextAnswer(yes ? QMessageBox::Yes : QMessageBox::No);
        click(m_view, "CmdOk");
        // Copies 0 prints nothing and says so after the question.
        QCOMPARE(MessageBox::shown().size(), yes && order.isEmpty() ? 2 : 1);
        QCOMPARE(MessageBox::shown().first().text,
            QString("Are You Sure You Want To Print & Printer is Ready and Online ..."));
        QCOMPARE(MessageBox::shown().first().title, QString("Printing.... "));
        QCOMPARE(MessageBox::shown().first().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(printedPages(), order); // one job: a second would replace the file
        QCOMPARE(m_view->printPanel()->isHidden(), yes);
        QVERIFY(!QFileInfo::exists(programFile("Currnt.prn")));
    }

    // A range's numbers are read whole: a view may have more pages than a
    // 16-bit number holds (page 40000 had been read as 32767).
    void rangePastSixteenBits()
    {
        openView(3);
        apply(m_view, {"Op(2)"});
        m_view->printPanel()->findChild<QLineEdit *>("Tst")->setText("40000");
        m_view->printPanel()->findChild<QLineEdit *>("Tend")->setText("99999999999");
        const PageSelection pages = m_view->printPanel()->pageSelection();
        QCOMPARE(pages.kind, PageSelection::Range);
        QCOMPARE(pages.first, 40000);
        QCOMPARE(pages.last, std::numeric_limits<int>::max());
    }

    // In the printed look the desktop driver prints the sheets as drawn:
    // the sheets the range chooses, each on a page of its own.
    void printedLookPrintsSheets_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("order");
        QTest::newRow("all sheets") << QStringList {"OptWinMode"} << "1 2 3";
        QTest::newRow("sheets 2 to 3") << QStringList {"OptWinMode", "Op(2)", "Tst=2", "Tend=3"} << "2 3";
    }

    void printedLookPrintsSheets()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, order);
        m_view = open(printFile("sheets.prn", pagedBytes(3)));
        QAction *printed = m_view->findChild<QAction *>("ActPrinted");
        QVERIFY(printed);
        printed->trigger();
        QVERIFY(m_view->sheetView()->isVisible());
        QTest::mouseClick(control(m_view, "CmdPrint"), Qt::LeftButton);
        MessageBox::clearShown();
        apply(m_view, steps);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(m_view, "CmdOk");
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(printedPages(), order);
        const QString info = TestSupport::runTool("pdfinfo", {printedPdf()});
        QVERIFY2(info.contains(QRegularExpression("Pages: +" + QString::number(order.count(' ') + 1) + "\n")),
            qPrintable(info));
    }

    void dialogRoute()
    {
        // The page on screen, or the selection, through the print dialog; no
        // question, and the panel stays open.
        openView(3);
        apply(m_view, {"OptWinMode", "Chwinprint=1"});
        const QString whole = QDir::temp().filePath("page.pdf");
        Dialogs::setNextPrintFile(whole);
        click(m_view, "CmdOk");
        QCOMPARE(Dialogs::asked().last().kind, QString("print"));
        QString text = pdfText(whole);
        QVERIFY2(text.contains("Page 1") && text.contains("third line") && !text.contains("Page 2"),
            qPrintable(text));
        // Named after the file, as the panel's other routes name their jobs (it had no name).
        const QString info = TestSupport::runTool("pdfinfo", {whole});
        QVERIFY2(info.contains(QRegularExpression("Title: +report.prn\n")), qPrintable(info));
        const QString part = QDir::temp().filePath("selection.pdf");
        m_view->pageView()->select(7, 18); // "second line"
        Dialogs::setNextPrintFile(part);
        click(m_view, "CmdOk");
        text = pdfText(part);
        QVERIFY2(text.contains("second line") && !text.contains("Page 1"), qPrintable(text));
        click(m_view, "CmdOk"); // no answer queued: the dialog is cancelled
        QCOMPARE(Dialogs::asked().size(), 3);
        QCOMPARE(MessageBox::shown().size(), 0);
        QVERIFY(!QFileInfo::exists(printedPdf()));
        QVERIFY(m_view->printPanel()->isVisible());
    }

    void previewHoldsWhatIsPrinted()
    {
        // Each page once, of the pages the range chooses. How a page is laid out (a wide line wrapped on
        // portrait paper) is checked with the PDF export, which draws with the same renderer.
        openView(3);
        apply(m_view, {"OptWinMode"});
        const auto preview = [this] { click(m_view, "CmdPreview"); };
        QCOMPARE(TestSupport::previewPageCount(preview), 3);
        apply(m_view, {"Op(2)", "Tst=2", "Tend=3"});
        QCOMPARE(TestSupport::previewPageCount(preview), 2);
    }

    void previewOfTooManyPagesRefused()
    {
        // A preview draws every page into memory before it shows one: a long
        // report's froze the window for minutes, gigabytes large.
        openView(int(DesktopPrinting::PreviewPageLimit) + 1);
        apply(m_view, {"OptWinMode"});
        click(m_view, "CmdPreview");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(MessageBox::shown().last().text.contains("at most 1000 pages, and this print has 1001"),
            qPrintable(MessageBox::shown().last().text));
        // The pages a range chooses may be seen.
        apply(m_view, {"Op(2)", "Tst=2", "Tend=3"});
        QCOMPARE(TestSupport::previewPageCount([this] { click(m_view, "CmdPreview"); }), 2);
    }

private:
    void openView(int pages) { m_view = openPanel("report.prn", pagedBytes(pages)); }

    FrmReport *m_view = nullptr;
};

QTEST_MAIN(TestPrintPanel)
#include "tst_printpanel.moc"
