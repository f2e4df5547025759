#include "FormDriver.h"
#include "TestSupport.h"
#include "Version.h"
#include "controls/JeweledButton.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "sticker/Frm0010Sticker.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <QTest>

using namespace FormDriver;

// The sticker form's controls and the handlers that work between them: range
// sizes, sticker count and rows, the key filter of the first range and the
// settings panel.
class TestFrm0010Sticker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init() { MessageBox::clearShown(); }

    void controls_data();
    void controls();
    void captionCarriesVersion();
    void rangeSizes_data();
    void rangeSizes();
    void loopPositionChangeAloneMovesNoLabel();
    void columnsAloneDoNotRecomputeRows();
    void zeroColumnsLeaveRows_data();
    void zeroColumnsLeaveRows();
    void keyFilter_data();
    void keyFilter();
    void settingsPanelReachedFromTitle();
    void settingsPanelShowsWindowFrameByBox();
    void printStyleAndLinesPerSticker();
    void formGrabs();
};

void TestFrm0010Sticker::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::newRow("title") << "Label1"
                           << "Sticker Printing" << true;
    QTest::newRow("line 1 number") << "lb(11)"
                                   << "1" << true;
    QTest::newRow("line 4 number") << "lb(6)"
                                   << "4" << true;
    QTest::newRow("line 5 number") << "lb(10)"
                                   << "5" << true;
    QTest::newRow("line 7 number") << "lb(15)"
                                   << "7" << true;
    QTest::newRow("sticker count label") << "lb(0)"
                                         << "No of Sticker" << true;
    QTest::newRow("page label") << "lb(12)"
                                << "Page" << true;
    QTest::newRow("window box") << "ChKwIN"
                                << "Window" << true;
    QTest::newRow("inner ++") << "ChkIn1"
                              << "++" << true;
    QTest::newRow("outer ++") << "ChkIn2"
                              << "++" << true;
    QTest::newRow("show") << "JBshow(0)"
                          << "SHO&W" << true;
    QTest::newRow("print") << "JBshow(1)"
                           << "Print" << true;
    QTest::newRow("save") << "CmdSave"
                          << "Save" << true;
    QTest::newRow("exit") << "CmdExit"
                          << "    E &X I T" << true;
    QTest::newRow("settings toggle hidden") << "JeweledButton1"
                                            << "Setting " << false;
    QTest::newRow("slot 0 is captioned 6") << "OPss(0)"
                                           << "6" << true;
    QTest::newRow("slot 1") << "OPss(1)"
                            << "1" << true;
    QTest::newRow("slot 6 is captioned 7") << "OPss(6)"
                                           << "7" << true;
    QTest::newRow("slot 7 is captioned 8") << "OPss(7)"
                                           << "8" << true;
    QTest::newRow("settings panel hidden") << "Frame1"
                                           << "Setting" << false;
    QTest::newRow("slot frame") << "Frame3"
                                << "Setting" << true;
    QTest::newRow("windows frame") << "Frame5"
                                   << "Window base Setting" << true;
    QTest::newRow("normal style") << "Op(0)"
                                  << "Normal    ( 80 Col )" << true;
    QTest::newRow("condensed style") << "Op(1)"
                                     << "Cond.     (136 Col )" << true;
    QTest::newRow("column gap") << "lb(8)"
                                << "SPace Between Col" << true;
    QTest::newRow("field length") << "lb(9)"
                                  << "Max Field Lenth" << true;
    QTest::newRow("rows per sheet") << "lb(17)"
                                    << "Row Printing" << true;
    QTest::newRow("loop position") << "lb(19)"
                                   << "Loop Position" << true;
    QTest::newRow("column pitch") << "Label2"
                                  << "Sticker Left Space" << true;
    QTest::newRow("line pitch") << "Label6"
                                << "Space Between Two value" << true;
    QTest::newRow("row pitch") << "Label3"
                               << "Margin Between Two Sticker" << true;
}

void TestFrm0010Sticker::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    Frm0010Sticker form;
    QWidget *w = TestSupport::child(&form, name);
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(w))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(w))
        shown = button->text();
    else if (auto *box = qobject_cast<QGroupBox *>(w))
        shown = box->title();
    QCOMPARE(shown, caption);
    // Visible as far as the control itself decides (the panel may hide it).
    QCOMPARE(!w->isHidden(), visible);
}

void TestFrm0010Sticker::captionCarriesVersion()
{
    Frm0010Sticker form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Velmora Software - Utility " STICKER2_VERSION));
    QVERIFY(TestSupport::child(&form, QStringLiteral("Atxt(7)"))->isHidden());
    QCOMPARE(text(&form, QStringLiteral("Combo1")), QStringLiteral("1"));
    QCOMPARE(form.maxField(), 1);
    QCOMPARE(control<JeweledButton>(&form, QStringLiteral("JBshow(0)"))->toolTip(),
        QStringLiteral("Display Page Wise  Print View "));
    QCOMPARE(control<JeweledButton>(&form, QStringLiteral("CmdExit"))->toolTip(),
        QStringLiteral("Return to Main Menu"));
}

