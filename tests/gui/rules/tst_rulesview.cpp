#include "../report/ReportViewFixture.h"

#include "gui/rules/RulesDialog.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

// The report view's "Rules" view: reached from the view's menu, it asks for
// a rules file and shows what it would do with the file on screen.
class TstRulesView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        Dialogs::setTestMode(true);
    }
    void showsWhatTheRulesDo();
};

void TstRulesView::showsWhatTheRulesDo()
{
    const QString job = ReportViewFixture::printFile("invoice.prn", "Rechnung Nr. REI77\r\n\f");
    const QString rules = TestSupport::writeFile(QDir::temp().filePath("rules.conf"),
        "[Invoices]\nmatch = Rechnung Nr\\. (?<invoice>REI\\d+)\nname = {invoice}.pdf\nfolder = /srv/pdf\n");
    FrmReport *view = ReportViewFixture::open(job);
    QVERIFY(view);
    auto *action = view->findChild<QAction *>("rulesAction");
    QVERIFY(action);
    Dialogs::setNextFileName(rules);
    action->trigger();
    auto *dialog = view->findChild<RulesDialog *>();
    QVERIFY(dialog);
    QTRY_VERIFY(dialog->isVisible());
    const QString shown = dialog->findChild<QPlainTextEdit *>("rulesText")->toPlainText();
    QVERIFY2(shown.contains(QString("rule: [Invoices] (%1:1)").arg(rules)), qPrintable(shown));
    QVERIFY(shown.contains("field {invoice}: REI77"));
    QVERIFY(shown.contains("\"REI77.pdf\" in /srv/pdf"));
    QVERIFY(!QFileInfo::exists("/srv/pdf/REI77.pdf"));
    // A rules file with a fault says where; nothing chosen leaves the view as it was.
    TestSupport::writeFile(rules, "[Invoices]\nmatsch = x\n");
    Dialogs::setNextFileName(rules);
    QVERIFY(dialog->chooseRules());
    QVERIFY(dialog->shownText().contains(rules + ":2: unknown key \"matsch\""));
    QVERIFY(!dialog->chooseRules());
    QVERIFY(dialog->shownText().contains(":2: unknown key"));
    dialog->close();
    view->close();
}

QTEST_MAIN(TstRulesView)
#include "tst_rulesview.moc"
