// Paging, the go-to box and the status line of the report view.
#include "ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "controls/SpLebal.h"
#include "gui/platform/MessageBox.h"

#include <QLineEdit>
#include <QTextBlock>

using namespace ReportViewFixture;

class TestFrmReportPaging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void cleanup()
    {
        closeAll();
        MessageBox::clearShown();
    }

    void navigation_data();
    void navigation();
    void goTo_data();
    void goTo();
    void goToBox_shownFromSixPages();
    void longPage_busyPointerWhileShown();
    void statusLine_followsClicksAndKeys();
    void columnMarks_cappedAndResetByLoad();
};

void TestFrmReportPaging::navigation_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<QString>("clicks"); // F first, B back, N next, L last
    QTest::addColumn<int>("shown");      // 1-based page on screen
    QTest::addColumn<bool>("backEnabled");
    QTest::addColumn<bool>("nextEnabled");

    QTest::newRow("one page, just opened") << 1 << "" << 1 << false << true;
    QTest::newRow("one page, Back disables itself") << 1 << "LB" << 1 << false << true;
    QTest::newRow("one page, Next disables itself") << 1 << "N" << 1 << true << false;
    QTest::newRow("one page, Next then First") << 1 << "NF" << 1 << false << true;
    QTest::newRow("four pages, Next to the last page keeps Next") << 4 << "NNN" << 4 << true << true;
    QTest::newRow("four pages, Next past the end disables it") << 4 << "NNNN" << 4 << true << false;
    QTest::newRow("four pages, Last then Back") << 4 << "LB" << 3 << true << true;
    QTest::newRow("four pages, Back to page 1 keeps Back") << 4 << "NB" << 1 << true << true;
    QTest::newRow("four pages, Back on page 1 disables it") << 4 << "NBB" << 1 << false << true;
}

void TestFrmReportPaging::navigation()
{
    QFETCH(int, pages);
    QFETCH(QString, clicks);
    QFETCH(int, shown);
    QFETCH(bool, backEnabled);
    QFETCH(bool, nextEnabled);

    FrmReport *view = open(printFile(QStringLiteral("nav.prn"), pagedBytes(pages)));
    QVERIFY(view);
    const QHash<QChar, QString> buttons {{'F', "CmdFst"}, {'B', "CmdBck"}, {'N', "CmdNxt"}, {'L', "CmdLast"}};
    for (QChar c : clicks) {
        // A disabled button takes no click; the table only clicks enabled ones.
        QVERIFY2(control(view, buttons.value(c))->isEnabled(), qPrintable(buttons.value(c)));
        click(view, buttons.value(c));
    }
    QCOMPARE(pageLabel(view), QStringLiteral("Page %1/%2").arg(shown).arg(pages));
    QCOMPARE(view->currentPage(), shown - 1);
    QVERIFY(viewText(view).startsWith(QStringLiteral("Page %1\n").arg(shown)));
    QVERIFY(viewText(view).endsWith(QChar(0x0C)));
    QCOMPARE(control(view, "CmdBck")->isEnabled(), backEnabled);
    QCOMPARE(control(view, "CmdNxt")->isEnabled(), nextEnabled);
    QVERIFY(control(view, "CmdFst")->isEnabled());
    QVERIFY(control(view, "CmdLast")->isEnabled());
}

void TestFrmReportPaging::goTo_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("shown"); // 0: refused, page 1 stays

    QTest::newRow("page 3") << "3" << 3;
    QTest::newRow("last page") << "7" << 7;
    QTest::newRow("letters and points are not typed") << "x5.a" << 5;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("negative") << "-3" << 0;
    QTest::newRow("above the page count") << "8" << 0;
    QTest::newRow("nothing") << "" << 0;
    QTest::newRow("a lone minus") << "-" << 0;
}

void TestFrmReportPaging::goTo()
{
    QFETCH(QString, typed);
    QFETCH(int, shown);

    FrmReport *view = open(printFile(QStringLiteral("goto.prn"), pagedBytes(7)));
    auto *box = control<QLineEdit>(view, "Text2");
    box->setFocus();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);

    const auto &shownBoxes = MessageBox::shown();
    if (shown) {
        QVERIFY(shownBoxes.isEmpty());
        QCOMPARE(view->currentPage(), shown - 1);
    } else {
        QCOMPARE(shownBoxes.size(), 1);
        QCOMPARE(shownBoxes.first().text, QStringLiteral(" Select Valid PageNo...!"));
        QCOMPARE(shownBoxes.first().icon, QMessageBox::Critical);
        QVERIFY(shownBoxes.first().title.isEmpty());
        shown = 1;
    }
    QCOMPARE(pageLabel(view), QStringLiteral("Page %1/7").arg(shown));
    QVERIFY(viewText(view).startsWith(QStringLiteral("Page %1\n").arg(shown)));
    // The jump leaves the buttons as the last click set them.
    QVERIFY(!control(view, "CmdBck")->isEnabled());
    QVERIFY(control(view, "CmdNxt")->isEnabled());
    // Leaving the box clears it.
    control(view, "Text4")->setFocus();
    QCOMPARE(box->text(), QString());
}