void TestFrm0010Sticker::rangeSizes_data()
{
    QTest::addColumn<QString>("loop");
    QTest::addColumn<QStringList>("ranges");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("expected"); // lb(18), lb(16), TxNos, TxRow, lb(2)
    const QStringList ranges {"601", "612", "1", "10"};
    QTest::newRow("loop 4, 6 columns")
        << "4" << ranges << "6" << QStringList {"12", "10", "120", "20", "120"};
    QTest::newRow("7 columns hold fewer")
        << "4" << ranges << "7" << QStringList {"12", "10", "120", "17", "119"};
    QTest::newRow("loop 5 swaps the labels")
        << "5" << ranges << "6" << QStringList {"10", "12", "120", "20", "120"};
    QTest::newRow("end below start") << "4" << QStringList {"612", "601", "1", "10"} << "6"
                                     << QStringList {"-10", "10", "-100", "-17", "-102"};
}

void TestFrm0010Sticker::rangeSizes()
{
    QFETCH(QString, loop);
    QFETCH(QStringList, ranges);
    QFETCH(QString, columns);
    QFETCH(QStringList, expected);
    Frm0010Sticker form;
    choose(&form, QStringLiteral("Combo2"), loop);
    type(&form, QStringLiteral("TxCol"), columns);
    type(&form, QStringLiteral("Atxt(5)"), ranges[0]);
    type(&form, QStringLiteral("Atxt(6)"), ranges[1]);
    type(&form, QStringLiteral("Atxt(10)"), ranges[2]);
    type(&form, QStringLiteral("Atxt(11)"), ranges[3]);
    QCOMPARE(text(&form, QStringLiteral("lb(18)")), expected[0]);
    QCOMPARE(text(&form, QStringLiteral("lb(16)")), expected[1]);
    QCOMPARE(text(&form, QStringLiteral("TxNos")), expected[2]);
    QCOMPARE(text(&form, QStringLiteral("TxRow")), expected[3]);
    QCOMPARE(text(&form, QStringLiteral("lb(2)")), expected[4]);
}

