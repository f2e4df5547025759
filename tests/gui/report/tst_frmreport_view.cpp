// What the report view shows: paging, the go-to box and the status line,
// zoom, search, highlight, the context menu, edit and the continuous view.
// The markup passes themselves are checked on the engine in tst_pagemarkup.
#include "ReportViewFixture.h"
#include "gui/controls/JeweledButton.h"
#include "gui/controls/SpLebal.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/ReportColorPanel.h"
#include "gui/report/SheetView.h"
#include "gui/sticker/Frm0010Sticker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <optional>

using namespace ReportViewFixture;

namespace {

// The point size a character of the page view is drawn in.
double pointSizeAt(FrmReport *view, qint64 position)
{
    ViewLines *lines = view->pageView()->lines();
    const LineIndex::Line line = lines->index().lineAt(position);
    const ViewLine shown = lines->lines(line.number, 1).value(0);
    qint64 column = position - line.position;
    for (const MarkupRun &run : shown.runs) {
        if (column < run.length) {
            const QTextCharFormat &f = lines->format(run.style);
            if (f.hasProperty(QTextFormat::FontPointSize))
                return f.fontPointSize();
            break;
        }
        column -= run.length;
    }
    return view->pageView()->textFont().pointSizeF();
}

// The last mark of this colour over a character, or none.
std::optional<PageView::Mark> markAt(FrmReport *view, qint64 position, const QColor &color)
{
    std::optional<PageView::Mark> found;
    for (const PageView::Mark &m : view->pageView()->marks())
        if (m.colour == color && m.start <= position && position < m.start + m.length)
            found = m;
    return found;
}

QString marksOf(FrmReport *view, const QColor &color)
{
    QString found;
    for (int i = 0; i < viewText(view).size(); ++i)
        found += markAt(view, i, color) ? QLatin1Char('#') : QLatin1Char('.');
    return found;
}

void search(FrmReport *view, const QString &typed)
{
    auto *box = control<QLineEdit>(view, "Text4");
    box->setFocus();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
}

} // namespace

