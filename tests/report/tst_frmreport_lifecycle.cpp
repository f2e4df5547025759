// Opening and closing report views, the stored settings, Import and layout.
#include "ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"
#include "platform/OleColor.h"
#include "platform/SettingsStore.h"
#include "platform/Twips.h"
#include "printing/PrintPanel.h"
#include "report/Calculator.h"
#include "report/ReportColorPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using namespace ReportViewFixture;

namespace {

QString stored(const QString &key)
{
    return SettingsStore::read(
        SettingsAppName, QStringLiteral("ReportView"), key, QStringLiteral("<absent>"));
}

void store(const QString &key, const QString &value)
{
    SettingsStore::save(SettingsAppName, QStringLiteral("ReportView"), key, value);
}

QColor textColor(QWidget *w)
{
    return w->palette().color(QPalette::WindowText);
}

} // namespace

class TestFrmReportLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init() { QFile::remove(SettingsStore::fileName(SettingsAppName)); }
    void cleanup()
    {
        closeAll();
        MessageBox::clearShown();
        QCOMPARE(int(OpenViewCount), 0);
    }

    void settings_defaultsOnEmptyStore();
    void settings_notANumberGivesDefault();
    void settings_swatchChoiceSavedAndReadBack();
    void settings_cancelledColourChangesNothing();
    void settings_checkBoxesSavedOnClick();
    void openViews_sixAtMostEitherWayOfClosing();
    void missingFile_messageAndNoView();
    void import_showsChosenFile();
    void load_setsPrintPanelState();
    void activation_onlyFromAnotherForm();
    void layout_viewFillsWindow();
    void calculator_messageWhenNoneInstalled();
};

void TestFrmReportLifecycle::settings_defaultsOnEmptyStore()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
    auto *panel = view->colorPanel();
    QCOMPARE(panel->swatchColor(0), QColor(0, 0, 0x80));       // navy "Dubble"
    QCOMPARE(panel->swatchColor(1), QColor(0x80, 0, 0));       // maroon "Bold"
    QCOMPARE(panel->swatchColor(3), QColor(0x80, 0, 0x80));    // purple "Condence"
    QCOMPARE(panel->swatchColor(4), QColor(0xFF, 0xFF, 0xFF)); // white report
    QCOMPARE(panel->swatchColor(5), QColor(0xFF, 0x80, 0));    // orange search
    QCOMPARE(panel->swatchColor(6), QColor(0xFF, 0, 0));       // red highlight
    QVERIFY(control<QCheckBox>(view, "ChSearch")->isChecked());
    QVERIFY(!control<QCheckBox>(view, "ChHighlighte")->isChecked());
    QVERIFY(!control<QCheckBox>(view, "ChL")->isChecked());
    QVERIFY(control<QRadioButton>(view, "OptCharMode")->isChecked());
    QCOMPARE(textColor(control(view, "Lb(0)")), QColor(0, 0, 0x80));
    QCOMPARE(textColor(control(view, "Lb(1)")), QColor(0x80, 0, 0));
    QCOMPARE(textColor(control(view, "Lb(3)")), QColor(0x80, 0, 0x80));
    QCOMPARE(view->rt1()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));

    const QStringList captions {
        "Dubble", "Bold", "Normal", "Condence", "Report Backcolor", "Search String", "HighLight Text"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(control<QLabel>(view, QStringLiteral("Lb(%1)").arg(i))->text(), captions.at(i));
        control<QLineEdit>(view, QStringLiteral("TXt(%1)").arg(i));
    }
    QCOMPARE(control<QLabel>(view, "Lb(0)")->font().pointSizeF(), 20.25);
    QVERIFY(control<QLabel>(view, "Lb(0)")->font().bold());
    // Reading the defaults stores nothing.
    QCOMPARE(stored(QStringLiteral("Bold")), QStringLiteral("<absent>"));
}

