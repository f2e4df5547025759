// Printing from the print panel into the private CUPS daemon (started by the
// test fixture): the page files, the bytes that reach the queue, and the
// printer a Windows-mode print goes to.
#include "../report/ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "printing/CurrentPrinter.h"
#include "printing/DesktopPrinting.h"
#include "printing/PrintPanel.h"
#include "printing/RawPrinting.h"
#include "report/ReportColorPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSet>
#include <QTemporaryDir>

using namespace ReportViewFixture;

namespace {

const QByteArray NoDraftHeight6("\x1bP\x1b\x43\x00\x06", 6);

QString programFile(const QString &name)
{
    return QDir(AppPaths::programFolder()).filePath(name);
}

} // namespace

class TestCupsPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void range_pageFileAndBytes();
    void currentPage_pageFileAndBytes();
    void allPages_reportFileOnChosenQueue();
    void answeredNo_nothingWritten();
    void rangeWithoutEnd_nothingPrinted();
    void opening_noPrinterSelected();
    void windowsMode_chosenPrinterMadeCurrent_data();
    void windowsMode_chosenPrinterMadeCurrent();
    void windowsMode_realQueueGetsThePages();

private:
    FrmReport *openView(const QString &name, const QByteArray &bytes);
    void click(const QString &name);
    template <typename T = QWidget> T *panel(const QString &name) { return control<T>(m_view, name); }
    QSet<QString> jobsIn(const QString &queue) const;
    // The bytes of the first job titled `title` that was not in `before`.
    QByteArray waitForNewJob(const QString &queue, const QString &title, const QSet<QString> &before);
    // Jobs leave a queue in order: once a marker printed after the action
    // has come out, a job of the action would have come out before it.
    void expectNothingSentSince(const QString &queue, const QSet<QString> &before);

    QTemporaryDir m_dir;
    QString m_out;
    FrmReport *m_view = nullptr;
};

void TestCupsPanel::initTestCase()
{
    TestSupport::init();
    const QString folder = qEnvironmentVariable("STICKER2_CUPS_DIR");
    if (folder.isEmpty() || !QFileInfo::exists(qEnvironmentVariable("CUPS_SERVER")))
        QFAIL("the private cupsd is not running: run this test through ctest (fixture printing/cupsd_start)");
    m_out = folder + "/out";
}

void TestCupsPanel::init()
{
    // Each case starts in character mode, with no stored settings.
    QFile::remove(SettingsStore::fileName(SettingsAppName));
    MessageBox::setTestMode(true);
    CurrentPrinter::setName(QString());
    for (const char *name : {"Currnt.prn", "RANGE.prn"})
        QFile::remove(programFile(name));
}

void TestCupsPanel::cleanup()
{
    DesktopPrinting::setFactory({});
    CurrentPrinter::setName(QString());
    closeAll();
    m_view = nullptr;
}

FrmReport *TestCupsPanel::openView(const QString &name, const QByteArray &bytes)
{
    m_view = open(TestSupport::writeFile(m_dir.filePath(name), bytes));
    QTest::mouseClick(control(m_view, "CmdPrint"), Qt::LeftButton);
    MessageBox::clearShown();
    return m_view;
}

void TestCupsPanel::click(const QString &name)
{
    QWidget *w = panel(name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
}

QSet<QString> TestCupsPanel::jobsIn(const QString &queue) const
{
    const QStringList titles = QDir(m_out + "/" + queue).entryList({"job-*.title"}, QDir::Files);
    return QSet<QString>(titles.begin(), titles.end());
}

QByteArray TestCupsPanel::waitForNewJob(
    const QString &queue, const QString &title, const QSet<QString> &before)
{
    const QDir dir(m_out + "/" + queue);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        for (const QString &entry : dir.entryList({"job-*.title"}, QDir::Files)) {
            if (before.contains(entry) || TestSupport::readFile(dir.filePath(entry)) != title.toUtf8())
                continue;
            const QString prn = dir.filePath(QString(entry).replace(".title", ".prn"));
            if (QFileInfo::exists(prn))
                return TestSupport::readFile(prn);
        }
        QTest::qWait(20);
    }
    qWarning("no new job titled %s reached %s", qPrintable(title), qPrintable(queue));
    return QByteArray("<no job>");
}

