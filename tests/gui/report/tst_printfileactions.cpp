// The Import dialog's types: the kind imported last comes first, stored as a
// word no language changes; a setting holding an entry's English text (as it
// may from before) still chooses its kind.
#include "WindowSupport.h"
#include "gui/platform/Dialogs.h"
#include "gui/report/PrintFileActions.h"
#include "platform/SettingsStore.h"

#include <QTest>

class TestPrintFileActions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void cleanup() { SettingsStore::save(SettingsAppName, "ReportView", "ImportFilter", QString()); }

    void storedKindComesFirst_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("first"); // the dialog's first type
        const QString text = "Txt File(*.txt)";
        const QString print = "Print files (*.prn *.PRN *.esc)";
        const QString all = "All files (*)";
        QTest::newRow("nothing stored") << "" << text;
        QTest::newRow("text") << "text" << text;
        QTest::newRow("print") << "print" << print;
        QTest::newRow("all") << "all" << all;
        QTest::newRow("old: print entry's text") << "Print files (*.prn *.PRN *.esc)" << print;
        QTest::newRow("old: print entry with its patterns") << "Print files (*.prn *.PRN *.esc)|*.prn *.PRN *.esc"
                                                           << print;
        QTest::newRow("old: text entry's text") << " Txt File(*.txt)" << text;
        QTest::newRow("old: every file's entry") << "All files (*)" << all;
        QTest::newRow("unknown: text first") << "Druckdateien" << text;
    }

    void storedKindComesFirst()
    {
        QFETCH(QString, stored);
        QFETCH(QString, first);
        SettingsStore::save(SettingsAppName, "ReportView", "ImportFilter", stored);
        const QString filter = PrintFileActions::importFilter();
        QCOMPARE(Dialogs::qtFilter(filter).section(";;", 0, 0), first);
        // Every kind is offered once.
        QCOMPARE(Dialogs::qtFilter(filter).split(";;").size(), 3);
    }

    void rememberedWithoutLanguage_data()
    {
        QTest::addColumn<QString>("imported");
        QTest::addColumn<QString>("stored");
        QTest::newRow("text") << "/tmp/lines.txt" << "text";
        QTest::newRow("print, any case") << "/tmp/JOB.PRN" << "print";
        QTest::newRow("ESC/P") << "/tmp/job.esc" << "print";
        QTest::newRow("anything else") << "/tmp/data" << "all";
    }

    void rememberedWithoutLanguage()
    {
        QFETCH(QString, imported);
        QFETCH(QString, stored);
        PrintFileActions::rememberImportFilter(imported);
        QCOMPARE(SettingsStore::read(SettingsAppName, "ReportView", "ImportFilter", QString()), stored);
    }
};

QTEST_MAIN(TestPrintFileActions)
#include "tst_printfileactions.moc"