void TestFrm0010Sticker::loopPositionChangeAloneMovesNoLabel()
{
    Frm0010Sticker form;
    type(&form, QStringLiteral("TxCol"), QStringLiteral("6"));
    type(&form, QStringLiteral("Atxt(5)"), QStringLiteral("601"));
    type(&form, QStringLiteral("Atxt(6)"), QStringLiteral("612"));
    type(&form, QStringLiteral("Atxt(10)"), QStringLiteral("1"));
    type(&form, QStringLiteral("Atxt(11)"), QStringLiteral("10"));
    choose(&form, QStringLiteral("Combo2"), QStringLiteral("5"));
    QCOMPARE(text(&form, QStringLiteral("lb(18)")), QStringLiteral("12"));
    QCOMPARE(text(&form, QStringLiteral("lb(16)")), QStringLiteral("10"));
    QCOMPARE(text(&form, QStringLiteral("TxNos")), QStringLiteral("120"));

    // The next change of the second range writes its size under loop 5.
    type(&form, QStringLiteral("Atxt(11)"), QStringLiteral("20"));
    QCOMPARE(text(&form, QStringLiteral("lb(18)")), QStringLiteral("20"));
    QCOMPARE(text(&form, QStringLiteral("lb(16)")), QStringLiteral("10"));
    QCOMPARE(text(&form, QStringLiteral("TxNos")), QStringLiteral("200"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("33"));

    // A line field changes nothing else.
    type(&form, QStringLiteral("Atxt(0)"), QStringLiteral("ACME"));
    QCOMPARE(text(&form, QStringLiteral("TxNos")), QStringLiteral("200"));
}

void TestFrm0010Sticker::columnsAloneDoNotRecomputeRows()
{
    Frm0010Sticker form;
    type(&form, QStringLiteral("TxCol"), QStringLiteral("6"));
    type(&form, QStringLiteral("TxNos"), QStringLiteral("120"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("20"));
    type(&form, QStringLiteral("TxCol"), QStringLiteral("7"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("20"));
    QCOMPARE(text(&form, QStringLiteral("lb(2)")), QStringLiteral("120"));
    type(&form, QStringLiteral("TxNos"), QStringLiteral("121"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("17"));
    QCOMPARE(text(&form, QStringLiteral("lb(2)")), QStringLiteral("119"));
}

void TestFrm0010Sticker::zeroColumnsLeaveRows_data()
{
    QTest::addColumn<QString>("columns");
    QTest::newRow("0") << "0";
    QTest::newRow("empty") << "";
    QTest::newRow("not a number") << "x";
}

void TestFrm0010Sticker::zeroColumnsLeaveRows()
{
    QFETCH(QString, columns);
    Frm0010Sticker form;
    type(&form, QStringLiteral("TxRow"), QStringLiteral("12"));
    type(&form, QStringLiteral("TxCol"), columns);
    const QString capacity = text(&form, QStringLiteral("lb(2)"));
    type(&form, QStringLiteral("TxNos"), QStringLiteral("120"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("12"));
    QCOMPARE(text(&form, QStringLiteral("lb(2)")), capacity);
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestFrm0010Sticker::keyFilter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first range from: letters refused") << "Atxt(5)"
                                                       << "6a0b1"
                                                       << "601";
    QTest::newRow("first range to: letters refused") << "Atxt(6)"
                                                     << "A-12."
                                                     << "-12";
    QTest::newRow("second range from takes letters") << "Atxt(10)"
                                                     << "1a"
                                                     << "1a";
    QTest::newRow("second range to takes letters") << "Atxt(11)"
                                                   << "x9"
                                                   << "x9";
    QTest::newRow("a line takes anything") << "Atxt(0)"
                                           << "No. 5"
                                           << "No. 5";
}

void TestFrm0010Sticker::keyFilter()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    Frm0010Sticker form;
    type(&form, name, typed);
    QCOMPARE(text(&form, name), expected);
    // Backspace and Delete still edit.
    QLineEdit *box = edit(&form, name);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(text(&form, name), expected.chopped(1));
    QTest::keyClick(box, Qt::Key_Home);
    // As X11 sends it: Delete carries the DEL character.
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
    QCOMPARE(text(&form, name), expected.chopped(1).mid(1));
}

void TestFrm0010Sticker::settingsPanelReachedFromTitle()
{
    Frm0010Sticker form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *toggle = control<JeweledButton>(&form, QStringLiteral("JeweledButton1"));
    QWidget *frame1 = TestSupport::child(&form, QStringLiteral("Frame1"));
    QWidget *frame4 = TestSupport::child(&form, QStringLiteral("Frame4"));
    const int margin = Twips::toPixels(150);
    QVERIFY(!toggle->isVisible());
    QCOMPARE(form.width(), frame4->width() + margin);

    QTest::mouseDClick(TestSupport::child(&form, QStringLiteral("Label1")), Qt::LeftButton);
    QVERIFY(toggle->isVisible());

    click(&form, QStringLiteral("JeweledButton1"));
    QVERIFY(frame1->isVisible());
    QCOMPARE(form.width(), frame4->width() + frame1->width() + margin);
    QVERIFY(frame1->geometry().left() >= frame4->geometry().right());
    QVERIFY(form.rect().contains(frame1->geometry()));

    click(&form, QStringLiteral("JeweledButton1"));
    QVERIFY(!frame1->isVisible());
    QCOMPARE(form.width(), frame4->width() + margin);
    QVERIFY(toggle->isVisible()); // stays once revealed
}

void TestFrm0010Sticker::settingsPanelShowsWindowFrameByBox()
{
    Frm0010Sticker form;
    form.show();
    QTest::mouseDClick(TestSupport::child(&form, QStringLiteral("Label1")), Qt::LeftButton);
    QWidget *frame5 = TestSupport::child(&form, QStringLiteral("Frame5"));

    click(&form, QStringLiteral("JeweledButton1"));
    QVERIFY(!frame5->isVisible());
    // Ticking the box alone does not show the frame; the next toggle does.
    click(&form, QStringLiteral("ChKwIN"));
    QVERIFY(control<QCheckBox>(&form, QStringLiteral("ChKwIN"))->isChecked());
    QVERIFY(!frame5->isVisible());
    click(&form, QStringLiteral("JeweledButton1"));
    click(&form, QStringLiteral("JeweledButton1"));
    QVERIFY(frame5->isVisible());
}

void TestFrm0010Sticker::printStyleAndLinesPerSticker()
{
    Frm0010Sticker form;
    QCOMPARE(form.printStyle(), 0);
    click(&form, QStringLiteral("Op(1)"));
    QCOMPARE(form.printStyle(), 1);
    QVERIFY(form.readInput().condensed);
    click(&form, QStringLiteral("Op(0)"));
    QCOMPARE(form.printStyle(), 0);
    choose(&form, QStringLiteral("Combo1"), QStringLiteral("7"));
    QCOMPARE(form.maxField(), 7);
    QCOMPARE(form.readInput().maxField, 7);
}

void TestFrm0010Sticker::formGrabs()
{
    Frm0010Sticker form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::mouseDClick(TestSupport::child(&form, QStringLiteral("Label1")), Qt::LeftButton);
    click(&form, QStringLiteral("ChKwIN"));
    click(&form, QStringLiteral("JeweledButton1"));
    const QImage image = form.grab().toImage();
    QCOMPARE(image.size(), form.size() * image.devicePixelRatio());
    QVERIFY(image.save(QDir::temp().filePath(QStringLiteral("Frm0010Sticker.png"))));
}

QTEST_MAIN(TestFrm0010Sticker)
#include "tst_frm0010sticker.moc"