class TestFrmReportView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void cleanup()
    {
        closeAll();
        MessageBox::clearShown();
        ReportViewSettings::saveCodePage(CodePage::Id::Latin1);
        ReportViewSettings::savePrintedLook(false);
        ReportViewSettings::savePrinter(ReportViewSettings::DefaultFormLength, true);
        ReportViewSettings::savePrinterModel(PrinterModel::Auto);
    }

    void steps_data()
    {
        // Steps on a view of n pages (ReportViewFixture::apply), then its
        // states. A disabled button takes no click: rows click enabled ones.
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("states");
        const auto row = [](const char *name, int pages, const QStringList &steps, const QString &states) {
            QTest::newRow(name) << pages << steps << states;
        };
        const QString nav = "page=%1;line=Page %1;LbPageNo=Page %1/%2;CmdBck.enabled=%3;CmdNxt.enabled=%4;"
                            "CmdFst.enabled=1;CmdLast.enabled=1";
        row("one page, just opened", 1, {}, nav.arg(1).arg(1).arg(0).arg(1));
        row("one page, Next then First", 1, {"CmdNxt", "CmdFst"}, nav.arg(1).arg(1).arg(0).arg(1));
        row("Next to the last page keeps Next", 4, {"CmdNxt", "CmdNxt", "CmdNxt"},
            nav.arg(4).arg(4).arg(1).arg(1));
        row("Next past the end disables it", 4, QStringList(4, "CmdNxt"), nav.arg(4).arg(4).arg(1).arg(0));
        row("Last then Back", 4, {"CmdLast", "CmdBck"}, nav.arg(3).arg(4).arg(1).arg(1));
        row("Back to page 1 keeps Back", 4, {"CmdNxt", "CmdBck"}, nav.arg(1).arg(4).arg(1).arg(1));
        row("Back on page 1 disables it", 4, {"CmdNxt", "CmdBck", "CmdBck"}, nav.arg(1).arg(4).arg(0).arg(1));
        // The go-to box: letters and points are not typed; a refused page
        // keeps page 1; the jump leaves the buttons as they were.
        const QString gone = "page=%1;line=Page %1;boxes=%2;CmdBck.enabled=0;CmdNxt.enabled=1";
        const QString refused = gone.arg(1).arg(1) + ";box= Select Valid PageNo...!;icon=3"; // critical
        for (const char *typed : {"3", "7", "x5.a", "0", "8", ""}) {
            const int page = QString(typed).remove(QRegularExpression("[^-0-9]")).toInt();
            row(qPrintable(QString("go to \"%1\"").arg(typed)), 7,
                {QString("Text2+") + typed, "Text2!Return"},
                page >= 1 && page <= 7 ? gone.arg(page).arg(0) : refused);
        }
        // Keys: the page keys wherever the focus is, Ctrl+F and Ctrl+P.
        row("Page Down twice, Page Up", 4, {"PageView!PgDown", "PageView!PgDown", "PageView!PgUp"}, nav.arg(2).arg(4).arg(1).arg(1));
        row("Page Down from the search box", 4, {"Text4!PgDown"}, "page=2");
        // The buttons' access keys turn the page at once, as a click does.
        row("Alt+N", 4, {"PageView!Alt+N"}, "page=2");
        row("Alt+L then Alt+B", 4, {"PageView!Alt+L", "PageView!Alt+B"}, "page=3");
        row("Page Up on page 1", 4, {"PageView!PgUp"}, nav.arg(1).arg(4).arg(0).arg(1));
        row("Ctrl+F to the search box", 4, {"PageView!Ctrl+F"}, "Text4.focus=1");
        row("Ctrl+P the print panel", 4, {"PageView!Ctrl+P"}, "Frame1.visible=1");
        // Leaving the box clears it.
        row("go to box cleared on leaving", 7, {"Text2!Home", "Text2+3", "Text4!End"}, "Text2=");
    }

    void steps()
    {
        QFETCH(int, pages);
        QFETCH(QStringList, steps);
        QFETCH(QString, states);
        FrmReport *view = open(printFile(QStringLiteral("steps.prn"), pagedBytes(pages)));
        apply(view, steps);
        QCOMPARE(ReportViewFixture::states(view, states), states);
        QVERIFY(viewText(view).endsWith('\f'));
    }

    void goToBox_alwaysThere()
    {
        FrmReport *one = open(printFile(QStringLiteral("one.prn"), pagedBytes(1)));
        FrmReport *six = open(printFile(QStringLiteral("six.prn"), pagedBytes(6)));
        const QString box = "Text2.hidden SpLebal3.hidden";
        QCOMPARE(
            TestSupport::state(one, box) + ' ' + TestSupport::state(six, box), QStringLiteral("0|0 0|0"));
        // Its caption fits inside the label, not cut off.
        auto *label = control<SpLebal>(six, "SpLebal3");
        QVERIFY(label->fontMetrics().boundingRect(label->Caption()).width() <= label->textRect().width());
    }

    void statusLine_followsClicksAndKeys()
    {
        // Four-digit page numbers show whole; the page shown has its first
        // character selected, as the markup passes leave it.
        FrmReport *view = open(printFile(QStringLiteral("status.prn"), pagedBytes(2432)));
        click(view, "CmdLast");
        QLabel *pageNo = control<QLabel>(view, "LbPageNo");
        QCOMPARE(pageNo->text(), QStringLiteral("Page 2432/2432"));
        QVERIFY(pageNo->width() >= pageNo->sizeHint().width());
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 0 Line : 1 ]   1   status.prn"));
        PageView *page = view->pageView();
        const QString before = view->windowTitle();
        // A click at the start of the fourth line of a page.
        import(view,
            printFile(QStringLiteral("status.txt"), "one\r\ntwo\r\nthree\r\nfourth line\r\nfive\r\n\f"));
        const QFontMetricsF metrics(page->textFont(), page->viewport());
        QTest::mouseClick(page->viewport(), Qt::LeftButton, {},
            QPoint(5, int(4 + (metrics.ascent() + metrics.descent()) * 3.5)));
        QVERIFY(!view->captionCurrent());
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 0 Line : 4 ]   0   status.txt"));
        QVERIFY(view->windowTitle() != before);
        QVERIFY(view->captionCurrent());
        page->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(page, Qt::Key_Right);
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 3 Line : 4 ]   0   status.txt"));
        QTest::keyClick(page, Qt::Key_Down);
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 3 Line : 5 ]   0   status.txt"));
        // A selection by keys counts its characters.
        QTest::keyClick(page, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(page, Qt::Key_Left, Qt::ShiftModifier);
        QTRY_COMPARE(view->windowTitle(), QStringLiteral(" Report View   [ Col : 1 Line : 5 ]   2   status.txt"));
    }

    void zoom()
    {
        const QByteArray wide = QByteArray(300, 'x') + "\r\n\f";
        FrmReport *view = open(printFile("zoom.prn", pagedBytes(2) + "plain \x0fREGION\x12\r\n" + wide));
        auto *zoom = control<JeweledButton>(view, "Command2");
        QCOMPARE(pointSizeAt(view, 0), 11.25);
        click(view, "CmdNxt");
        click(view, "Command2");
        QCOMPARE(zoom->text(), QStringLiteral("Zoom Out"));
        QVERIFY(view->zoomedIn());
        QCOMPARE(pointSizeAt(view, 0), 15.0);
        QCOMPARE(pageLabel(view), QStringLiteral("Page 2/3"));
        QVERIFY(viewText(view).startsWith(QStringLiteral("Page 2\n")));
        // Ctrl+click in the view zooms out again, to the size it opened with.
        QTest::mouseClick(view->pageView()->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(20, 10));
        QCOMPARE(zoom->text(), QStringLiteral("Zoom"));
        QVERIFY(!view->zoomedIn());
        QCOMPARE(pointSizeAt(view, 0), 11.25);
        // The size stays across another page and a reload; a wide line scrolls
        // sideways; the condensed region takes the zoomed size of its own.
        click(view, "CmdLast");
        const int region = int(viewText(view).indexOf("REGION"));
        QCOMPARE(pointSizeAt(view, 0), 11.25);
        QCOMPARE(pointSizeAt(view, region), 7.0);
        QVERIFY(view->pageView()->horizontalScrollBar()->maximum() > 0);
        click(view, "Command2");
        QCOMPARE(pointSizeAt(view, region), 9.25);
        QVERIFY(view->LoadReport(view->reportFile()));
        QCOMPARE(pointSizeAt(view, 0), 15.0);
        QCOMPARE(zoom->text(), QStringLiteral("Zoom Out"));
    }

    void search_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("bold"); // ChSearch
        QTest::addColumn<QString>("marks");
        // "aa" at the very start, three A in a row (two overlapping matches),
        // capitals, and a lone "a" that is no match.
        QTest::newRow("overlapping and case-blind")
            << QByteArray("aa xAAAx\r\nbAa a\r\n\f") << "aa" << true << "##..###...##....";
        QTest::newRow("ChSearch clear: not bold")
            << QByteArray("find me\r\n\f") << "ME" << false << ".....##..";
    }

    void search()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, typed);
        QFETCH(bool, bold);
        QFETCH(QString, marks);
        FrmReport *view = open(printFile(QStringLiteral("search.prn"), page));
        const QColor orange = view->swatchColor(ReportColorPanel::SearchString);
        control<QCheckBox>(view->colorPanel(), "ChSearch")->setChecked(bold);
        ::search(view, typed);
        QCOMPARE(marksOf(view, orange), marks);
        const int first = int(marks.indexOf(QLatin1Char('#')));
        QCOMPARE(markAt(view, first, orange)->bold, bold ? 1 : 0);
        // The first match from the caret (at the page's start) is selected.
        QCOMPARE(view->pageView()->selectionStart(), first);
        QCOMPARE(view->pageView()->selectionLength(), typed.size());
        // A new page display drops the marks.
        click(view, "CmdFst");
        QVERIFY(view->pageView()->marks().isEmpty());
    }

    // Chosen in one view's panel, the code page is stored and read by the
    // next view: decoded text in a font that holds it, searched case-blind.
    void codePage_storedAndSearched()
    {
        const QString path = printFile("cp437.prn", "F\x9aR f\x81r \xc9\xcd\xbb\r\n\f");
        FrmReport *first = open(path);
        QCOMPARE(viewText(first), QString::fromLatin1("F\x9aR f\x81r \xc9\xcd\xbb\n\f"));
        auto *list = control<QComboBox>(first->colorPanel(), "CboCodePage");
        QCOMPARE(list->count(), CodePage::all().size() + 1); // and "Detect"
        QCOMPARE(states(first, "CboCodePage"), "CboCodePage=Latin-1 (as is)");
        // Read as it is, the file looks like PC437: a quiet bar offers it.
        QCOMPARE(states(first, "CodePageBar.visible;CodePageBarText"),
            "CodePageBar.visible=1;CodePageBarText=This file looks written in PC437 (US, box drawing).");
        list->setCurrentIndex(2); // as the user picks it from the list
        emit list->activated(2);
        QCOMPARE(states(first, "stored:CodePage;CodePageBar.visible"), "stored:CodePage=cp437;CodePageBar.visible=0");
        QCOMPARE(viewText(first), QString("FÜR für ╔═╗\n\f"));
        // Back to Latin-1, then "Detect": PC437 again, and nothing stored.
        list->setCurrentIndex(0);
        emit list->activated(0);
        list->setCurrentIndex(list->count() - 1);
        emit list->activated(list->count() - 1);
        QCOMPARE(states(first, "stored:CodePage;CboCodePage"),
            "stored:CodePage=latin1;CboCodePage=PC437 (US, box drawing)");
        QCOMPARE(viewText(first), QString("FÜR für ╔═╗\n\f"));
        list->setCurrentIndex(2);
        emit list->activated(2);
        first->close();

        FrmReport *view = open(path);
        QCOMPARE(view->codePage(), CodePage::Id::Pc437);
        view->colorPanel();
        QCOMPARE(states(view, "CboCodePage"), "CboCodePage=PC437 (US, box drawing)");
        QCOMPARE(viewText(view), QString("FÜR für ╔═╗\n\f"));
        QCOMPARE(view->pageView()->textFont().family(), QString("DejaVu Sans Mono"));
        apply(view, {"Text4=für", "Text4!Return"});
        QCOMPARE(marksOf(view, view->swatchColor(ReportColorPanel::SearchString)), QString("###.###......"));

        // The stored PC437 is kept for a Czech file, whose letters it gets
        // wrong: the bar offers the code page the file looks written in.
        QByteArray czech;
        QVERIFY(CodePage::encode(CodePage::Id::Kamenicky,
            QString("Žluťoučký kůň úpěl ďábelské ódy; Zřizovací listina, položka, VÁŠ DOPIS\r\n\f"), &czech));
        // So does a stored Windows code page (the file's box drawing had
        // read as "ÄÄÄ" without a hint).
        for (const CodePage::Id stored : {CodePage::Id::Pc437, CodePage::Id::Windows1252}) {
            ReportViewSettings::saveCodePage(stored);
            FrmReport *other = open(printFile("czech.prn", czech));
            QCOMPARE(other->codePage(), stored);
            QCOMPARE(states(other, "CodePageBar.visible;CodePageBarText"),
                "CodePageBar.visible=1;CodePageBarText=This file looks written in Kamenicky (Czech and Slovak).");
            other->close();
        }
        ReportViewSettings::saveCodePage(CodePage::Id::Pc437);
    }

    void darkTheme_formsReadable_data()
    {
        // Under a dark desktop theme the forms keep readable text: the pink
        // report view and its panels dark on light, the page black on its
        // paper, the sticker form in the theme's own colours.
        QTest::addColumn<bool>("report");
        QTest::addColumn<QStringList>("controls");
        QTest::newRow("report view") << true
            << QStringList {"Label7", "LbPageNo", "Check1", "Check2", "Rt1", "LaDefult", "OptCharMode", "Tst",
                   "LbCodePage", "ChL"};
        QTest::newRow("sticker form") << false << QStringList {"Label1", "lb(2)", "ChKwIN", "Atxt(0)"};
    }

    void darkTheme_formsReadable()
    {
        QFETCH(bool, report);
        QFETCH(QStringList, controls);
        const QPalette kept = QApplication::palette();
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a));
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText})
            dark.setColor(role, Qt::white);
        dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        QApplication::setPalette(dark);
        const auto restore = qScopeGuard([kept] { QApplication::setPalette(kept); });
        std::unique_ptr<Frm0010Sticker> sticker(report ? nullptr : new Frm0010Sticker);
        FrmReport *view = report ? open(printFile("dark.prn", pagedBytes(1))) : nullptr;
        if (view)
            view->colorPanel();
        QWidget *form = report ? static_cast<QWidget *>(view) : sticker.get();
        for (const QString &name : controls) {
            const double ratio = TestSupport::contrast(control(form, name));
            QVERIFY2(ratio >= 4.5, qPrintable(QString("%1: %2").arg(name).arg(ratio)));
        }
    }

    void search_escapeStops()
    {
        // A search lets the events in from its first step: Escape, typed
        // before it began, stops it there and the view takes input again.
        FrmReport *view
            = open(printFile("long.prn", QByteArray("ab ab ab ab ab ab ab ab\r\n").repeated(3000) + "\f"));
        QTimer::singleShot(0, view, [view] { QTest::keyClick(control(view, "Text4"), Qt::Key_Escape); });
        ::search(view, "ab");
        QVERIFY(view->pageView()->marks().isEmpty());
        ::search(view, QString()); // Return alone: the box keeps "ab" and searches again
        QCOMPARE(view->pageView()->marks().size(), 8 * 3000);
    }

    void search_marksAMillionAtMost()
    {
        // One letter all over a large page: marked as far as a million
        // matches, then a word that the search stopped.
        FrmReport *view = open(printFile("many.prn", QByteArray(1100000, 'a') + "\f"));
        ::search(view, "a");
        const qsizetype marks = view->pageView()->marks().size();
        QVERIFY2(marks >= 1000000 && marks < 1100000, qPrintable(QString::number(marks)));
        QCOMPARE(MessageBox::shown().size(), 1);
        QVERIFY(MessageBox::shown().first().text.startsWith(QString("The search stopped at %1 matches").arg(marks)));
    }

    void highlight_selection()
    {
        FrmReport *view = open(printFile(QStringLiteral("hl.prn"), "highlight this\r\n\f"));
        view->pageView()->select(10, 14);
        view->findChild<QAction *>(QStringLiteral("ht"))->trigger();
        QCOMPARE(marksOf(view, Qt::red), QString("..........####.."));
        QCOMPARE(markAt(view, 11, Qt::red)->bold, -1); // ChHighlighte clear: the weight stays
    }

    // While the page is edited, a search marks every match in the edited
    // text, and "ht" (highlight) colours the selection, with the looks the
    // colour panel sets.
    void editMode_searchAndHighlightMarkTheText()
    {
        FrmReport *view = open(printFile(QStringLiteral("editsearch.prn"), pagedBytes(1)));
        QTest::mouseClick(control<QCheckBox>(view, "Check2"), Qt::LeftButton);
        QTextEdit *edit = view->editText();
        QVERIFY(edit->isVisible());
        const auto colourAt = [edit](int position) {
            QTextCursor at(edit->document());
            at.setPosition(position + 1);
            return at.charFormat().foreground().color();
        };
        const QString text = edit->toPlainText();
        const int first = int(text.indexOf("line")), second = int(text.indexOf("line", first + 1));
        QVERIFY(first > 0 && second > first);
        const QColor plain = colourAt(0);
        apply(view, {"Text4=line", "Text4!Return"});
        QTRY_VERIFY(colourAt(first) != plain);
        QCOMPARE(colourAt(second), colourAt(first));
        QCOMPARE(colourAt(first + 3), colourAt(first));
        QCOMPARE(colourAt(0), plain); // "Page" is not a match
        QTextCursor selection(edit->document());
        selection.setPosition(0);
        selection.setPosition(4, QTextCursor::KeepAnchor);
        edit->setTextCursor(selection);
        view->findChild<QAction *>(QStringLiteral("ht"))->trigger();
        QVERIFY(colourAt(0) != plain);
        QCOMPARE(colourAt(5), plain); // the blank after the selection
    }

    void editMode_unlocksPasteAndVsual()
    {
        FrmReport *view = open(printFile(QStringLiteral("edit.prn"), "\x1b" "EB\x1b" "F" + pagedBytes(2)));
        auto *vsual = control<QCheckBox>(view, "Check1");
        auto *edit = control<QCheckBox>(view, "Check2");
        auto *menu = view->findChild<QMenu *>(QStringLiteral("AQ"));
        const auto pasteOnMenu = [&] {
            QAbstractScrollArea *page = view->pageView();
            if (!view->editText()->isHidden())
                page = view->editText();
            QTest::mouseClick(page->viewport(), Qt::RightButton, {}, QPoint(10, 10));
            if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
                qWarning("context menu not shown");
            const bool enabled = view->findChild<QAction *>(QStringLiteral("pppp"))->isEnabled();
            menu->hide();
            return enabled;
        };
        QVERIFY(vsual->isChecked() && !pasteOnMenu());
        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(!view->editText()->isReadOnly() && !vsual->isChecked());
        // The page keeps the emphasis it was shown with: "Vsual" goes for the pages shown next.
        QTextCursor bold(view->editText()->document());
        bold.setPosition(3);
        QCOMPARE(bold.charFormat().fontWeight(), int(QFont::Bold));
        QCOMPARE(states(view, "Rt1.visible;PageView.visible;Op(1)"), "Rt1.visible=1;PageView.visible=0;Op(1)=1");
        QVERIFY(pasteOnMenu());
        // Left as it was, the page goes back to the page view.
        QTest::mouseClick(edit, Qt::LeftButton);
        QCOMPARE(states(view, "Rt1.visible;PageView.visible"), "Rt1.visible=0;PageView.visible=1");
        // Edited, it stays (locked) and is what prints, until another page shows.
        QTest::mouseClick(edit, Qt::LeftButton);
        view->editText()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(view->editText(), "X");
        QTest::mouseClick(edit, Qt::LeftButton);
        QVERIFY(view->editText()->isReadOnly() && view->editText()->isVisible());
        QByteArray bytes;
        QString error;
        QVERIFY(view->document().shownPageBytes(view->onScreen(), false, &bytes, &error));
        QCOMPARE(bytes, "X\x1b" "EB\x1b" "FPage 1\r\nsecond line\r\nthird line\r\n\f");
        click(view, "CmdNxt");
        QCOMPARE(states(view, "Rt1.visible;PageView.visible"), "Rt1.visible=0;PageView.visible=1");
        QVERIFY(view->document().shownPageBytes(view->onScreen(), false, &bytes, &error));
        QCOMPARE(bytes, "Page 2\r\nsecond line\r\nthird line\r\n\f");
    }

    void continuousView_wholeFileThenPagesAgain()
    {
        const QByteArray file = "first\npage\n\fsecond\n\x0fpage\x12\n\fthird\n\ftail";
        FrmReport *view = open(printFile(QStringLiteral("cont.prn"), file));
        click(view, "CmdNxt");
        click(view, "Check3");
        QCOMPARE(viewText(view), QString::fromLatin1(file));
        // One view over the file's own bytes, nothing copied; they print as they are.
        QCOMPARE(view->pageView()->lines()->index().bytes().data(), view->pages().bytes().constData());
        view->pageView()->select(6, 11);
        QByteArray bytes;
        QString error;
        QVERIFY(view->document().shownPageBytes(view->onScreen(), true, &bytes, &error)
            && view->document().hasSelection(view->onScreen()));
        QCOMPARE(bytes, "page\r\n"); // a line end as the printer takes it
        QCOMPARE(pageLabel(view), QStringLiteral("Page 2/4")); // the text after the last form feed is a page
        // Next replaces the whole file with the next page, and the box says
        // the view is paged again (Ctrl+End goes to the last page).
        click(view, "CmdNxt");
        QCOMPARE(viewText(view), QStringLiteral("third\n\f"));
        QVERIFY(!control<QCheckBox>(view, "Check3")->isChecked());
        QVERIFY(!view->document().continuous());
        QTest::keyClick(view->pageView(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(pageLabel(view), QStringLiteral("Page 4/4"));
        // Clearing the box reloads the file at page 1, counting the view once.
        click(view, "Check3");
        QVERIFY(view->document().continuous());
        const int count = OpenViewCount;
        click(view, "Check3");
        QCOMPARE(viewText(view), QStringLiteral("first\npage\n\f"));
        QCOMPARE(pageLabel(view), QStringLiteral("Page 1/4"));
        QCOMPARE(int(OpenViewCount), count);
    }

    void printedLook_sheetsCountedAndStored()
    {
        // One page of 140 lines prints on three 11 in sheets at 6 lines an
        // inch, on two 12 in ones.
        FrmReport *view = open(printFile(QStringLiteral("look.prn"), QByteArray("line\r\n").repeated(140)));
        apply(view, {"Label4", "ChkPrinted"});
        QCOMPARE(ReportViewFixture::states(view, "stored:Printed;SheetView.visible;PageView.visible;LbPageNo"),
            QStringLiteral("stored:Printed=1;SheetView.visible=1;PageView.visible=0;LbPageNo=Page 1/3"));
        apply(view, {"CboFormLength!Down"});
        QCOMPARE(ReportViewFixture::states(view, "stored:FormLength;LbPageNo"),
            QStringLiteral("stored:FormLength=12;LbPageNo=Page 1/2"));
        click(view, "CmdNxt");
        QCOMPARE(pageLabel(view), QStringLiteral("Page 2/2"));
        QVERIFY(view->sheetView()->sheet().firstByte > 0);
        // The emphasis look again: the text page, and the choice stored.
        click(view, "ChkPrinted");
        QCOMPARE(ReportViewFixture::states(view, "stored:Printed;SheetView.visible;PageView.visible;LbPageNo"),
            QStringLiteral("stored:Printed=0;SheetView.visible=0;PageView.visible=1;LbPageNo=Page 1/1"));
    }

    // A view that opens straight into the stored printed look starts on
    // sheet 1 as the text look does: Back disabled, Next enabled.
    void printedLook_opensOnSheetOne()
    {
        ReportViewSettings::savePrintedLook(true);
        FrmReport *view = open(printFile(QStringLiteral("opened.prn"), QByteArray("line\r\n").repeated(140)));
        QCOMPARE(ReportViewFixture::states(view, "SheetView.visible;LbPageNo;CmdBck.enabled;CmdNxt.enabled"),
            QStringLiteral("SheetView.visible=1;LbPageNo=Page 1/3;CmdBck.enabled=0;CmdNxt.enabled=1"));
    }

    void contextMenu_atThePointer_data()
    {
        QTest::addColumn<bool>("printed");
        QTest::newRow("text look") << false;
        QTest::newRow("printed look") << true;
    }

    void contextMenu_atThePointer()
    {
        // The same point of the box opens the menu at the same place, however far the page is
        // scrolled (the printed look opened it lower by the scroll).
        FrmReport *view = open(printFile(QStringLiteral("menu.prn"), QByteArray("line\r\n").repeated(300)));
        QFETCH(bool, printed);
        if (printed)
            apply(view, {"Label4", "ChkPrinted"});
        QAbstractScrollArea *area
            = printed ? static_cast<QAbstractScrollArea *>(view->sheetView()) : view->pageView();
        QWidget *target = printed ? view->sheetView()->widget() : area->viewport();
        auto *menu = view->findChild<QMenu *>(QStringLiteral("AQ"));
        const auto menuAt = [&] {
            const QPoint inViewport(20, 20);
            QTest::mouseClick(target, Qt::RightButton, {}, target->mapFrom(area->viewport(), inViewport));
            if (!QTest::qWaitFor([menu] { return menu->isVisible(); }))
                qWarning("context menu not shown");
            const QPoint at = menu->pos();
            menu->hide();
            return at;
        };
        const QPoint unscrolled = menuAt();
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        QVERIFY(area->verticalScrollBar()->value() > 50);
        QCOMPARE(menuAt(), unscrolled);
    }

    void printedLook_printerModelChosenAndShown()
    {
        // 76 lines at ESC 3 30: 1/6 in on 24 pins (two 11 or 12 in sheets), 30/216
        // in on 9 (one sheet). Auto takes 24 pins from the round spacing and
        // says so; a model chosen is stored and needs no word.
        FrmReport *view = open(printFile(QStringLiteral("model.prn"), QByteArray("\x1b" "3\x1e") + QByteArray("line\r\n").repeated(76)));
        apply(view, {"Label4", "ChkPrinted"});
        QCOMPARE(ReportViewFixture::states(view, "LbPageNo;LbModelTaken"),
            QStringLiteral("LbPageNo=Page 1/2;LbModelTaken=Read as: 24-pin printer (ESC/P)"));
        apply(view, {"CboPrinterModel!Down"});
        QCOMPARE(ReportViewFixture::states(view, "stored:PrinterModel;LbPageNo;LbModelTaken"),
            QStringLiteral("stored:PrinterModel=9-pin;LbPageNo=Page 1/1;LbModelTaken="));
    }
};

QTEST_MAIN(TestFrmReportView)
#include "tst_frmreport_view.moc"