void TestFrmReportLifecycle::settings_notANumberGivesDefault()
{
    store(QStringLiteral("Bold"), QStringLiteral("dark red"));
    store(QStringLiteral("cond"), QStringLiteral("255"));
    store(QStringLiteral("chSearch"), QStringLiteral("x"));
    store(QStringLiteral("Winp"), QStringLiteral("1"));
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
    QCOMPARE(view->swatchColor(1), QColor(0x80, 0, 0));
    QCOMPARE(view->swatchColor(3), QColor(0xFF, 0, 0));
    QVERIFY(control<QCheckBox>(view, "ChSearch")->isChecked());
    QVERIFY(control<QRadioButton>(view, "OptWinMode")->isChecked());
    QCOMPARE(view->markupContext().condence, QColor(0xFF, 0, 0));
}

void TestFrmReportLifecycle::settings_swatchChoiceSavedAndReadBack()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
    control<QCheckBox>(view, "ChSearch")->setChecked(false);
    Dialogs::setNextColor(QColor(0, 0x80, 0));
    QTest::mouseDClick(control(view, "TXt(3)"), Qt::LeftButton);
    QCOMPARE(Dialogs::asked().last().kind, QStringLiteral("color"));
    QCOMPARE(view->swatchColor(3), QColor(0, 0x80, 0));
    QCOMPARE(textColor(control(view, "Lb(3)")), QColor(0, 0x80, 0));
    QCOMPARE(view->markupContext().condence, QColor(0, 0x80, 0));

    QCOMPARE(stored(QStringLiteral("Cond")), QString::number(0x008000));
    QCOMPARE(stored(QStringLiteral("BBold")), QString::number(0x800000));
    QCOMPARE(stored(QStringLiteral("Bold")), QString::number(0x000080));
    QCOMPARE(stored(QStringLiteral("RepotBackColor")), QString::number(0xFFFFFF));
    QCOMPARE(stored(QStringLiteral("SearchString")), QString::number(0x0080FF));
    QCOMPARE(stored(QStringLiteral("Highlight")), QString::number(0x0000FF));
    QCOMPARE(stored(QStringLiteral("chSearch")), QStringLiteral("0"));

    // A new report background shows at the next load; a new view reads all.
    Dialogs::setNextColor(QColor(0xFF, 0xFF, 0xE0));
    QTest::mouseDClick(control(view, "TXt(4)"), Qt::LeftButton);
    QCOMPARE(view->rt1()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
    QVERIFY(view->LoadReport(view->reportFile()));
    QCOMPARE(view->rt1()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE0));

    FrmReport *second = open(printFile(QStringLiteral("b.prn"), pagedBytes(1)));
    QCOMPARE(second->swatchColor(3), QColor(0, 0x80, 0));
    QCOMPARE(second->swatchColor(4), QColor(0xFF, 0xFF, 0xE0));
    QVERIFY(!control<QCheckBox>(second, "ChSearch")->isChecked());
}

void TestFrmReportLifecycle::settings_cancelledColourChangesNothing()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
    QTest::mouseDClick(control(view, "TXt(0)"), Qt::LeftButton); // no answer queued: cancel
    QCOMPARE(view->swatchColor(0), QColor(0, 0, 0x80));
    QCOMPARE(stored(QStringLiteral("BBold")), QStringLiteral("<absent>"));
}

void TestFrmReportLifecycle::settings_checkBoxesSavedOnClick()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
    QTest::mouseClick(control(view, "Label4"), Qt::LeftButton); // shows the panel
    QVERIFY(control(view, "Frame6")->isVisible());
    QTest::mouseClick(control(view, "ChHighlighte"), Qt::LeftButton);
    QTest::mouseClick(control(view, "ChL"), Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("ChHighlighte")), QStringLiteral("1"));
    QCOMPARE(stored(QStringLiteral("chl")), QStringLiteral("1"));
    QTest::mouseClick(control(view, "ChL"), Qt::LeftButton);
    QCOMPARE(stored(QStringLiteral("chl")), QStringLiteral("0"));
    QTest::mouseClick(control(view, "Command3"), Qt::LeftButton);
    QVERIFY(!control(view, "Frame6")->isVisible());

    FrmReport *second = open(printFile(QStringLiteral("b.prn"), pagedBytes(1)));
    QVERIFY(control<QCheckBox>(second, "ChHighlighte")->isChecked());
    QVERIFY(!control<QCheckBox>(second, "ChL")->isChecked());
}

