// The print panel's rules driven through its controls, and printing through
// the desktop driver: recorded page order, and real PDF output read back.
#include "../report/ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "controls/SpLebal.h"
#include "platform/AppPaths.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "platform/OleColor.h"
#include "platform/SettingsStore.h"
#include "printing/DesktopPrinting.h"
#include "printing/PrintPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>

using namespace ReportViewFixture;

namespace {

// One call of the page-by-page print: the page's first line and the state
// of the print-mode flag while it printed.
struct PrintCall
{
    QString firstLine;
    QString flag;
};

struct Recorder
{
    QList<PrintCall> calls;
    QList<DesktopPrintSetup> opened;
    int finished = 0;
};

class RecordingPrinter : public DocumentPrinter
{
public:
    RecordingPrinter(Recorder *recorder, FrmReport *view)
        : m_recorder(recorder)
        , m_view(view)
    { }
    bool printDocument(const QTextDocument &document) override
    {
        m_recorder->calls.append(
            {document.toPlainText().section('\n', 0, 0), m_view->printPanel()->CmdOk->tag()});
        return true;
    }
    bool finish() override
    {
        ++m_recorder->finished;
        return true;
    }
    QString errorString() const override { return QString(); }

private:
    Recorder *m_recorder;
    FrmReport *m_view;
};

QString stored(const QString &key)
{
    return SettingsStore::read(SettingsAppName, "ReportView", key, "<absent>");
}

QStringList firstLines(const Recorder &r)
{
    QStringList lines;
    for (const PrintCall &c : r.calls)
        lines << c.firstLine;
    return lines;
}

// The text of a PDF file as pdftotext reads it.
QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString &pdf, const QString &field)
{
    QProcess p;
    p.start("pdfinfo", {pdf});
    if (!p.waitForFinished(30000))
        return QString();
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed();
    }
    return QString();
}

} // namespace

class TestPrintPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init();
    void cleanup();

    void opening_noPrintersMessage();
    void closeHides();
    void modeStoredOnClick();
    void pitchBoxes_data();
    void pitchBoxes();
    void pageOptions();
    void keyFilters();
    void copiesSpinner();
    void rangeCheckOnLeavingEnd_data();
    void rangeCheckOnLeavingEnd();
    void rangeNotCheckedWhenBoxGoesAway();
    void pageFileNotWritable();

    void pageOrder_data();
    void pageOrder();
    void copiesZeroPrintsNothing();
    void answeredNoPrintsNothing();
    void pdf_pageTextWithoutSequences();
    void pdf_landscape();
    void dialogRoute_pageOrSelection();
    void dialogRoute_cancelPrintsNothing();

private:
    FrmReport *openView(const QByteArray &bytes);
    QWidget *panelControl(const QString &name) { return control(m_view, name); }
    template <typename T> T *panel(const QString &name) { return control<T>(m_view, name); }
    // Clicks near the left edge, on the box or circle of a check or option.
    void click(const QString &name)
    {
        QWidget *w = panelControl(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(qMin(8, w->width() / 2), w->height() / 2));
    }
    void recordPrints();

    QTemporaryDir m_dir;
    FrmReport *m_view = nullptr;
    Recorder m_recorder;
};

void TestPrintPanel::init()
{
    QFile::remove(SettingsStore::fileName(SettingsAppName));
    MessageBox::setTestMode(true);
    Dialogs::setTestMode(true);
    m_recorder = Recorder();
    for (const char *name : {"Currnt.prn", "RANGE.prn"})
        QFile::remove(QDir(AppPaths::programFolder()).filePath(name));
}

void TestPrintPanel::cleanup()
{
    DesktopPrinting::setFactory({});
    closeAll();
    m_view = nullptr;
}

FrmReport *TestPrintPanel::openView(const QByteArray &bytes)
{
    m_view = open(printFile("report.prn", bytes));
    // The panel as the user sees it after the view's print button.
    m_view->printPanel()->CmdPrint_Click();
    MessageBox::clearShown();
    return m_view;
}

// Every page printed through the desktop driver is recorded instead.
void TestPrintPanel::recordPrints()
{
    DesktopPrinting::setFactory([this](const DesktopPrintSetup &setup, QString *) {
        m_recorder.opened << setup;
        return std::make_unique<RecordingPrinter>(&m_recorder, m_view);
    });
}

