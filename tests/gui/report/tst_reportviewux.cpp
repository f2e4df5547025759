// The report view as a reader uses it: the printed look offered for files
// that need it, exports of an edited page, reading by Page Down, the keys
// of the pages and panels, and find next and previous with a count.
#include "ReportViewFixture.h"
#include "ExportReaders.h"
#include "gui/report/ReportColorPanel.h"
#include "gui/report/SheetView.h"
#include "gui/report/ViewZoom.h"
#include "gui/printing/PrintPanel.h"
#include "report/ReportViewSettings.h"
#include "gui/platform/FirstPaint.h"
#include "report/RecentFiles.h"
#include "gui/platform/AppIdentity.h"
#include "gui/sticker/Frm0010Sticker.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QPointer>
#include <QScopeGuard>
#include <QTimer>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QWheelEvent>

using namespace ReportViewFixture;

namespace {

// A letterhead picture (ESC K, eight columns) over a line of text.
const QByteArray Picture = QByteArray("\x1bK\x08\x00", 4) + QByteArray(8, '\x7f') + "\r\nACME Ltd.\r\n\f";

QAction *action(QWidget *view, const char *name)
{
    auto *found = view->findChild<QAction *>(QLatin1String(name));
    if (!found)
        qFatal("no action %s", name);
    return found;
}

// The clipboard's text, each line without the sheet's left margin.
QStringList clipboardLines()
{
    QStringList lines;
    for (const QString &line : QApplication::clipboard()->text().split('\n'))
        lines << line.trimmed();
    return lines;
}

void key(QWidget *view, const QString &on, QKeyCombination pressed)
{
    QWidget *w = control(view, on);
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, pressed.key(), pressed.keyboardModifiers());
}

} // namespace