void TestFrmReportLifecycle::openViews_sixAtMostEitherWayOfClosing()
{
    const QString file = printFile(QStringLiteral("six.prn"), pagedBytes(2));
    QList<QPointer<FrmReport>> views;
    for (int i = 0; i < 6; ++i)
        views << open(file);
    QCOMPARE(int(OpenViewCount), 6);
    QVERIFY(!open(file));
    QCOMPARE(MessageBox::shown().size(), 1);
    const auto refusal = MessageBox::shown().first();
    QCOMPARE(refusal.text,
        QStringLiteral(" Max Six Report View Open ...\r\n\r\n Please Close Report View and Try Again .."));
    QCOMPARE(refusal.icon, QMessageBox::Critical);
    QVERIFY(refusal.title.isEmpty());

    // Import and the continuous view reload without counting again.
    Dialogs::setNextFileName(printFile(QStringLiteral("other.txt"), pagedBytes(3)));
    QTest::mouseClick(control(views[0], "CmdImport"), Qt::LeftButton);
    QTest::mouseClick(control(views[0], "Check3"), Qt::LeftButton);
    QTest::mouseClick(control(views[0], "Check3"), Qt::LeftButton);
    QCOMPARE(int(OpenViewCount), 6);

    // The exit button, then the window's close box.
    QTest::mouseClick(control(views[0], "JeExit"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(views[0].isNull());
    QCOMPARE(int(OpenViewCount), 5);
    QVERIFY(open(file));
    QCOMPARE(int(OpenViewCount), 6);
    views[1]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(views[1].isNull());
    QCOMPARE(int(OpenViewCount), 5);
    QVERIFY(open(file));
    QCOMPARE(int(OpenViewCount), 6);
}

void TestFrmReportLifecycle::missingFile_messageAndNoView()
{
    const QString missing = QDir::temp().filePath(QStringLiteral("no such file.prn"));
    QVERIFY(!open(missing));
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains(QStringLiteral("no such file.prn")));
    QCOMPARE(int(OpenViewCount), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<FrmReport *>(w));

    // Importing a file that cannot be read keeps the view as it was.
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(4)));
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
    Dialogs::setNextFileName(missing);
    QTest::mouseClick(control(view, "CmdImport"), Qt::LeftButton);
    QCOMPARE(MessageBox::shown().size(), 2);
    QCOMPARE(view->PageCount(), 4);
    QCOMPARE(view->currentPage(), 1);
    QCOMPARE(int(OpenViewCount), 1);
}

void TestFrmReportLifecycle::import_showsChosenFile()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(2)));
    // Cancelling before any file was chosen changes nothing.
    QTest::mouseClick(control(view, "CmdImport"), Qt::LeftButton);
    QCOMPARE(Dialogs::asked().last().title,
        QStringLiteral("[ TXT File Only ]Select A File From Which To Retrive Data"));
    QCOMPARE(Dialogs::asked().last().filter, QStringLiteral(" Txt File(*.txt)|*.txt"));
    QCOMPARE(view->PageCount(), 2);

    const QString imported = printFile(QStringLiteral("imported.txt"), pagedBytes(3));
    Dialogs::setNextFileName(imported);
    QTest::mouseClick(control(view, "CmdImport"), Qt::LeftButton);
    QCOMPARE(view->PageCount(), 3);
    QCOMPARE(view->reportFile(), ShortPathOf(imported));
    QCOMPARE(PrintFileName, ShortPathOf(imported));
    QCOMPARE(control<QLabel>(view, "LbPageNo")->text(), QStringLiteral("Page 1/3"));

    // The dialog keeps its last name: a cancel loads that file again.
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
    QTest::mouseClick(control(view, "CmdImport"), Qt::LeftButton);
    QCOMPARE(view->currentPage(), 0);
    QCOMPARE(view->PageCount(), 3);
}

