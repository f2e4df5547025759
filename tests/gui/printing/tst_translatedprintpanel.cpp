// The print panel in the user's language and at the desktop's font size. The
// test runs in English and once in each language the program ships
// (LANGUAGE=en, de or cs, set where ctest registers it); the program's own
// start-up routine loads the translation, as it does for a user with that
// LANGUAGE.
#include "../FontLayoutCheck.h"
#include "WindowSupport.h"
#include "gui/controls/JeweledButton.h"
#include "gui/printing/PrintPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

namespace {

// Every caption that turns bold in use, bold: the panel's widest state.
void chooseAll(PrintPanel &panel)
{
    for (const char *name : {"OptWinMode", "Ch12", "Ch17", "ChDraft", "Op(1)"})
        TestSupport::click(&panel, name);
    panel.selectPageOption(2);
}

} // namespace

class TestTranslatedPrintPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        QVERIFY2(QStringList({"en", "de", "cs"}).contains(TestSupport::testLanguage()), qPrintable(TestSupport::testLanguage()));
        m_desktopFont = QApplication::font();
    }
    void cleanup() { QApplication::setFont(m_desktopFont); }

    void captions_data()
    {
        TestSupport::addCaptionColumns();
        QTest::newRow("printer label") << "Label1" << "Select &Printer" << "&Drucker wählen" << "Vybrat &tiskárnu";
        QTest::newRow("mode") << "OptCharMode" << "Dos" << "DOS" << "DOS";
        QTest::newRow("pitch") << "Ch17" << "Cond.  ( 17 Cpi, 136 Col )" << "Schmal  ( 17 Cpi, 136 Sp )"
                               << "Zhuštěné  ( 17 Cpi, 136 sl )";
        QTest::newRow("orientation") << "OpPL(1)" << "Landscape" << "Querformat" << "Na šířku";
        QTest::newRow("pages") << "Op(2)" << "Page Range" << "Seitenbereich" << "Rozsah stránek";
        QTest::newRow("print button") << "CmdOk" << "&Print" << "&Drucken" << "&Tisk";
        QTest::newRow("close button") << "CmdCancel" << " C&lose" << " Sch&ließen" << " &Zavřít";
    }

    // The captions in the language, and exactly as written in English.
    void captions()
    {
        QFETCH(QString, control);
        PrintPanel panel;
        QWidget *w = TestSupport::child(&panel, control);
        const QString shown = qobject_cast<QAbstractButton *>(w) ? qobject_cast<QAbstractButton *>(w)->text()
                                                                 : qobject_cast<QLabel *>(w)->text();
        QCOMPARE(shown, TestSupport::rowCaption());
    }

    void nothingOverlapsOrIsCut_data() { FontLayoutCheck::addRows(); }

    // Sized from its controls in the font it has: no control over another,
    // none smaller than it needs, every caption whole in bold, the buttons
    // inside the panel.
    void nothingOverlapsOrIsCut()
    {
        // In a window, as the report view holds it.
        QWidget view;
        view.resize(1200, 800);
        PrintPanel panel(&view);
        panel.setPageCount(12);
        QVERIFY(FontLayoutCheck::openInRowFont(m_desktopFont, [&] {
            view.show();
            panel.show();
            return QTest::qWaitForWindowExposed(&view);
        }));
        QTRY_COMPARE(panel.CmdOk->font().pointSizeF(), QApplication::font().pointSizeF());
        chooseAll(panel);
        QTRY_COMPARE(TestSupport::overlappingOrCut(&panel).join(" "), QString());
    }

private:
    QFont m_desktopFont;
};

QTEST_MAIN(TestTranslatedPrintPanel)
#include "tst_translatedprintpanel.moc"
