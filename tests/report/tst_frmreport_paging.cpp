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

    void steps_data()
    {
        // Steps on a view of n pages (ReportViewFixture::apply), then its
        // states. A disabled button takes no click: rows click enabled ones.
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("states");
        const auto row = [](const char *name, int pages, const QStringList &steps, const QString &states) {
            QTest::newRow(name) << pages << steps << states;
        };
        const QString nav = "page=%1;line=Page %1;LbPageNo=Page %1/%2;CmdBck.enabled=%3;CmdNxt.enabled=%4;"
                            "CmdFst.enabled=1;CmdLast.enabled=1";
        row("one page, just opened", 1, {}, nav.arg(1).arg(1).arg(0).arg(1));
        row("one page, Next then First", 1, {"CmdNxt", "CmdFst"}, nav.arg(1).arg(1).arg(0).arg(1));
        row("Next to the last page keeps Next", 4, {"CmdNxt", "CmdNxt", "CmdNxt"},
            nav.arg(4).arg(4).arg(1).arg(1));
        row("Next past the end disables it", 4, QStringList(4, "CmdNxt"), nav.arg(4).arg(4).arg(1).arg(0));
        row("Last then Back", 4, {"CmdLast", "CmdBck"}, nav.arg(3).arg(4).arg(1).arg(1));
        row("Back to page 1 keeps Back", 4, {"CmdNxt", "CmdBck"}, nav.arg(1).arg(4).arg(1).arg(1));
        row("Back on page 1 disables it", 4, {"CmdNxt", "CmdBck", "CmdBck"}, nav.arg(1).arg(4).arg(0).arg(1));
        // The go-to box: letters and points are not typed; a refused page
        // keeps page 1; the jump leaves the buttons as they were.
        const QString gone = "page=%1;line=Page %1;boxes=%2;CmdBck.enabled=0;CmdNxt.enabled=1";
        const QString refused = gone.arg(1).arg(1) + ";box= Select Valid PageNo...!;icon=3"; // critical
        for (const char *typed : {"3", "7", "x5.a", "0", "8", ""}) {
            const int page = QString(typed).remove(QRegularExpression("[^-0-9]")).toInt();
            row(qPrintable(QString("go to \"%1\"").arg(typed)), 7,
                {QString("Text2+") + typed, "Text2!Return"},
                page >= 1 && page <= 7 ? gone.arg(page).arg(0) : refused);
        }
        // Leaving the box clears it.
        row("go to box cleared on leaving", 7, {"Text2!Home", "Text2+3", "Text4!End"}, "Text2=");
    }

    void steps()
    {
        QFETCH(int, pages);
        QFETCH(QStringList, steps);
        QFETCH(QString, states);
        FrmReport *view = open(printFile(QStringLiteral("steps.prn"), pagedBytes(pages)));
        apply(view, steps);
        QCOMPARE(ReportViewFixture::states(view, states), states);
        QVERIFY(viewText(view).endsWith('\f'));
    }

    void goToBox_shownFromSixPages()
    {
        FrmReport *five = open(printFile(QStringLiteral("five.prn"), pagedBytes(5)));
        FrmReport *six = open(printFile(QStringLiteral("six.prn"), pagedBytes(6)));
        const QString box = "Text2.hidden SpLebal3.hidden";
        QCOMPARE(
            TestSupport::state(five, box) + ' ' + TestSupport::state(six, box), QStringLiteral("1|1 0|0"));
        // Its caption fits inside the label, not cut off.
        auto *label = control<SpLebal>(six, "SpLebal3");
        QVERIFY(label->fontMetrics().boundingRect(label->Caption()).width() <= label->textRect().width());
        // A later load only ever hides the box.
        import(five, printFile(QStringLiteral("ten.txt"), pagedBytes(10)));
        QCOMPARE(five->PageCount(), 10);
        QVERIFY(control(five, "Text2")->isHidden());
    }

    void longPage_busyPointerWhileShown()
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

    void statusLine_followsClicksAndKeys()
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
        import(view,
            printFile(QStringLiteral("status.txt"), "one\r\ntwo\r\nthree\r\nfourth line\r\nfive\r\n\f"));
        QTextCursor fourth(rt1->document()->findBlockByNumber(3));
        QTest::mouseClick(
            rt1->viewport(), Qt::LeftButton, {}, rt1->cursorRect(fourth).center() + QPoint(1, 0));
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

    void columnMarks_cappedAndResetByLoad()
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
};

QTEST_MAIN(TestFrmReportPaging)
#include "tst_frmreport_paging.moc"
