// The report view's export in the user's language: the dialog's types, the
// workbook button's captions (whole on the button) and the message of a
// finished export. Runs in English and in each shipped language (LANGUAGE=en,
// de or cs, set where ctest registers it).
#include "../report/ReportViewFixture.h"
#include "gui/controls/JeweledButton.h"
#include "gui/export/ReportExport.h"
#include "gui/platform/MessageBox.h"

#include <QTemporaryDir>

using namespace ReportViewFixture;

using TestSupport::inLanguage;

class TestTranslatedExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        QVERIFY2(QStringList({"en", "de", "cs"}).contains(TestSupport::testLanguage()), qPrintable(TestSupport::testLanguage()));
    }
    void init()
    {
        QVERIFY(m_dir.isValid());
        Dialogs::setTestMode(true);
        MessageBox::clearShown();
    }
    void cleanup() { closeAll(); }

    // The types offered, translated, with their patterns unchanged.
    void dialogTypes()
    {
        QCOMPARE(Dialogs::qtFilter(ReportExport::filter()),
            inLanguage("Rich Text Format (*.rtf);;Text  (*.txt);;Excel WorkBook (*.xls);;Web Page (*.HTML);;"
                       "PDF Document (*.pdf)",
                "Rich-Text-Format (*.rtf);;Text  (*.txt);;Excel-Arbeitsmappe (*.xls);;Webseite (*.HTML);;"
                "PDF-Dokument (*.pdf)",
                "Formát RTF (*.rtf);;Text  (*.txt);;Sešit Excel (*.xls);;Webová stránka (*.HTML);;"
                "Dokument PDF (*.pdf)"));
        QVERIFY(ReportExport::filter().endsWith("|*.pdf"));
    }

    // The workbook button from its first caption to the finished workbook.
    void workbookButton()
    {
        FrmReport *view = open(printFile(QStringLiteral("export.prn"), pagedBytes(2)));
        QVERIFY(view);
        auto *button = control<JeweledButton>(view, "CmdExelExp");
        Dialogs::setNextFileName(m_dir.filePath("book.xls"));
        click(view, "JeweledButton1");
        QCOMPARE(Dialogs::asked().last().title, inLanguage("Export", "Export", "Export"));
        QCOMPARE(button->text(), inLanguage("Excel Export", "Excel-Export", "Export do Excelu"));
        QCOMPARE(TestSupport::clippedCaptions(button), QStringList());
        QVERIFY(button->width() >= button->fontMetrics().horizontalAdvance(button->text()));
        click(view, "CmdExelExp");
        QCOMPARE(button->text(), inLanguage("Finsh Record Click", "Aufzeichnung beenden", "Dokončit záznam"));
        QVERIFY(button->width() >= button->fontMetrics().horizontalAdvance(button->text()));
        click(view, "CmdExelExp");
        QVERIFY(QFile::exists(m_dir.filePath("book.xls")));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text,
            inLanguage(" Export Complete ", " Export abgeschlossen ", " Export dokončen "));
    }

    void failureTold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("told"); // %1: the file's name
        QTest::newRow("pictures of no sheets") << "out.png"
            << inLanguage("%1: pictures show", "%1: Bilder zeigen", "%1: obrázky zobrazují");
        for (const char *name : {"missing/out.rtf", "missing/out.pdf", "missing/out.html"})
            QTest::newRow(name) << name
                << inLanguage("Cannot write %1: ", "%1 kann nicht geschrieben werden: ", "%1 nelze zapsat: ");
    }

    // A failure of the window's or of a writer's reaches the window in the
    // language.
    void failureTold()
    {
        QFETCH(QString, name);
        QFETCH(QString, told);
        FrmReport *view = open(printFile(QStringLiteral("export.prn"), pagedBytes(2)));
        QVERIFY(view);
        const QString path = m_dir.filePath(name);
        Dialogs::setNextFileName(path);
        click(view, "JeweledButton1");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY2(MessageBox::shown().first().text.startsWith(told.arg(QDir::toNativeSeparators(path))),
            qPrintable(MessageBox::shown().first().text));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestTranslatedExport)
#include "tst_translatedexport.moc"
