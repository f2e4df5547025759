#include "FormDriver.h"
#include "TestSupport.h"
#include "platform/AppPaths.h"
#include "gui/platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "printing/CurrentPrinter.h"
#include "gui/report/FrmReport.h"
#include "startup/MainModule.h"
#include "sticker/FormatStore.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/sticker/StickerPreview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

using namespace FormDriver;

// The sticker form's slots, its print buttons in both modes and its exit.
class TestFrm0010StickerRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        MessageBox::clearShown();
        CurrentPrinter::setName(QString());
        QDir(AppPaths::privateTempFolder()).removeRecursively();
    }
    void cleanup()
    {
        for (FrmReport *view : views())
            view->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void slotSelectionLoadsValuesAndBoldCaption();
    void slotSizesStandUnderItsLoopAndColumns();
    void saveThenFreshFormRestoresSlot();
    void failedSaveIsTold();
    void characterRunRefusesBadInput();
    void characterRunOpensViewOnSheet_data();
    void characterRunOpensViewOnSheet();
    void seventhViewRefusedThenExitClosesAll();
    void windowRun();

private:
    static QList<FrmReport *> views();
    static void fillCharacterSheet(QWidget *form);
};

QList<FrmReport *> TestFrm0010StickerRun::views()
{
    QList<FrmReport *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<FrmReport *>(w); view && view->isVisible())
            found << view;
    }
    return found;
}

void TestFrm0010StickerRun::fillCharacterSheet(QWidget *form)
{
    fill(form,
        {{"Atxt(0)", "AB"}, {"Atxt(1)", ""}, {"Atxt(2)", "C"}, {"Atxt(3)", "N"}, {"TxMaxFLenth", "5"},
            {"TxSp", "1"}, {"TxCol", "2"}, {"TxRow", "2"}, {"TxBlank", "0"}, {"txtPage", "0"}});
    choose(form, "Combo1", "4");
}

void TestFrm0010StickerRun::slotSelectionLoadsValuesAndBoldCaption()
{
    for (const auto &[key, value] : QList<QPair<QString, QString>> {
             {"3 Blankline", "2"}, {"3 PrintStyle", "1"}, {"3 1", "from the store"}, {"3 3", "third line"}})
        SettingsStore::save("Sticker2", "Sticker", key, value);
    TestSupport::writeFile(AppPaths::formatFolder() + "/3.txt",
        "ACME STORES\r\nMain Road\r\n\r\nBox\r\nLot\r\n101\r\n150\r\n4\r\n\r\n\r\n"
        "5\r\n2\r\n4\r\n25\r\n18\r\n7\r\n9\r\n 5 \r\n 5 \r\n 1 \r\n 0 \r\n");
    Frm0010Sticker form;
    QCOMPARE(form.formatSlot(), 1);
    QVERIFY(control<QRadioButton>(&form, "OPss(1)")->font().bold());

    click(&form, "OPss(3)");
    QCOMPARE(form.formatSlot(), 3);
    for (int slot = 0; slot < FormatStore::SlotCount; ++slot)
        QCOMPARE(control<QRadioButton>(&form, QString("OPss(%1)").arg(slot))->font().bold(), slot == 3);
    // The file's lines win over the store's, its empty line too.
    QCOMPARE(texts(&form,
                 {"Atxt(0)", "Atxt(2)", "Atxt(5)", "Atxt(11)", "TxSp", "TxCol", "TxRow", "TxMaxFLenth",
                     "TxBlank", "Combo1", "txtRowPrint", "Combo2"}),
        QStringList({"ACME STORES", "", "101", "9", "2", "4", "25", "18", "2", "5", "5", "5"}));
    QCOMPARE(form.maxField(), 5);
    QVERIFY(control<QCheckBox>(&form, "ChkIn1")->isChecked());
    QVERIFY(!control<QCheckBox>(&form, "ChkIn2")->isChecked());
    QVERIFY(control<QRadioButton>(&form, "Op(1)")->isChecked());
    // The ranges' sizes under loop position 5: the first range on lb(16).
    QCOMPARE(texts(&form, {"lb(16)", "lb(18)", "TxNos"}), QStringList({"50", "3", "150"}));
}

