// The report view in the user's language and at the desktop's font size. The
// test runs in English and once in each language the program ships
// (LANGUAGE=en, de or cs, set where ctest registers it); the program's own
// start-up routine loads the translation, as it does for a user with that
// LANGUAGE. The accessibility checks run here, so that the names a screen
// reader reads are checked in every language.
#include "../FontLayoutCheck.h"
#include "ReportViewFixture.h"
#include "gui/controls/SpLebal.h"
#include "gui/report/ReportColorPanel.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>

using namespace ReportViewFixture;

namespace {

// What a control shows: a button's or label's caption, a menu action's
// text, a drop-down's entry ("Name[i]"), or a tool tip or accessible name
// ("Name.tip", "Name.name").
QString shown(FrmReport *view, const QString &what)
{
    const QString name = what.section(QRegularExpression("[.\\[]"), 0, 0);
    if (what.endsWith(".tip"))
        return control(view, name)->toolTip();
    if (what.endsWith(".name"))
        return control(view, name)->accessibleName();
    if (auto *action = view->findChild<QAction *>(name))
        return action->text();
    QWidget *w = control(view, name);
    if (auto *box = qobject_cast<QComboBox *>(w))
        return box->itemText(what.section('[', 1).chopped(1).toInt());
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *caption = qobject_cast<SpLebal *>(w)) {
        // Shown whole, inside its frame.
        if (caption->fontMetrics().horizontalAdvance(caption->Caption()) > caption->textRect().width())
            return "cut: " + caption->Caption();
        return caption->Caption();
    }
    return QString();
}

// The focus chain from `first` round the window: the visible, enabled
// controls that take Tab.
QList<QWidget *> tabChain(QWidget *window, QWidget *first)
{
    QList<QWidget *> chain;
    QWidget *w = first;
    do {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == window)
            chain << w;
        w = w->nextInFocusChain();
    } while (w != first && chain.size() < 200);
    return chain;
}

} // namespace

