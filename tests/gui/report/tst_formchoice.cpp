// The colour panel's "Form...": the dialog's choice is checked, stored with
// the view's settings and told; "Clear" takes the forms away.
#include "WindowSupport.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/FormChoiceDialog.h"
#include "gui/report/ReportColorPanel.h"
#include "report/ReportDocument.h"
#include "report/ReportViewSettings.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Answers the next "Form..." dialog with `answer` once it is up.
void answerDialog(const std::function<void(FormChoiceDialog *)> &answer)
{
    QTimer::singleShot(0, [answer] {
        auto *dialog = qobject_cast<FormChoiceDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            qFatal("no form dialog is up");
        answer(dialog);
    });
}

} // namespace

class TestFormChoice : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TestSupport::initWindows();
        QVERIFY(m_dir.isValid());
        m_form = m_dir.filePath("letterhead.pdf");
        QPdfWriter writer(m_form);
        QPainter painter(&writer);
        painter.drawText(QPointF(100, 100), "Letterhead");
    }

    void chooseRefuseAndClear()
    {
        ReportDocument document;
        ReportColorPanel panel(document);
        panel.show();
        QSignalSpy chosen(&panel, &ReportColorPanel::formsChosen);
        const QString missing = m_dir.filePath("missing.pdf");
        MessageBox::clearShown();
        answerDialog([&](FormChoiceDialog *dialog) {
            // A form that cannot be used is refused, the dialog stays.
            dialog->TxtFirst->setText(missing);
            TestSupport::control<QPushButton>(dialog, "CmdClear"); // there
            dialog->accept();
            QVERIFY(dialog->isVisible());
            dialog->TxtFirst->setText(m_form);
            dialog->TxtNext->clear();
            dialog->SpinX->setValue(2.5);
            dialog->SpinY->setValue(-4);
            dialog->accept();
        });
        TestSupport::click(&panel, "CmdForm");
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().first().text.contains(missing));
        QVERIFY(MessageBox::shown().first().text.contains("does not exist"));
        QCOMPARE(chosen.count(), 1);
        FormChoice stored = ReportViewSettings::read().forms;
        QCOMPARE(stored.first, m_form);
        QCOMPARE(stored.next, QString());
        QCOMPARE(stored.offsetMillimetres, QPointF(2.5, -4));

        // A name typed relative to the current folder is stored whole, its
        // page kept: the command line and the watch start in other folders.
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        answerDialog([&](FormChoiceDialog *dialog) {
            dialog->TxtFirst->setText("letterhead.pdf#page=1");
            dialog->TxtNext->setText(" letterhead.pdf ");
            dialog->accept();
        });
        TestSupport::click(&panel, "CmdForm");
        QVERIFY(QDir::setCurrent(before));
        stored = ReportViewSettings::read().forms;
        QCOMPARE(stored.first, m_form + "#page=1");
        QCOMPARE(stored.next, m_form);

        // The dialog starts from what is stored; Clear empties it.
        answerDialog([&](FormChoiceDialog *dialog) {
            QCOMPARE(dialog->TxtFirst->text(), m_form + "#page=1");
            TestSupport::click(dialog, "CmdClear");
            dialog->accept();
        });
        TestSupport::click(&panel, "CmdForm");
        QCOMPARE(chosen.count(), 3);
        stored = ReportViewSettings::read().forms;
        QVERIFY(stored.isEmpty());
        QCOMPARE(stored.offsetMillimetres, QPointF());

        // Cancel changes nothing.
        answerDialog([](FormChoiceDialog *dialog) {
            dialog->TxtFirst->setText("x.pdf");
            dialog->reject();
        });
        TestSupport::click(&panel, "CmdForm");
        QCOMPARE(chosen.count(), 3);
        QVERIFY(ReportViewSettings::read().forms.isEmpty());
    }

private:
    QTemporaryDir m_dir;
    QString m_form;
};

QTEST_MAIN(TestFormChoice)
#include "tst_formchoice.moc"
