// The report view's two-click workbook export: marking columns with the
// caret, writing the workbook, progress, and a workbook that cannot be saved.
#include "../report/ReportViewFixture.h"
#include "controls/JeweledButton.h"
#include "export/ReportExport.h"
#include "platform/Dialogs.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace ReportViewFixture;

namespace {

const QByteArray Line1("ABCDEFGHIJabcdefghijklmno12345"); // 30 characters
const QByteArray Line2("0123456789klmnopqrstuvwxyzTAIL");

QByteArray unzipped(const QString &zip, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
}

// The cells of sheet 1 by reference ("A1"), strings inline or shared.
QMap<QString, QString> sheetCells(const QString &workbook)
{
    QStringList shared;
    QXmlStreamReader strings(unzipped(workbook, QStringLiteral("xl/sharedStrings.xml")));
    while (!strings.atEnd()) {
        if (strings.readNext() == QXmlStreamReader::StartElement && strings.name() == u"si")
            shared << strings.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    QMap<QString, QString> cells;
    QXmlStreamReader sheet(unzipped(workbook, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref, type;
    while (!sheet.atEnd()) {
        if (sheet.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (sheet.name() == u"c") {
            ref = sheet.attributes().value(QStringLiteral("r")).toString();
            type = sheet.attributes().value(QStringLiteral("t")).toString();
        } else if (sheet.name() == u"is") {
            cells[ref] = sheet.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (sheet.name() == u"v") {
            const QString v = sheet.readElementText();
            cells[ref] = type == QLatin1String("s") ? shared.value(v.toInt()) : v;
        }
    }
    return cells;
}

} // namespace

class TestReportExportWorkbook : public QObject
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

    void twoClicks_writeTheMarkedPieces_data();
    void twoClicks_writeTheMarkedPieces();
    void workbookThatCannotBeSaved();

private:
    // Opens a view on two lines and a second page, names the workbook in the
    // export dialog, and waits for the status line to settle.
    FrmReport *viewWithWorkbookName(const QString &workbook)
    {
        FrmReport *view = open(
            printFile(QStringLiteral("book.prn"), Line1 + "\r\n" + Line2 + "\r\n\f" + "page two\r\n\f"));
        if (!view)
            return nullptr;
        Dialogs::setNextFileName(workbook);
        QTest::mouseClick(control(view, "JeweledButton1"), Qt::LeftButton);
        QTextCursor start(view->rt1()->document());
        view->rt1()->setTextCursor(start);
        if (!QTest::qWaitFor([view] { return view->statusTag() == QLatin1String("1"); }))
            qWarning("status line did not settle");
        return view;
    }

    // Moves the caret to `column` of the first line with keys and waits for
    // the status-line refresh to record it.
    static bool markColumn(FrmReport *view, int column)
    {
        const int before = view->columnMarkCount();
        QTextEdit *rt1 = view->rt1();
        QTest::keyClick(rt1, Qt::Key_Home);
        for (int i = 0; i < column; ++i)
            QTest::keyClick(rt1, Qt::Key_Right);
        return QTest::qWaitFor([&] { return view->columnMarkCount() == before + 1; });
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestReportExportWorkbook::twoClicks_writeTheMarkedPieces_data()
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

void TestReportExportWorkbook::twoClicks_writeTheMarkedPieces()
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
    QCOMPARE(button->tag(), QStringLiteral("1"));
    QCOMPARE(view->columnMarkCount(), 1);
    QVERIFY(!QFile::exists(path(name)));

    for (int column : columns)
        QVERIFY2(markColumn(view, column), qPrintable(QString::number(column)));
    QCOMPARE(view->columnMarkCount(), 1 + columns.size());
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(int(view->columnMarks().at(i + 1)), columns.at(i));

    // While it runs: the next row in the search box, the window disabled
    // under a busy cursor.
    auto *Text4 = control<QLineEdit>(view, "Text4");
    QStringList shownRows;
    bool disabledThroughout = true;
    bool busyThroughout = true;
    connect(Text4, &QLineEdit::textChanged, this, [&](const QString &text) {
        if (text.isEmpty())
            return;
        shownRows << text;
        disabledThroughout = disabledThroughout && !view->isEnabled();
        busyThroughout = busyThroughout && QApplication::overrideCursor()
            && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });

    QTest::mouseClick(button, Qt::LeftButton);

    // Lines: Line1, Line2, form feed and "page two", and the last form
    // feed: after rows 1 to 4 come 2 to 5.
    QCOMPARE(shownRows, (QStringList {"2", "3", "4", "5"}));
    QVERIFY(disabledThroughout);
    QVERIFY(busyThroughout);
    QVERIFY(Text4->text().isEmpty());

    QVERIFY(QFile::exists(path(name)));
    QStringList written;
    const QMap<QString, QString> sheet = sheetCells(path(name));
    for (auto it = sheet.cbegin(); it != sheet.cend(); ++it)
        written << it.key() + QLatin1Char('=') + it.value();
    QCOMPARE(written, cells);

    QCOMPARE(MessageBox::shown().size(), 1);
    QCOMPARE(MessageBox::shown().first().text, QStringLiteral(" Export Complete "));
    QCOMPARE(MessageBox::shown().first().icon, QMessageBox::Information);
    QVERIFY(MessageBox::shown().first().title.isEmpty());
    QVERIFY(button->isHidden());
    QCOMPARE(button->text(), QStringLiteral("Finsh Record Click"));
    QCOMPARE(button->tag(), QStringLiteral("0"));
    QCOMPARE(view->columnMarkCount(), 0);
    QVERIFY(view->isEnabled());
    QVERIFY(!QApplication::overrideCursor());

    // Marking is off: caret moves record nothing more.
    const QVector<qint16> marks = view->columnMarks();
    QTest::keyClick(view->rt1(), Qt::Key_End);
    QTest::qWait(400);
    QCOMPARE(view->columnMarks(), marks);
}

void TestReportExportWorkbook::workbookThatCannotBeSaved()
{
    const QString book = path(QStringLiteral("missing/book.xls"));
    FrmReport *view = viewWithWorkbookName(book);
    QVERIFY(view);
    auto *button = control<JeweledButton>(view, "CmdExelExp");
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(markColumn(view, 10));
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    QTest::mouseClick(button, Qt::LeftButton);

    QVERIFY(!QFile::exists(book));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    QCOMPARE(MessageBox::shown().size(), 1);
    const MessageBox::Record shown = MessageBox::shown().first();
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QVERIFY2(shown.text.contains(QDir::toNativeSeparators(book)), qPrintable(shown.text));
    QVERIFY(!shown.text.contains(QStringLiteral("Export Complete")));
    QVERIFY(view->isEnabled());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(control<QLineEdit>(view, "Text4")->text().isEmpty());

    // The button stays for another try with the same marks.
    QVERIFY(!button->isHidden());
    QCOMPARE(button->text(), QStringLiteral("Finsh Record Click"));
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("missing")));
    MessageBox::clearShown();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(sheetCells(book).value(QStringLiteral("A1")), QStringLiteral("ABCDEFGHIJ"));
    QCOMPARE(MessageBox::shown().first().text, QStringLiteral(" Export Complete "));
}

QTEST_MAIN(TestReportExportWorkbook)
#include "tst_reportexport_workbook.moc"