void TestFrmReportPaging::goToBox_shownFromSixPages()
{
    FrmReport *five = open(printFile(QStringLiteral("five.prn"), pagedBytes(5)));
    FrmReport *six = open(printFile(QStringLiteral("six.prn"), pagedBytes(6)));
    QVERIFY(control(five, "Text2")->isHidden());
    QVERIFY(control(five, "SpLebal3")->isHidden());
    QVERIFY(!control(six, "Text2")->isHidden());
    // Its caption fits inside the label's text rectangle, not cut off.
    auto *label = control<SpLebal>(six, "SpLebal3");
    QVERIFY(!label->isHidden());
    QCOMPARE(label->Caption(), QStringLiteral("GOTO"));
    QVERIFY(label->fontMetrics().boundingRect(label->Caption()).width() <= label->textRect().width());
    QVERIFY(label->fontMetrics().height() <= label->textRect().height());

    // A later load only ever hides the box.
    import(five, printFile(QStringLiteral("ten.txt"), pagedBytes(10)));
    QCOMPARE(five->PageCount(), 10);
    QVERIFY(control(five, "Text2")->isHidden());
}

void TestFrmReportPaging::longPage_busyPointerWhileShown()
{
    // A whole run of stickers is one long page.
    QByteArray run;
    for (int i = 0; i < 6000; ++i)
        run += "sticker line with its padding                     \r\n";
    FrmReport *view = open(printFile(QStringLiteral("run.prn"), run + "\f" + "short page\r\n\f"));
    QList<int> pointers;
    recordPointers(view, pointers);
    click(view, "CmdNxt");
    click(view, "CmdBck");
    QCOMPARE(pointers, QList<int>({-1, int(Qt::WaitCursor)}));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestFrmReportPaging::statusLine_followsClicksAndKeys()
{
    // Four-digit page numbers show whole; the page shown has its first
    // character selected, as the markup passes leave it.
    FrmReport *view = open(printFile(QStringLiteral("status.prn"), pagedBytes(2432)));
    click(view, "CmdLast");
    QLabel *pageNo = control<QLabel>(view, "LbPageNo");
    QCOMPARE(pageNo->text(), QStringLiteral("Page 2432/2432"));
    QVERIFY(pageNo->width() >= pageNo->sizeHint().width());
    QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 0 Line : 1 ]   1"));
    QTextEdit *rt1 = view->rt1();
    const QString before = view->windowTitle();

    // A click at the start of the fourth line of a page.
    import(view, printFile(QStringLiteral("status.txt"), "one\r\ntwo\r\nthree\r\nfourth line\r\nfive\r\n\f"));
    QTextCursor fourth(rt1->document()->findBlockByNumber(3));
    QTest::mouseClick(rt1->viewport(), Qt::LeftButton, {}, rt1->cursorRect(fourth).center() + QPoint(1, 0));
    QCOMPARE(view->statusTag(), QStringLiteral("0"));
    QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 0 Line : 4 ]   0"));
    QVERIFY(view->windowTitle() != before);
    QCOMPARE(view->statusTag(), QStringLiteral("1"));

    rt1->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(rt1, Qt::Key_Right);
    QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 3 Line : 4 ]   0"));
    QTest::keyClick(rt1, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(rt1, Qt::Key_Right, Qt::ShiftModifier);
    QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 3 Line : 4 ]   2"));
    QTest::keyClick(rt1, Qt::Key_Down);
    QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 4 Line : 5 ]   0"));
}

void TestFrmReportPaging::columnMarks_cappedAndResetByLoad()
{
    FrmReport *view = open(printFile(QStringLiteral("marks.prn"), "abcdefgh\r\nijklmnop\r\n\f"));
    QCOMPARE(view->columnMarks(), QVector<qint16>(11, 0));
    QTextCursor c(view->rt1()->document());
    c.setPosition(12); // column 3 of the second line
    view->rt1()->setTextCursor(c);

    // The count is 8-bit: the 256th mark is refused.
    view->excelButton()->setTag(QStringLiteral("1"));
    view->setColumnMarkCount(254);
    view->UpdateStatusLine();
    view->UpdateStatusLine();
    QCOMPARE(view->columnMarkCount(), 255);
    QCOMPARE(view->columnMarks().at(254), qint16(3));

    // A new load starts again from eleven zeros.
    import(view, view->reportFile());
    QCOMPARE(view->columnMarks(), QVector<qint16>(11, 0));
    QCOMPARE(view->columnMarkCount(), 0);
}

QTEST_MAIN(TestFrmReportPaging)
#include "tst_frmreport_paging.moc"
