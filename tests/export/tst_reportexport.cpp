// The report view's export buttons as the user drives them: the format
// chosen from the name, the pages chosen in the print panel, cancel and
// failures, and the two-click workbook export.
#include "../report/ReportViewFixture.h"
#include "ExportReaders.h"
#include "controls/JeweledButton.h"
#include "gui/export/ReportExport.h"
#include "gui/platform/Dialogs.h"
#include "gui/platform/MessageBox.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace ReportViewFixture;
using namespace ExportReaders;

namespace {

// Three pages with emphasis: bold on page 1, condensed on page 2,
// underlined on page 3.
const QByteArray Emphasised = "Page 1 \x1b"
                              "EBOLDTEXT\x1b"
                              "F plain\r\nline two\r\n\f"
                              "Page 2 \x0f"
                              "CONDENSED\x12 end\r\n\f"
                              "Page 3 {brace} \x1b-1ul\x1b-0\r\n\f";

// A 30-character line, another, and a second page.
const QByteArray Columns = "ABCDEFGHIJabcdefghijklmno12345\r\n"
                           "0123456789klmnopqrstuvwxyzTAIL\r\n\fpage two\r\n\f";

QString kindOf(const QByteArray &bytes)
{
    if (bytes.startsWith("<HTML>\r\n"))
        return QStringLiteral("web page");
    return bytes.startsWith("{\\rtf") ? QStringLiteral("rich text") : QStringLiteral("plain text");
}

QByteArray rgb(const QColor &c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()).toLatin1();
}

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        m_dir.reset(new QTemporaryDir); // each test starts from an empty folder
        QVERIFY(m_dir->isValid());
        Dialogs::setTestMode(true);
        MessageBox::clearShown();
    }
    void cleanup() { closeAll(); }

    void formatFromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow(".html") << "out.html"
                               << "web page";
        QTest::newRow(".HTML") << "out.HTML"
                               << "web page";
        QTest::newRow(".htm is rich text") << "out.htm"
                                           << "rich text";
        QTest::newRow(".txt") << "out.txt"
                              << "plain text";
        QTest::newRow(".TXT is rich text") << "out.TXT"
                                           << "rich text";
        QTest::newRow("no extension") << "out"
                                      << "rich text";
    }

    void formatFromName()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        FrmReport *view = openView(Emphasised);
        QVERIFY(view);
        exportAs(view, path(name));
        QCOMPARE(Dialogs::asked().last().kind, QStringLiteral("save"));
        QCOMPARE(Dialogs::asked().last().filter, ReportExport::Filter);
        QCOMPARE(kindOf(TestSupport::readFile(path(name))), kind);
        // Only the web page tells the user it is done.
        if (kind == QLatin1String("web page")) {
            QCOMPARE(MessageBox::shown().size(), 1);
            QCOMPARE(MessageBox::shown().first().text, QStringLiteral(" Export Complete "));
            QCOMPARE(MessageBox::shown().first().icon, QMessageBox::NoIcon);
        } else {
            QVERIFY(MessageBox::shown().isEmpty());
        }
    }

    void chosenPages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("option"); // Op(i)
        QTest::addColumn<int>("nextClicks");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QList<int>>("pages"); // 0-based, in the file
        QTest::newRow("text, current page 3") << "p.txt" << 1 << 2 << ""
                                              << "" << QList<int> {2};
        QTest::newRow("text, all pages") << "p.txt" << 0 << 0 << ""
                                         << "" << QList<int> {0, 1, 2, 3};
        QTest::newRow("text, range 2 to 3") << "p.txt" << 2 << 0 << "2"
                                            << "3" << QList<int> {1, 2};
        QTest::newRow("text, range past the end") << "p.txt" << 2 << 0 << "3"
                                                  << "9" << QList<int> {2, 3};
        QTest::newRow("text, range from 0") << "p.txt" << 2 << 0 << "0"
                                            << "1" << QList<int> {0};
        QTest::newRow("text, end too large for a page number") << "p.txt" << 2 << 0 << "2"
                                                               << "99999" << QList<int> {1, 2, 3};
        QTest::newRow("text, start too large for a page number") << "p.txt" << 2 << 0 << "99999"
                                                                 << "4" << QList<int> {};
        QTest::newRow("text, 1.6 to 2.5: nearest, halves to even") << "p.txt" << 2 << 0 << "1.6"
                                                                   << "2.5" << QList<int> {1};
        QTest::newRow("rich text, current page 3") << "p.rtf" << 1 << 2 << ""
                                                   << "" << QList<int> {2};
        QTest::newRow("rich text, range 2 to 3") << "p.rtf" << 2 << 0 << "2"
                                                 << "3" << QList<int> {1, 2};
    }

    void chosenPages()
    {
        QFETCH(QString, name);
        QFETCH(int, option);
        QFETCH(int, nextClicks);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QList<int>, pages);
        FrmReport *view = openView(pagedBytes(4));
        QVERIFY(view);
        for (int i = 0; i < nextClicks; ++i)
            QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
        control<QRadioButton>(view, QStringLiteral("Op(%1)").arg(option))->click();
        control<QLineEdit>(view, "Tst")->setText(start);
        control<QLineEdit>(view, "Tend")->setText(end);
        exportAs(view, path(name));

        QByteArray expected;
        for (int i : pages)
            expected += view->pages().pageBytes(i) + '\f';
        if (option == 1)
            QCOMPARE(expected, QByteArray("Page 3\r\nsecond line\r\nthird line\r\n\f"));
        const QByteArray written = TestSupport::readFile(path(name));
        if (name.endsWith(".txt"))
            QCOMPARE(written, expected);
        else
            QCOMPARE(readRtf(written).text, QString::fromLatin1(expected).replace("\r\n", "\n"));
    }

    // The markup passes run over the chosen pages: the sequences are hidden,
    // the regions carry their emphasis in the swatches' colours.
    void richText_emphasisInSwatchColours()
    {
        FrmReport *view = openView(Emphasised);
        QVERIFY(view);
        exportAs(view, path("all.rtf"));
        const RtfContent read = readRtf(TestSupport::readFile(path("all.rtf")));
        QVERIFY(read.wellFormed);
        QCOMPARE(read.text, QString::fromLatin1(Emphasised).replace("\r\n", "\n"));
        QMap<QString, RtfRun> runs;
        for (const RtfRun &run : read.runs)
            runs[run.text] = run;
        const RtfRun plain = runs.value("Page 1 "), bold = runs.value("BOLDTEXT");
        QVERIFY(!plain.bold && !plain.underline && !plain.colour.isValid());
        QCOMPARE(plain.font, QString("Courier New"));
        QCOMPARE(plain.halfPoints, 23); // 11.25 points
        QVERIFY(bold.bold);
        QCOMPARE(bold.colour, view->swatchColor(1));
        QCOMPARE(runs.value("CONDENSED").colour, view->swatchColor(3));
        QCOMPARE(runs.value("CONDENSED").halfPoints, 14);
        QVERIFY(runs.value("ul").underline && !runs.value("ul").bold);
        QCOMPARE(runs.value("\x1b"
                            "E")
                     .halfPoints,
            2);
        QVERIFY(MessageBox::shown().isEmpty());

        // Another RTF reader (unrtf) sees the same.
        const QString unrtf = QStandardPaths::findExecutable("unrtf");
        if (unrtf.isEmpty())
            QSKIP("unrtf is not installed (tools/deps.sh installs it)");
        QProcess process;
        process.start(unrtf, {"--html", path("all.rtf")});
        process.waitForFinished(30000);
        const QString html = QString::fromLatin1(process.readAllStandardOutput());
        QVERIFY2(html.contains("<b>BOLDTEXT") && html.contains("<u>ul") && html.contains("{brace}"),
            qPrintable(html));
        QVERIFY2(html.contains(view->swatchColor(1).name(), Qt::CaseInsensitive), qPrintable(html));
    }

    // The web page is the whole file, whatever the page options say.
    void webPage_wholeFileInSwatchColours()
    {
        FrmReport *view = openView(Emphasised);
        QVERIFY(view);
        control<QRadioButton>(view, "Op(1)")->click();
        exportAs(view, path("page.html"));
        const QByteArray html = TestSupport::readFile(path("page.html"));
        QVERIFY(html.startsWith(
            "<HTML>\r\n<body  bgcolor='" + view->swatchColor(4).name().toUpper().toLatin1() + "';>\r\n"));
        QVERIFY(html.contains(
            "<br>Page&nbsp;1&nbsp;<b  style = ' color:" + rgb(view->swatchColor(1)) + ";'>BOLDTEXT</b>"));
        QVERIFY(html.contains("Page&nbsp;3&nbsp;{brace}"));
    }

    void cancel_exportsNothing()
    {
        FrmReport *view = openView(pagedBytes(2));
        QVERIFY(view);
        // Cancelled with no name before: nothing anywhere, nothing said.
        QTest::mouseClick(control(view, "JeweledButton1"), Qt::LeftButton);
        QCOMPARE(Dialogs::asked().size(), 1);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList());
        QVERIFY(MessageBox::shown().isEmpty());

        // Cancelled after an export: the earlier file is not written again.
        exportAs(view, path("again.txt"));
        QVERIFY(QFile::remove(path("again.txt")));
        QTest::mouseClick(control(view, "JeweledButton1"), Qt::LeftButton);
        QVERIFY(!QFile::exists(path("again.txt")));
    }

    void workbookName_offersTheWorkbookButton()
    {
        FrmReport *view = openView(pagedBytes(2));
        QVERIFY(view);
        auto *button = control<JeweledButton>(view, "CmdExelExp");
        QVERIFY(button->isHidden());
        QCOMPARE(button->text(), QStringLiteral("Exel Export"));
        for (const QString &name : {QStringLiteral("book.xls"), QStringLiteral("book.XLSX")}) {
            exportAs(view, path(name));
            QVERIFY(!QFile::exists(path(name))); // kept for the workbook, no rich text in it
            QVERIFY(!button->isHidden());
            QCOMPARE(button->text(), QStringLiteral("Excel Export"));
        }
        // Marking goes on when another workbook name is chosen meanwhile.
        QTest::mouseClick(button, Qt::LeftButton);
        exportAs(view, path("other.xls"));
        QCOMPARE(button->text(), QStringLiteral("Finsh Record Click"));
        QCOMPARE(button->tag(), QStringLiteral("1"));
        // Any other name takes the button away, and marking with it, so no
        // workbook is saved over that file.
        exportAs(view, path("notes.txt"));
        QVERIFY(button->isHidden());
        QCOMPARE(button->tag(), QStringLiteral("0"));
        QCOMPARE(view->columnMarkCount(), 0);
        QVERIFY(QFile::exists(path("notes.txt")));
    }

    void failures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("printFileGone");
        QTest::newRow("web page, no such folder") << "missing/out.html" << false;
        QTest::newRow("plain text, no such folder") << "missing/out.txt" << false;
        QTest::newRow("rich text, no such folder") << "missing/out.rtf" << false;
        QTest::newRow("web page, print file gone") << "gone.html" << true;
    }

    void failures()
    {
        QFETCH(QString, name);
        QFETCH(bool, printFileGone);
        FrmReport *view = openView(Emphasised);
        QVERIFY(view);
        if (printFileGone)
            QVERIFY(QFile::remove(view->reportFile()));
        exportAs(view, path(name));
        expectFailure(printFileGone ? view->reportFile() : path(name));
    }

    void workbook_twoClicks_data()
    {
        QTest::addColumn<QList<int>>("columns");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("cells"); // "A1=text"
        QTest::newRow("marks 10 and 25") << QList<int> {10, 25} << "book.xls"
                                         << QStringList {"A1=ABCDEFGHIJ", "A2=0123456789", "A3=page two",
                                                "B1=abcdefghijklmno", "B2=klmnopqrstuvwxy"};
        QTest::newRow("marks 25 then 10: the backward piece writes nothing")
            << QList<int> {25, 10} << "book.xlsx"
            << QStringList {"A1=ABCDEFGHIJabcdefghijklmno", "A2=0123456789klmnopqrstuvwxy", "A3=page two"};
        QTest::newRow("no caret move: every piece is empty") << QList<int> {} << "book.XLS" << QStringList {};
    }

    void workbook_twoClicks()
    {
        QFETCH(QList<int>, columns);
        QFETCH(QString, name);
        QFETCH(QStringList, cells);
        FrmReport *view = viewWithWorkbookName(path(name));
        QVERIFY(view);
        auto *button = control<JeweledButton>(view, "CmdExelExp");
        QVERIFY(!button->isHidden());

        // First click: marking on, nothing written.
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), QStringLiteral("Finsh Record Click"));
        QVERIFY2(button->width() >= button->sizeHint().width(), "the caption is cut off");
        QVERIFY(!QFile::exists(path(name)));
        for (int column : columns)
            QVERIFY2(markColumn(view, column), qPrintable(QString::number(column)));
        for (int i = 0; i < columns.size(); ++i)
            QCOMPARE(int(view->columnMarks().at(i + 1)), columns.at(i));

        // While it runs: the next row in the search box, the window disabled
        // under a busy cursor.
        auto *Text4 = control<QLineEdit>(view, "Text4");
        QStringList shownRows;
        bool busyThroughout = true;
        connect(Text4, &QLineEdit::textChanged, this, [&](const QString &text) {
            if (text.isEmpty())
                return;
            shownRows << text;
            busyThroughout = busyThroughout && !view->isEnabled() && QApplication::overrideCursor()
                && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        QTest::mouseClick(button, Qt::LeftButton);

        // Lines: two, form feed and "page two", the last form feed.
        QCOMPARE(shownRows, (QStringList {"2", "3", "4", "5"}));
        QVERIFY(busyThroughout);
        QVERIFY(Text4->text().isEmpty());
        QCOMPARE(sheetLines(path(name)), cells);
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral(" Export Complete "));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
        QVERIFY(button->isHidden());
        QCOMPARE(button->tag(), QStringLiteral("0"));
        QVERIFY(view->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // Marking is off: caret moves record nothing more.
        const QVector<qint16> marks = view->columnMarks();
        QTest::keyClick(view->rt1(), Qt::Key_End);
        QTest::qWait(400);
        QCOMPARE(view->columnMarks(), marks);
    }

    void workbook_cannotBeSaved()
    {
        const QString book = path(QStringLiteral("missing/book.xls"));
        FrmReport *view = viewWithWorkbookName(book);
        QVERIFY(view);
        auto *button = control<JeweledButton>(view, "CmdExelExp");
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(markColumn(view, 10));
        QTest::mouseClick(button, Qt::LeftButton);
        expectFailure(book);
        QVERIFY(view->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(control<QLineEdit>(view, "Text4")->text().isEmpty());

        // The button stays for another try with the same marks.
        QVERIFY(!button->isHidden());
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("missing")));
        MessageBox::clearShown();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(sheetCells(book).value(QStringLiteral("A1")), QStringLiteral("ABCDEFGHIJ"));
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral(" Export Complete "));
    }