void TestFrm0010StickerRun::slotSizesStandUnderItsLoopAndColumns()
{
    // The same ranges as on the form, but loop position 5 and 7 columns.
    TestSupport::writeFile(AppPaths::formatFolder() + "/2.txt",
        "a\r\nb\r\nc\r\nd\r\ne\r\n601\r\n612\r\n4\r\n\r\n\r\n"
        "5\r\n3\r\n7\r\n17\r\n18\r\n1\r\n10\r\n 1 \r\n 5 \r\n 1 \r\n 1 \r\n");
    Frm0010Sticker form;
    fill(&form,
        {{"TxCol", "6"}, {"Atxt(5)", "601"}, {"Atxt(6)", "612"}, {"Atxt(10)", "1"}, {"Atxt(11)", "10"}});
    QCOMPARE(text(&form, "lb(18)"), QStringLiteral("12"));
    click(&form, "OPss(2)");
    // 17 rows of 7.
    QCOMPARE(texts(&form, {"lb(16)", "lb(18)", "TxNos", "TxRow", "lb(2)"}),
        QStringList({"12", "10", "120", "17", "119"}));
}

void TestFrm0010StickerRun::saveThenFreshFormRestoresSlot()
{
    StickerInput saved;
    {
        Frm0010Sticker form;
        click(&form, "OPss(0)"); // captioned "6"
        fill(&form,
            {{"Atxt(0)", "Velmora Traders"}, {"Atxt(9)", "line seven"}, {"Atxt(5)", "11"}, {"Atxt(6)", "20"},
                {"Atxt(10)", "3"}, {"Atxt(11)", "4"}, {"TxCol", "5"}, {"TxRow", "9"}, {"TxSp", "1"},
                {"TxBlank", "0"}, {"TxMaxFLenth", "22"}, {"txtRowPrint", "4"}, {"TxtFontNM", "DejaVu Serif"},
                {"TxtMtop", "360"}});
        choose(&form, "Combo1", "6");
        choose(&form, "Combo2", "5");
        click(&form, "ChkIn2");
        click(&form, "Op(1)");
        saved = form.readInput();
        click(&form, "CmdSave");
        QVERIFY(MessageBox::shown().isEmpty());
        QVERIFY(QFile::exists(FormatStore::slotFilePath(0)));
    }
    Frm0010Sticker fresh;
    QCOMPARE(fresh.formatSlot(), 1);
    QVERIFY(text(&fresh, "Atxt(0)") != saved.Atxt[0]);
    // The Windows-mode settings are shared by all slots and load at once.
    QCOMPARE(texts(&fresh, {"TxtFontNM", "TxtMtop"}), QStringList({"DejaVu Serif", "360"}));

    click(&fresh, "OPss(0)");
    const StickerInput back = fresh.readInput();
    QCOMPARE(back.Atxt, saved.Atxt);
    QCOMPARE(
        QStringList({back.TxCol, back.TxRow, back.TxSp, back.TxBlank, back.TxMaxFLenth, back.txtRowPrint}),
        QStringList({"5", "9", "1", "0", "22", "4"}));
    QCOMPARE(back.maxField, 6);
    QCOMPARE(back.Combo2, QStringLiteral("5"));
    QCOMPARE(back.ChkIn1, saved.ChkIn1);
    QCOMPARE(back.ChkIn2, saved.ChkIn2);
    QVERIFY(back.condensed);
}

void TestFrm0010StickerRun::failedSaveIsTold()
{
    // A folder where the slot's file belongs: the file cannot be written.
    const QString blocker = AppPaths::formatFolder() + "/7.txt";
    QVERIFY(QDir().mkpath(blocker));
    Frm0010Sticker form;
    click(&form, "OPss(7)");
    click(&form, "CmdSave");
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains("7.txt"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
    QDir(blocker).removeRecursively();
}

void TestFrm0010StickerRun::characterRunRefusesBadInput()
{
    Frm0010Sticker form;
    form.show();
    fill(&form, {{"TxCol", "300"}, {"txtPage", "0"}});
    PrintFileName.clear();
    click(&form, "JBshow(0)");
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains("Col"));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
    QVERIFY(PrintFileName.isEmpty());
    QVERIFY(views().isEmpty());
    QVERIFY(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files).isEmpty());
}

