// The print panel's rules driven through its controls, and printing through
// the desktop driver with the pages recorded. Prints that reach a queue of
// the private cupsd are in tst_cupspanel.
#include "PrintingFixture.h"
#include "controls/JeweledButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextDocument>

using namespace PrintingFixture;

namespace {

// What the page-by-page print did: each page's first line and the state of
// the print-mode flag while it printed, the jobs opened and finished.
struct Recorder
{
    QStringList pages;
    QStringList flags;
    int opened = 0;
    int finished = 0;
};

class RecordingPrinter : public DocumentPrinter
{
public:
    RecordingPrinter(Recorder *recorder, PrintPanel *panel)
        : m_recorder(recorder)
        , m_panel(panel)
    { }
    bool printDocument(const QTextDocument &document) override
    {
        m_recorder->pages << document.toPlainText().section('\n', 0, 0);
        m_recorder->flags << m_panel->CmdOk->tag();
        return true;
    }
    bool finish() override { return ++m_recorder->finished; }
    QString errorString() const override { return QString(); }

private:
    Recorder *m_recorder;
    PrintPanel *m_panel;
};

QString stored(const QString &key)
{
    return SettingsStore::read(SettingsAppName, "ReportView", key, "<absent>");
}

} // namespace

class TestPrintPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init();
    void cleanup() { PrintingFixture::cleanup(); }

    void opening_noPrintersMessage();
    void modeStoredOnClick();
    void pitchBoxes_data();
    void pitchBoxes();
    void pageOptions();
    void keyFiltersAndSpinner();
    void rangeCheck_data();
    void rangeCheck();
    void rangeNotCheckedWhenBoxGoesAway();
    void pageFileNotWritable();
    void pageOrder_data();
    void pageOrder();
    void answeredNo_data();
    void answeredNo();
    void dialogRoute_pageOrSelection();
    void dialogRoute_cancelPrintsNothing();

private:
    template <typename T = QWidget> T *panel(const QString &name) { return control<T>(m_view, name); }
    void openView(int pages) { m_view = openPanel("report.prn", pagedBytes(pages)); }
    void focusRangeEnd()
    {
        QWidget *end = panel("Tend");
        end->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(end->hasFocus());
    }

    FrmReport *m_view = nullptr;
    Recorder m_recorder;
};

