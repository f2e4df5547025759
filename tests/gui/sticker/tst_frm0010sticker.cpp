// The sticker form's wiring: the handlers between its fields, the settings
// panel, the format slots, and its buttons in both modes. The sheets and the
// slot files themselves are checked on the engine (tst_charsheetwriter,
// tst_windowsheet, tst_formatstore).
#include "FormDriver.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/KeyFilter.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/FrmReport.h"
#include "gui/report/OpenReportView.h"
#include "gui/sticker/Frm0010Sticker.h"
#include "gui/sticker/StickerPreview.h"
#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "gui/printing/CurrentPrinter.h"
#include "gui/report/PrintFileActions.h"
#include "report/RecentFiles.h"
#include "sticker/FormatStore.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QScreen>

using namespace FormDriver;

namespace {

QList<FrmReport *> views()
{
    QList<FrmReport *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *view = qobject_cast<FrmReport *>(w); view && view->isVisible())
            found << view;
    }
    return found;
}

// Two stickers of four lines across, two down.
void fillCharacterSheet(QWidget *form)
{
    fill(form,
        {{"Atxt(0)", "AB"}, {"Atxt(1)", ""}, {"Atxt(2)", "C"}, {"Atxt(3)", "N"}, {"TxMaxFLenth", "5"},
            {"TxSp", "1"}, {"TxCol", "2"}, {"TxRow", "2"}, {"TxBlank", "0"}, {"txtPage", "0"}});
    choose(form, "Combo1", "4");
}

const QString Sizes = "lb(18) lb(16) TxNos TxRow lb(2)";

} // namespace

class TestFrm0010Sticker : public QObject
{
    Q_OBJECT

private slots:
    void keyFilters_data()
    {
        // What each filter of the number boxes returns for a key typed into a
        // box holding `text`; 1 means refused.
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("integer");
        QTest::addColumn<int>("decimal");
        QTest::newRow("digits") << int('0') << "1.2" << int('0') << int('0');
        QTest::newRow("backspace") << 8 << "" << 8 << 8;
        QTest::newRow("letter") << int('a') << "" << 1 << 1;
        QTest::newRow("first dot") << int('.') << "12" << 1 << int('.');
        QTest::newRow("second dot") << int('.') << "1.2" << 1 << 1;
    }

