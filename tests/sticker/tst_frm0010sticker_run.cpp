#include "FormDriver.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "printing/CurrentPrinter.h"
#include "startup/MainModule.h"
#include "sticker/FormatStore.h"
#include "sticker/Frm0010Sticker.h"
#include "sticker/StickerPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
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

    void slotSelectionLoadsValuesAndBoldCaption();
    void slotSizesStandUnderItsLoopAndColumns();
    void saveThenFreshFormRestoresSlot();
    void failedSaveIsTold();
    void characterRunRefusesBadInput();
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

void TestFrm0010StickerRun::slotSelectionLoadsValuesAndBoldCaption()
{
    const QString app = QStringLiteral("Sticker2");
    const QString section = QStringLiteral("Sticker");
    SettingsStore::save(app, section, QStringLiteral("3 Blankline"), QStringLiteral("2"));
    SettingsStore::save(app, section, QStringLiteral("3 PrintStyle"), QStringLiteral("1"));
    SettingsStore::save(app, section, QStringLiteral("3 1"), QStringLiteral("from the store"));
    SettingsStore::save(app, section, QStringLiteral("3 3"), QStringLiteral("third line"));
    TestSupport::writeFile(QDir(AppPaths::formatFolder()).filePath(QStringLiteral("3.txt")),
        "ACME STORES\r\nMain Road\r\n\r\nBox\r\nLot\r\n101\r\n150\r\n4\r\n\r\n\r\n"
        "5\r\n2\r\n4\r\n25\r\n18\r\n7\r\n9\r\n 5 \r\n 5 \r\n 1 \r\n 0 \r\n");
    Frm0010Sticker form;
    QCOMPARE(form.formatSlot(), 1);
    QVERIFY(control<QRadioButton>(&form, QStringLiteral("OPss(1)"))->font().bold());

    click(&form, QStringLiteral("OPss(3)"));
    QCOMPARE(form.formatSlot(), 3);
    for (int slot = 0; slot < FormatStore::SlotCount; ++slot)
        QCOMPARE(
            control<QRadioButton>(&form, QStringLiteral("OPss(%1)").arg(slot))->font().bold(), slot == 3);
    QCOMPARE(text(&form, QStringLiteral("Atxt(0)")), QStringLiteral("ACME STORES"));
    QCOMPARE(text(&form, QStringLiteral("Atxt(2)")), QString()); // the file's empty line wins
    QCOMPARE(text(&form, QStringLiteral("Atxt(5)")), QStringLiteral("101"));
    QCOMPARE(text(&form, QStringLiteral("Atxt(11)")), QStringLiteral("9"));
    QCOMPARE(text(&form, QStringLiteral("TxSp")), QStringLiteral("2"));
    QCOMPARE(text(&form, QStringLiteral("TxCol")), QStringLiteral("4"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("25"));
    QCOMPARE(text(&form, QStringLiteral("TxMaxFLenth")), QStringLiteral("18"));
    QCOMPARE(text(&form, QStringLiteral("TxBlank")), QStringLiteral("2"));
    QCOMPARE(text(&form, QStringLiteral("Combo1")), QStringLiteral("5"));
    QCOMPARE(form.maxField(), 5);
    QCOMPARE(text(&form, QStringLiteral("txtRowPrint")), QStringLiteral("5"));
    QCOMPARE(text(&form, QStringLiteral("Combo2")), QStringLiteral("5"));
    QVERIFY(control<QCheckBox>(&form, QStringLiteral("ChkIn1"))->isChecked());
    QVERIFY(!control<QCheckBox>(&form, QStringLiteral("ChkIn2"))->isChecked());
    QVERIFY(control<QRadioButton>(&form, QStringLiteral("Op(1)"))->isChecked());
    QCOMPARE(form.printStyle(), 1);
    // The ranges' sizes under loop position 5: the first range on lb(16).
    QCOMPARE(text(&form, QStringLiteral("lb(16)")), QStringLiteral("50"));
    QCOMPARE(text(&form, QStringLiteral("lb(18)")), QStringLiteral("3"));
    QCOMPARE(text(&form, QStringLiteral("TxNos")), QStringLiteral("150"));
}

void TestFrm0010StickerRun::slotSizesStandUnderItsLoopAndColumns()
{
    // The same ranges as on the form, but loop position 5 and 7 columns.
    TestSupport::writeFile(QDir(AppPaths::formatFolder()).filePath(QStringLiteral("2.txt")),
        "a\r\nb\r\nc\r\nd\r\ne\r\n601\r\n612\r\n4\r\n\r\n\r\n"
        "5\r\n3\r\n7\r\n17\r\n18\r\n1\r\n10\r\n 1 \r\n 5 \r\n 1 \r\n 1 \r\n");
    Frm0010Sticker form;
    type(&form, QStringLiteral("TxCol"), QStringLiteral("6"));
    type(&form, QStringLiteral("Atxt(5)"), QStringLiteral("601"));
    type(&form, QStringLiteral("Atxt(6)"), QStringLiteral("612"));
    type(&form, QStringLiteral("Atxt(10)"), QStringLiteral("1"));
    type(&form, QStringLiteral("Atxt(11)"), QStringLiteral("10"));
    QCOMPARE(text(&form, QStringLiteral("lb(18)")), QStringLiteral("12"));

    click(&form, QStringLiteral("OPss(2)"));
    QCOMPARE(text(&form, QStringLiteral("lb(16)")), QStringLiteral("12"));
    QCOMPARE(text(&form, QStringLiteral("lb(18)")), QStringLiteral("10"));
    QCOMPARE(text(&form, QStringLiteral("TxNos")), QStringLiteral("120"));
    QCOMPARE(text(&form, QStringLiteral("TxRow")), QStringLiteral("17"));
    QCOMPARE(text(&form, QStringLiteral("lb(2)")), QStringLiteral("119")); // 17 rows of 7
}

void TestFrm0010StickerRun::saveThenFreshFormRestoresSlot()
{
    StickerInput saved;
    {
        Frm0010Sticker form;
        click(&form, QStringLiteral("OPss(0)")); // captioned "6"
        type(&form, QStringLiteral("Atxt(0)"), QStringLiteral("Velmora Traders"));
        type(&form, QStringLiteral("Atxt(9)"), QStringLiteral("line seven"));
        type(&form, QStringLiteral("Atxt(5)"), QStringLiteral("11"));
        type(&form, QStringLiteral("Atxt(6)"), QStringLiteral("20"));
        type(&form, QStringLiteral("Atxt(10)"), QStringLiteral("3"));
        type(&form, QStringLiteral("Atxt(11)"), QStringLiteral("4"));
        type(&form, QStringLiteral("TxCol"), QStringLiteral("5"));
        type(&form, QStringLiteral("TxRow"), QStringLiteral("9"));
        type(&form, QStringLiteral("TxSp"), QStringLiteral("1"));
        type(&form, QStringLiteral("TxBlank"), QStringLiteral("0"));
        type(&form, QStringLiteral("TxMaxFLenth"), QStringLiteral("22"));
        type(&form, QStringLiteral("txtRowPrint"), QStringLiteral("4"));
        type(&form, QStringLiteral("TxtFontNM"), QStringLiteral("DejaVu Serif"));
        type(&form, QStringLiteral("TxtMtop"), QStringLiteral("360"));
        choose(&form, QStringLiteral("Combo1"), QStringLiteral("6"));
        choose(&form, QStringLiteral("Combo2"), QStringLiteral("5"));
        click(&form, QStringLiteral("ChkIn2"));
        click(&form, QStringLiteral("Op(1)"));
        saved = form.readInput();
        click(&form, QStringLiteral("CmdSave"));
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(QFile::exists(FormatStore::slotFilePath(0)));
    }
    Frm0010Sticker fresh;
    QCOMPARE(fresh.formatSlot(), 1);
    QVERIFY(text(&fresh, QStringLiteral("Atxt(0)")) != saved.Atxt[0]);
    // The Windows-mode settings are shared by all slots and load at once.
    QCOMPARE(text(&fresh, QStringLiteral("TxtFontNM")), QStringLiteral("DejaVu Serif"));
    QCOMPARE(text(&fresh, QStringLiteral("TxtMtop")), QStringLiteral("360"));

    click(&fresh, QStringLiteral("OPss(0)"));
    const StickerInput back = fresh.readInput();
    QCOMPARE(back.Atxt, saved.Atxt);
    QCOMPARE(back.TxCol, saved.TxCol);
    QCOMPARE(back.TxRow, saved.TxRow);
    QCOMPARE(back.TxSp, saved.TxSp);
    QCOMPARE(back.TxBlank, saved.TxBlank);
    QCOMPARE(back.TxMaxFLenth, saved.TxMaxFLenth);
    QCOMPARE(back.txtRowPrint, saved.txtRowPrint);
    QCOMPARE(back.maxField, 6);
    QCOMPARE(back.Combo2, QStringLiteral("5"));
    QCOMPARE(back.ChkIn2, saved.ChkIn2);
    QCOMPARE(back.ChkIn1, saved.ChkIn1);
    QVERIFY(back.condensed);
}

void TestFrm0010StickerRun::failedSaveIsTold()
{
    // A folder where the slot's file belongs: the file cannot be written.
    const QString blocker = QDir(AppPaths::formatFolder()).filePath(QStringLiteral("7.txt"));
    QVERIFY(QDir().mkpath(blocker));
    Frm0010Sticker form;
    click(&form, QStringLiteral("OPss(7)"));
    click(&form, QStringLiteral("CmdSave"));
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains(QStringLiteral("7.txt")));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
    QDir(blocker).removeRecursively();
}

void TestFrm0010StickerRun::characterRunRefusesBadInput()
{
    Frm0010Sticker form;
    form.show();
    type(&form, QStringLiteral("TxCol"), QStringLiteral("300"));
    type(&form, QStringLiteral("txtPage"), QStringLiteral("0"));
    PrintFileName.clear();
    const int windowsBefore = QApplication::topLevelWidgets().size();
    click(&form, QStringLiteral("JBshow(0)"));
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains(QStringLiteral("Col")));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
    QVERIFY(PrintFileName.isEmpty());
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    QVERIFY(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files).isEmpty());
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
    QVERIFY(form.grab().save(QDir::temp().filePath(QStringLiteral("Frm0010Sticker-Pic.png"))));
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
    // Nothing was saved.
    QCOMPARE(SettingsStore::read(QStringLiteral("Sticker2"), QStringLiteral("Sticker"), QStringLiteral("1 1"),
                 QStringLiteral("none")),
        QStringLiteral("none"));
}

QTEST_MAIN(TestFrm0010StickerRun)
#include "tst_frm0010sticker_run.moc"