void TestFrm0010StickerRun::characterRunOpensViewOnSheet_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray sheet("AB    AB\r\n\r\nC     C\r\nN1    N2\r\n\r\n"
                           "AB    AB\r\n\r\nC     C\r\nN3    N4\r\n.  .  .\r\n");
    QTest::newRow("show, normal") << "JBshow(0)" << QString("Op(0)") << sheet + "\f\r\n";
    QTest::newRow("print, condensed") << "JBshow(1)" << QString("Op(1)") << "\x0f" + sheet + "\x12\f\r\n";
}

void TestFrm0010StickerRun::characterRunOpensViewOnSheet()
{
    QFETCH(QString, button);
    QFETCH(QString, style);
    QFETCH(QByteArray, bytes);
    Frm0010Sticker form;
    form.show();
    fillCharacterSheet(&form);
    click(&form, style);
    click(&form, button);

    QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(MessageBox::shown().value(0).text));
    QCOMPARE(text(&form, "txtPage"), QStringLiteral("1"));
    QCOMPARE(TestSupport::readFile(PrintFileName), bytes);
    const QList<FrmReport *> open = views();
    QCOMPARE(open.size(), 1);
    QCOMPARE(open.first()->reportFile(), PrintFileName);
    QCOMPARE(open.first()->PageCount(), 1);
    QCOMPARE(int(OpenViewCount), 1);
}

void TestFrm0010StickerRun::seventhViewRefusedThenExitClosesAll()
{
    auto *form = new Frm0010Sticker;
    QPointer<Frm0010Sticker> formAlive(form);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    QWidget other;
    other.show();
    fillCharacterSheet(form);
    QStringList files;
    for (int run = 1; run <= 7; ++run) {
        click(form, "JBshow(0)");
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

    // Exit closes every window, the views and the form too, and saves nothing.
    QList<QPointer<FrmReport>> open;
    for (FrmReport *view : views())
        open << view;
    click(form, "CmdExit");
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<FrmReport> &view : open)
        QVERIFY(view.isNull());
    QVERIFY(formAlive.isNull());
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    QCOMPARE(int(OpenViewCount), 0);
    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(SettingsStore::read("Sticker2", "Sticker", "1 1", "none"), QStringLiteral("none"));
}

void TestFrm0010StickerRun::windowRun()
{
    // A printer that does not exist: printing is told so, showing never reaches for it.
    CurrentPrinter::setName("NoSuchPrinter");
    Frm0010Sticker form;
    form.show();
    fill(&form,
        {{"Atxt(0)", "ACME STORES"}, {"Atxt(1)", "Main Road"}, {"Atxt(3)", "Box"}, {"Atxt(4)", "Lot"},
            {"Atxt(5)", "601"}, {"Atxt(6)", "612"}, {"Atxt(10)", "1"}, {"TxCol", "2"}, {"TxRow", "3"},
            {"TxMaxFLenth", "16"}, {"TxtFontNM", "DejaVu Sans"}, {"TxtFontSZ", "10"}, {"TxtMtop", "720"},
            {"TxtMLeft", "720"}, {"TxtHEight", "4500"}, {"TxtWidth", "260"}, {"TxBlank", "2200"},
            {"txtRowPrint", "3"}, {"txtPage", "0"}});
    choose(&form, "Combo1", "5");
    click(&form, "ChKwIN");
    auto *pic = control<StickerPreview>(&form, "Pic");

    click(&form, "JBshow(1)");
    QCOMPARE(MessageBox::shown().size(), 1);
    QVERIFY(MessageBox::shown().first().text.contains("NoSuchPrinter"));
    QVERIFY(pic->items().isEmpty());

    MessageBox::clearShown();
    click(&form, "JBshow(0)");
    QCOMPARE(pic->items().size(), 2 * 3 * 5);
    QCOMPARE(pic->items().first().text.trimmed(), QStringLiteral("ACME STORES"));
    QCOMPARE(pic->items().first().x, 720.0);
    QVERIFY(pic->isVisible()); // the settings panel opened to show the sheet
    QCOMPARE(text(&form, "txtPage"), QStringLiteral("1"));
    QVERIFY(MessageBox::shown().isEmpty());
    QVERIFY(form.grab().save(QDir::temp().filePath("Frm0010Sticker-Pic.png")));
}

QTEST_MAIN(TestFrm0010StickerRun)
#include "tst_frm0010sticker_run.moc"
