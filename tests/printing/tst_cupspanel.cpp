// Printing from the print panel into the private CUPS daemon (started by the
// test fixture): the page files, the bytes that reach the queue, and the
// printer and pages of a Windows-mode print.
#include "PrintingFixture.h"
#include "report/ReportColorPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace PrintingFixture;

namespace {

const QByteArray Page2("Page 2\r\nsecond line\r\nthird line\r\n\f");

} // namespace

class TestCupsPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { reset(); }
    void cleanup() { PrintingFixture::cleanup(); }

    void range_pageFileAndBytes();
    void currentPage_pageFileAndBytes();
    void allPages_reportFileOnChosenQueue();
    void opening_currentPrinterGone();
    void windowsMode_data();
    void windowsMode();

private:
    template <typename T = QWidget> T *panel(const QString &name) { return control<T>(m_view, name); }
    void printAnsweringYes()
    {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(m_view, "CmdOk");
    }

    FrmReport *m_view = nullptr;
};

void TestCupsPanel::initTestCase()
{
    TestSupport::init();
    if (!cupsdRunning())
        QFAIL("the private cupsd is not running: run this test through ctest (fixture printing/cupsd_start)");
}

void TestCupsPanel::range_pageFileAndBytes()
{
    m_view = openPanel("ten.prn", pagedBytes(10));
    QCOMPARE(panel<QComboBox>("CboPrinters")->currentText(), QString("Sticker2Raw"));
    click(m_view, "ChDraft");
    click(m_view, "Op(2)");
    panel<QLineEdit>("Tst")->setText("2");
    panel<QLineEdit>("Tend")->setText("4");
    panel<QComboBox>("ComPaperHeight")->setCurrentText("12");
    const Queue queue("Sticker2Raw");
    printAnsweringYes();

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().title, QString("Printing.... "));
    const QByteArray range = pagedBytes(4).mid(pagedBytes(1).size());
    QCOMPARE(TestSupport::readFile(programFile("RANGE.prn")), range);
    QCOMPARE(m_view->tagText(), ShortPathOf(programFile("RANGE.prn")));
    QVERIFY(m_view->printPanel()->isHidden());
    // The last line (the form feed) has no line end of its own in the file.
    QCOMPARE(queue.next("RANGE.prn"), QByteArray("\x1bP\x1b\x43\x00\x0c", 6) + range + "\r\n");
}

void TestCupsPanel::currentPage_pageFileAndBytes()
{
    m_view = openPanel("three.prn", pagedBytes(3));
    QTest::mouseClick(control(m_view, "CmdNxt"), Qt::LeftButton);
    click(m_view, "Op(1)");
    click(m_view, "Ch12");
    click(m_view, "Ch17");
    panel<QLineEdit>("Text3")->setText("2");
    panel<QComboBox>("ComPaperHeight")->setCurrentText("6");
    m_view->colorPanel()->ChL->setChecked(true);
    const Queue queue("Sticker2Raw");
    printAnsweringYes();

    QCOMPARE(TestSupport::readFile(programFile("Currnt.prn")), Page2);
    QCOMPARE(m_view->tagText(), ShortPathOf(programFile("Currnt.prn")));
    // Draft is ticked on opening; ChL adds a line after the first line only.
    const QByteArray setup("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x06", 16);
    QCOMPARE(queue.next("Currnt.prn"),
        setup + "Page 2\r\n\r\nsecond line\r\nthird line\r\n\f\r\n" + Page2 + "\r\n");
}

void TestCupsPanel::allPages_reportFileOnChosenQueue()
{
    const QByteArray report = pagedBytes(2);
    m_view = openPanel("whole.prn", report);
    panel<QComboBox>("CboPrinters")->setCurrentText("Sticker2Other");
    click(m_view, "ChDraft");
    panel<QComboBox>("ComPaperHeight")->setCurrentText("6");
    m_view->setTagText("left over from an earlier print");
    const Queue queue("Sticker2Other");
    printAnsweringYes();
    QVERIFY(m_view->tagText().isEmpty());
    QCOMPARE(queue.next("whole.prn"), QByteArray("\x1bP\x1b\x43\x00\x06", 6) + report + "\r\n");
    QVERIFY(!QFileInfo::exists(programFile("Currnt.prn")));
    QVERIFY(!QFileInfo::exists(programFile("RANGE.prn")));
}

void TestCupsPanel::opening_currentPrinterGone()
{
    // The program's current printer is not among the installed ones.
    CurrentPrinter::setName("Printer Taken Away");
    m_view = open(printFile("gone.prn", pagedBytes(1)));
    QVERIFY(QTest::qWaitForWindowActive(m_view));
    QCOMPARE(panel<QComboBox>("CboPrinters")->count(), 3);
    QTest::mouseClick(control(m_view, "CmdPrint"), Qt::LeftButton);
    QVERIFY(m_view->printPanel()->isVisible());
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(
        MessageBox::shown().first().text, QString("Select any of the Printer from  Printers Collection"));
    QCOMPARE(MessageBox::shown().first().title, QString("Information Window"));
    QTRY_VERIFY(panel("CboPrinters")->hasFocus());
}

void TestCupsPanel::windowsMode_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("queue");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("installed: made current") << "Sticker2Other"
                                             << "Sticker2Other" << false;
    QTest::newRow("case differs: current stays, landscape") << "sticker2other"
                                                            << "Sticker2Raw" << true;
    QTest::newRow("not installed: current stays") << "Elsewhere"
                                                  << "Sticker2Raw" << false;
}

void TestCupsPanel::windowsMode()
{
    // Through the desktop driver: the job is the driver's page description,
    // here PDF, with the pages' text and none of the hidden sequences.
    QFETCH(QString, chosen);
    QFETCH(QString, queue);
    QFETCH(bool, landscape);
    const QByteArray bytes = "Plain start " + BoldOn.toLatin1() + "Bold words" + BoldOff.toLatin1()
        + " end\r\n" + CondOn.toLatin1() + "small print" + CondOff.toLatin1() + "\r\n\fsecond page "
        + ULineOn.toLatin1() + "underlined" + ULineOff.toLatin1() + "\r\n\f";
    m_view = openPanel("win.prn", bytes);
    click(m_view, "OptWinMode");
    if (landscape)
        click(m_view, "OpPL(1)");
    panel<QComboBox>("CboPrinters")->setCurrentText(chosen);
    panel<QLineEdit>("Text3")->setText("2");
    const Queue target(queue);
    printAnsweringYes();
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(CurrentPrinter::name(), queue);

    const QByteArray job = target.next("win.prn");
    QVERIFY2(job.startsWith("%PDF"), job.left(20).constData());
    const QString pdf = TestSupport::writeFile(QDir::temp().filePath("win.pdf"), job);
    QCOMPARE(pdfInfo(pdf, "Pages"), QString("4"));
    QCOMPARE(pdfText(pdf).simplified(), // each page as many times as copies
        QString("Plain start Bold words end small print Plain start Bold words end small print "
                "second page underlined second page underlined"));
    const QStringList size = pdfInfo(pdf, "Page size").split(' ');
    QCOMPARE(size.value(0).toDouble() > size.value(2).toDouble(), landscape);
}

QTEST_MAIN(TestCupsPanel)
#include "tst_cupspanel.moc"
