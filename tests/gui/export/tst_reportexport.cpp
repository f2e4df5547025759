// The report view's export buttons as the user drives them: the format chosen
// from the name, the pages chosen in the print panel, the swatches handed on,
// cancel and failures, and the two-click workbook export. What each output
// holds is checked on the engine (tst_textexports, tst_htmlexport).
#include "../report/ReportViewFixture.h"
#include "ExportReaders.h"
#include "report/ReportViewSettings.h"
#include "gui/controls/JeweledButton.h"
#include "export/PlainTextExport.h"
#include "export/RichTextExport.h"
#include "gui/export/ReportExport.h"
#include "gui/platform/MessageBox.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace ReportViewFixture;
using namespace ExportReaders;

namespace {

const QByteArray Emphasised = "Page 1 \x1b"
                              "EBOLD\x1b"
                              "F\r\n\fPage 2 \x0f"
                              "COND\x12\r\n\f";

// A 30-character line, another, and a second page.
const QByteArray Columns = "ABCDEFGHIJabcdefghijklmno12345\r\n"
                           "0123456789klmnopqrstuvwxyzTAIL\r\n\fpage two\r\n\f";

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::initWindows(); }
    void init()
    {
        m_dir.reset(new QTemporaryDir); // each test starts from an empty folder
        QVERIFY(m_dir->isValid());
        Dialogs::setTestMode(true);
        MessageBox::clearShown();
    }
    void cleanup() { closeAll(); }

    void dialogFilterShowsEachTypeOnce()
    {
        QCOMPARE(Dialogs::qtFilter(ReportExport::filter()),
            QStringLiteral(
                "Rich Text Format (*.rtf);;Text  (*.txt);;Excel WorkBook (*.xls);;Web Page (*.HTML);;"
                "PDF Document (*.pdf)"));
        QCOMPARE(Dialogs::qtFilter(" Txt File(*.txt)|*.txt"), QStringLiteral("Txt File(*.txt)"));
        QCOMPARE(Dialogs::qtFilter("Print files|*.prn"), QStringLiteral("Print files (*.prn)"));
    }

    void formatFromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>(
            "begins"); // empty: no file (the name waits for the workbook); "!": refused
        const auto row = [](const char *name, const char *begins) {
            QTest::newRow(name) << QString(name) << QByteArray(begins);
        };
        row("out.html", "<HTML>");
        row("out.htm", "{\\rtf");
        row("out.txt", "Page 1 \033E");
        row("out.TXT", "{\\rtf");
        row("out.PDF", "%PDF");
        row("book.xls", "");
        row("missing/out.html", "!");
        row("missing/out.pdf", "!");
        row("missing/out.rtf", "!");
        row("out.png", "!"); // pictures are of the printed look's sheets, never rich text
        row("gone.html", "!"); // the print file gone
    }

    void formatFromName()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, begins);
        FrmReport *view = openView(Emphasised);
        if (name == "gone.html")
            QVERIFY(QFile::remove(view->reportFile()));
        exportAs(view, path(name));
        if (begins == "!")
            return expectFailure(name == "gone.html" ? view->reportFile() : path(name));
        QCOMPARE(Dialogs::asked().last().kind, QStringLiteral("save"));
        QCOMPARE(Dialogs::asked().last().filter, ReportExport::filter());
        QCOMPARE(QFile::exists(path(name)), !begins.isEmpty());
        QVERIFY(TestSupport::readFile(path(name)).startsWith(begins));
        QCOMPARE(control(view, "CmdExelExp")->isHidden(), !begins.isEmpty());
        // Only the web page tells the user it is done.
        const bool told = begins == "<HTML>";
        QCOMPARE(MessageBox::shown().size(), int(told));
        if (told) {
            QCOMPARE(MessageBox::shown().first().text, ReportExport::completeMessage());
            QCOMPARE(MessageBox::shown().first().icon, QMessageBox::NoIcon);
        }
    }

    void typedNameTakesChosenEnding_data()
    {
        // A name typed without an ending is saved with the ending of the
        // type chosen in the dialog; a name with one keeps it.
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("chosenType");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QByteArray>("begins");
        QTest::newRow("PDF chosen") << "report" << 4 << "report.pdf" << QByteArray("%PDF");
        QTest::newRow("web page chosen") << "report" << 3 << "report.html" << QByteArray("<HTML>");
        QTest::newRow("text chosen") << "report" << 1 << "report.txt" << QByteArray("Page 1");
        QTest::newRow("an ending typed stays") << "report.rtf" << 4 << "report.rtf" << QByteArray("{\\rtf");
        QTest::newRow("a dot in the folder is no ending") << "v1.2/report" << 4 << "v1.2/report.pdf" << QByteArray("%PDF");
    }

    void typedNameTakesChosenEnding()
    {
        QFETCH(QString, typed);
        QFETCH(int, chosenType);
        QFETCH(QString, written);
        QFETCH(QByteArray, begins);
        QDir(m_dir->path()).mkdir("v1.2");
        FrmReport *view = openView(Emphasised);
        Dialogs::setNextFileName(path(typed), chosenType);
        click(view, "JeweledButton1");
        QVERIFY(!QFile::exists(path(typed)) || typed == written);
        QVERIFY(TestSupport::readFile(path(written)).startsWith(begins));
    }

    void chosenPages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("steps"); // as ReportViewFixture::apply takes them
        QTest::addColumn<QList<int>>("pages");  // 0-based, in the file
        const auto row
            = [](const char *name, const QStringList &steps, QList<int> pages, const char *file = "p.txt") {
                  QTest::newRow(name) << QString(file) << steps << pages;
              };
        row("current page 3", {"CmdNxt", "CmdNxt", "Op(1)=1"}, {2});
        row("all pages", {}, {0, 1, 2, 3});
        row("range 2 to 3", {"Op(2)=1", "Tst=2", "Tend=3"}, {1, 2});
        row("range past the end", {"Op(2)=1", "Tst=3", "Tend=9"}, {2, 3});
        row("1.6 to 2.5: nearest, halves to even", {"Op(2)=1", "Tst=1.6", "Tend=2.5"}, {1});
        row("PDF, range 2 to 3", {"Op(2)=1", "Tst=2", "Tend=3"}, {1, 2}, "p.pdf");
    }

    // The file the button writes is the one the engine writes for the chosen
    // pages in the view's colours (the outputs are checked in tst_textexports).
    void chosenPages()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, pages);
        FrmReport *view = openView(pagedBytes(4));
        apply(view, steps);
        exportAs(view, path(name));
        const QString engine = path("engine");
        QString error;
        if (name.endsWith(".pdf")) {
            const QString text = TestSupport::pdfText(path(name), false);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(text.contains(QStringLiteral("Page %1").arg(i + 1)), pages.contains(i));
            return;
        }
        QVERIFY(name.endsWith(".txt")
                ? savePlainText(engine, view->pages(), pages, &error)
                : saveRichText(engine, view->pages(), pages, view->document().markup(), &error));
        QCOMPARE(TestSupport::readFile(path(name)), TestSupport::readFile(engine));
    }

    // A range that starts past the last page writes no file (an empty text
    // file and an empty rich text document had been told as done).
    // A range that holds no page is refused with its own cause (a range
    // typed backwards had been told its first page was past the last).
    void rangePastTheEnd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("said");
        for (const char *name : {"p.txt", "p.rtf", "p.pdf"})
            QTest::addRow("%s past the end", name) << QString(name) << "9" << "12" << "Page 9 is past the last page (4).";
        QTest::newRow("backwards") << "p.txt" << "3" << "2" << "The range from page 3 to 2 runs backwards.";
        QTest::newRow("no end") << "p.rtf" << "2" << "" << "Page numbers start at 1: page 2 to 0 is no range.";
    }
    void rangePastTheEnd()
    {
        QFETCH(QString, name);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, said);
        FrmReport *view = openView(pagedBytes(4));
        apply(view, {"Op(2)=1", "Tst=" + first, "Tend=" + last});
        exportAs(view, path(name));
        QTRY_COMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, said);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
    }

    // The swatches reach the web page, which is the whole file whatever the
    // page options say, and the rich text.
    void outputsTakeTheSwatches()
    {
        FrmReport *view = openView(Emphasised);
        control<QRadioButton>(view, "Op(1)")->click();
        exportAs(view, path("page.html"));
        const QString html = QString::fromLatin1(TestSupport::readFile(path("page.html")));
        const QColor bold = view->swatchColor(1);
        QVERIFY(html.contains("bgcolor='" + view->swatchColor(4).name().toUpper() + "'"));
        const QString rgb
            = QStringLiteral("rgb(%1,%2,%3);'>BOLD").arg(bold.red()).arg(bold.green()).arg(bold.blue());
        QVERIFY(html.contains(rgb) && html.contains("Page&nbsp;2"));
    }

    void cancel_exportsNothing()
    {
        FrmReport *view = openView(pagedBytes(2));
        // Cancelled with no name before: nothing anywhere, nothing said.
        click(view, "JeweledButton1");
        QCOMPARE(Dialogs::asked().size(), 1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
        QVERIFY(MessageBox::shown().isEmpty());
    }

    void workbookName_offersTheWorkbookButton()
    {
        FrmReport *view = openView(pagedBytes(2));
        auto *button = control<JeweledButton>(view, "CmdExelExp");
        QVERIFY(button->isHidden());
        exportAs(view, path("book.xls"));
        QVERIFY(!button->isHidden());
        QCOMPARE(button->text(), ReportExport::idleCaption());
        click(view, "CmdExelExp"); // marking on
        // Any other name takes the button away, and marking with it, so no
        // workbook is saved over that file.
        exportAs(view, path("notes.txt"));
        QVERIFY(button->isHidden());
        QVERIFY(!view->markingColumns());
        QCOMPARE(view->columnMarkCount(), 0);
        QVERIFY(QFile::exists(path("notes.txt")));
    }

    // The first try cannot save (no such folder) and keeps the button for
    // another try with the same marks; the second writes the workbook.
    void workbook_twoClicks()
    {
        const QString book = path(QStringLiteral("missing/book.xls"));
        FrmReport *view = viewWithWorkbookName(book);
        auto *button = control<JeweledButton>(view, "CmdExelExp");
        auto *Text4 = control<QLineEdit>(view, "Text4");
        // First click: marking on, nothing written.
        click(view, "CmdExelExp");
        QCOMPARE(button->text(), ReportExport::finishCaption());
        QVERIFY(markColumn(view, 10) && markColumn(view, 25));
        click(view, "CmdExelExp");
        expectFailure(book);
        QVERIFY(view->isEnabled() && !QApplication::overrideCursor() && Text4->text().isEmpty());
        QVERIFY(!button->isHidden());
        // While it runs: the next row in the search box, the window disabled
        // under a busy cursor.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("missing")));
        MessageBox::clearShown();
        QStringList shownRows;
        bool busyThroughout = true;
        connect(Text4, &QLineEdit::textChanged, this, [&](const QString &text) {
            if (text.isEmpty())
                return;
            shownRows << text;
            busyThroughout = busyThroughout && !view->isEnabled() && QApplication::overrideCursor()
                && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        click(view, "CmdExelExp");
        // Lines: two, form feed and "page two", the last form feed.
        QCOMPARE(shownRows, (QStringList {"2", "3", "4", "5"}));
        QVERIFY(busyThroughout);
        QVERIFY(Text4->text().isEmpty());
        QCOMPARE(sheetLines(book),
            (QStringList {"A1=ABCDEFGHIJ", "A2=0123456789", "A3=page two", "B1=abcdefghijklmno",
                "B2=klmnopqrstuvwxy", "C1=12345", "C2=zTAIL"}));
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, ReportExport::completeMessage());
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
        QVERIFY(button->isHidden());
        QVERIFY(view->isEnabled() && !QApplication::overrideCursor());
        // The marks are gone from the page with the marking (they had stayed
        // drawn until the caret next moved).
        QVERIFY(view->pageView()->columnMarks().isEmpty());
    }

    // The columns are marked at the caret, which the printed look has not:
    // marking turns the view to its text. In the printed look no mark was
    // recorded and an empty workbook was written and called complete.
    void workbook_markedFromThePrintedLook()
    {
        const QString book = path(QStringLiteral("printed.xls"));
        FrmReport *view = viewWithWorkbookName(book);
        view->findChild<QAction *>(QStringLiteral("ActPrinted"))->trigger();
        QVERIFY(view->printedLook());
        click(view, "CmdExelExp");
        QVERIFY(!view->printedLook() && view->markingColumns());
        QVERIFY(markColumn(view, 10));
        click(view, "CmdExelExp");
        QCOMPARE(sheetLines(book).mid(0, 2), (QStringList {"A1=ABCDEFGHIJ", "A2=0123456789"}));
        QCOMPARE(MessageBox::shown().last().text, ReportExport::completeMessage());
        ReportViewSettings::savePrintedLook(false); // as the other tests expect it
    }

private:
    FrmReport *openView(const QByteArray &bytes)
    {
        FrmReport *view = open(printFile(QStringLiteral("export.prn"), bytes));
        if (!view)
            qFatal("no report view");
        return view;
    }
    void exportAs(FrmReport *view, const QString &name)
    {
        Dialogs::setNextFileName(name);
        click(view, "JeweledButton1");
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }

    // One error box naming the file, no file written and nothing
    // half-written beside it.
    void expectFailure(const QString &named)
    {
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
        QCOMPARE(MessageBox::shown().size(), 1);
        const MessageBox::Record shown = MessageBox::shown().first();
        QCOMPARE(shown.icon, QMessageBox::Critical);
        QVERIFY2(shown.text.contains(QDir::toNativeSeparators(named)), qPrintable(shown.text));
        // The progress is over before the box: no modal over a modal.
        QCOMPARE(shown.dialogs, QStringList());
    }

    // Opens a view on the column lines, names the workbook in the export
    // dialog, and waits for the status line to settle.
    FrmReport *viewWithWorkbookName(const QString &workbook)
    {
        FrmReport *view = openView(Columns);
        exportAs(view, workbook);
        view->pageView()->select(0, 0);
        if (!QTest::qWaitFor([view] { return view->captionCurrent(); }))
            qWarning("status line did not settle");
        return view;
    }

    // Moves the caret to `column` of the first line with keys and waits for
    // the status-line refresh to record it.
    static bool markColumn(FrmReport *view, int column)
    {
        const int before = view->columnMarkCount();
        QTest::keyClick(view->pageView(), Qt::Key_Home);
        for (int i = 0; i < column; ++i)
            QTest::keyClick(view->pageView(), Qt::Key_Right);
        // Recorded, and shown on the page.
        return QTest::qWaitFor([&] { return view->columnMarkCount() == before + 1; })
            && view->columnMarks().at(before) == column // element 0 is the line start
            && QTest::qWaitFor([&] { return view->pageView()->columnMarks().contains(column); });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
