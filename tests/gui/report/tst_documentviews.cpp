// The report view follows its document: a colour chosen in the colour panel
// shows on the page on screen at once (where it is scrolled to, with its
// selection), and a code page set in the document, by whichever control,
// reads the page again and shows in the panel.
#include "ReportViewFixture.h"
#include "gui/report/ReportColorPanel.h"
#include "report/ReportDocument.h"
#include "report/ReportViewSettings.h"
#include "form/SheetForms.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/SheetView.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QDir>
#include <QScopeGuard>
#include <QImage>
#include <QTemporaryDir>

using namespace ReportViewFixture;

namespace {

// Bold, condensed and double-width text, line after line, so that every
// emphasis is on any screen of the page.
QByteArray emphasisPage()
{
    const QByteArray lines = QByteArray("\x1b" "EBOLD BOLD BOLD BOLD\x1b" "F plain\r\n"
                                        "\x0f" "CONDENSED CONDENSED CONDENSED\x12 plain\r\n"
                                        "\x0e\x1b" "E\x1bGWIDE WIDE WIDE\x14\x1b" "F\x1bH plain\r\n");
    return lines.repeated(200) + "\f";
}

// Pixels of `widget` on screen near `colour`.
int pixelsNear(QWidget *widget, const QColor &colour)
{
    const QImage screen = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < screen.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            count += qAbs(qRed(row[x]) - colour.red()) + qAbs(qGreen(row[x]) - colour.green())
                    + qAbs(qBlue(row[x]) - colour.blue())
                < 60;
        }
    }
    return count;
}

int pixelsNear(FrmReport *view, const QColor &colour)
{
    return pixelsNear(view->pageView()->viewport(), colour);
}

ReportColorPanel *panelOf(FrmReport *view)
{
    return view->colorPanel();
}

// Chooses a swatch's colour as the user does: a double-click, the colour dialog.
void chooseColour(FrmReport *view, int swatch, const QColor &colour)
{
    Dialogs::setNextColor(colour);
    QTest::mouseDClick(panelOf(view)->TXt[swatch], Qt::LeftButton);
}

} // namespace

class TestDocumentViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void cleanup()
    {
        closeAll();
        ReportViewSettings().saveColors();
        ReportViewSettings::saveCodePage(CodePage::Id::Latin1);
        ReportViewSettings::savePrintedLook(false);
    }

    void colourShowsAtOnce_data()
    {
        QTest::addColumn<int>("swatch");
        QTest::newRow("Bold") << int(ReportColorPanel::Bold);
        QTest::newRow("Condence") << int(ReportColorPanel::Condence);
        QTest::newRow("Dubble") << int(ReportColorPanel::Dubble);
        QTest::newRow("the paper") << int(ReportColorPanel::ReportBack);
    }

    void colourShowsAtOnce()
    {
        QFETCH(int, swatch);
        const QColor green(0, 190, 0);
        FrmReport *view = open(printFile("colours.prn", emphasisPage()));
        PageView *page = view->pageView();
        page->verticalScrollBar()->setValue(120);
        page->select(4000, 4010);
        const ViewLines *before = page->lines();
        QCOMPARE(pixelsNear(view, green), 0);

        chooseColour(view, swatch, green);
        QCOMPARE(panelOf(view)->swatchColor(swatch), green);
        // Drawn on the page on screen now, not at the next page.
        const int screen = page->viewport()->width() * page->viewport()->height();
        const int shown = pixelsNear(view, green);
        if (swatch == ReportColorPanel::ReportBack) {
            QCOMPARE(view->document().paperColor(), green);
            QVERIFY2(shown > screen / 2, qPrintable(QString::number(shown)));
        } else {
            QVERIFY2(shown > 50 && shown < screen / 4, qPrintable(QString::number(shown)));
            QVERIFY(page->lines() != before);
        }
        QCOMPARE(view->currentPage(), 0);
        QCOMPARE(page->verticalScrollBar()->value(), 120);
        QCOMPARE(page->selectionStart(), 4000);
        QCOMPARE(page->selectionLength(), 10);
    }

    // "Vsual" takes effect at the next page shown: the page on screen keeps
    // its look, and a colour changed meanwhile keeps "Vsual" as it was read.
    void vsualWaitsForTheNextPage()
    {
        FrmReport *view = open(printFile("vsual.prn", emphasisPage()));
        const ViewLines *before = view->pageView()->lines();
        control<QCheckBox>(view, "Check1")->click();
        QVERIFY(!view->document().markup().vsual);
        QCOMPARE(view->pageView()->lines(), before);
        chooseColour(view, ReportColorPanel::Bold, Qt::green);
        QVERIFY(view->pageView()->lines()->options().context.vsual);
        QCOMPARE(view->pageView()->lines()->options().context.bold, QColor(Qt::green));
    }

    // A page being edited keeps its edits through a change of colour.
    void editedPageKeptThroughAColour()
    {
        FrmReport *view = open(printFile("edited.prn", emphasisPage()));
        control<QCheckBox>(view, "Check2")->click();
        QVERIFY(!view->editText()->isHidden());
        QTextCursor cursor(view->editText()->document());
        cursor.insertText(QStringLiteral("typed "));
        const QString edited = view->editText()->toPlainText();
        chooseColour(view, ReportColorPanel::Bold, Qt::green);
        chooseColour(view, ReportColorPanel::ReportBack, Qt::yellow);
        QVERIFY(!view->editText()->isHidden());
        QCOMPARE(view->editText()->toPlainText(), edited);
        QCOMPARE(view->editText()->palette().color(QPalette::Base), QColor(Qt::yellow));
    }

    // The code page reaches the page from the document, whoever sets it:
    // the panel's list, the quiet bar's switch or the document itself.
    void codePageFollowsTheDocument_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("the panel's list") << "panel";
        QTest::newRow("the quiet bar") << "bar";
        QTest::newRow("the document") << "document";
    }

    void codePageFollowsTheDocument()
    {
        QFETCH(QString, how);
        FrmReport *view = open(printFile("cp437.prn", "F\x9aR f\x81r \xc9\xcd\xbb\r\n\f"));
        QCOMPARE(viewText(view), QString::fromLatin1("F\x9aR f\x81r \xc9\xcd\xbb\n\f"));
        auto *list = control<QComboBox>(panelOf(view), "CboCodePage");
        if (how == "panel") {
            list->setCurrentIndex(list->findData(int(CodePage::Id::Pc437)));
            emit list->activated(list->currentIndex());
        } else if (how == "bar") {
            click(view, "CodePageSwitch");
        } else {
            view->document().setCodePage(CodePage::Id::Pc437);
        }
        QCOMPARE(view->document().codePage(), CodePage::Id::Pc437);
        QCOMPARE(viewText(view), QString("FÜR für ╔═╗\n\f"));
        QCOMPARE(list->currentData().toInt(), int(CodePage::Id::Pc437));
        QCOMPARE(view->pageView()->textFont().family(), QString("DejaVu Sans Mono"));
    }

    // The sheets on screen lie on the forms the document holds, whoever
    // sets them, and on none once they are taken away.
    void formsFollowTheDocument()
    {
        QTemporaryDir dir;
        const QString form = dir.filePath("blue.png");
        QImage blue(85, 110, QImage::Format_RGB32);
        blue.fill(QColor(0, 0, 255));
        QVERIFY(blue.save(form));
        ReportViewSettings::savePrintedLook(true);
        FrmReport *view = open(printFile("sheet.prn", "abc\r\n\f"));
        QWidget *sheet = view->sheetView()->widget();
        QVERIFY(sheet->isVisible());
        const QColor formBlue(0, 0, 255);
        QCOMPARE(pixelsNear(sheet, formBlue), 0);
        QStringList errors;
        FormChoice choice;
        choice.first = form;
        view->document().setForms(SheetForms::loadUsable(choice, &errors));
        QVERIFY(errors.isEmpty());
        QVERIFY(pixelsNear(sheet, formBlue) > 5000);
        view->document().setForms(SheetForms());
        QCOMPARE(pixelsNear(sheet, formBlue), 0);
    }

    // A settings file that cannot be written: a choice holds in the view,
    // and the view says, once, that it is not kept (it had been lost at the
    // next start without a word; the quiet bar had said the answer was kept).
    void unsavedChoiceSaid_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("choices");
        const QByteArray plain("abc\r\n\f");
        const QByteArray picture = QByteArray("\x1bK\x08\x00", 4) + QByteArray(8, '\x7f') + "\r\nACME Ltd.\r\n\f";
        QTest::newRow("code pages") << plain << QStringList {"CboCodePage=437", "CboCodePage=850"};
        QTest::newRow("print modes") << plain << QStringList {"OptWinMode", "OptCharMode"};
        QTest::newRow("printed look's offer") << picture << QStringList {"PrintedLookBarClose"};
        // (The import's filter had been lost without a word.)
        QTest::newRow("import's filter") << plain << QStringList {"CmdImport=a.txt", "CmdImport=b.prn"};
    }

    void unsavedChoiceSaid()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, choices);
        FrmReport *view = open(printFile("unsaved.prn", bytes));
        auto *list = control<QComboBox>(panelOf(view), "CboCodePage");
        view->printPanel();
        const QString ini = SettingsStore::fileName(SettingsAppName);
        QFile::remove(ini + ".old");
        QVERIFY(!QFileInfo::exists(ini) || QFile::rename(ini, ini + ".old"));
        QVERIFY(QDir().mkpath(ini)); // a folder where the file should be
        const auto restore = qScopeGuard([&] {
            QDir(ini).removeRecursively();
            QFile::rename(ini + ".old", ini);
        });
        MessageBox::clearShown();
        for (const QString &choice : std::as_const(choices)) {
            if (choice.startsWith("CboCodePage=")) {
                const auto id = choice.endsWith("437") ? CodePage::Id::Pc437 : CodePage::Id::Pc850;
                list->setCurrentIndex(list->findData(int(id)));
                emit list->activated(list->currentIndex());
                QCOMPARE(view->document().codePage(), id);
            } else if (choice.startsWith("CmdImport=")) {
                Dialogs::setNextFileName(printFile(choice.section('=', 1), "imported\r\n"));
                click(view, "CmdImport");
            } else {
                click(view, choice);
            }
        }
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text,
            QString("The settings file %1 cannot be saved.").arg(QDir::toNativeSeparators(ini)));
    }
};

QTEST_MAIN(TestDocumentViews)
#include "tst_documentviews.moc"