class TestTranslatedReportView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        QVERIFY2(QStringList({"en", "de", "cs"}).contains(TestSupport::testLanguage()), qPrintable(TestSupport::testLanguage()));
        m_desktopFont = QApplication::font();
    }
    void cleanup()
    {
        closeAll();
        QApplication::setFont(m_desktopFont);
    }

    void captions_data()
    {
        TestSupport::addCaptionColumns();
        QTest::newRow("colour label") << "Label4" << "Color Setting" << "Farbeinstellung" << "Nastavení barev";
        QTest::newRow("visual box") << "Check1" << "Vsual" << "Visuell" << "Vizuálně";
        QTest::newRow("import") << "CmdImport" << "Import" << "Importieren" << "Importovat";
        QTest::newRow("preview label") << "lb1" << " Pre-View " << " Vorschau " << " Náhled ";
        QTest::newRow("search label") << "Label7" << "Search String" << "Suchbegriff" << "Hledaný text";
        QTest::newRow("page label") << "LbPageNo" << "Page 1/7" << "Seite 1/7" << "Strana 1/7";
        QTest::newRow("next") << "CmdNxt" << "&Next" << "&Weiter" << "&Další";
        QTest::newRow("go-to caption") << "SpLebal3" << "GOTO" << "GEHE ZU" << "PŘEJÍT";
        QTest::newRow("continuous") << "Check3" << "Cont.. " << "Fortl.. " << "Souv.. ";
        QTest::newRow("edit") << "Check2" << "Edit" << "Ändern" << "Upravit";
        QTest::newRow("print tip") << "CmdPrint.tip" << "Open Print Dilog Box" << "Druckdialog öffnen"
                                   << "Otevřít dialog tisku";
        QTest::newRow("exit") << "JeExit" << "E&xit" << "&Beenden" << "&Konec";
        QTest::newRow("menu: copy") << "cccc" << "Copy" << "Kopieren" << "Kopírovat";
        QTest::newRow("menu: highlight") << "ht" << "Highlight Text" << "Text hervorheben" << "Zvýraznit text";
        QTest::newRow("menu: rules") << "rulesAction" << "Rules..." << "Regeln..." << "Pravidla...";
        QTest::newRow("panel: double width") << "Lb(0)" << "Dubble" << "Doppelt" << "Dvojité";
        QTest::newRow("panel: condensed") << "Lb(3)" << "Condence" << "Schmal" << "Zhuštěné";
        QTest::newRow("panel: one line less") << "ChL" << "-1  Line" << "-1  Zeile" << "-1  řádek";
        QTest::newRow("panel: code page") << "LbCodePage" << "Code page" << "Codepage" << "Kódová stránka";
        QTest::newRow("panel: Kamenicky") << "CboCodePage[5]" << "Kamenicky (Czech and Slovak)"
                                          << "Kamenický (Tschechisch und Slowakisch)"
                                          << "Kamenických (čeština a slovenština)";
        QTest::newRow("panel: detect") << "CboCodePage[7]" << "Detect" << "Erkennen" << "Rozpoznat";
        QTest::newRow("panel: printed") << "ChkPrinted" << "Printed" << "Wie gedruckt" << "Jako vytištěné";
        QTest::newRow("panel: printer") << "CboPrinterModel[1]" << "9-pin printer (ESC/P)" << "9-Nadel-Drucker (ESC/P)"
                                        << "9jehličková tiskárna (ESC/P)";
        // What a screen reader reads.
        QTest::newRow("name: search box") << "Text4.name" << "Search String" << "Suchbegriff" << "Hledaný text";
        QTest::newRow("name: printer model") << "CboPrinterModel.name" << "Printer model" << "Druckermodell"
                                             << "Model tiskárny";
        QTest::newRow("name: swatch") << "TXt(0).name" << "Dubble colour" << "Farbe für Doppelt"
                                      << "Barva: Dvojité";
    }

    // The captions, menu, colour panel and names in the language, and
    // exactly as written in English.
    void captions()
    {
        QFETCH(QString, control);
        FrmReport *view = open(printFile("captions.prn", pagedBytes(7)));
        view->colorPanel(); // built when first shown
        QCOMPARE(shown(view, control), TestSupport::rowCaption());
        const QString title = TestSupport::inLanguage(
            " Report View   [ Col : ", " Berichtsansicht   [ Sp : ", " Zobrazení sestavy   [ Sl : ");
        QTRY_VERIFY2(view->windowTitle().startsWith(title), qPrintable(view->windowTitle()));
    }

    void nothingOverlapsOrIsCut_data() { FontLayoutCheck::addRows(); }

    // The top bar, the bottom bar's row and its buttons on the right and the
    // colour panel laid out from the font: no control over another, none
    // smaller than it needs, every caption whole (boxes in bold), the page
    // under the top bar, the colour panel inside the window, the window at
    // its least size too.
    void nothingOverlapsOrIsCut()
    {
        FrmReport *view = FontLayoutCheck::openInRowFont(m_desktopFont, [this] {
            FrmReport *opened = open(printFile("fonts.prn", pagedBytes(1200)));
            QTest::mouseRelease(control(opened, "Label4"), Qt::LeftButton); // the colour panel
            click(opened, "Command2"); // "Zoom Out", the longer caption
            return opened;
        });
        QTRY_COMPARE(control(view, "Check1")->font().pointSizeF(), QApplication::font().pointSizeF());
        QWidget *panel = control(view, "Frame6");
        QVERIFY(panel->isVisible());
        // As it opened (or took the new font), larger, and at the least size it takes.
        for (const QSize size : {QSize(), QSize(1400, 800), QSize(1, 1)}) {
            if (size.isValid())
                view->resize(size);
            QTRY_COMPARE(TestSupport::overlappingOrCut(panel).join(" "), QString());
            // The bottom bar's row too, the go-to caption inside its frame.
            QCOMPARE(TestSupport::overlappingOrCut(control(view, "Frame8")).join(" "), QString());
            QVERIFY(!shown(view, "SpLebal3").startsWith("cut: "));
            const QStringList topBar {"Label4", "Check1", "Command2", "CmdImport", "lb1", "Label7", "Text4", "LbPageNo"};
            QStringList faults = FontLayoutCheck::groupFaults(view, topBar);
            for (const QString &name : topBar)
                if (control(view, name)->geometry().bottom() >= view->pageView()->geometry().top())
                    faults << name + " over the page";
            // The buttons right of the bottom bar, beside it and not over the page.
            faults += FontLayoutCheck::groupFaults(view, {"Image1", "Check3", "Check2", "CmdPrint", "JeExit"},
                {control(view, "Frame8"), view->pageView()});
            if (!view->rect().contains(panel->geometry()))
                faults << "Frame6 out of the window";
            QVERIFY2(faults.isEmpty(), qPrintable(QString("%1x%2: ").arg(view->width()).arg(view->height())
                                                  + faults.join(", ")));
        }
    }

    // On the live accessibility tree, in each language: every control a user
    // can reach has a name (the print panel's included while it is closed,
    // the colour panel's once it is built), and
    // every control on the tree takes the focus and lies in the Tab chain,
    // the colour panel's too while it is open.
    void accessibleAndReachable()
    {
        FrmReport *view = open(printFile("named.prn", pagedBytes(7)));
        int controls = 0;
        const QStringList unnamed = TestSupport::unnamedControls(view, false, &controls);
        QVERIFY2(controls > 40, qPrintable(QString::number(controls)));
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));

        QTest::mouseRelease(control(view, "Label4"), Qt::LeftButton);
        QWidget *panel = control(view, "Frame6");
        QVERIFY(panel->isVisible());
        const QStringList unnamedInPanel = TestSupport::unnamedControls(view, false, &controls);
        QVERIFY2(unnamedInPanel.isEmpty(), qPrintable(unnamedInPanel.join(", ")));
        const QList<QWidget *> chain = tabChain(view, control(view, "Label4"));
        QStringList unreachable;
        const QList<QAccessible::Role> controlRoles {QAccessible::PushButton, QAccessible::CheckBox,
            QAccessible::RadioButton, QAccessible::ComboBox, QAccessible::EditableText, QAccessible::SpinBox};
        std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            for (int i = 0; i < node->childCount(); ++i) {
                QAccessibleInterface *child = node->child(i);
                if (!child)
                    continue;
                auto *w = qobject_cast<QWidget *>(child->object());
                if (w && w->isVisible() && w->isEnabled() && controlRoles.contains(child->role())
                    && !qobject_cast<QComboBox *>(w->parentWidget()) && !chain.contains(w))
                    unreachable << w->objectName() + '/' + w->metaObject()->className();
                walk(child);
            }
        };
        walk(QAccessible::queryAccessibleInterface(view));
        QVERIFY2(unreachable.isEmpty(), qPrintable(unreachable.join(", ")));
        // The panel's controls follow its label, which opens it.
        const QStringList inPanel {"TXt(0)", "ChSearch", "ChL", "CboCodePage", "ChkPrinted", "CboFormLength",
            "CboCarriage", "CboPrinterModel", "CmdForm", "Command3"};
        for (const QString &name : inPanel)
            QVERIFY2(chain.contains(control(view, name)), qPrintable(name));
        const int label = int(chain.indexOf(control(view, "Label4")));
        const int vsual = int(chain.indexOf(control(view, "Check1")));
        for (const QString &name : inPanel) {
            const int at = int(chain.indexOf(control(view, name)));
            QVERIFY2(at > label && at < vsual, qPrintable(name + " at " + QString::number(at)));
        }
    }

private:
    QFont m_desktopFont;
};

QTEST_MAIN(TestTranslatedReportView)
#include "tst_translatedreportview.moc"
