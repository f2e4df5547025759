// The workbook writer: pieces, cell values and the file; the two-click
// flow through the report view is in tst_reportexport.
#include "ExportReaders.h"
#include "TestSupport.h"
#include "export/WorkbookExport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using WorkbookExport::Cell;

Q_DECLARE_METATYPE(QVector<Cell>)

using namespace ExportReaders;

class TestWorkbookExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void cutLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QVector<int>>("marks");
        QTest::addColumn<QVector<Cell>>("cells");
        const QByteArray thirty = "ABCDEFGHIJabcdefghijklmno12345";
        QTest::newRow("marks 20, 5, 15: rising piece after a fall")
            << thirty << QVector<int> {0, 20, 5, 15, 0}
            << QVector<Cell> {{0, thirty.left(20)}, {2, thirty.mid(5, 10)}};
        QTest::newRow("no marks") << thirty << QVector<int> {0, 0} << QVector<Cell> {};
        QTest::newRow("line ends before a piece")
            << QByteArray("abc") << QVector<int> {0, 10, 25, 0} << QVector<Cell> {{0, "abc"}};
        QTest::newRow("piece cut short by the line end")
            << QByteArray("ABCDEFGHIJab") << QVector<int> {0, 10, 25, 0}
            << QVector<Cell> {{0, "ABCDEFGHIJ"}, {1, "ab"}};
        QTest::newRow("empty line") << QByteArray() << QVector<int> {0, 10, 0} << QVector<Cell> {};
    }

    void cutLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(QVector<int>, marks);
        QFETCH(QVector<Cell>, cells);
        QCOMPARE(WorkbookExport::cutLine(line, marks), cells);
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("piece");
        QTest::addColumn<double>("value"); // -1: stays text
        QTest::newRow("amount with spaces") << QByteArray("   1234.50 ") << 1234.5;
        QTest::newRow("negative") << QByteArray("-7") << -7.0;
        for (const char *text : {"007", "1,234.50", "12.00-", "1234567890123456", "12.", "   "})
            QTest::newRow(text) << QByteArray(text) << -1.0;
    }

    void numbers()
    {
        QFETCH(QByteArray, piece);
        QFETCH(double, value);
        double got = 0;
        const bool isNumber = WorkbookExport::numberOf(piece, &got);
        QCOMPARE(isNumber ? got : -1.0, value);
    }

    // Control codes dropped from the text, tab kept, Latin-1 and markup
    // characters as they are; a lone CR ends a line, a lone LF does not.
    void workbookCells()
    {
        QTemporaryDir dir;
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"),
            "ABCDEFGHIJabcdefghijklmno12345\r\n"
            "\r\n"
            "Caf\xe9 & <co>\033E\tbold\x0e\033F\rline four is long enough\n!\r\n"
            "  1250.75     =SUM(A1)\r\n");
        const QString book = dir.filePath("rep.xlsx");
        QList<int> rows;
        QString error;
        const auto progress = [&rows](int next) {
            rows << next;
            return true;
        };
        QVERIFY2(WorkbookExport::write(source, book, {0, 10, 25, 0}, progress, &error), qPrintable(error));
        QCOMPARE(rows, (QList<int> {2, 3, 4, 5, 6}));
        QCOMPARE(sheetLines(book),
            (QStringList {"A1=ABCDEFGHIJ", "A3=" + QString::fromLatin1("Caf\xe9 & <co"), "A4=line four ",
                "A5=1250.75", "B1=abcdefghijklmno", "B3=>E\tboldF", "B4=is long enough\n",
                "B5=    =SUM(A1)"}));
        // Amounts are number cells, the rest text.
        QVERIFY(unzipped(book, "xl/worksheets/sheet1.xml").contains("<c r=\"A5\"><v>1250.75</v></c>"));
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList {"rep.prn", "rep.xlsx"}));
    }

    void failuresLeaveNoFileAndEmptyFileGivesEmptySheet()
    {
        QTemporaryDir dir;
        const QString source = TestSupport::writeFile(dir.filePath("rep.prn"), "one\r\ntwo\r\nthree\r\n");
        QString error;
        QVERIFY(!WorkbookExport::write(
            dir.filePath("missing.prn"), dir.filePath("a.xlsx"), {0, 3, 0}, nullptr, &error));
        QVERIFY2(error.contains("missing.prn"), qPrintable(error));
        // Stopped after the second line: the old workbook stays as it was.
        const QString kept = TestSupport::writeFile(dir.filePath("kept.xlsx"), "old");
        QVERIFY(!WorkbookExport::write(
            source, kept, {0, 3, 0}, [](int next) { return next < 3; }, &error));
        QVERIFY2(error.contains("kept.xlsx"), qPrintable(error));
        QCOMPARE(TestSupport::readFile(kept), QByteArray("old"));
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList {"kept.xlsx", "rep.prn"}));
        // An empty print file still makes a workbook, with an empty sheet.
        const QString empty = TestSupport::writeFile(dir.filePath("empty.prn"), "");
        QVERIFY2(WorkbookExport::write(empty, dir.filePath("empty.xlsx"), {0, 10, 0}, nullptr, &error),
            qPrintable(error));
        QVERIFY(!unzipped(dir.filePath("empty.xlsx"), "xl/worksheets/sheet1.xml").isEmpty());
        QVERIFY(sheetLines(dir.filePath("empty.xlsx")).isEmpty());
    }
};

QTEST_MAIN(TestWorkbookExport)
#include "tst_workbookexport.moc"