void TestCupsPanel::expectNothingSentSince(const QString &queue, const QSet<QString> &before)
{
    const QString marker = TestSupport::writeFile(m_dir.filePath("marker.prn"), "marker\r\n");
    const QSet<QString> beforeMarker = jobsIn(queue);
    QVERIFY(PrintFile(marker, queue, 6, false, RawPanelState()));
    QCOMPARE(waitForNewJob(queue, "marker.prn", beforeMarker), NoDraftHeight6 + "marker\r\n");
    QCOMPARE(jobsIn(queue).size(), before.size() + 1);
}

void TestCupsPanel::range_pageFileAndBytes()
{
    const QByteArray report = pagedBytes(10);
    openView("ten.prn", report);
    QCOMPARE(panel<QComboBox>("CboPrinters")->currentText(), QString("Sticker2Raw"));
    click("ChDraft");
    click("Op(2)");
    panel<QLineEdit>("Tst")->setText("2");
    panel<QLineEdit>("Tend")->setText("4");
    panel<QComboBox>("ComPaperHeight")->setCurrentText("12");
    const QSet<QString> before = jobsIn("Sticker2Raw");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().title, QString("Printing.... "));
    const QByteArray range = "Page 2\r\nsecond line\r\nthird line\r\n\f"
                             "Page 3\r\nsecond line\r\nthird line\r\n\f"
                             "Page 4\r\nsecond line\r\nthird line\r\n\f";
    QCOMPARE(TestSupport::readFile(programFile("RANGE.prn")), range);
    QCOMPARE(m_view->tagText(), ShortPathOf(programFile("RANGE.prn")));
    QVERIFY(m_view->printPanel()->isHidden());
    // The last line (the form feed) has no line end of its own in the file.
    QCOMPARE(waitForNewJob("Sticker2Raw", "RANGE.prn", before),
        QByteArray("\x1bP\x1b\x43\x00\x0c", 6) + range + "\r\n");
}

void TestCupsPanel::currentPage_pageFileAndBytes()
{
    openView("three.prn", pagedBytes(3));
    QTest::mouseClick(control(m_view, "CmdNxt"), Qt::LeftButton);
    click("Op(1)");
    click("Ch12");
    click("Ch17");
    panel<QLineEdit>("Text3")->setText("2");
    panel<QComboBox>("ComPaperHeight")->setCurrentText("6");
    m_view->colorPanel()->ChL->setChecked(true);
    const QSet<QString> before = jobsIn("Sticker2Raw");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");

    const QByteArray page = "Page 2\r\nsecond line\r\nthird line\r\n\f";
    QCOMPARE(TestSupport::readFile(programFile("Currnt.prn")), page);
    QCOMPARE(m_view->tagText(), ShortPathOf(programFile("Currnt.prn")));
    const QByteArray setup("\x1bP\x1bx\x00\x12\x1bW \x1bM\x0f\x1b\x43\x00\x06", 16);
    QCOMPARE(waitForNewJob("Sticker2Raw", "Currnt.prn", before),
        setup + "Page 2\r\n\r\nsecond line\r\nthird line\r\n\f\r\n" + page + "\r\n");
}

void TestCupsPanel::allPages_reportFileOnChosenQueue()
{
    const QByteArray report = pagedBytes(2);
    openView("whole.prn", report);
    panel<QComboBox>("CboPrinters")->setCurrentText("Sticker2Other");
    click("ChDraft");
    panel<QComboBox>("ComPaperHeight")->setCurrentText("6");
    m_view->setTagText("left over from an earlier print");
    const QSet<QString> before = jobsIn("Sticker2Other");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    QVERIFY(m_view->tagText().isEmpty());
    QCOMPARE(waitForNewJob("Sticker2Other", "whole.prn", before), NoDraftHeight6 + report + "\r\n");
    QVERIFY(!QFileInfo::exists(programFile("Currnt.prn")));
    QVERIFY(!QFileInfo::exists(programFile("RANGE.prn")));
}

