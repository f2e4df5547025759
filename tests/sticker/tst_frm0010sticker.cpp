#include "FormDriver.h"
#include "TestSupport.h"
#include "Version.h"
#include "controls/JeweledButton.h"
#include "gui/platform/MessageBox.h"
#include "platform/Twips.h"
#include "gui/sticker/Frm0010Sticker.h"

#include <QAction>
#include <QCheckBox>
#include <QScreen>
#include <QGroupBox>
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

    void captions();
    void rangeSizes_data();
    void rangeSizes();
    void loopPositionChangeAloneMovesNoLabel();
    void stickerCountGivesRows();
    void keyFilter_data();
    void keyFilter();
    void settingsPanel();
};

void TestFrm0010Sticker::captions()
{
    Frm0010Sticker form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Velmora Software - Utility " STICKER2_VERSION));
    const QList<QPair<QString, QString>> captions = {{"Label1", "Sticker Printing"}, {"lb(11)", "1"},
        {"lb(6)", "4"}, {"lb(15)", "7"}, {"lb(0)", "No of Sticker"}, {"ChKwIN", "Window"}, {"ChkIn2", "++"},
        {"JBshow(0)", "SHO&W"}, {"JBshow(1)", "Print"}, {"CmdExit", "    E &X I T"},
        {"JeweledButton1", "Setting "}, {"OPss(0)", "6"}, {"OPss(7)", "8"}, {"Frame5", "Window base Setting"},
        {"Op(1)", "Cond.     (136 Col )"}, {"lb(9)", "Max Field Lenth"},
        {"Label6", "Space Between Two value"}};
    for (const auto &[name, caption] : captions) {
        QWidget *w = TestSupport::child(&form, name);
        QString shown;
        if (auto *label = qobject_cast<QLabel *>(w))
            shown = label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            shown = button->text();
        else if (auto *box = qobject_cast<QGroupBox *>(w))
            shown = box->title();
        QCOMPARE(shown, caption);
    }
    // Hidden until asked for: the settings toggle and panel, lines 6 and 7.
    for (const char *name : {"JeweledButton1", "Frame1", "Atxt(7)"})
        QVERIFY2(TestSupport::child(&form, name)->isHidden(), name);
    QCOMPARE(text(&form, "Combo1"), QStringLiteral("1"));
    QCOMPARE(control<JeweledButton>(&form, "JBshow(0)")->toolTip(),
        QStringLiteral("Display Page Wise  Print View "));
    QCOMPARE(control<JeweledButton>(&form, "CmdExit")->toolTip(), QStringLiteral("Return to Main Menu"));
}

void TestFrm0010Sticker::rangeSizes_data()
{
    QTest::addColumn<QString>("loop");
    QTest::addColumn<QStringList>("ranges");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("expected"); // lb(18), lb(16), TxNos, TxRow, lb(2)
    const QStringList ranges {"601", "612", "1", "10"};
    const QStringList reversed {"612", "601", "1", "10"};
    QTest::newRow("loop 4, 6 columns")
        << "4" << ranges << "6" << QStringList {"12", "10", "120", "20", "120"};
    QTest::newRow("7 columns hold fewer")
        << "4" << ranges << "7" << QStringList {"12", "10", "120", "17", "119"};
    QTest::newRow("loop 5 swaps the labels")
        << "5" << ranges << "6" << QStringList {"10", "12", "120", "20", "120"};
    QTest::newRow("end below start") << "4" << reversed << "6"
                                     << QStringList {"-10", "10", "-100", "-17", "-102"};
}

void TestFrm0010Sticker::rangeSizes()
{
    QFETCH(QString, loop);
    QFETCH(QStringList, ranges);
    QFETCH(QString, columns);
    QFETCH(QStringList, expected);
    Frm0010Sticker form;
    choose(&form, "Combo2", loop);
    fill(&form,
        {{"TxCol", columns}, {"Atxt(5)", ranges[0]}, {"Atxt(6)", ranges[1]}, {"Atxt(10)", ranges[2]},
            {"Atxt(11)", ranges[3]}});
    QCOMPARE(texts(&form, {"lb(18)", "lb(16)", "TxNos", "TxRow", "lb(2)"}), expected);
}

