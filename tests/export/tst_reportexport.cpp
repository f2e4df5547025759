// The report view's export button: the format chosen from the name, the
// pages chosen in the print panel, cancel and failures, through the view.
#include "../report/ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "export/ReportExport.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace ReportViewFixture;

namespace {

const QByteArray BoldOnBytes("\x1b"
                             "E");
const QByteArray BoldOffBytes("\x1b"
                              "F");

// Three pages with emphasis: bold on page 1, condensed on page 2.
QByteArray emphasisedBytes()
{
    return QByteArray("Page 1 ") + BoldOnBytes + "BOLDTEXT" + BoldOffBytes + " plain\r\nline two\r\n\f"
        + "Page 2 \x0f"
          "CONDENSED\x12 end\r\n\f"
        + "Page 3 {brace}\r\n\f";
}

// What kind of file an export wrote, from its first bytes.
QString kindOf(const QByteArray &bytes)
{
    if (bytes.startsWith("<HTML>\r\n"))
        return QStringLiteral("web page");
    if (bytes.startsWith("{\\rtf"))
        return QStringLiteral("rich text");
    return QStringLiteral("plain text");
}

} // namespace

class TestReportExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }
    void init()
    {
        QVERIFY(m_dir.isValid());
        Dialogs::setTestMode(true);
        MessageBox::clearShown();
    }
    void cleanup() { closeAll(); }

    void formatFromName_data();
    void formatFromName();
    void plainText_pages_data();
    void plainText_pages();
    void richText_allPagesWithEmphasis();
    void webPage_wholeFileInSwatchColours();
    void cancel_exportsNothing();
    void workbookName_offersTheWorkbookButton();
    void failures_data();
    void failures();

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
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestReportExport::formatFromName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");

    QTest::newRow(".html") << "out.html"
                           << "web page";
    QTest::newRow(".HTML") << "out.HTML"
                           << "web page";
    QTest::newRow(".Html") << "out.Html"
                           << "web page";
    QTest::newRow(".htm is rich text") << "out.htm"
                                       << "rich text";
    QTest::newRow(".txt") << "out.txt"
                          << "plain text";
    QTest::newRow(".TXT is rich text") << "out.TXT"
                                       << "rich text";
    QTest::newRow(".rtf") << "out.rtf"
                          << "rich text";
    QTest::newRow("no extension") << "out"
                                  << "rich text";
}

void TestReportExport::formatFromName()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);

    FrmReport *view = openView(emphasisedBytes());
    QVERIFY(view);
    QFile::remove(path(name));
    exportAs(view, path(name));

    const Dialogs::Asked asked = Dialogs::asked().last();
    QCOMPARE(asked.kind, QStringLiteral("save"));
    QCOMPARE(asked.filter,
        QStringLiteral(" Rich Text Format (*.rtf)|*.rtf| Text  (*.txt) |*.txt| Excel "
                       "WorkBook (*.xls)|*.xls| Web Page (*.HTML)|*.html"));
    QVERIFY(QFile::exists(path(name)));
    QCOMPARE(kindOf(TestSupport::readFile(path(name))), kind);
    QCOMPARE(ReportExport::of(view)->lastFileName(), path(name));

    // Only the web page tells the user it is done.
    if (kind == QLatin1String("web page")) {
        QCOMPARE(MessageBox::shown().size(), 1);
        QCOMPARE(MessageBox::shown().first().text, QStringLiteral(" Export Complete "));
        QCOMPARE(MessageBox::shown().first().icon, QMessageBox::NoIcon);
    } else {
        QVERIFY(MessageBox::shown().isEmpty());
    }
}

void TestReportExport::plainText_pages_data()
{
    QTest::addColumn<int>("option"); // Op(i)
    QTest::addColumn<int>("nextClicks");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QList<int>>("pages"); // 0-based, in the file

    QTest::newRow("current page 3") << 1 << 2 << ""
                                    << "" << QList<int> {2};
    QTest::newRow("all pages") << 0 << 0 << ""
                               << "" << QList<int> {0, 1, 2, 3};
    QTest::newRow("range 2 to 3") << 2 << 0 << "2"
                                  << "3" << QList<int> {1, 2};
    QTest::newRow("range past the end") << 2 << 0 << "3"
                                        << "9" << QList<int> {2, 3};
    QTest::newRow("range from 0") << 2 << 0 << "0"
                                  << "1" << QList<int> {0};
    QTest::newRow("range end too large for a page number") << 2 << 0 << "2"
                                                           << "99999" << QList<int> {1, 2, 3};
    QTest::newRow("range start too large for a page number") << 2 << 0 << "99999"
                                                             << "4" << QList<int> {};
    QTest::newRow("range 1.6 to 2.5: nearest, halves to even") << 2 << 0 << "1.6"
                                                               << "2.5" << QList<int> {1};
}

void TestReportExport::plainText_pages()
{
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

    exportAs(view, path("pages.txt"));

    QByteArray expected;
    for (int i : pages)
        expected += view->pages().pageBytes(i) + '\f';
    QCOMPARE(TestSupport::readFile(path("pages.txt")), expected);
    if (option == 1)
        QCOMPARE(expected, QByteArray("Page 3\r\nsecond line\r\nthird line\r\n\f"));
}

