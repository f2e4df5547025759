#include "TestSupport.h"
#include "sticker/CsvTable.h"

#include <QTemporaryDir>
#include <QTest>

// CSV data files: the quoting rules, the line breaks, and the two encodings.

class TestCsvTable : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void readFile_data();
    void readFile();
};

void TestCsvTable::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QList<QStringList>>("rows"); // empty with an error
    QTest::addColumn<QString>("error");
    const QStringList ab {"A", "B"};
    QTest::newRow("plain, CR LF, no final break")
        << "A,B\r\n1,2\r\n3,4" << ab << QList<QStringList> {{"1", "2"}, {"3", "4"}} << "";
    QTest::newRow("quotes hold commas, breaks and doubled quotes")
        << "A,B\n\"x, y\",\"line 1\r\nline 2\"\n\"say \"\"hi\"\"\",\"\"\n"
        << ab << QList<QStringList> {{"x, y", "line 1\r\nline 2"}, {"say \"hi\"", ""}} << "";
    QTest::newRow("blank lines skipped, short rows, lone CR")
        << "A,B\r\r\n1\r\n\n,5\n"
        << ab << QList<QStringList> {{"1"}, {"", "5"}} << "";
    QTest::newRow("open quote names its line")
        << "A,B\n1,2\n3,\"4\n5" << QStringList() << QList<QStringList>()
        << "the quoted field that starts on line 3 is not closed";
    QTest::newRow("empty") << "\r\n"
                           << QStringList() << QList<QStringList>() << "it has no line naming the columns";
}

void TestCsvTable::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, columns);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, error);
    CsvTable table;
    QString reason;
    QCOMPARE(CsvTable::parse(text, &table, &reason), error.isEmpty());
    QCOMPARE(reason, error);
    if (!error.isEmpty())
        return;
    QCOMPARE(table.columns(), columns);
    QCOMPARE(table.rowCount(), rows.size());
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < columns.size(); ++c)
            QCOMPARE(table.value(r, c), rows.at(r).value(c));
    QCOMPARE(table.columnIndex(" B "), 1);
}

void TestCsvTable::readFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("value");
    QTest::newRow("UTF-8 with a byte-order mark")
        << QByteArray("\xef\xbb\xbfName\nM\xc3\xbcller \xe2\x82\xac")
        << QString::fromUtf8("M\u00fcller \u20ac");
    QTest::newRow("not UTF-8: Windows-1252") << QByteArray("Name\nM\xfcller \x80 \x93q\x94")
                                             << QString::fromUtf8("M\u00fcller \u20ac \u201cq\u201d");
}

void TestCsvTable::readFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString path = TestSupport::writeFile(dir.filePath("data.csv"), bytes);
    CsvTable table;
    QString error;
    QVERIFY2(CsvTable::readFile(path, &table, &error), qPrintable(error));
    QCOMPARE(table.columns(), QStringList {"Name"});
    QCOMPARE(table.value(0, 0), value);
    // A folder is not a data file; the message names it.
    QVERIFY(!CsvTable::readFile(dir.path(), &table, &error));
    QVERIFY2(error.contains(dir.path()) && error.contains("not a regular file"), qPrintable(error));
}

QTEST_MAIN(TestCsvTable)
#include "tst_csvtable.moc"