class TestReportViewUx : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void cleanup()
    {
        closeAll();
        MessageBox::clearShown();
        ReportViewSettings::savePrintedLook(false);
        SettingsStore::save(SettingsAppName, "ReportView", "ImportFilter", QString());
        for (const char *kind : {"prn", "txt", "none"})
            SettingsStore::save(SettingsAppName, "ReportView", QString("PrintedFor_%1").arg(kind), QString());
    }

    // The quiet bar offers the printed look to a file with pictures; the
    // answer holds for the next file of the kind.
    void printedLook_offered_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("answer"); // the bar's button clicked; empty: none
        QTest::addColumn<QString>("states"); // of this view, then of the next one of the kind
        const QString next = "PrintedLookBar.visible=%1;printed=%2;stored:Printed=0";
        QTest::newRow("plain report: nothing offered")
            << "plain.prn" << pagedBytes(2) << "" << "PrintedLookBar.visible=0;printed=0|" + next.arg(1).arg(0);
        QTest::newRow("taken: this and the next .prn printed")
            << "logo.prn" << Picture << "PrintedLookSwitch"
            << "PrintedLookBar.visible=0;printed=1;stored:PrintedFor_prn=1|" + next.arg(0).arg(1);
        QTest::newRow("closed: kept, not offered again")
            << "logo.prn" << Picture << "PrintedLookBarClose"
            << "PrintedLookBar.visible=0;printed=0;stored:PrintedFor_prn=0|" + next.arg(0).arg(0);
        QTest::newRow("a .txt answer leaves files without a suffix alone")
            << "logo.txt" << Picture << "PrintedLookSwitch"
            << "PrintedLookBar.visible=0;printed=1;stored:PrintedFor_txt=1|" + next.arg(1).arg(0);
    }

    void printedLook_offered()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, answer);
        QFETCH(QString, states);
        ReportViewSettings::savePrintedLook(false);
        FrmReport *view = open(printFile(name, bytes));
        if (!answer.isEmpty()) {
            QVERIFY(control(view, "PrintedLookBar")->isVisible());
            click(view, answer);
        }
        const QString nextName = name.endsWith(".txt") ? QString("nosuffix") : "next." + name.section('.', -1);
        FrmReport *following = open(printFile(nextName, Picture));
        QCOMPARE(viewStates(view, states.section('|', 0, 0)) + '|' + viewStates(following, states.section('|', 1)),
            states);
    }

    // The two panels start hidden and are built later: the print panel once
    // the window is drawn, or when something needs it first (Edit chooses
    // its current page), the colour panel when it opens. A file's stored
    // look is in the document without them.
    void panels_builtWhenNeeded_data()
    {
        QTest::addColumn<QString>("first");
        QTest::newRow("drawn") << "drawn";
        QTest::newRow("Edit") << "Check2";
        QTest::newRow("Escape, nothing open") << "PageView!Esc";
    }

    void panels_builtWhenNeeded()
    {
        QFETCH(QString, first);
        ReportViewSettings::saveMinusOneLine(true);
        const auto unstore = qScopeGuard([] { ReportViewSettings::saveMinusOneLine(false); });
        auto *view = new FrmReport;
        view->setAttribute(Qt::WA_DeleteOnClose, false);
        const std::unique_ptr<FrmReport> owned(view);
        QVERIFY(view->LoadReport(printFile("panels.prn", pagedBytes(3))));
        QVERIFY(!view->findChild<QWidget *>("Frame1"));
        QVERIFY(!view->findChild<QWidget *>("Frame6"));
        QVERIFY(view->document().extraLine());
        QCOMPARE(view->tagText(), QString());
        if (first == "drawn") {
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view));
            QTRY_VERIFY(view->findChild<QWidget *>("Frame1"));
        } else {
            apply(view, {first});
        }
        const bool built = first != "PageView!Esc";
        QCOMPARE(view->findChild<QWidget *>("Frame1") != nullptr, built);
        if (built) {
            QCOMPARE(view->printPanel(), view->findChild<QWidget *>("Frame1"));
            QVERIFY(view->printPanel()->isHidden());
            QCOMPARE(view->printPanel()->pageOption(), first == "Check2" ? 1 : 0);
            QCOMPARE(view->printPanel()->ComPaperHeight->currentText(), QString("0"));
        }
        QVERIFY(!view->findChild<QWidget *>("Frame6"));
        QVERIFY(view->colorPanel()->isHidden());
        QVERIFY(control<QCheckBox>(view, "ChL")->isChecked());
    }

    // A job in another printer language is shown as ESC/P, with a note
    // that says what it is; closing the note leaves the view as it is, and
    // a print file of the next import has none.
    void foreignJob_noted()
    {
        FrmReport *view = open(printFile("wrong.prn", "%!PS-Adobe-3.0\n%%Pages: 1\n/Helvetica findfont\n"));
        QWidget *bar = control(view, "ForeignJobBar");
        QVERIFY(bar->isVisible());
        QVERIFY2(control<QLabel>(bar, "ForeignJobBarText")->text().contains("(PostScript)"),
            qPrintable(control<QLabel>(bar, "ForeignJobBarText")->text()));
        click(view, "ForeignJobBarClose");
        QVERIFY(bar->isHidden());
        import(view, printFile("right.prn", pagedBytes(2)));
        QTRY_VERIFY(view->windowTitle().endsWith("right.prn"));
        QVERIFY(bar->isHidden());
    }

    // "Printed" in the context menu does what the colour panel's box does.
    void printedLook_fromContextMenu()
    {
        FrmReport *view = open(printFile("menu.prn", pagedBytes(2)));
        view->colorPanel(); // its box follows
        QMenu *menu = control<QMenu>(view, "AQ");
        QAction *printed = action(view, "ActPrinted");
        QVERIFY(menu->actions().contains(printed));
        printed->trigger();
        QVERIFY(view->printedLook());
        QCOMPARE(stored("Printed"), QStringLiteral("1"));
        QVERIFY(control<QCheckBox>(view, "ChkPrinted")->isChecked());
        QVERIFY(view->sheetView()->isVisible());
        printed->trigger();
        QVERIFY(!view->printedLook());
        QCOMPARE(stored("Printed"), QStringLiteral("0"));
    }

    // What the view shows after Edit is what is exported: the edited page,
    // its emphasis hidden, no printer command letters.
    void export_takesTheEditedPage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("holds");
        QTest::addColumn<QString>("lacks");
        QTest::newRow("text") << "out.txt" << "EDITED Page 1" << "Page 2";
        QTest::newRow("web page") << "out.html" << "EDITED&nbsp;Page&nbsp;1" << "EBOLD";
        QTest::newRow("rich text") << "out.rtf" << "EDITED Page 1" << "Page 2";
    }

    void export_takesTheEditedPage()
    {
        QFETCH(QString, name);
        QFETCH(QString, holds);
        QFETCH(QString, lacks);
        FrmReport *view = open(printFile("edited.prn", "Page 1 \x1b" "EBOLD\x1b" "F\r\n\fPage 2\r\n\f"));
        QTest::mouseClick(control(view, "Check2"), Qt::LeftButton, {}, QPoint(4, 4));
        QTextEdit *edit = view->editText();
        QVERIFY(edit->isVisible());
        edit->moveCursor(QTextCursor::Start);
        QTest::keyClicks(edit, "EDITED ");
        QTemporaryDir dir;
        const QString out = dir.filePath(name);
        Dialogs::setNextFileName(out);
        click(view, "JeweledButton1");
        const QString written = QString::fromLatin1(TestSupport::readFile(out));
        QVERIFY2(written.contains(holds), qPrintable(QString(written.left(1500)).replace('\r', ' ').replace('\n', ' ')));
        QVERIFY2(!written.contains(lacks), qPrintable(written.left(400)));
        if (name.endsWith(".rtf")) {
            // With the emphasis the page was shown with, though Edit cleared
            // "Vsual" for the pages shown next.
            const ExportReaders::RtfContent rtf = ExportReaders::readRtf(TestSupport::readFile(out));
            bool boldShown = false;
            for (const ExportReaders::RtfRun &run : rtf.runs)
                boldShown = boldShown || (run.bold && run.text.contains("BOLD"));
            QVERIFY(boldShown);
        }
    }

    // Page Down reads a long page a screen at a time and turns the page at
    // its end; Page Up goes back the same way, to the end of the page before.
    void pageDown_readsEveryLine()
    {
        QByteArray bytes;
        for (int page = 1; page <= 2; ++page) {
            for (int line = 1; line <= 120; ++line)
                bytes += QByteArray("page ") + QByteArray::number(page) + " line " + QByteArray::number(line) + "\r\n";
            bytes += '\f';
        }
        FrmReport *view = open(printFile("long.prn", bytes));
        QScrollBar *bar = view->pageView()->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        int presses = 0;
        while (view->currentPage() == 0 && presses < 100) {
            key(view, "PageView", Qt::Key_PageDown);
            ++presses;
            if (view->currentPage() == 0)
                QVERIFY(bar->value() > 0);
        }
        QCOMPARE(view->currentPage(), 1);
        QVERIFY2(presses > 2, qPrintable(QString::number(presses)));
        QCOMPARE(bar->value(), 0);
        key(view, "PageView", Qt::Key_PageUp);
        QCOMPARE(view->currentPage(), 0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void keys_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("states");
        QTest::newRow("Ctrl+End the last page") << QStringList {"PageView!Ctrl+End"} << "page=5;CmdNxt.enabled=0";
        QTest::newRow("Ctrl+Home back to the first")
            << QStringList {"CmdLast", "PageView!Ctrl+Home"} << "page=1;CmdBck.enabled=0";
        QTest::newRow("Escape closes the print panel")
            << QStringList {"CmdPrint", "PageView!Esc"} << "Frame1.visible=0;PageView.focus=1";
        QTest::newRow("Escape closes the colour panel")
            << QStringList {"Label4", "PageView!Esc"} << "Frame6.visible=0";
        QTest::newRow("page box there on a short file") << QStringList {} << "Text2.visible=1;SpLebal3.visible=1";
    }

    void keys()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, states);
        FrmReport *view = open(printFile("keys.prn", pagedBytes(5)));
        if (steps.contains("Label4")) {
            // The colour panel opens on a release over its label.
            steps.removeAll("Label4");
            QTest::mouseRelease(control(view, "Label4"), Qt::LeftButton);
            QVERIFY(control(view, "Frame6")->isVisible());
        }
        apply(view, steps);
        QCOMPARE(viewStates(view, states), states);
    }

    void ctrlW_closesTheView()
    {
        FrmReport *view = open(printFile("close.prn", pagedBytes(2)));
        QPointer<FrmReport> alive(view);
        key(view, "PageView", QKeyCombination(Qt::ControlModifier, Qt::Key_W));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alive.isNull());
    }

    // Enter, F3 and Shift+F3 step through the matches round the page, from
    // the caret; the box counts them, and the caption follows the match.
    void findNext_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<int>("caret");       // where the caret stands before; -1: not moved
        QTest::addColumn<QStringList>("keys"); // after the first Enter
        QTest::addColumn<int>("selected");    // start of the selected match; -1: none
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("caption"); // a part of the window title; empty: not looked at
        // "ab" at 0, 6, 12 and 18 (the line end counts one).
        QTest::newRow("first Enter: the first match") << "ab" << -1 << QStringList {} << 0 << "1 of 4" << "";
        QTest::newRow("Enter again: the next") << "ab" << -1 << QStringList {"Text4!Return"} << 6 << "2 of 4" << "";
        QTest::newRow("F3 twice") << "ab" << -1 << QStringList {"Text4!F3", "Text4!F3"} << 12 << "3 of 4" << "";
        QTest::newRow("Shift+F3 round to the last") << "ab" << -1 << QStringList {"Text4!Shift+F3"} << 18 << "4 of 4"
                                                    << "";
        QTest::newRow("F3 round to the first") << "ab" << -1 << QStringList(4, "Text4!F3") << 0 << "1 of 4" << "";
        QTest::newRow("Shift+Enter back") << "ab" << -1 << QStringList {"Text4!F3", "Text4!Shift+Return"} << 0
                                          << "1 of 4" << "";
        QTest::newRow("from the caret inside the second match")
            << "ab" << 7 << QStringList {} << 12 << "3 of 4" << "Col : 0 Line : 2";
        QTest::newRow("no match: counted, no message") << "zzz" << -1 << QStringList {} << -1 << "no match" << "";
    }

    void findNext()
    {
        QFETCH(QString, needle);
        QFETCH(int, caret);
        QFETCH(QStringList, keys);
        QFETCH(int, selected);
        QFETCH(QString, count);
        QFETCH(QString, caption);
        FrmReport *view = open(printFile("find.prn", "ab cd ab ef\r\nab gh ab\r\n\f"));
        if (caret >= 0)
            view->pageView()->select(caret, caret);
        apply(view, QStringList {"Text4+" + needle, "Text4!Return"} + keys);
        if (selected >= 0) {
            QCOMPARE(view->pageView()->selectionStart(), selected);
            QCOMPARE(view->pageView()->selectionLength(), 2);
        }
        QCOMPARE(control<QLabel>(view, "SearchCount")->text(), count);
        QCOMPARE(view->pageView()->marks().size(), selected >= 0 ? 4 : 0); // marked once, not at every step
        QCOMPARE(MessageBox::shown().size(), 0);
        if (!caption.isEmpty())
            QTRY_VERIFY2(view->windowTitle().contains(caption), qPrintable(view->windowTitle()));
    }

    // Keys typed into the page while a long page is marked are held and
    // given to it afterwards.
    void search_keysNotDropped()
    {
        FrmReport *view = open(printFile("held.prn", QByteArray("xx ab xx\r\n").repeated(600000) + "\f"));
        PageView *page = view->pageView();
        QTimer::singleShot(0, view, [page] {
            QTest::keyClick(page, Qt::Key_Down);
            QTest::keyClick(page, Qt::Key_Down);
        });
        apply(view, {"Text4+ab", "Text4!Return"});
        QCoreApplication::processEvents();
        QCOMPARE(control<QLabel>(view, "SearchCount")->text(), QStringLiteral("1 of 600000"));
        // The match was selected first, then the two Down keys moved on.
        QCOMPARE(page->lineColumn().line, 2);
    }

    void zoomSteps_data()
    {
        QTest::addColumn<double>("from");
        QTest::addColumn<int>("direction");
        QTest::addColumn<double>("to");
        QTest::newRow("in from the opening size") << 1.0 << 1 << 1.1;
        QTest::newRow("out from the opening size") << 1.0 << -1 << 0.9;
        QTest::newRow("in from between steps (a fit)") << 1.13 << 1 << 1.25;
        QTest::newRow("out from between steps") << 1.13 << -1 << 1.1;
        QTest::newRow("the largest stays") << 4.0 << 1 << 4.0;
        QTest::newRow("the smallest stays") << 0.25 << -1 << 0.25;
    }

    void zoomSteps()
    {
        QFETCH(double, from);
        QFETCH(int, direction);
        QFETCH(double, to);
        QCOMPARE(ViewZoom::stepFrom(from, direction), to);
    }

    void zoomFitting_data()
    {
        QTest::addColumn<QList<double>>("sizes"); // content width, height, area width, height
        QTest::addColumn<double>("scale");
        QTest::newRow("wide page to the width") << QList<double> {2000, 0, 1000, 500} << 0.5;
        QTest::newRow("narrow page grows to the width") << QList<double> {500, 0, 1000, 500} << 2.0;
        QTest::newRow("tall page to the height") << QList<double> {500, 2000, 1000, 500} << 0.25;
        QTest::newRow("kept within the steps") << QList<double> {100000, 0, 1000, 500} << 0.25;
        QTest::newRow("nothing to fit") << QList<double> {0, 0, 1000, 500} << 1.0;
    }

    void zoomFitting()
    {
        QFETCH(QList<double>, sizes);
        QFETCH(double, scale);
        QCOMPARE(ViewZoom::fitting(sizes[0], sizes[1], sizes[2], sizes[3]), scale);
    }

    // Zoom by keys and wheel keeps the page, its place, marks and selection;
    // the Zoom button goes back to the opening size.
    void zoom_keepsThePlace_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<double>("scale");
        QTest::newRow("Ctrl+plus twice") << QStringList {"PageView!Ctrl++", "PageView!Ctrl+="} << 1.25;
        QTest::newRow("Ctrl+minus") << QStringList {"PageView!Ctrl+-"} << 0.9;
        QTest::newRow("Ctrl+0 back to the opening size") << QStringList {"PageView!Ctrl++", "PageView!Ctrl+0"} << 1.0;
        QTest::newRow("Zoom button, then Zoom Out") << QStringList {"PageView!Ctrl++", "Command2", "Command2"} << 1.0;
    }

    void zoom_keepsThePlace()
    {
        QFETCH(QStringList, steps);
        QFETCH(double, scale);
        FrmReport *view = open(printFile("zoom.prn", QByteArray("find me here\r\n").repeated(300) + "\f"));
        apply(view, {"Text4+here", "Text4!Return"});
        PageView *page = view->pageView();
        page->verticalScrollBar()->setValue(100);
        page->select(1208, 1212);
        const qsizetype marks = page->marks().size();
        apply(view, steps);
        QCOMPARE(view->findChild<ViewZoom *>()->scale(), scale);
        QCOMPARE(page->scale(), scale);
        QCOMPARE(page->verticalScrollBar()->value(), 100);
        QCOMPARE(page->marks().size(), marks);
        QCOMPARE(page->selectionStart(), 1208);
        QCOMPARE(page->textFont().pointSizeF(), 11.25);
    }

    void zoom_ctrlWheel()
    {
        FrmReport *view = open(printFile("wheel.prn", pagedBytes(2)));
        QWidget *viewport = view->pageView()->viewport();
        QWheelEvent up(QPointF(20, 20), viewport->mapToGlobal(QPointF(20, 20)), {}, {0, 120}, Qt::NoButton,
            Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &up);
        QCOMPARE(view->pageView()->scale(), 1.1);
        QCOMPARE(view->currentPage(), 0);
    }

    // Fit width brings the widest line into the window; in the printed look
    // the sheet (13.6 inches wide) fits.
    void zoom_fit()
    {
        FrmReport *view = open(printFile("fit.prn", QByteArray(300, 'x') + "\r\n\f"));
        PageView *page = view->pageView();
        QTRY_VERIFY(page->horizontalScrollBar()->maximum() > 0);
        action(view, "ActFitWidth")->trigger();
        QVERIFY(page->scale() < 1);
        QTRY_COMPARE(page->horizontalScrollBar()->maximum(), 0);
        action(view, "ActPrinted")->trigger();
        SheetView *sheet = view->sheetView();
        QVERIFY(sheet->isVisible());
        action(view, "ActFitPage")->trigger();
        QVERIFY(sheet->widget()->width() <= sheet->maximumViewportSize().width());
        QVERIFY(sheet->widget()->height() <= sheet->maximumViewportSize().height());
    }

    // The Import and Export dialogs start beside the file shown; Import
    // offers the kind of file imported last first.
    void dialogs_startBesideTheFile()
    {
        QTemporaryDir dir;
        FrmReport *view = open(printFile(dir.filePath("shown.prn"), pagedBytes(1)));
        Dialogs::setNextFileName(QString()); // cancelled
        click(view, "JeweledButton1");
        QCOMPARE(Dialogs::asked().last().initial, dir.filePath("shown"));
        const QString other = printFile(dir.filePath("other.prn"), pagedBytes(2));
        import(view, other);
        QCOMPARE(Dialogs::asked().last().initial, dir.path());
        QVERIFY(Dialogs::asked().last().filter.startsWith(" Txt File"));
        QCOMPARE(view->reportFile(), other);
        import(view, QString()); // cancelled: the last name chosen loads again
        QCOMPARE(Dialogs::asked().last().initial, other);
        QVERIFY2(Dialogs::asked().last().filter.startsWith("Print files"), qPrintable(Dialogs::asked().last().filter));
    }

    // Files the user opens join the recent files; one that is gone leaves
    // them after its message. The report view's menu offers both.
    void recentFiles_followTheFiles()
    {
        QTemporaryDir dir;
        const QString kept = printFile(dir.filePath("kept.prn"), pagedBytes(1));
        const QString gone = printFile(dir.filePath("gone.prn"), pagedBytes(1));
        QCOMPARE(openReportViews({gone, kept}), 2);
        // (Once the views are on screen: the settings are written then.)
        QTRY_COMPARE(RecentFiles::read().mid(0, 2), (QStringList {kept, gone}));
        closeAll();
        QFile::remove(gone);
        QCOMPARE(openReportViews({gone}), 0);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(RecentFiles::read().first(), kept);
        QVERIFY(!RecentFiles::read().contains(gone));
        // A watched folder's jobs stay out of the list.
        const QString job = printFile(dir.filePath("job.prn"), pagedBytes(1));
        QCOMPARE(openReportViews({job}, std::nullopt, true), 1);
        QTRY_VERIFY(FirstPaint::drawn(views().last()));
        QCoreApplication::processEvents();
        QVERIFY(!RecentFiles::read().contains(job));
        QMenu *menu = control<QMenu>(views().first(), "AQ");
        QStringList names;
        for (QAction *a : menu->actions())
            names << a->objectName();
        QVERIFY2(names.contains("ActOpenPrintFile") && names.contains("ActRecentFiles"), qPrintable(names.join(',')));
    }

    // The names on the live accessibility tree are checked in each language
    // (tst_translatedreportview).

    // Tab goes through the window as it reads: the top bar, the page, the
    // bottom bar, the buttons at the right; the mouse-only labels open their
    // panel by key.
    void tabOrder()
    {
        FrmReport *view = open(printFile("tabs.prn", pagedBytes(7)));
        QWidget *first = control(view, "Label4");
        const auto tabStops = [&] {
            QStringList visited;
            QWidget *w = first;
            do {
                if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && w->window() == view
                    && !control(view, "Frame1")->isAncestorOf(w))
                    visited << w->objectName();
                w = w->nextInFocusChain();
            } while (w != first && visited.size() < 100);
            return visited;
        };
        // Back is disabled on the first page, and so out of the way.
        const QStringList window {"Label4", "Check1", "Command2", "CmdImport", "lb1", "Text4", "PageView", "CmdFst",
            "CmdNxt", "CmdLast", "Text2", "JeweledButton1", "Image1", "Check3", "Check2", "CmdPrint", "JeExit"};
        QCOMPARE(tabStops(), window);
        // The colour panel, built when it first opens, comes after its label.
        key(view, "Label4", Qt::Key_Space);
        QVERIFY(control(view, "Frame6")->isVisible());
        const QStringList panel {"TXt(0)", "TXt(1)", "TXt(2)", "TXt(3)", "TXt(4)", "TXt(5)", "TXt(6)", "ChSearch",
            "ChHighlighte", "ChL", "CboCodePage", "ChkPrinted", "CboFormLength", "CboCarriage", "CboPrinterModel",
            "CmdForm", "Command3"};
        const QStringList withPanel = window.mid(0, 1) + panel + window.mid(1);
        QCOMPARE(tabStops(), withPanel);
    }

    // The caption names the file shown and follows Import and the printed
    // look, where it counts sheets.
    void title_followsTheFile()
    {
        QTemporaryDir dir;
        FrmReport *view = open(printFile(dir.filePath("first.prn"), pagedBytes(3)));
        QTRY_VERIFY2(view->windowTitle().endsWith("first.prn"), qPrintable(view->windowTitle()));
        import(view, printFile(dir.filePath("second.prn"), pagedBytes(2)));
        QTRY_VERIFY2(view->windowTitle().endsWith("second.prn"), qPrintable(view->windowTitle()));
        action(view, "ActPrinted")->trigger();
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Sheet : 1/2 ]   second.prn"));
        click(view, "CmdNxt");
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Sheet : 2/2 ]   second.prn"));
    }

    // A change of look keeps the reader's place: the view goes to the sheet
    // (or page) that holds the start of the page shown, though a long page
    // takes two sheets. Another page shown drops the search count, which
    // was of the page before.
    void look_keepsThePlace()
    {
        QByteArray bytes = "one\r\n\ftwo\r\n\f";
        for (int line = 0; line < 80; ++line)
            bytes += "long " + QByteArray::number(line) + "\r\n"; // past one 66-line sheet
        bytes += "\ffour\r\n\f";
        FrmReport *view = open(printFile("place.prn", bytes));
        apply(view, {"Text2=3", "Text2!Return"});
        QCOMPARE(view->currentPage(), 2);
        QAction *printed = action(view, "ActPrinted");
        printed->trigger();
        QCOMPARE(view->PageCount(), 5);
        QCOMPARE(view->currentPage(), 2);
        QVERIFY(view->sheetView()->sheet().runs.size() > 0);
        click(view, "CmdNxt"); // the long page's second sheet
        QCOMPARE(view->currentPage(), 3);
        printed->trigger();
        QCOMPARE(view->PageCount(), 4);
        QCOMPARE(view->currentPage(), 2);
        QVERIFY(control<QWidget>(view, "CmdBck")->isEnabled());
        click(view, "CmdNxt");
        printed->trigger();
        QCOMPARE(view->currentPage(), 4);
        QVERIFY(!control<QWidget>(view, "CmdNxt")->isEnabled()); // the last sheet

        apply(view, {"Text4+four", "Text4!Return"});
        QLabel *count = control<QLabel>(view, "SearchCount");
        QVERIFY(count->isVisible());
        QCOMPARE(count->text(), QStringLiteral("1 of 1"));
        click(view, "CmdBck");
        QVERIFY(!count->isVisible());
    }

    // In the printed look the sheet's text is searched, marked and copied:
    // the whole sheet, or what a drag over it selected (Ctrl+C; Ctrl+A
    // selects the whole sheet).
    void printedLook_searchAndCopy()
    {
        FrmReport *view = open(printFile("sheet.prn", "ACME Ltd.\r\nTotal due   12.00\r\nacme again\r\n\f"));
        action(view, "ActPrinted")->trigger();
        SheetView *sheet = view->sheetView();
        QVERIFY(sheet->isVisible());
        apply(view, {"Text4+acme", "Text4!Return"});
        QCOMPARE(sheet->marks().size(), 2);
        QCOMPARE(control<QLabel>(view, "SearchCount")->text(), QStringLiteral("1 of 2"));
        apply(view, {"Text4!F3"});
        QCOMPARE(control<QLabel>(view, "SearchCount")->text(), QStringLiteral("2 of 2"));
        QVERIFY(sheet->marks().at(0).top() < sheet->marks().at(1).top());
        QApplication::clipboard()->clear();
        action(view, "cccc")->trigger();
        const QStringList whole {"ACME Ltd.", "Total due   12.00", "acme again", ""};
        QCOMPARE(clipboardLines(), whole);

        apply(view, {"Text4=Total", "Text4!Return"});
        QCOMPARE(sheet->marks().size(), 1);
        const QRectF line = sheet->marks().constFirst();
        QWidget *canvas = sheet->widget();
        const double scale = sheet->pixelsPerInch() / Printed::UnitsPerInch;
        const double border = (canvas->width() - int(sheet->sheet().width * scale)) / 2.0;
        const int top = int(border + line.top() * scale) + 2;
        const int bottom = int(border + line.bottom() * scale) - 2;
        QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(1, top));
        const QPoint end(canvas->width() - 2, bottom);
        QMouseEvent move(QEvent::MouseMove, end, canvas->mapToGlobal(QPointF(end)), Qt::NoButton, Qt::LeftButton,
            Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &move); // the button held down
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, end);
        QCOMPARE(sheet->selectedText().trimmed(), QStringLiteral("Total due   12.00"));
        QTest::keyClick(sheet, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().trimmed(), QStringLiteral("Total due   12.00"));
        QVERIFY(!sheet->grab().isNull()); // the marks and the selection drawn
        QTest::keyClick(sheet, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(sheet, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboardLines(), whole);
    }

    // A quiet bar takes its room from the page: no line is under it.
    void quietBars_coverNoLine()
    {
        FrmReport *view = open(printFile("dos.prn", "F\x9aR f\x81r \xc9\xcd\xbb\r\n\f"));
        QWidget *bar = control(view, "CodePageBar");
        QVERIFY(bar->isVisible());
        QVERIFY(view->pageView()->geometry().bottom() < bar->geometry().top());
        const int withBar = view->pageView()->height();
        click(bar, "CodePageBarClose");
        QVERIFY(!bar->isVisible());
        QVERIFY(view->pageView()->height() > withBar);
    }

    // The sticker form shows Open and the recent files without a right-click.
    void stickerForm_offersOpen()
    {
        Frm0010Sticker form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *open = control<QToolButton>(&form, "BtnOpenPrintFile");
        QVERIFY(open->isVisible());
        QVERIFY(form.rect().contains(open->geometry()));
        QCOMPARE(open->menu(), form.findChild<QMenu *>("MenuRecentFiles"));
        Dialogs::setNextFileName(QString());
        QTest::mouseClick(open, Qt::LeftButton, {}, QPoint(4, open->height() / 2));
        QCOMPARE(Dialogs::asked().last().title, QStringLiteral("Open Print File"));
    }

    // The windows carry the program's icon and desktop entry, as main gives them.
    // The drawn icon until the first window is drawn, then the icon theme's
    // where the theme has one (an installed program).
    void appIdentity_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("not installed") << false;
        QTest::newRow("installed") << true;
    }

    void appIdentity()
    {
        QFETCH(bool, installed);
        const TestSupport::ScopedIconTheme theme(
            {installed ? QStringLiteral("apps/io.github.sticker2.Sticker2") : QStringLiteral("apps/another-program")});
        QVERIFY(theme.isSet());
        const auto noIcon = qScopeGuard([] { QApplication::setWindowIcon(QIcon()); });
        AppIdentity::apply();
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("io.github.sticker2.Sticker2"));
        QCOMPARE(QApplication::windowIcon().name(), QString()); // drawn
        FrmReport *view = open(printFile("icon.prn", pagedBytes(1)));
        const QString expected = installed ? QStringLiteral("io.github.sticker2.Sticker2") : QString();
        QTRY_COMPARE(view->windowIcon().name(), expected);
        QVERIFY(!view->windowIcon().pixmap(32).isNull());
    }

private:
    static QList<FrmReport *> views()
    {
        QList<FrmReport *> found;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *view = qobject_cast<FrmReport *>(w); view && view->isVisible())
                found << view;
        return found;
    }

    // The fixture's states, with "printed" (the printed look on screen).
    static QString viewStates(FrmReport *view, const QString &expected)
    {
        QStringList out;
        for (const QString &pair : expected.split(';')) {
            if (pair.startsWith("printed="))
                out << QString("printed=%1").arg(view->printedLook() && view->sheetView()->isVisible() ? 1 : 0);
            else
                out << states(view, pair);
        }
        return out.join(';');
    }
};

QTEST_MAIN(TestReportViewUx)
#include "tst_reportviewux.moc"