void TestPrintPanel::init()
{
    reset();
    // Every page printed through the desktop driver is recorded instead.
    m_recorder = Recorder();
    DesktopPrinting::setFactory([this](const DesktopPrintSetup &, QString *) {
        ++m_recorder.opened;
        return std::make_unique<RecordingPrinter>(&m_recorder, m_view->printPanel());
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

void TestPrintPanel::modeStoredOnClick()
{
    openView(2);
    QCOMPARE(stored("Winp"), QString("<absent>"));
    click(m_view, "OptWinMode");
    QCOMPARE(stored("Winp"), QString("1"));
    QVERIFY(panel("OptWinMode")->font().bold());
    QVERIFY(!panel("OptCharMode")->font().bold());
    QVERIFY(panel("FrmWin")->isEnabled());
    click(m_view, "CmdCancel"); // closing without printing keeps the choice
    QVERIFY(m_view->printPanel()->isHidden());
    QCOMPARE(stored("Winp"), QString("1"));

    // A new view starts in the stored mode.
    FrmReport *second = open(printFile("b.prn", pagedBytes(1)));
    QVERIFY(control<QRadioButton>(second, "OptWinMode")->isChecked());
    QVERIFY(control(second, "FrmWin")->isEnabled());

    m_view->printPanel()->CmdPrint_Click();
    click(m_view, "OptCharMode");
    QCOMPARE(stored("Winp"), QString("0"));
    QVERIFY(panel("OptCharMode")->font().bold());
    QVERIFY(!panel("OptWinMode")->font().bold());
    QVERIFY(!panel("FrmWin")->isEnabled());
}

void TestPrintPanel::pitchBoxes_data()
{
    // Boxes in the order Ch10, Ch12, Ch17, ChDraft; "1" checked or bold.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("bold");
    const auto row = [](const char *name, const char *before, const QStringList &clicks, const char *checked,
                         const char *bold) { QTest::newRow(name) << before << clicks << checked << bold; };
    row("10 clears 12 and 17", "0111", {"Ch10"}, "1001", "1000");
    row("12 then 17: both stay", "1001", {"Ch12", "Ch17"}, "0111", "0110");
    row("12 clears 10, leaves 17", "1011", {"Ch12"}, "0111", "0100");
    row("17 clears 10, leaves 12", "1101", {"Ch17"}, "0111", "0010");
    row("draft off and on", "0001", {"ChDraft", "ChDraft"}, "0001", "0001");
}

void TestPrintPanel::pitchBoxes()
{
    QFETCH(QString, before);
    QFETCH(QStringList, clicks);
    QFETCH(QString, checked);
    QFETCH(QString, bold);
    openView(1);
    const QStringList names {"Ch10", "Ch12", "Ch17", "ChDraft"};
    for (int i = 0; i < 4; ++i)
        panel<QCheckBox>(names[i])->setChecked(before[i] == '1');
    for (const QString &name : clicks)
        click(m_view, name);
    QString isChecked, isBold;
    for (const QString &name : names) {
        isChecked += panel<QCheckBox>(name)->isChecked() ? '1' : '0';
        isBold += panel(name)->font().bold() ? '1' : '0';
    }
    QCOMPARE(isChecked, checked);
    QCOMPARE(isBold, bold);
}

void TestPrintPanel::pageOptions()
{
    openView(3);
    const QColor white(Qt::white);
    const QColor shaded(254, 190, 215);
    auto *start = panel<QLineEdit>("Tst");
    auto *end = panel<QLineEdit>("Tend");
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->palette().color(QPalette::Base), shaded);
    click(m_view, "Op(2)");
    QVERIFY(panel("Op(2)")->font().bold());
    QVERIFY(!panel("Op(0)")->font().bold());
    for (QLineEdit *box : {start, end}) {
        QVERIFY(box->isEnabled());
        QCOMPARE(box->palette().color(QPalette::Base), white);
    }
    click(m_view, "Op(1)");
    QVERIFY(!panel("Op(2)")->font().bold());
    QVERIFY(!end->isEnabled());
    QCOMPARE(end->palette().color(QPalette::Base), shaded);
    // The view's activation selects "All Pages" with the same rule.
    click(m_view, "Op(2)");
    m_view->resize(m_view->width() + 10, m_view->height());
    QVERIFY(panel<QRadioButton>("Op(0)")->isChecked());
    QVERIFY(panel("Op(0)")->font().bold());
    QVERIFY(!end->isEnabled());
}

void TestPrintPanel::keyFiltersAndSpinner()
{
    openView(3);
    click(m_view, "Op(2)");
    auto *start = panel<QLineEdit>("Tst");
    QTest::keyClicks(start, "1a.5.x");
    QCOMPARE(start->text(), QString("1.5"));
    auto *copies = panel<QLineEdit>("Text3");
    QCOMPARE(copies->text(), QString("1"));
    auto *spinner = panel<QScrollBar>("VScroll1");
    QCOMPARE(spinner->value(), 99);
    spinner->triggerAction(QAbstractSlider::SliderSingleStepSub); // the up arrow
    QCOMPARE(copies->text(), QString("2"));
    spinner->setValue(100);
    QCOMPARE(copies->text(), QString("0"));
    spinner->setValue(1);
    QCOMPARE(copies->text(), QString("99"));
    copies->clear();
    QTest::keyClicks(copies, "2.b5");
    QCOMPARE(copies->text(), QString("25"));
}

void TestPrintPanel::rangeCheck_data()
{
    // In a ten-page view, on leaving the range end by Tab or on the print
    // button (character mode, where a refused range writes nothing).
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("byPrintButton");
    QTest::addColumn<QString>("startAfter");
    QTest::addColumn<QString>("endAfter");
    QTest::addColumn<bool>("refused");
    const auto row = [](const char *name, const char *start, const char *end, bool byPrintButton,
                         const char *startAfter, const char *endAfter, bool refused) {
        QTest::newRow(name) << start << end << byPrintButton << startAfter << endAfter << refused;
    };
    row("2 to 4 stays", "2", "4", false, "2", "4", false);
    row("5 to 3: end becomes 5", "5", "3", false, "5", "5", false);
    row("end 99: the page count", "2", "99", false, "2", "10", false);
    row("start empty: 1", "", "4", false, "1", "4", false);
    row("start 12, end empty: 12 then 10", "12", "", false, "12", "10", false);
    row("start 0, end 0: refused", "0", "0", false, "1", "0", true);
    row("both empty: refused", "", "", false, "1", "", true);
    row("end 0 on the print button: refused", "", "0", true, "1", "", true);
}

void TestPrintPanel::rangeCheck()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(bool, byPrintButton);
    QFETCH(QString, startAfter);
    QFETCH(QString, endAfter);
    QFETCH(bool, refused);
    openView(10);
    QVERIFY(QTest::qWaitForWindowActive(m_view));
    click(m_view, "Op(2)");
    auto *first = panel<QLineEdit>("Tst");
    auto *last = panel<QLineEdit>("Tend");
    first->setText(start);
    last->setText(end);
    if (byPrintButton) {
        click(m_view, "CmdOk");
    } else {
        focusRangeEnd();
        QTest::keyClick(last, Qt::Key_Tab);
    }
    QCOMPARE(first->text(), startAfter);
    QCOMPARE(last->text(), endAfter);
    if (refused) {
        QCOMPARE(MessageBox::shown().size(), 1); // no question after it
        QCOMPARE(MessageBox::shown().first().text, QString("plese Check Velue..."));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::NoIcon);
        QTRY_VERIFY(last->hasFocus());
        QVERIFY(m_view->printPanel()->isVisible());
        QVERIFY(!QFileInfo::exists(programFile("RANGE.prn")));
    } else {
        QCOMPARE(MessageBox::shown().size(), 0);
        QTest::qWait(20);
        QVERIFY(!last->hasFocus());
    }
}

