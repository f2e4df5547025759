// Paging, the go-to box and the status line of the report view.
#include "ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "controls/SpLebal.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

#include <QLabel>
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
    void goTo_keepsButtonsAndFiltersKeys();
    void goToBox_shownFromSixPages();
    void longPage_busyPointerWhileShown();
    void statusLine_followsClicksAndKeys();
    void columnMarks_recordedWhileMarkingAndCapped();
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
    QTest::newRow("one page, Last") << 1 << "L" << 1 << true << false;
    QTest::newRow("one page, Next then First") << 1 << "NF" << 1 << false << true;
    QTest::newRow("four pages, Next to the last page keeps Next") << 4 << "NNN" << 4 << true << true;
    QTest::newRow("four pages, Next past the end disables it") << 4 << "NNNN" << 4 << true << false;
    QTest::newRow("four pages, Last then Back") << 4 << "LB" << 3 << true << true;
    QTest::newRow("four pages, Back to page 1 keeps Back") << 4 << "NB" << 1 << true << true;
    QTest::newRow("four pages, Back on page 1 disables it") << 4 << "NBB" << 1 << false << true;
    QTest::newRow("four pages, Last then First") << 4 << "LF" << 1 << false << true;
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
        auto *button = control<JeweledButton>(view, buttons.value(c));
        // A disabled button takes no click; the table only clicks enabled ones.
        QVERIFY2(button->isEnabled(), qPrintable(buttons.value(c)));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(control<QLabel>(view, "LbPageNo")->text(), QStringLiteral("Page %1/%2").arg(shown).arg(pages));
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
    QTest::addColumn<int>("shown"); // 0: refused, page 2 stays

    QTest::newRow("page 3") << "3" << 3;
    QTest::newRow("first page") << "1" << 1;
    QTest::newRow("last page") << "7" << 7;
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
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton); // page 2
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
        shown = 2;
    }
    QCOMPARE(control<QLabel>(view, "LbPageNo")->text(), QStringLiteral("Page %1/7").arg(shown));
    QVERIFY(viewText(view).startsWith(QStringLiteral("Page %1\n").arg(shown)));
}

void TestFrmReportPaging::goTo_keepsButtonsAndFiltersKeys()
{
    FrmReport *view = open(printFile(QStringLiteral("goto.prn"), pagedBytes(7)));
    QVERIFY(!control(view, "CmdBck")->isEnabled()); // First ran at activation
    auto *box = control<QLineEdit>(view, "Text2");
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("x5.a"));
    QCOMPARE(box->text(), QStringLiteral("5"));
    QTest::keyClick(box, Qt::Key_Enter);
    QCOMPARE(view->currentPage(), 4);
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
    QVERIFY(!control(six, "SpLebal3")->isHidden());
    // Its caption fits inside the label's text rectangle, not cut off.
    auto *label = control<SpLebal>(six, "SpLebal3");
    QCOMPARE(label->Caption(), QStringLiteral("GOTO"));
    const QRect fits = label->fontMetrics().boundingRect(label->Caption());
    QVERIFY(fits.width() <= label->textRect().width());
    QVERIFY(label->fontMetrics().height() <= label->textRect().height());

    // A later load only ever hides the box.
    Dialogs::setNextFileName(printFile(QStringLiteral("ten.txt"), pagedBytes(10)));
    QTest::mouseClick(control(five, "CmdImport"), Qt::LeftButton);
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
    connect(view->rt1(), &QTextEdit::textChanged, view, [&pointers] {
        const QCursor *c = QGuiApplication::overrideCursor();
        pointers << (c ? int(c->shape()) : -1);
    });
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
    QTest::mouseClick(control(view, "CmdBck"), Qt::LeftButton);
    QCOMPARE(pointers, QList<int>({-1, int(Qt::WaitCursor)}));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestFrmReportPaging::statusLine_followsClicksAndKeys()
{
    FrmReport *view = open(printFile(QStringLiteral("status.prn"), pagedBytes(2)));
    QTextEdit *rt1 = view->rt1();
    const QString before = view->windowTitle();

    // A click at the start of the fourth line of a page.
    const QByteArray page = "one\r\ntwo\r\nthree\r\nfourth line\r\nfive\r\n\f";
    Dialogs::setNextFileName(printFile(QStringLiteral("status.txt"), page));
    QTest::mouseClick(control(view, "CmdImport"), Qt::LeftButton);
    QTextCursor fourth(rt1->document()->findBlockByNumber(3));
    const QPoint at = rt1->cursorRect(fourth).center() + QPoint(1, 0);
    QTest::mouseClick(rt1->viewport(), Qt::LeftButton, Qt::NoModifier, at);
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

void TestFrmReportPaging::columnMarks_recordedWhileMarkingAndCapped()
{
    FrmReport *view = open(printFile(QStringLiteral("marks.prn"), "abcdefgh\r\nijklmnop\r\n\f"));
    QCOMPARE(view->columnMarks(), QVector<qint16>(11, 0));
    QCOMPARE(view->columnMarkCount(), 0);

    // Marking mode off: clicks record nothing.
    QTextEdit *rt1 = view->rt1();
    QTextCursor c(rt1->document());
    c.setPosition(5);
    rt1->setTextCursor(c);
    view->UpdateStatusLine();
    QCOMPARE(view->columnMarkCount(), 0);

    view->excelButton()->setTag(QStringLiteral("1"));
    view->setColumnMarkCount(1);
    view->UpdateStatusLine();
    c.setPosition(12); // column 3 of the second line
    rt1->setTextCursor(c);
    view->UpdateStatusLine();
    QCOMPARE(view->columnMarkCount(), 3);
    QCOMPARE(view->columnMarks().mid(1, 2), (QVector<qint16> {5, 3}));
    QCOMPARE(view->columnMarks().size(), 4);

    // The count is 8-bit: the 256th mark is refused.
    view->setColumnMarkCount(254);
    view->UpdateStatusLine();
    view->UpdateStatusLine();
    QCOMPARE(view->columnMarkCount(), 255);
    QCOMPARE(view->columnMarks().at(254), qint16(3));

    // A new load starts again from eleven zeros.
    Dialogs::setNextFileName(view->reportFile());
    QTest::mouseClick(control(view, "CmdImport"), Qt::LeftButton);
    QCOMPARE(view->columnMarks(), QVector<qint16>(11, 0));
    QCOMPARE(view->columnMarkCount(), 0);
}

QTEST_MAIN(TestFrmReportPaging)
#include "tst_frmreport_paging.moc"