private:
    FrmReport *openView(const QByteArray &bytes)
    {
        return open(printFile(QStringLiteral("export.prn"), bytes));
    }
    void exportAs(FrmReport *view, const QString &name)
    {
        Dialogs::setNextFileName(name);
        QTest::mouseClick(control(view, "JeweledButton1"), Qt::LeftButton);
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
    }

    // Opens a view on the column lines, names the workbook in the export
    // dialog, and waits for the status line to settle.
    FrmReport *viewWithWorkbookName(const QString &workbook)
    {
        FrmReport *view = openView(Columns);
        if (!view)
            return nullptr;
        exportAs(view, workbook);
        view->rt1()->setTextCursor(QTextCursor(view->rt1()->document()));
        if (!QTest::qWaitFor([view] { return view->statusTag() == QLatin1String("1"); }))
            qWarning("status line did not settle");
        return view;
    }

    // Moves the caret to `column` of the first line with keys and waits for
    // the status-line refresh to record it.
    static bool markColumn(FrmReport *view, int column)
    {
        const int before = view->columnMarkCount();
        QTest::keyClick(view->rt1(), Qt::Key_Home);
        for (int i = 0; i < column; ++i)
            QTest::keyClick(view->rt1(), Qt::Key_Right);
        return QTest::qWaitFor([&] { return view->columnMarkCount() == before + 1; });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
