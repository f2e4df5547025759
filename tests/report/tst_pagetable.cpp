#include "TestSupport.h"
#include "report/PageTable.h"

#include <QTemporaryDir>
#include <QTest>

using ByteList = QList<QByteArray>;

class TestPageTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void cut_data();
    void cut();
    void loadFailureKeepsTable();
};

void TestPageTable::cut_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ByteList>("pages");
    QTest::addColumn<QByteArray>("tail"); // after the last form feed: never a page

    // Every byte but FF, on a page of its own and again on the next.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\f')
            all.append(char(b));
    }
    QTest::newRow("empty file: one empty page") << QByteArray() << ByteList {""} << QByteArray();
    QTest::newRow("no form feed: one page")
        << QByteArray("a\r\nb\r\n") << ByteList {"a\r\nb\r\n"} << QByteArray();
    QTest::newRow("n form feeds: n pages")
        << QByteArray("\f\fx\f\f") << ByteList {"", "", "x", ""} << QByteArray();
    QTest::newRow("text after the last form feed")
        << QByteArray("ab\fcd\r\n\fe") << ByteList {"ab", "cd\r\n"} << QByteArray("e");
    QTest::newRow("every byte value") << all + '\f' + all + '\f' << ByteList {all, all} << QByteArray();
}

void TestPageTable::cut()
{
    QFETCH(QByteArray, file);
    QFETCH(ByteList, pages);
    QFETCH(QByteArray, tail);

    QTemporaryDir folder;
    PageTable table;
    QString error;
    QVERIFY2(
        table.load(TestSupport::writeFile(folder.filePath("report.prn"), file), &error), qPrintable(error));
    QCOMPARE(table.PageCount(), int(pages.size()));
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(table.pageBytes(i), pages.at(i));
        QCOMPARE(table.page(i), QString::fromLatin1(pages.at(i))); // one character per byte
    }
    QCOMPARE(table.pageBytes(table.PageCount()), tail);
    QCOMPARE(table.pageBytes(-1), QByteArray());
    QCOMPARE(table.pageBytes(table.PageCount() + 1), QByteArray());
}

void TestPageTable::loadFailureKeepsTable()
{
    PageTable table;
    table.setBytes("one\ftwo\f");
    QString error;
    QTemporaryDir folder;
    QVERIFY(!table.load(folder.filePath("missing.prn"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(table.PageCount(), 2);
    QCOMPARE(table.pageBytes(1), QByteArray("two"));
}

QTEST_MAIN(TestPageTable)
#include "tst_pagetable.moc"