void TestPrintPanel::opening_noPrintersMessage()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("this machine has printers installed");
    FrmReport *view = open(printFile("a.prn", pagedBytes(2)));
    QTest::mouseClick(control(view, "CmdPrint"), Qt::LeftButton);
    QVERIFY(view->printPanel()->isVisible());
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, QString("No Printers Installed to do the Print job"));
    QCOMPARE(MessageBox::shown().first().title, QString("Information Window"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
}

void TestPrintPanel::closeHides()
{
    openView(pagedBytes(2));
    QVERIFY(m_view->printPanel()->isVisible());
    click("CmdCancel");
    QVERIFY(m_view->printPanel()->isHidden());
}

void TestPrintPanel::modeStoredOnClick()
{
    openView(pagedBytes(2));
    QCOMPARE(stored("Winp"), QString("<absent>"));
    click("OptWinMode");
    QCOMPARE(stored("Winp"), QString("1"));
    QVERIFY(panelControl("OptWinMode")->font().bold());
    QVERIFY(!panelControl("OptCharMode")->font().bold());
    QVERIFY(panelControl("FrmWin")->isEnabled());
    click("CmdCancel"); // closing without printing keeps the choice
    QCOMPARE(stored("Winp"), QString("1"));

    // A new view starts in the stored mode.
    FrmReport *second = open(printFile("b.prn", pagedBytes(1)));
    QVERIFY(control<QRadioButton>(second, "OptWinMode")->isChecked());
    QVERIFY(control(second, "FrmWin")->isEnabled());

    m_view->printPanel()->CmdPrint_Click();
    click("OptCharMode");
    QCOMPARE(stored("Winp"), QString("0"));
    QVERIFY(panelControl("OptCharMode")->font().bold());
    QVERIFY(!panelControl("OptWinMode")->font().bold());
    QVERIFY(!panelControl("FrmWin")->isEnabled());
}

void TestPrintPanel::pitchBoxes_data()
{
    // Boxes in the order Ch10, Ch12, Ch17, ChDraft; "1" checked or bold.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("bold");
    QTest::newRow("10 clears 12 and 17") << "0111" << QStringList {"Ch10"} << "1001"
                                         << "1000";
    QTest::newRow("12 then 17: both stay") << "1001" << QStringList {"Ch12", "Ch17"} << "0111"
                                           << "0110";
    QTest::newRow("12 clears 10, leaves 17") << "1011" << QStringList {"Ch12"} << "0111"
                                             << "0100";
    QTest::newRow("17 clears 10, leaves 12") << "1101" << QStringList {"Ch17"} << "0111"
                                             << "0010";
    QTest::newRow("draft off") << "0001" << QStringList {"ChDraft"} << "0000"
                               << "0000";
    QTest::newRow("draft off and on") << "0001" << QStringList {"ChDraft", "ChDraft"} << "0001"
                                      << "0001";
}

void TestPrintPanel::pitchBoxes()
{
    QFETCH(QString, before);
    QFETCH(QStringList, clicks);
    QFETCH(QString, checked);
    QFETCH(QString, bold);
    openView(pagedBytes(1));
    const QStringList names {"Ch10", "Ch12", "Ch17", "ChDraft"};
    for (int i = 0; i < 4; ++i)
        panel<QCheckBox>(names[i])->setChecked(before[i] == '1');
    for (const QString &name : clicks)
        click(name);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(panel<QCheckBox>(names[i])->isChecked() ? '1' : '0', checked[i].toLatin1());
        QCOMPARE(panel<QCheckBox>(names[i])->font().bold() ? '1' : '0', bold[i].toLatin1());
    }
}

