#include "FormDriver.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "report/FrmReport.h"
#include "startup/MainModule.h"
#include "sticker/Frm0010Sticker.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTest>

using namespace FormDriver;

// The sticker form's print buttons in character mode: the print file and the
// report view opened on it.
class TestFrm0010StickerView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init() { MessageBox::clearShown(); }
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<FrmReport *>(w))
                w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void showOpensViewOnSheet_data();
    void showOpensViewOnSheet();
    void seventhViewRefusedThenExitClosesAll();

private:
    static QList<FrmReport *> views();
    static void fillSheet(QWidget *form);
};

QList<FrmReport *> TestFrm0010StickerView::views()
{
    QList<FrmReport *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<FrmReport *>(w); view && view->isVisible())
            found << view;
    }
    return found;
}

void TestFrm0010StickerView::fillSheet(QWidget *form)
{
    type(form, QStringLiteral("Atxt(0)"), QStringLiteral("AB"));
    type(form, QStringLiteral("Atxt(1)"), QString());
    type(form, QStringLiteral("Atxt(2)"), QStringLiteral("C"));
    type(form, QStringLiteral("Atxt(3)"), QStringLiteral("N"));
    type(form, QStringLiteral("TxMaxFLenth"), QStringLiteral("5"));
    type(form, QStringLiteral("TxSp"), QStringLiteral("1"));
    type(form, QStringLiteral("TxCol"), QStringLiteral("2"));
    type(form, QStringLiteral("TxRow"), QStringLiteral("2"));
    type(form, QStringLiteral("TxBlank"), QStringLiteral("0"));
    type(form, QStringLiteral("txtPage"), QStringLiteral("0"));
    choose(form, QStringLiteral("Combo1"), QStringLiteral("4"));
}

void TestFrm0010StickerView::showOpensViewOnSheet_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray sheet("AB    AB\r\n\r\nC     C\r\nN1    N2\r\n\r\n"
                           "AB    AB\r\n\r\nC     C\r\nN3    N4\r\n.  .  .\r\n");
    QTest::newRow("show, normal") << "JBshow(0)"
                                  << "Op(0)" << sheet + "\f\r\n";
    QTest::newRow("print, condensed") << "JBshow(1)"
                                      << "Op(1)"
                                      << "\x0f" + sheet + "\x12\f\r\n";
}

void TestFrm0010StickerView::showOpensViewOnSheet()
{
    QFETCH(QString, button);
    QFETCH(QString, style);
    QFETCH(QByteArray, bytes);
    Frm0010Sticker form;
    form.show();
    fillSheet(&form);
    click(&form, style);
    PrintFileName.clear();
    click(&form, button);

    QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(MessageBox::shown().value(0).text));
    QCOMPARE(text(&form, QStringLiteral("txtPage")), QStringLiteral("1"));
    QVERIFY(!PrintFileName.isEmpty());
    QCOMPARE(TestSupport::readFile(PrintFileName), bytes);
    const QList<FrmReport *> open = views();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first()->reportFile(), PrintFileName);
    QCOMPARE(open.first()->PageCount(), 1);
    QCOMPARE(int(OpenViewCount), 1);
}

void TestFrm0010StickerView::seventhViewRefusedThenExitClosesAll()
{
    Frm0010Sticker form;
    form.show();
    fillSheet(&form);
    QStringList files;
    for (int run = 1; run <= 7; ++run) {
        click(&form, QStringLiteral("JBshow(0)"));
        files << PrintFileName;
    }
    QCOMPARE(views().size(), 6);
    QCOMPARE(int(OpenViewCount), 6);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text,
        QStringLiteral(" Max Six Report View Open ...\r\n\r\n Please Close Report View and Try Again .."));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
    // The refused run's file stays, beside the sixth view's.
    QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), 7);
    for (const QString &file : files)
        QVERIFY(QFile::exists(file));

    QList<QPointer<FrmReport>> open;
    for (FrmReport *view : views())
        open << view;
    click(&form, QStringLiteral("CmdExit"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(views().isEmpty());
    for (const QPointer<FrmReport> &view : open)
        QVERIFY(view.isNull());
    QCOMPARE(int(OpenViewCount), 0);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestFrm0010StickerView)
#include "tst_frm0010sticker_view.moc"