void TestFrm0010Sticker::loopPositionChangeAloneMovesNoLabel()
{
    Frm0010Sticker form;
    fill(&form,
        {{"TxCol", "6"}, {"Atxt(5)", "601"}, {"Atxt(6)", "612"}, {"Atxt(10)", "1"}, {"Atxt(11)", "10"}});
    choose(&form, "Combo2", "5");
    QCOMPARE(texts(&form, {"lb(18)", "lb(16)", "TxNos"}), QStringList({"12", "10", "120"}));

    // The next change of the second range writes its size under loop 5.
    type(&form, "Atxt(11)", "20");
    QCOMPARE(texts(&form, {"lb(18)", "lb(16)", "TxNos", "TxRow"}), QStringList({"20", "10", "200", "33"}));
    // A line field changes nothing else.
    type(&form, "Atxt(0)", "ACME");
    QCOMPARE(text(&form, "TxNos"), QStringLiteral("200"));
}

void TestFrm0010Sticker::stickerCountGivesRows()
{
    Frm0010Sticker form;
    fill(&form, {{"TxCol", "6"}, {"TxNos", "120"}});
    QCOMPARE(texts(&form, {"TxRow", "lb(2)"}), QStringList({"20", "120"}));
    // The column count alone does not work the rows out again.
    type(&form, "TxCol", "7");
    QCOMPARE(texts(&form, {"TxRow", "lb(2)"}), QStringList({"20", "120"}));
    type(&form, "TxNos", "121");
    QCOMPARE(texts(&form, {"TxRow", "lb(2)"}), QStringList({"17", "119"}));
    // Without a column count the rows stay, and nothing is told.
    for (const QString columns : {"0", "", "x"}) {
        fill(&form, {{"TxRow", "12"}, {"TxCol", columns}});
        const QString capacity = text(&form, "lb(2)");
        type(&form, "TxNos", "120");
        QCOMPARE(texts(&form, {"TxRow", "lb(2)"}), QStringList({"12", capacity}));
    }
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestFrm0010Sticker::keyFilter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first range from: letters refused") << "Atxt(5)"
                                                       << "6a0b1" << QString("601");
    QTest::newRow("first range to: letters refused") << "Atxt(6)"
                                                     << "A-12." << QString("-12");
    QTest::newRow("second range takes letters") << "Atxt(10)"
                                                << "1a" << QString("1a");
    QTest::newRow("a line takes anything") << "Atxt(0)"
                                           << "No. 5" << QString("No. 5");
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
    // As X11 sends it: Delete carries the DEL character (127).
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
    QCOMPARE(text(&form, name), expected.chopped(1).mid(1));
}

void TestFrm0010Sticker::settingsPanel()
{
    Frm0010Sticker form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *toggle = control<JeweledButton>(&form, "JeweledButton1");
    QWidget *frame1 = TestSupport::child(&form, "Frame1");
    QWidget *frame4 = TestSupport::child(&form, "Frame4");
    QWidget *frame5 = TestSupport::child(&form, "Frame5");
    const int margin = Twips::toPixels(150);
    QCOMPARE(form.width(), frame4->width() + margin);

    // A double click on the title reveals the toggle, which widens the form.
    QTest::mouseDClick(TestSupport::child(&form, "Label1"), Qt::LeftButton);
    QVERIFY(toggle->isVisible());
    click(&form, "JeweledButton1");
    QVERIFY(frame1->isVisible());
    QCOMPARE(form.width(), frame4->width() + frame1->width() + margin);
    QVERIFY(frame1->geometry().left() >= frame4->geometry().right());
    QVERIFY(form.rect().contains(frame1->geometry()));
    QVERIFY(!frame5->isVisible());

    // Ticking "Window" alone does not show its frame; the next toggle does.
    click(&form, "ChKwIN");
    QVERIFY(control<QCheckBox>(&form, "ChKwIN")->isChecked());
    QVERIFY(!frame5->isVisible());
    click(&form, "JeweledButton1");
    QVERIFY(!frame1->isVisible());
    QCOMPARE(form.width(), frame4->width() + margin);
    QVERIFY(toggle->isVisible()); // stays once revealed
    click(&form, "JeweledButton1");
    QVERIFY(frame5->isVisible());
    QCOMPARE(TestSupport::clippedCaptions(&form).join(" "), QString());

    // The title tells of the double click; the context menu's entry toggles
    // the panel too. The wider form stays on the screen.
    QVERIFY(!TestSupport::child(&form, "Label1")->toolTip().isEmpty());
    click(&form, "JeweledButton1");
    const QRect screen = form.screen()->availableGeometry();
    form.move(screen.right() - form.frameGeometry().width() + 1, form.y());
    form.findChild<QAction *>("ActSettings")->trigger();
    QVERIFY(frame1->isVisible());
    // On a screen narrower than the form it starts at the screen's left.
    QTRY_VERIFY(form.frameGeometry().right() <= screen.right() || form.frameGeometry().left() == screen.left());
}

QTEST_MAIN(TestFrm0010Sticker)
#include "tst_frm0010sticker.moc"