void TestFrmReportLifecycle::load_setsPrintPanelState()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(3)));
    PrintPanel *panel = view->printPanel();
    QCOMPARE(panel->objectName(), QStringLiteral("Frame1"));
    QVERIFY(panel->isHidden());
    QCOMPARE(control<QComboBox>(view, "ComPaperHeight")->currentText(), QStringLiteral("0"));
    QCOMPARE(control(view, "Tend")->toolTip(), QStringLiteral(" 3  : Maximum "));
    QVERIFY(control<QCheckBox>(view, "ChDraft")->isChecked());
    QVERIFY(control(view, "CmdExelExp")->isHidden());
    QCOMPARE(control<QAbstractButton>(view, "JeweledButton1")->text(), QStringLiteral("Export"));

    control<QRadioButton>(view, "Op(2)")->setChecked(true);
    QTest::mouseClick(control(view, "CmdPrint"), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    // Every resize selects "All Pages" again.
    view->resize(view->width() + 20, view->height());
    QVERIFY(control<QRadioButton>(view, "Op(0)")->isChecked());
}

void TestFrmReportLifecycle::activation_onlyFromAnotherForm()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(3)));
    auto *currentPage = control<QRadioButton>(view, "Op(1)");
    QEvent activate(QEvent::WindowActivate);

    // Back from one of the view's own message boxes (or another program):
    // the page option the user chose stays.
    QApplication::sendEvent(view, &activate);
    currentPage->setChecked(true);
    QApplication::sendEvent(view, &activate);
    QVERIFY(currentPage->isChecked());

    // Back from another form of the program: "All Pages" again.
    QWidget otherForm;
    QApplication::sendEvent(&otherForm, &activate);
    QApplication::sendEvent(view, &activate);
    QVERIFY(control<QRadioButton>(view, "Op(0)")->isChecked());
}

void TestFrmReportLifecycle::layout_viewFillsWindow()
{
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(6)));
    for (const QSize size : {view->minimumSize(), QSize(1000, 700)}) {
        view->resize(size);
        QCOMPARE(view->size(), size);
        const QRect rt1 = view->rt1()->geometry();
        QVERIFY(qAbs(rt1.width() - Twips::toPixels(Twips::fromPixels(size.width()) - 100)) <= 1);
        QVERIFY(qAbs(rt1.height() - Twips::toPixels(Twips::fromPixels(size.height()) - 1250)) <= 1);
        QCOMPARE(rt1.top(), Twips::toPixels(500));
        QVERIFY(control(view, "Frame8")->geometry().top() >= rt1.bottom());
        auto *exit = control(view, "JeExit");
        QVERIFY(exit->geometry().right() < size.width());
        QVERIFY(exit->geometry().bottom() < size.height());
        QVERIFY(!control(view, "CmdPrint")->geometry().intersects(exit->geometry()));
        QVERIFY(!control(view, "Check3")->geometry().intersects(control(view, "CmdPrint")->geometry()));
        QVERIFY(!control(view, "Image1")->geometry().intersects(control(view, "Check3")->geometry()));

        // Nothing overlaps in the top bar, and the bottom bar holds its
        // controls whole, down to the smallest window.
        const QStringList top {
            "Label4", "Check1", "Command2", "CmdImport", "lb1", "Label7", "Text4", "LbPageNo"};
        for (int i = 0; i < top.size(); ++i) {
            for (int j = i + 1; j < top.size(); ++j)
                QVERIFY2(!control(view, top[i])->geometry().intersects(control(view, top[j])->geometry()),
                    qPrintable(top[i] + " overlaps " + top[j]));
        }
        QWidget *bar = control(view, "Frame8");
        for (QWidget *w : bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!w->isHidden())
                QVERIFY2(bar->rect().contains(w->geometry()), qPrintable(w->objectName()));
        }
        for (const char *name : {"Image1", "Check3", "Check2", "CmdPrint"})
            QVERIFY2(!bar->geometry().intersects(control(view, name)->geometry()), name);
    }
}

void TestFrmReportLifecycle::calculator_messageWhenNoneInstalled()
{
    if (!Calculator::find().isEmpty())
        QSKIP("a desktop calculator is installed here; clicking would start it");
    FrmReport *view = open(printFile(QStringLiteral("a.prn"), pagedBytes(1)));
    QCOMPARE(control(view, "Image1")->toolTip(), QStringLiteral("Calculator"));
    QTest::mouseClick(control(view, "Image1"), Qt::LeftButton);
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains(QStringLiteral("calculator")));
}

QTEST_MAIN(TestFrmReportLifecycle)
#include "tst_frmreport_lifecycle.moc"
