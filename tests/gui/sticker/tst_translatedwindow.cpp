// The sticker form in the user's language. The test runs once in each
// language the program ships and once in English (LANGUAGE=en, de or cs, set
// where ctest registers it); the program's own start-up routine loads the
// translation, as it does for a user with that LANGUAGE.
#include "FormDriver.h"
#include "WindowSupport.h"
#include "gui/platform/MessageBox.h"
#include "gui/sticker/Frm0010Sticker.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestTranslatedWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        QVERIFY2(QStringList({"en", "de", "cs"}).contains(TestSupport::testLanguage()), qPrintable(TestSupport::testLanguage()));
    }

    void stickerForm_data()
    {
        TestSupport::addCaptionColumns();
        QTest::newRow("title") << "Label1" << "Sticker Printing" << "Etikettendruck" << "Tisk štítků";
        QTest::newRow("show button") << "JBshow(0)" << "SHO&W" << "&ZEIGEN" << "&UKÁZAT";
        QTest::newRow("print button") << "JBshow(1)" << "Print" << "Drucken" << "Tisk";
        QTest::newRow("exit button") << "CmdExit" << "    E &X I T" << "    E N &D E" << "&KONEC";
        QTest::newRow("count label") << "lb(0)" << "No of Sticker" << "Etiketten"
                                     << "Počet štítků";
        QTest::newRow("settings row") << "lb(8)" << "SPace Between Col" << "Abstand zwischen Spalten"
                                      << "Mezera mezi sloupci";
        QTest::newRow("Windows-mode row") << "Label12" << "Font Name" << "Schriftart" << "Název písma";
        QTest::newRow("more panel row") << "FrameMore" << "More" << "Weitere" << "Další";
    }

    // The form's captions in the language, and exactly as written in English.
    void stickerForm()
    {
        QFETCH(QString, control);
        const QString expected = TestSupport::rowCaption();
        Frm0010Sticker form;
        QWidget *w = TestSupport::child(&form, control);
        QString shown;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            shown = button->text();
        else if (auto *label = qobject_cast<QLabel *>(w))
            shown = label->text();
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            shown = group->title();
        QCOMPARE(shown, expected);
        const QString caption = TestSupport::inLanguage(
            "Velmora Software - Utility", "Velmora Software - Dienstprogramm", "Velmora Software - Nástroj");
        QVERIFY2(form.windowTitle().startsWith(caption + ' '), qPrintable(form.windowTitle()));
    }

    // Qt's own buttons speak the same language.
    void standardButtons()
    {
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        const QString cancel = box.button(QDialogButtonBox::Cancel)->text().remove('&');
        QCOMPARE(cancel, TestSupport::inLanguage("Cancel", "Abbrechen", "Zrušit"));
    }

    // A message of the engine's reaches the form in the language: a data
    // file that is not there.
    void engineMessage()
    {
        MessageBox::clearShown();
        Frm0010Sticker form;
        form.show();
        FormDriver::fill(&form, {{"Atxt(0)", "ACME"}, {"TxDataFile", "/no-such-folder/rows.csv"}});
        TestSupport::click(&form, "JBshow(0)");
        const QString expected = TestSupport::inLanguage("cannot be used: the file does not exist.",
            "kann nicht verwendet werden: die Datei existiert nicht.", "nelze použít: soubor neexistuje.");
        QVERIFY2(MessageBox::shown().value(0).text.contains(expected), qPrintable(MessageBox::shown().value(0).text));
    }

    // Longer words still show whole, with every panel open.
    void captionsShowWhole()
    {
        Frm0010Sticker form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseDClick(TestSupport::child(&form, "Label1"), Qt::LeftButton);
        TestSupport::click(&form, "ChKwIN");
        TestSupport::click(&form, "JeweledButton1");
        QVERIFY(TestSupport::child(&form, "Frame5")->isVisible());
        QCOMPARE(TestSupport::clippedCaptions(&form).join(" "), QString());
    }
};

QTEST_MAIN(TestTranslatedWindow)
#include "tst_translatedwindow.moc"