    void keyFilters()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, integer);
        QFETCH(int, decimal);
        QCOMPARE(IntegerKeyFilter(key), integer);
        QCOMPARE(DecimalKeyFilter(key, text), decimal);
    }

    void initTestCase() { TestSupport::initWindows(); }
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

    void rangeSizes_data()
    {
        QTest::addColumn<QString>("loop");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("rangeEnd"); // Atxt(6)
        QTest::addColumn<QString>("sizes");    // Sizes
        QTest::newRow("loop 4, 6 columns") << "4" << "6" << "612" << "12|10|120|20|120";
        QTest::newRow("7 columns hold fewer") << "4" << "7" << "612" << "12|10|120|17|119";
        QTest::newRow("loop 5 swaps the labels") << "5" << "6" << "612" << "10|12|120|20|120";
        QTest::newRow("end below start") << "4" << "6" << "590" << "-10|10|-100|-17|-102";
    }

    void rangeSizes()
    {
        QFETCH(QString, loop);
        QFETCH(QString, columns);
        QFETCH(QString, rangeEnd);
        QFETCH(QString, sizes);
        Frm0010Sticker form;
        choose(&form, "Combo2", loop);
        fill(&form,
            {{"TxCol", columns}, {"Atxt(5)", "601"}, {"Atxt(6)", rangeEnd}, {"Atxt(10)", "1"},
                {"Atxt(11)", "10"}});
        QCOMPARE(text(&form, Sizes), sizes);
    }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first range from: letters refused") << "Atxt(5)" << "6a0b1" << "601";
        QTest::newRow("first range to: letters refused") << "Atxt(6)" << "A-12." << "-12";
        QTest::newRow("second range takes letters") << "Atxt(10)" << "1a" << "1a";
    }

    void keyFilter()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        Frm0010Sticker form;
        type(&form, name, typed);
        QCOMPARE(text(&form, name), expected);
        // Backspace and Delete still edit; as X11 sends it, Delete carries DEL (127).
        QLineEdit *box = edit(&form, name);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Home);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Delete, QString(QChar(0x7f)), Qt::NoModifier);
        QCOMPARE(text(&form, name), expected.chopped(1).mid(1));
    }

    void settingsPanel()
    {
        Frm0010Sticker form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget *toggle = TestSupport::child(&form, "JeweledButton1");
        QWidget *frame1 = TestSupport::child(&form, "Frame1");
        QWidget *frame5 = TestSupport::child(&form, "Frame5");
        QVERIFY(toggle->isHidden() && frame1->isHidden());
        const int narrow = form.width();
        // A double click on the title reveals the toggle, which widens the form.
        QTest::mouseDClick(TestSupport::child(&form, "Label1"), Qt::LeftButton);
        click(&form, "JeweledButton1");
        QVERIFY(frame1->isVisible() && !frame5->isVisible());
        QVERIFY(form.rect().contains(frame1->geometry())
            || form.frameGeometry().width() >= form.screen()->availableGeometry().width());
        QVERIFY(frame1->geometry().left() >= TestSupport::child(&form, "Frame4")->geometry().right());
        // The widened form fits its screen (the test screen is narrower than the form wants).
        QTRY_VERIFY(form.screen()->availableGeometry().contains(form.frameGeometry()));
        click(&form, "ChKwIN"); // the Window frame shows at the next opening
        click(&form, "JeweledButton1");
        QVERIFY(!frame1->isVisible() && toggle->isVisible() && form.width() == narrow);
        click(&form, "JeweledButton1");
        QVERIFY(frame5->isVisible());
        QCOMPARE(TestSupport::clippedCaptions(&form).join(" "), QString());
    }

    // A slot saved from the controls comes back into them; a slot's file
    // wins over its stored keys, and its sizes stand under its loop and columns.
    // Print and Exit take the icon theme's pictures once the form is on
    // screen, where the theme has them; the form's first picture does not
    // wait for the theme to be read.
    void buttonIcons_themeAfterTheFirstPicture_data()
    {
        QTest::addColumn<QStringList>("themeIcons");
        QTest::addColumn<QString>("print"); // the icon's theme name once drawn ("": the style's picture)
        QTest::addColumn<QString>("exit");
        QTest::newRow("a theme with both") << QStringList{"actions/document-print", "actions/window-close"}
                                           << "document-print" << "window-close";
        QTest::newRow("the style's apply in the theme") << QStringList{"actions/dialog-ok-apply"} << "dialog-ok-apply"
                                                        << "";
        QTest::newRow("a theme with neither") << QStringList{"actions/edit-copy"} << "" << "";
    }

    void buttonIcons_themeAfterTheFirstPicture()
    {
        QFETCH(QStringList, themeIcons);
        QFETCH(QString, print);
        QFETCH(QString, exit);
        const TestSupport::ScopedIconTheme theme(themeIcons);
        QVERIFY(theme.isSet());
        Frm0010Sticker form;
        auto *printButton = control<QAbstractButton>(&form, "JBshow(1)");
        auto *exitButton = control<QAbstractButton>(&form, "CmdExit");
        QCOMPARE(printButton->icon().name(), QString());
        QCOMPARE(exitButton->icon().name(), QString());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(printButton->icon().name(), print);
        QCOMPARE(exitButton->icon().name(), exit);
        QVERIFY(!printButton->icon().pixmap(16).isNull());
        QVERIFY(!exitButton->icon().pixmap(16).isNull());
    }

    void slotsSaveAndLoad()
    {
        StickerInput saved;
        {
            Frm0010Sticker form;
            click(&form, "OPss(0)");
            fill(&form,
                {{"Atxt(0)", "Velmora"}, {"Atxt(9)", "seven"}, {"Atxt(5)", "101"}, {"Atxt(6)", "150"},
                    {"Atxt(10)", "7"}, {"Atxt(11)", "9"}, {"TxCol", "4"}, {"TxRow", "25"}, {"TxSp", "1"},
                    {"TxBlank", "0"}, {"TxMaxFLenth", "22"}, {"txtRowPrint", "4"},
                    {"TxtFontNM", "DejaVu Serif"}, {"TxtMtop", "360"}, {"TxDigits", "6"}, {"TxStartAt", "3"},
                    {"TxDataFile", "/data/rows.csv"}});
            choose(&form, "CboBarcode", "QR");
            choose(&form, "CboSheetCodePage", "PC852 (Central Europe)");
            choose(&form, "CboDelimiter", "Semicolon");
            choose(&form, "CboDataEncoding", "Windows-1250");
            choose(&form, "Combo1", "6");
            choose(&form, "Combo2", "5");
            click(&form, "ChkIn2");
            click(&form, "Op(1)");
            saved = form.readInput();
            click(&form, "CmdSave");
            QVERIFY(MessageBox::shown().isEmpty());
        }
        SettingsStore::save("Sticker2", "Sticker", "0 1", "from the store");
        Frm0010Sticker fresh;
        QCOMPARE(fresh.formatSlot(), 1);
        QVERIFY(text(&fresh, "Atxt(0)") != saved.lineTexts[0]);
        // The Windows-mode settings are shared by all slots and load at once.
        QCOMPARE(text(&fresh, "TxtFontNM TxtMtop"), QStringLiteral("DejaVu Serif|360"));
        click(&fresh, "OPss(0)");
        for (int slot = 0; slot < FormatStore::SlotCount; ++slot)
            QCOMPARE(control<QRadioButton>(&fresh, QString("OPss(%1)").arg(slot))->font().bold(), slot == 0);
        const StickerInput back = fresh.readInput();
        QCOMPARE(back.lineTexts, saved.lineTexts);
        QCOMPARE(QStringList({back.stickersAcross, back.TxRow, back.TxSp, back.TxBlank, back.lineWidth,
                     back.txtRowPrint, back.Combo2}),
            QStringList({"4", "25", "1", "0", "22", "4", "5"}));
        QVERIFY(back.maxField == 6 && back.ChkIn1 == saved.ChkIn1 && back.ChkIn2 == saved.ChkIn2
            && back.condensed);
        QCOMPARE(text(&fresh, "lb(16) lb(18) TxNos lb(2)"), QStringLiteral("50|3|150|148"));
        // The More panel's values are the slot's too.
        QCOMPARE(text(&fresh, "TxDigits TxStartAt CboBarcode CboSheetCodePage TxDataFile CboDelimiter CboDataEncoding"),
            QStringLiteral("6|3|QR|PC852 (Central Europe)|/data/rows.csv|Semicolon|Windows-1250"));
        QVERIFY(back.dataDelimiter == QLatin1Char(';') && back.dataEncoding == "Windows-1250");
    }

    void failedSaveIsTold()
    {
        // A folder where the slot's file belongs: the file cannot be written.
        const QString blocker = AppPaths::formatFolder() + "/7.txt";
        QVERIFY(QDir().mkpath(blocker));
        Frm0010Sticker form;
        click(&form, "OPss(7)");
        click(&form, "CmdSave");
        QDir(blocker).removeRecursively();
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().first().text.contains("7.txt"));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
    }

    void characterRun_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QByteArray>("begins"); // empty: refused with a message naming the field
        QTest::addColumn<QString>("more"); // "box=text" of the More panel, or "code page=item"
        QTest::addColumn<QString>("refusal"); // what the message names
        // The sheet's bytes are checked in tst_charsheetwriter; here the buttons and the pitch reach it.
        QTest::newRow("show, normal")
            << "JBshow(0)" << "Op(0)" << "2" << QByteArray("AB    AB\r\n") << "" << "";
        QTest::newRow("print, condensed")
            << "JBshow(1)" << "Op(1)" << "2" << QByteArray("\x0f" "AB    AB\r\n") << "" << "";
        QTest::newRow("refused") << "JBshow(0)" << "Op(0)" << "300" << QByteArray() << "" << "\"Col\"";
        // The box takes 25 as a step to 2; it was printed as 0 digits without a word.
        QTest::newRow("digits beyond 20 refused")
            << "JBshow(0)" << "Op(0)" << "2" << QByteArray() << "TxDigits=25" << "\"Digits\"";
        // The view reads the sheet in the printer's code page it was written in.
        QTest::newRow("shown in the sheet's code page") << "JBshow(0)" << "Op(0)" << "2"
                                                        << QByteArray("AB    AB\r\n")
                                                        << "CboSheetCodePage=PC852 (Central Europe)" << "";
    }

    void characterRun()
    {
        QFETCH(QString, button);
        QFETCH(QString, style);
        QFETCH(QString, columns);
        QFETCH(QByteArray, begins);
        QFETCH(QString, more);
        QFETCH(QString, refusal);
        Frm0010Sticker form;
        form.show();
        fillCharacterSheet(&form);
        type(&form, "TxCol", columns);
        const QString box = more.section('=', 0, 0);
        if (box.startsWith("Cbo"))
            choose(&form, box, more.section('=', 1));
        else if (!box.isEmpty())
            type(&form, box, more.section('=', 1));
        click(&form, style);
        click(&form, button);
        QCOMPARE(views().size(), int(!begins.isEmpty()));
        QCOMPARE(int(OpenViewCount), int(!begins.isEmpty()));
        if (begins.isEmpty()) {
            QCOMPARE(MessageBox::shown().size(), 1);
            const QString told = MessageBox::shown().first().text;
            QVERIFY2(told.contains(refusal), qPrintable(told));
            QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Critical);
            QVERIFY(QDir(AppPaths::privateTempFolder()).entryList(QDir::Files).isEmpty());
            return;
        }
        QVERIFY2(MessageBox::shown().isEmpty(), qPrintable(MessageBox::shown().value(0).text));
        QCOMPARE(text(&form, "txtPage"), QStringLiteral("1"));
        QVERIFY(TestSupport::readFile(views().first()->reportFile()).startsWith(begins));
        const bool pc852 = box == "CboSheetCodePage";
        QCOMPARE(views().first()->codePage(), pc852 ? CodePage::Id::Pc852 : CodePage::Id::Windows1252);
    }

    void seventhViewRefusedThenExitClosesAll()
    {
        auto *form = new Frm0010Sticker;
        QPointer<Frm0010Sticker> formAlive(form);
        form->setAttribute(Qt::WA_DeleteOnClose);
        form->show();
        QWidget other;
        other.show();
        fillCharacterSheet(form);
        for (int run = 1; run <= 7; ++run)
            click(form, "JBshow(0)");
        QCOMPARE(views().size(), 6);
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().first().text.startsWith(" Max Six Report View Open ..."));
        // Exit closes every window, the views and the form too, and saves nothing.
        click(form, "CmdExit");
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(formAlive.isNull());
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QCOMPARE(int(OpenViewCount), 0);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(SettingsStore::read("Sticker2", "Sticker", "1 1", "none"), QStringLiteral("none"));
    }

    void openPrintFile_andRecentFiles()
    {
        // Ctrl+O asks for a print file and opens it; the file goes first in
        // "Recent Files", which keeps ten, newest first, each once.
        Frm0010Sticker form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTemporaryDir dir;
        QStringList files;
        for (int i = 0; i < 12; ++i)
            files << TestSupport::writeFile(dir.filePath(QString("r%1.prn").arg(i)), "page\r\n\f");
        for (int i = 1; i < 12; ++i)
            RecentFiles::add(files.at(i));
        Dialogs::setNextFileName(files.at(0));
        QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(Dialogs::asked().last().filter, PrintFileActions::filter());
        QCOMPARE(views().size(), 1);
        QCOMPARE(views().first()->reportFile(), files.at(0));
        // (It joins them once its view is on screen.)
        QTRY_COMPARE(RecentFiles::read().value(0), files.at(0));
        auto *menu = form.findChild<QMenu *>("MenuRecentFiles");
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().size(), RecentFiles::Limit);
        QVERIFY(menu->actions().first()->text().endsWith(files.at(0)));
        QVERIFY(menu->actions().last()->text().endsWith(files.at(3)));
        menu->actions().at(1)->trigger();
        QCOMPARE(views().size(), 2);
        QTRY_COMPARE(RecentFiles::read().mid(0, 2), (QStringList {files.at(11), files.at(0)}));
    }

    // On the live accessibility tree: every control a user can reach by Tab
    // has a name, the settings and More panels' included.
    void accessibleNames()
    {
        Frm0010Sticker form;
        form.show();
        click(&form, "ChKwIN");
        click(&form, "JeweledButton1"); // the settings and More panels
        QVERIFY(control(&form, "FrameMore")->isVisible());
        int controls = 0;
        const QStringList unnamed = TestSupport::unnamedControls(&form, true, &controls);
        QVERIFY2(controls > 40, qPrintable(QString::number(controls)));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    }

    // Tab goes through the lines as they read, then the count, the mode and
    // the buttons.
    void tabOrder()
    {
        Frm0010Sticker form;
        form.show();
        QWidget *first = FormDriver::edit(&form, "Atxt(0)");
        QStringList visited;
        QWidget *w = first;
        do {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == &form) {
                QWidget *named = w; // a line field's edit box stands for the field
                if (named->parentWidget() && named->parentWidget()->inherits("Atext"))
                    named = named->parentWidget();
                if (visited.isEmpty() || visited.last() != named->objectName())
                    visited << named->objectName();
            }
            w = w->nextInFocusChain();
        } while (w != first && visited.size() < 100);
        const QStringList lines {"Atxt(0)", "Atxt(1)", "Atxt(2)", "Atxt(3)", "Atxt(5)", "Atxt(6)", "ChkIn1",
            "Atxt(4)", "Atxt(10)", "Atxt(11)", "ChkIn2", "Atxt(8)", "Atxt(9)", "TxNos", "txtPage", "ChKwIN",
            "CmdPreview"};
        QCOMPARE(visited.mid(0, lines.size()), lines);
    }

    void morePanel_nothingCut_data()
    {
        QTest::addColumn<double>("points");
        QTest::newRow("the form's font") << 8.25;
        QTest::newRow("a large font") << 14.0;
    }

    // The More panel is as wide as its labels and boxes need in its font,
    // and the form shows it whole.
    void morePanel_nothingCut()
    {
        QFETCH(double, points);
        Frm0010Sticker form;
        QWidget *more = control(&form, "FrameMore");
        QFont font = form.font();
        font.setPointSizeF(points);
        more->setFont(font);
        form.show();
        click(&form, "JeweledButton1");
        QVERIFY(more->isVisible());
        // Whole in the form, unless the screen is narrower than the panels
        // (the test screen is): then the form fills the screen.
        QVERIFY2(form.rect().contains(more->geometry())
                || form.frameGeometry().width() >= form.screen()->availableGeometry().width(),
            qPrintable(QString("panel %1+%2 in a form %3 wide").arg(more->x()).arg(more->width()).arg(form.width())));
        for (QWidget *child : more->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (!child->isVisible())
                continue;
            const QString name = child->objectName() + "/" + child->metaObject()->className();
            QVERIFY2(more->contentsRect().contains(child->geometry()), qPrintable(name));
            if (points > 10 && qobject_cast<QComboBox *>(child) && child->width() < child->minimumSizeHint().width())
                QEXPECT_FAIL("a large font", "a drop-down measures its longest item after the panel's width is set", Continue);
            QVERIFY2(child->width() >= child->minimumSizeHint().width(),
                qPrintable(QString("%1: %2 < %3 (panel %4, its least %5)").arg(name).arg(child->width()).arg(child->minimumSizeHint().width()).arg(more->width()).arg(more->minimumSizeHint().width())));
            if (auto *label = qobject_cast<QLabel *>(child))
                QVERIFY2(child->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
    }

    void windowRun()
    {
        Frm0010Sticker form;
        form.show();
        fill(&form,
            {{"Atxt(0)", "ACME STORES"}, {"TxCol", "2"}, {"TxRow", "3"}, {"TxMaxFLenth", "16"},
                {"TxtMLeft", "720"}, {"TxtHEight", "4500"}, {"txtRowPrint", "3"}, {"txtPage", "0"}});
        choose(&form, "Combo1", "5");
        click(&form, "ChKwIN");
        auto *pic = control<StickerPreview>(&form, "Pic");
        CurrentPrinter::setName("NoSuchPrinter"); // printing is told so; showing never reaches for it
        click(&form, "JBshow(1)");
        QVERIFY(MessageBox::shown().value(0).text.contains("NoSuchPrinter") && pic->items().isEmpty());
        MessageBox::clearShown();
        click(&form, "JBshow(0)");
        // The fields reach the drawing (where each text lands is checked in tst_windowsheet).
        QCOMPARE(pic->items().size(), 2 * 3 * 5);
        QCOMPARE(pic->items().first().x, 720.0);
        QVERIFY(pic->isVisible()); // the settings panel opened to show the sheet
        QCOMPARE(text(&form, "txtPage"), QStringLiteral("1"));
        QVERIFY(MessageBox::shown().isEmpty());
        // The preview holds the sheets the print button prints, three rows each.
        fill(&form, {{"txtPage", "2"}});
        QCOMPARE(TestSupport::previewPageCount([&] { click(&form, "CmdPreview"); }), 2);
        // With a data file the preview takes its rows as SHOW and Print do:
        // thirteen rows, six stickers a sheet.
        QTemporaryDir dir;
        const QString csv = TestSupport::writeFile(dir.filePath("rows.csv"), "Name\n" + QByteArray("x\n").repeated(13));
        fill(&form, {{"txtPage", "1"}, {"TxDataFile", csv}});
        QCOMPARE(TestSupport::previewPageCount([&] { click(&form, "CmdPreview"); }), 3);
        // A preview of more pages than it can hold is refused, not drawn for
        // minutes into gigabytes: a page a row, 3 x 334 rows.
        MessageBox::clearShown();
        fill(&form, {{"TxDataFile", ""}, {"txtRowPrint", "1"}, {"txtPage", "334"}});
        click(&form, "CmdPreview");
        QVERIFY2(MessageBox::shown().value(0).text.contains("at most 1000 pages, and this print has 1002"),
            qPrintable(MessageBox::shown().value(0).text));
        // SHOW of a sheet it cannot draw says why (the view stayed empty without a word).
        MessageBox::clearShown();
        fill(&form, {{"txtPage", "1"}, {"TxCol", "0"}});
        click(&form, "JBshow(0)");
        QVERIFY(pic->items().isEmpty());
        QVERIFY2(MessageBox::shown().value(0).text.contains("\"Col\" and \"Row\" must be 1 or more"),
            qPrintable(MessageBox::shown().value(0).text));
    }
};

QTEST_MAIN(TestFrm0010Sticker)
#include "tst_frm0010sticker.moc"