void TestPrintPanel::pageOptions()
{
    openView(pagedBytes(3));
    const QColor white = OleColor::toColor(16777215);
    const QColor shaded = OleColor::toColor(14139134);
    QCOMPARE(shaded, QColor(254, 190, 215));
    auto *start = panel<QLineEdit>("Tst");
    auto *end = panel<QLineEdit>("Tend");
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->palette().color(QPalette::Base), shaded);
    QCOMPARE(panel<SpLebal>("SpLebal1")->Caption(), QString("to"));

    click("Op(2)");
    QVERIFY(panelControl("Op(2)")->font().bold());
    QVERIFY(!panelControl("Op(0)")->font().bold());
    for (QLineEdit *box : {start, end}) {
        QVERIFY(box->isEnabled());
        QCOMPARE(box->palette().color(QPalette::Base), white);
    }
    click("Op(1)");
    QVERIFY(panelControl("Op(1)")->font().bold());
    QVERIFY(!panelControl("Op(2)")->font().bold());
    for (QLineEdit *box : {start, end}) {
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->palette().color(QPalette::Base), shaded);
    }
    // The view's activation selects "All Pages" with the same rule.
    click("Op(2)");
    m_view->resize(m_view->width() + 10, m_view->height());
    QVERIFY(panel<QRadioButton>("Op(0)")->isChecked());
    QVERIFY(panelControl("Op(0)")->font().bold());
    QVERIFY(!end->isEnabled());
}

void TestPrintPanel::keyFilters()
{
    openView(pagedBytes(3));
    click("Op(2)");
    auto *start = panel<QLineEdit>("Tst");
    QTest::keyClicks(start, "1a.5.x");
    QCOMPARE(start->text(), QString("1.5"));
    auto *copies = panel<QLineEdit>("Text3");
    copies->clear();
    QTest::keyClicks(copies, "2.b5");
    QCOMPARE(copies->text(), QString("25"));
}

void TestPrintPanel::copiesSpinner()
{
    openView(pagedBytes(1));
    auto *spinner = panel<QScrollBar>("VScroll1");
    auto *copies = panel<QLineEdit>("Text3");
    QCOMPARE(spinner->value(), 99);
    QCOMPARE(copies->text(), QString("1"));
    spinner->triggerAction(QAbstractSlider::SliderSingleStepSub); // the up arrow
    QCOMPARE(copies->text(), QString("2"));
    spinner->setValue(100);
    QCOMPARE(copies->text(), QString("0"));
    spinner->setValue(1);
    QCOMPARE(copies->text(), QString("99"));
}

void TestPrintPanel::rangeCheckOnLeavingEnd_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("startAfter");
    QTest::addColumn<QString>("endAfter");
    QTest::addColumn<bool>("refused");
    QTest::newRow("2 to 4 stays") << "2"
                                  << "4"
                                  << "2"
                                  << "4" << false;
    QTest::newRow("5 to 3: end becomes 5") << "5"
                                           << "3"
                                           << "5"
                                           << "5" << false;
    QTest::newRow("end 99: the page count") << "2"
                                            << "99"
                                            << "2"
                                            << "10" << false;
    QTest::newRow("start empty: 1") << ""
                                    << "4"
                                    << "1"
                                    << "4" << false;
    QTest::newRow("start 12, end empty: 12 then 10") << "12"
                                                     << ""
                                                     << "12"
                                                     << "10" << false;
    QTest::newRow("start 0, end 0: refused") << "0"
                                             << "0"
                                             << "1"
                                             << "0" << true;
    QTest::newRow("both empty: refused") << ""
                                         << ""
                                         << "1"
                                         << "" << true;
}

void TestPrintPanel::rangeCheckOnLeavingEnd()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, startAfter);
    QFETCH(QString, endAfter);
    QFETCH(bool, refused);
    openView(pagedBytes(10));
    QVERIFY(QTest::qWaitForWindowActive(m_view));
    click("Op(2)");
    auto *first = panel<QLineEdit>("Tst");
    auto *last = panel<QLineEdit>("Tend");
    first->setText(start);
    last->setText(end);
    last->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(last->hasFocus());
    QTest::keyClick(last, Qt::Key_Tab); // leave the range end
    QCOMPARE(first->text(), startAfter);
    QCOMPARE(last->text(), endAfter);
    if (refused) {
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QString("plese Check Velue..."));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::NoIcon);
        QTRY_VERIFY(last->hasFocus());
    } else {
        QCOMPARE(MessageBox::shown().size(), 0);
        QTest::qWait(20);
        QVERIFY(!last->hasFocus());
    }
}

void TestPrintPanel::rangeNotCheckedWhenBoxGoesAway()
{
    openView(pagedBytes(10));
    QVERIFY(QTest::qWaitForWindowActive(m_view));
    click("Op(2)");
    auto *last = panel<QLineEdit>("Tend");
    last->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(last->hasFocus());
    m_view->printPanel()->selectPageOption(0); // as the view's activation does
    QCOMPARE(MessageBox::shown().size(), 0);
    click("Op(2)");
    last->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(last->hasFocus());
    m_view->printPanel()->hide(); // as a print that passes the question does
    QCOMPARE(MessageBox::shown().size(), 0);
}