void TestPrintPanel::rangeNotCheckedWhenBoxGoesAway()
{
    // A range end left empty is not "left" when the view selects All Pages
    // on activation, nor when a print closes the panel.
    openView(10);
    QVERIFY(QTest::qWaitForWindowActive(m_view));
    click(m_view, "Op(2)");
    focusRangeEnd();
    m_view->printPanel()->selectPageOption(0);
    click(m_view, "Op(2)");
    focusRangeEnd();
    m_view->printPanel()->hide();
    QCOMPARE(MessageBox::shown().size(), 0);
}

void TestPrintPanel::pageFileNotWritable()
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
    QVERIFY(m_view->tagText().isEmpty());
    QVERIFY(m_view->printPanel()->isVisible());
}

void TestPrintPanel::pageOrder_data()
{
    // A three-page view showing page 2.
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("copies");
    QTest::addColumn<QStringList>("order");
    const auto row
        = [](const char *name, int option, const char *start, const char *end, const char *copies,
              const QStringList &order) { QTest::newRow(name) << option << start << end << copies << order; };
    row("all pages, 2 copies", 0, "", "", "2", {"Page 1", "Page 1", "Page 2", "Page 2", "Page 3", "Page 3"});
    row("all pages, copies 0", 0, "", "", "0", {});
    row("current page, copies 3.9", 1, "", "", "3.9", {"Page 2", "Page 2", "Page 2"});
    row("range 2 to 99 kept to the pages", 2, "2", "99", "1", {"Page 2", "Page 3"});
    row("range -4 to 1", 2, "-4", "1", "1", {"Page 1"});
}