void TestCupsPanel::answeredNo_nothingWritten()
{
    openView("no.prn", pagedBytes(3));
    click("Op(1)");
    const QSet<QString> before = jobsIn("Sticker2Raw");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(!QFileInfo::exists(programFile("Currnt.prn")));
    QVERIFY(m_view->printPanel()->isVisible());
    expectNothingSentSince("Sticker2Raw", before);
}

void TestCupsPanel::rangeWithoutEnd_nothingPrinted()
{
    openView("noend.prn", pagedBytes(10));
    click("Op(2)");
    panel<QLineEdit>("Tst")->setText("");
    panel<QLineEdit>("Tend")->setText("0");
    const QSet<QString> before = jobsIn("Sticker2Raw");
    click("CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1); // no question: the range was refused first
    QCOMPARE(MessageBox::shown().first().text, QString("plese Check Velue..."));
    QCOMPARE(panel<QLineEdit>("Tst")->text(), QString("1"));
    QVERIFY(!QFileInfo::exists(programFile("RANGE.prn")));
    QVERIFY(m_view->printPanel()->isVisible());
    expectNothingSentSince("Sticker2Raw", before);
}

void TestCupsPanel::opening_noPrinterSelected()
{
    // The program's current printer is not among the installed ones.
    CurrentPrinter::setName("Printer Taken Away");
    m_view = open(TestSupport::writeFile(m_dir.filePath("gone.prn"), pagedBytes(1)));
    QVERIFY(QTest::qWaitForWindowActive(m_view));
    auto *printers = panel<QComboBox>("CboPrinters");
    QCOMPARE(printers->count(), 3);
    QTest::mouseClick(control(m_view, "CmdPrint"), Qt::LeftButton);
    QVERIFY(m_view->printPanel()->isVisible());
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(
        MessageBox::shown().first().text, QString("Select any of the Printer from  Printers Collection"));
    QCOMPARE(MessageBox::shown().first().title, QString("Information Window"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
    QTRY_VERIFY(printers->hasFocus());
}

void TestCupsPanel::windowsMode_chosenPrinterMadeCurrent_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("current");
    QTest::newRow("installed") << "Sticker2Other"
                               << "Sticker2Other";
    QTest::newRow("case differs: current stays") << "sticker2other"
                                                 << "Sticker2Raw";
    QTest::newRow("not installed: current stays") << "Elsewhere"
                                                  << "Sticker2Raw";
}

void TestCupsPanel::windowsMode_chosenPrinterMadeCurrent()
{
    QFETCH(QString, chosen);
    QFETCH(QString, current);
    QStringList printedOn;
    DesktopPrinting::setFactory([&printedOn](const DesktopPrintSetup &setup, QString *) {
        printedOn << setup.printerName;
        auto printer = DesktopPrinting::makePrinter(setup);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QDir::temp().filePath("current.pdf"));
        return std::make_unique<QPrinterDocumentPrinter>(std::move(printer));
    });
    openView("win.prn", pagedBytes(1));
    click("OptWinMode");
    panel<QComboBox>("CboPrinters")->setCurrentText(chosen);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    QCOMPARE(CurrentPrinter::name(), current);
    QCOMPARE(printedOn, QStringList {current});
    QCOMPARE(MessageBox::shown().size(), 1);
}

void TestCupsPanel::windowsMode_realQueueGetsThePages()
{
    // Through the desktop driver to a real queue: the job is the printer
    // driver's page description, here PDF, with the pages' text in it.
    openView("driver.prn", pagedBytes(2));
    click("OptWinMode");
    panel<QComboBox>("CboPrinters")->setCurrentText("Sticker2Other");
    const QSet<QString> before = jobsIn("Sticker2Other");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1);
    const QByteArray job = waitForNewJob("Sticker2Other", "driver.prn", before);
    QVERIFY2(job.startsWith("%PDF"), job.left(20).constData());
    const QString pdf = TestSupport::writeFile(m_dir.filePath("driver.pdf"), job);
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(pages.contains("Page 1") && pages.contains("Page 2"), qPrintable(pages));
}

QTEST_MAIN(TestCupsPanel)
#include "tst_cupspanel.moc"