void TestPrintPanel::pageFileNotWritable()
{
    openView(pagedBytes(3));
    // A folder where the page file should be: it cannot be replaced.
    const QString blocked = QDir(AppPaths::programFolder()).filePath("Currnt.prn");
    QVERIFY2(QDir().mkpath(blocked + "/inside"), qPrintable(blocked));
    click("Op(1)");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    QDir(blocked).removeRecursively();
    QCOMPARE(MessageBox::shown().size(), 2);
    QVERIFY(MessageBox::shown().last().text.startsWith("The page file "));
    QCOMPARE(MessageBox::shown().last().title, QString("Printer Error Information"));
    QVERIFY(m_view->tagText().isEmpty());
    QVERIFY(m_view->printPanel()->isVisible());
}

void TestPrintPanel::pageOrder_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("all pages, 2 copies")
        << 0 << ""
        << ""
        << "2" << QStringList {"Page 1", "Page 1", "Page 2", "Page 2", "Page 3", "Page 3"};
    QTest::newRow("current page (2)") << 1 << ""
                                      << ""
                                      << "1" << QStringList {"Page 2"};
    QTest::newRow("range 2 to 99 kept to the pages") << 2 << "2"
                                                     << "99"
                                                     << "1" << QStringList {"Page 2", "Page 3"};
    QTest::newRow("range -4 to 1") << 2 << "-4"
                                   << "1"
                                   << "1" << QStringList {"Page 1"};
    QTest::newRow("range beyond the report") << 2 << "7"
                                             << "9"
                                             << "3" << QStringList {};
    QTest::newRow("copies 3.9") << 1 << ""
                                << ""
                                << "3.9" << QStringList {"Page 2", "Page 2", "Page 2"};
}

void TestPrintPanel::pageOrder()
{
    QFETCH(int, option);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, copies);
    QFETCH(QStringList, order);
    openView(pagedBytes(3));
    recordPrints();
    QTest::mouseClick(control(m_view, "CmdNxt"), Qt::LeftButton);
    click("OptWinMode");
    click(QString("Op(%1)").arg(option));
    panel<QLineEdit>("Tst")->setText(start);
    panel<QLineEdit>("Tend")->setText(end);
    panel<QLineEdit>("Text3")->setText(copies);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text,
        QString("Are You Sure You Want To Print & Printer is Ready and Online ..."));
    QCOMPARE(MessageBox::shown().first().title, QString("Printing.... "));
    QCOMPARE(MessageBox::shown().first().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(firstLines(m_recorder), order);
    for (const PrintCall &call : m_recorder.calls)
        QCOMPARE(call.flag, QString("1"));                       // the print mode while printing
    QCOMPARE(m_recorder.opened.size(), order.isEmpty() ? 0 : 1); // one job per run
    QCOMPARE(m_recorder.finished, order.isEmpty() ? 0 : 1);
    QCOMPARE(m_view->printPanel()->CmdOk->tag(), QString("0"));
    QVERIFY(m_view->printPanel()->isHidden());
}

void TestPrintPanel::copiesZeroPrintsNothing()
{
    openView(pagedBytes(3));
    recordPrints();
    click("OptWinMode");
    panel<QLineEdit>("Text3")->setText("0");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    QVERIFY(m_recorder.calls.isEmpty());
    QVERIFY(m_recorder.opened.isEmpty());
    // The pages were still assembled and put through the page box.
    const QString assembled = m_view->rt3()->toPlainText();
    for (const char *page : {"Page 1", "Page 2", "Page 3"})
        QVERIFY(assembled.contains(page));
    QCOMPARE(assembled.count('\f'), 3);
    QVERIFY(m_view->rtBox()->toPlainText().startsWith("Page 3\nsecond line"));
    QCOMPARE(MessageBox::shown().size(), 1); // only the question
}