void TestPrintPanel::pageOrder()
{
    QFETCH(int, option);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, copies);
    QFETCH(QStringList, order);
    openView(3);
    QTest::mouseClick(control(m_view, "CmdNxt"), Qt::LeftButton);
    click(m_view, "OptWinMode");
    click(m_view, QString("Op(%1)").arg(option));
    panel<QLineEdit>("Tst")->setText(start);
    panel<QLineEdit>("Tend")->setText(end);
    panel<QLineEdit>("Text3")->setText(copies);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    click(m_view, "CmdOk");

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text,
        QString("Are You Sure You Want To Print & Printer is Ready and Online ..."));
    QCOMPARE(MessageBox::shown().first().title, QString("Printing.... "));
    QCOMPARE(MessageBox::shown().first().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(m_recorder.pages, order);
    QCOMPARE(m_recorder.flags, QStringList(order.size(), "1")); // the print mode while printing
    QCOMPARE(m_recorder.opened, order.isEmpty() ? 0 : 1);       // one job per run
    QCOMPARE(m_recorder.finished, m_recorder.opened);
    QCOMPARE(m_view->printPanel()->CmdOk->tag(), QString("0"));
    QVERIFY(m_view->printPanel()->isHidden());
}

void TestPrintPanel::answeredNo_data()
{
    // Character mode here has no spooler: a print would add its error.
    QTest::addColumn<bool>("windowsMode");
    QTest::newRow("character mode, current page") << false;
    QTest::newRow("Windows mode") << true;
}

void TestPrintPanel::answeredNo()
{
    QFETCH(bool, windowsMode);
    openView(3);
    click(m_view, windowsMode ? "OptWinMode" : "OptCharMode");
    click(m_view, "Op(1)");
    MessageBox::setNextAnswer(QMessageBox::No);
    click(m_view, "CmdOk");
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(m_recorder.opened, 0);
    QVERIFY(!QFileInfo::exists(programFile("Currnt.prn")));
    QVERIFY(m_view->printPanel()->isVisible());
    QCOMPARE(m_view->printPanel()->CmdOk->tag(), QString("0"));
}

void TestPrintPanel::dialogRoute_pageOrSelection()
{
    openView(3);
    click(m_view, "OptWinMode");
    panel<QCheckBox>("Chwinprint")->setChecked(true);

    const QString whole = QDir::temp().filePath("page.pdf");
    Dialogs::setNextPrintFile(whole);
    click(m_view, "CmdOk");
    QCOMPARE(MessageBox::shown().size(), 0); // no question on this route
    QCOMPARE(Dialogs::asked().last().kind, QString("print"));
    QVERIFY(m_view->printPanel()->isVisible());
    QString text = pdfText(whole);
    QVERIFY2(
        text.contains("Page 1") && text.contains("third line") && !text.contains("Page 2"), qPrintable(text));

    const QString part = QDir::temp().filePath("selection.pdf");
    QTextCursor cursor(m_view->rt1()->document());
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    m_view->rt1()->setTextCursor(cursor);
    Dialogs::setNextPrintFile(part);
    click(m_view, "CmdOk");
    text = pdfText(part);
    QVERIFY2(text.contains("second line") && !text.contains("Page 1"), qPrintable(text));
}

void TestPrintPanel::dialogRoute_cancelPrintsNothing()
{
    openView(2);
    click(m_view, "OptWinMode");
    panel<QCheckBox>("Chwinprint")->setChecked(true);
    click(m_view, "CmdOk"); // no answer queued: the dialog is cancelled
    QCOMPARE(Dialogs::asked().size(), 1);
    QCOMPARE(MessageBox::shown().size(), 0);
    QCOMPARE(m_recorder.opened, 0);
    QVERIFY(m_view->printPanel()->isVisible());
}

QTEST_MAIN(TestPrintPanel)
#include "tst_printpanel.moc"