void TestReportExport::richText_allPagesWithEmphasis()
{
    FrmReport *view = openView(emphasisedBytes());
    QVERIFY(view);
    // The page on screen does not matter with "All Pages".
    QTest::mouseClick(control(view, "CmdNxt"), Qt::LeftButton);
    exportAs(view, path("all.rtf"));

    const QByteArray rtf = TestSupport::readFile(path("all.rtf"));
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.trimmed().endsWith('}'));
    QCOMPARE(rtf.count('{'), rtf.count('}') + rtf.count("\\{") - rtf.count("\\}"));
    for (const char *text : {"Page 1", "BOLDTEXT", "Page 2", "CONDENSED", "Page 3", "\\{brace\\}"})
        QVERIFY2(rtf.contains(text), text);
    // Each page is followed by its form feed.
    QCOMPARE(rtf.count("\\page"), 3);

    // The bold text is bold in the "Bold" swatch's colour, the plain text not.
    const QColor bold = view->swatchColor(1);
    QVERIFY(rtf.contains(QStringLiteral("\\red%1\\green%2\\blue%3;")
                             .arg(bold.red())
                             .arg(bold.green())
                             .arg(bold.blue())
                             .toLatin1()));
    const QRegularExpression boldRun(QStringLiteral(R"(\\b[ \\][^}]*BOLDTEXT)"));
    QVERIFY(boldRun.match(QString::fromLatin1(rtf)).hasMatch());
    const qsizetype plain = rtf.indexOf(" plain");
    QVERIFY(plain > 0);
    QVERIFY(rtf.lastIndexOf("\\b0", plain) > rtf.indexOf("BOLDTEXT"));
    QVERIFY(MessageBox::shown().isEmpty());
}

void TestReportExport::webPage_wholeFileInSwatchColours()
{
    FrmReport *view = openView(emphasisedBytes());
    QVERIFY(view);
    // The page options do not limit the web page.
    control<QRadioButton>(view, "Op(1)")->click();
    exportAs(view, path("page.html"));

    const QByteArray html = TestSupport::readFile(path("page.html"));
    const QColor back = view->swatchColor(4);
    const QColor bold = view->swatchColor(1);
    QVERIFY(html.startsWith(QStringLiteral("<HTML>\r\n<body  bgcolor='rgb(%1,%2,%3)';>\r\n")
                                .arg(back.red())
                                .arg(back.green())
                                .arg(back.blue())
                                .toLatin1()));
    QVERIFY(
        html.contains(QStringLiteral("<br>Page&nbsp;1&nbsp;<b  style = ' color:rgb(%1,%2,%3);'>BOLDTEXT</b>")
                          .arg(bold.red())
                          .arg(bold.green())
                          .arg(bold.blue())
                          .toLatin1()));
    QVERIFY(html.contains("Page&nbsp;2"));
    QVERIFY(html.contains("Page&nbsp;3"));
    QVERIFY(html.endsWith("</p></font>\r\n</body>\r\n</HTML>\r\n"));
}

void TestReportExport::cancel_exportsNothing()
{
    FrmReport *view = openView(pagedBytes(2));
    QVERIFY(view);

    // Cancelled with no name before: nothing anywhere, nothing said.
    const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
    QTest::mouseClick(control(view, "JeweledButton1"), Qt::LeftButton);
    QCOMPARE(Dialogs::asked().size(), 1);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);
    QVERIFY(MessageBox::shown().isEmpty());
    QVERIFY(ReportExport::of(view)->lastFileName().isEmpty());

    // Cancelled after an export: the earlier file is not written again.
    exportAs(view, path("again.txt"));
    QVERIFY(QFile::remove(path("again.txt")));
    QTest::mouseClick(control(view, "JeweledButton1"), Qt::LeftButton);
    QVERIFY(!QFile::exists(path("again.txt")));
    QCOMPARE(ReportExport::of(view)->lastFileName(), path("again.txt"));
}

void TestReportExport::workbookName_offersTheWorkbookButton()
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
        QCOMPARE(ReportExport::of(view)->lastFileName(), path(name));
    }

    // Marking goes on when another workbook name is chosen meanwhile.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->tag(), QStringLiteral("1"));
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

void TestReportExport::failures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("printFileGone");

    QTest::newRow("web page, no such folder") << "missing/out.html" << false;
    QTest::newRow("plain text, no such folder") << "missing/out.txt" << false;
    QTest::newRow("rich text, no such folder") << "missing/out.rtf" << false;
    QTest::newRow("web page, print file gone") << "gone.html" << true;
}

void TestReportExport::failures()
{
    QFETCH(QString, name);
    QFETCH(bool, printFileGone);

    FrmReport *view = openView(emphasisedBytes());
    QVERIFY(view);
    if (printFileGone)
        QVERIFY(QFile::remove(view->reportFile()));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    exportAs(view, path(name));

    QVERIFY(!QFile::exists(path(name)));
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record shown = MessageBox::shown().first();
    QCOMPARE(shown.icon, QMessageBox::Critical);
    const QString named = printFileGone ? view->reportFile() : path(name);
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(named)), qPrintable(shown.text));
    QVERIFY(!shown.text.contains(QStringLiteral("Export Complete")));
    // Nothing half-written beside it either.
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

QTEST_MAIN(TestReportExport)
#include "tst_reportexport.moc"