void TestPrintPanel::answeredNoPrintsNothing()
{
    openView(pagedBytes(3));
    recordPrints();
    click("OptWinMode");
    MessageBox::setNextAnswer(QMessageBox::No);
    click("CmdOk");
    QVERIFY(m_recorder.calls.isEmpty());
    QVERIFY(m_recorder.opened.isEmpty());
    QVERIFY(m_view->printPanel()->isVisible());
    QCOMPARE(m_view->printPanel()->CmdOk->tag(), QString("0"));
}

void TestPrintPanel::pdf_pageTextWithoutSequences()
{
    const QString pdf = m_dir.filePath("report.pdf");
    QByteArray bytes = "Plain start " + BoldOn.toLatin1() + "Bold words" + BoldOff.toLatin1() + " end\r\n"
        + CondOn.toLatin1() + "small print" + CondOff.toLatin1() + "\r\n\fsecond page " + ULineOn.toLatin1()
        + "underlined" + ULineOff.toLatin1() + "\r\n\f";
    openView(bytes);
    DesktopPrinting::setFactory([pdf](const DesktopPrintSetup &setup, QString *) {
        auto printer = DesktopPrinting::makePrinter(setup);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return std::make_unique<QPrinterDocumentPrinter>(std::move(printer));
    });
    click("OptWinMode");
    panel<QLineEdit>("Text3")->setText("2");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(QFileInfo::exists(pdf));
    QCOMPARE(pdfInfo(pdf, "Pages"), QString("4")); // two pages, two copies each
    const QString text = pdfText(pdf).simplified();
    QCOMPARE(text.count("Plain start Bold words end small print"), 2);
    QCOMPARE(text.count("second page underlined"), 2);
    QVERIFY(text.indexOf("Plain start") < text.indexOf("second page"));
    QVERIFY(!text.contains("Plain start E"));
}

void TestPrintPanel::pdf_landscape()
{
    const QString pdf = m_dir.filePath("wide.pdf");
    openView(pagedBytes(1));
    DesktopPrinting::setFactory([pdf](const DesktopPrintSetup &setup, QString *) {
        auto printer = DesktopPrinting::makePrinter(setup);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return std::make_unique<QPrinterDocumentPrinter>(std::move(printer));
    });
    click("OptWinMode");
    click("OpPL(1)");
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click("CmdOk");
    const QStringList size = pdfInfo(pdf, "Page size").split(' ');
    QVERIFY2(size.size() >= 3, qPrintable(size.join(' ')));
    QVERIFY(size[0].toDouble() > size[2].toDouble());
    QVERIFY(pdfText(pdf).contains("Page 1"));
    QCOMPARE(pdfInfo(pdf, "Title"), QString("report.prn")); // the job's document name
}

void TestPrintPanel::dialogRoute_pageOrSelection()
{
    openView(pagedBytes(3));
    click("OptWinMode");
    panel<QCheckBox>("Chwinprint")->setChecked(true);

    const QString whole = m_dir.filePath("page.pdf");
    Dialogs::setNextPrintFile(whole);
    click("CmdOk");
    QCOMPARE(MessageBox::shown().size(), 0); // no question on this route
    QCOMPARE(Dialogs::asked().last().kind, QString("print"));
    QVERIFY(m_view->printPanel()->isVisible());
    QString text = pdfText(whole);
    QVERIFY(text.contains("Page 1"));
    QVERIFY(text.contains("third line"));
    QVERIFY(!text.contains("Page 2"));

    const QString part = m_dir.filePath("selection.pdf");
    QTextCursor cursor(m_view->rt1()->document());
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_view->rt1()->setTextCursor(cursor);
    Dialogs::setNextPrintFile(part);
    click("CmdOk");
    text = pdfText(part);
    QVERIFY(text.contains("second line"));
    QVERIFY(!text.contains("Page 1"));
}

void TestPrintPanel::dialogRoute_cancelPrintsNothing()
{
    openView(pagedBytes(2));
    recordPrints();
    click("OptWinMode");
    panel<QCheckBox>("Chwinprint")->setChecked(true);
    click("CmdOk"); // no answer queued: the dialog is cancelled
    QCOMPARE(Dialogs::asked().size(), 1);
    QCOMPARE(MessageBox::shown().size(), 0);
    QVERIFY(m_recorder.opened.isEmpty());
    QVERIFY(m_view->printPanel()->isVisible());
}

QTEST_MAIN(TestPrintPanel)
#include "tst_printpanel.moc"
