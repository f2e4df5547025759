#include "FormDriver.h"
#include "TestSupport.h"
#include "platform/MessageBox.h"
#include "printing/CurrentPrinter.h"
#include "sticker/Frm0010Sticker.h"
#include "sticker/StickerPreview.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

using namespace FormDriver;

// The sticker form's print buttons and its exit.
class TestFrm0010StickerRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        MessageBox::clearShown();
        CurrentPrinter::setName(QString());
    }

    void windowShowDrawsOnPicOnly();
    void windowPrintGoesToThePrinter();
    void exitClosesEveryWindow();

private:
    static void fillWindowSheet(QWidget *form);
};

void TestFrm0010StickerRun::fillWindowSheet(QWidget *form)
{
    type(form, QStringLiteral("Atxt(0)"), QStringLiteral("ACME STORES"));
    type(form, QStringLiteral("Atxt(1)"), QStringLiteral("Main Road"));
    type(form, QStringLiteral("Atxt(3)"), QStringLiteral("Box"));
    type(form, QStringLiteral("Atxt(4)"), QStringLiteral("Lot"));
    type(form, QStringLiteral("Atxt(5)"), QStringLiteral("601"));
    type(form, QStringLiteral("Atxt(6)"), QStringLiteral("612"));
    type(form, QStringLiteral("Atxt(10)"), QStringLiteral("1"));
    type(form, QStringLiteral("TxCol"), QStringLiteral("2"));
    type(form, QStringLiteral("TxRow"), QStringLiteral("3"));
    type(form, QStringLiteral("TxMaxFLenth"), QStringLiteral("16"));
    choose(form, QStringLiteral("Combo1"), QStringLiteral("5"));
    type(form, QStringLiteral("TxtFontNM"), QStringLiteral("DejaVu Sans"));
    type(form, QStringLiteral("TxtFontSZ"), QStringLiteral("10"));
    type(form, QStringLiteral("TxtMtop"), QStringLiteral("720"));
    type(form, QStringLiteral("TxtMLeft"), QStringLiteral("720"));
    type(form, QStringLiteral("TxtHEight"), QStringLiteral("4500"));
    type(form, QStringLiteral("TxtWidth"), QStringLiteral("260"));
    type(form, QStringLiteral("TxBlank"), QStringLiteral("2200"));
    type(form, QStringLiteral("txtRowPrint"), QStringLiteral("3"));
    type(form, QStringLiteral("txtPage"), QStringLiteral("0"));
    click(form, QStringLiteral("ChKwIN"));
}

void TestFrm0010StickerRun::windowShowDrawsOnPicOnly()
{
    // A printer that does not exist: reaching for it would be told.
    CurrentPrinter::setName(QStringLiteral("NoSuchPrinter"));
    Frm0010Sticker form;
    form.show();
    fillWindowSheet(&form);
    click(&form, QStringLiteral("JBshow(0)"));

    auto *pic = control<StickerPreview>(&form, QStringLiteral("Pic"));
    QCOMPARE(pic->items().size(), 2 * 3 * 5);
    QCOMPARE(pic->items().first().text.trimmed(), QStringLiteral("ACME STORES"));
    QCOMPARE(pic->items().first().x, 720.0);
    QVERIFY(pic->isVisible()); // the settings panel opened to show the sheet
    QCOMPARE(text(&form, QStringLiteral("txtPage")), QStringLiteral("1"));
    QVERIFY(MessageBox::shown().isEmpty());

    // A second show clears the view first.
    click(&form, QStringLiteral("JBshow(0)"));
    QCOMPARE(pic->items().size(), 2 * 3 * 5);
}

void TestFrm0010StickerRun::windowPrintGoesToThePrinter()
{
    CurrentPrinter::setName(QStringLiteral("NoSuchPrinter"));
    Frm0010Sticker form;
    form.show();
    fillWindowSheet(&form);
    click(&form, QStringLiteral("JBshow(1)"));
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains(QStringLiteral("NoSuchPrinter")));
    QVERIFY(control<StickerPreview>(&form, QStringLiteral("Pic"))->items().isEmpty());
}

void TestFrm0010StickerRun::exitClosesEveryWindow()
{
    auto *form = new Frm0010Sticker;
    QPointer<Frm0010Sticker> formAlive(form);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    QWidget other;
    other.show();
    type(form, QStringLiteral("Atxt(0)"), QStringLiteral("unsaved"));

    click(form, QStringLiteral("CmdExit"));
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!other.isVisible());
    QVERIFY(formAlive.isNull());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QVERIFY(MessageBox::shown().isEmpty());
}

QTEST_MAIN(TestFrm0010StickerRun)
#include "tst_frm0010sticker_run.moc"
