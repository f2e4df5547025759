#include "TestSupport.h"
#include "report/PageTable.h"

#include <QDir>
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
    void everyByteSurvives();
    void loadFailureKeepsTable();
    void outOfRangeIsEmpty();
};

void TestPageTable::cut_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<ByteList>("pages");
    QTest::addColumn<QByteArray>("tail");
    QTest::newRow("empty file: one empty page") << QByteArray() << ByteList { "" } << QByteArray();
    QTest::newRow("no form feed: one page")
        << QByteArray("a\r\nb\r\n") << ByteList { "a\r\nb\r\n" } << QByteArray();
    QTest::newRow("ends in form feed") << QByteArray("a\fb\f") << ByteList { "a", "b" } << QByteArray();
    QTest::newRow("text after the last form feed is no page")
        << QByteArray("A\r\n\fB\r\n") << ByteList { "A\r\n" } << QByteArray("B\r\n");
    QTest::newRow("form feed alone") << QByteArray("\f") << ByteList { "" } << QByteArray();
    QTest::newRow("empty pages between form feeds")
        << QByteArray("\f\fx\f\f") << ByteList { "", "", "x", "" } << QByteArray();
    QTest::newRow("form feed in the middle of a line")
        << QByteArray("ab\fcd\r\n\fe") << ByteList { "ab", "cd\r\n" } << QByteArray("e");
    QTest::newRow("control codes stay in the page") << QByteArray("\x1b@\x0f"
                                                                  "a\x12\0\f",
        6)
                                                    << ByteList { QByteArray("\x1b@\x0f"
                                                                             "a\x12\0",
                                                           6) }
                                                    << QByteArray();
}

void TestPageTable::cut()
{
    QFETCH(QByteArray, file);
    QFETCH(ByteList, pages);
    QFETCH(QByteArray, tail);

    QTemporaryDir folder;
    const QString path = TestSupport::writeFile(folder.filePath(QStringLiteral("report.prn")), file);
    PageTable table;
    QString error;
    QVERIFY2(table.load(path, &error), qPrintable(error));

    QCOMPARE(table.PageCount(), int(pages.size()));
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(table.pageBytes(i), pages.at(i));
        QCOMPARE(table.page(i), QString::fromLatin1(pages.at(i)));
    }
    QCOMPARE(table.pageBytes(table.PageCount()), tail);
    QCOMPARE(table.bytes(), file);
}

void TestPageTable::everyByteSurvives()
{
    // Every byte but FF on page 1, and again around a form feed on page 2.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\f')
            all.append(char(b));
    }
    QTemporaryDir folder;
    const QString path
        = TestSupport::writeFile(folder.filePath(QStringLiteral("all.prn")), all + '\f' + all + '\f');
    PageTable table;
    QString error;
    QVERIFY2(table.load(path, &error), qPrintable(error));
    QCOMPARE(table.PageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(table.pageBytes(i), all);
        QCOMPARE(table.page(i), QString::fromLatin1(all)); // one character per byte
    }
}

void TestPageTable::loadFailureKeepsTable()
{
    PageTable table;
    table.setBytes("one\ftwo\f");
    QString error;
    QTemporaryDir folder;
    QVERIFY(!table.load(folder.filePath(QStringLiteral("missing.prn")), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(table.PageCount(), 2);
    QCOMPARE(table.pageBytes(1), QByteArray("two"));
}

void TestPageTable::outOfRangeIsEmpty()
{
    PageTable table;
    QCOMPARE(table.PageCount(), 1);
    QCOMPARE(table.pageBytes(0), QByteArray());
    table.setBytes("a\fb");
    QCOMPARE(table.pageBytes(-1), QByteArray());
    QCOMPARE(table.pageBytes(2), QByteArray());
    // A second cut replaces the first.
    table.setBytes("x");
    QCOMPARE(table.PageCount(), 1);
    QCOMPARE(table.pageBytes(0), QByteArray("x"));
}

QTEST_MAIN(TestPageTable)
#include "tst_pagetable.moc"
