// The page table (a print file cut at its form feeds) and the page document
// (a page's text with its lines and columns).
#include "TestSupport.h"
#include "report/PageDocument.h"
#include "report/PageTable.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using ByteList = QList<QByteArray>;

class TestPageTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void cut_data()
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

    void cut()
    {
        QFETCH(QByteArray, file);
        QFETCH(ByteList, pages);
        QFETCH(QByteArray, tail);
        QTemporaryDir folder;
        PageTable table;
        QString error;
        QVERIFY2(table.load(TestSupport::writeFile(folder.filePath("report.prn"), file), &error),
            qPrintable(error));
        QCOMPARE(table.PageCount(), int(pages.size()));
        for (int i = 0; i < pages.size(); ++i) {
            QCOMPARE(table.pageBytes(i), pages.at(i));
            QCOMPARE(table.page(i), QString::fromLatin1(pages.at(i))); // one character per byte
        }
        QCOMPARE(table.pageBytes(table.PageCount()), tail);
        QCOMPARE(table.pageBytes(-1) + table.pageBytes(table.PageCount() + 1), QByteArray());
    }

    void positions_data()
    {
        // '#' marks the character asked about; '|' in the text is a paragraph break.
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb#") << QByteArray("a||b#") << 2 << 1;
        QTest::newRow("mixed line ends")
            << QByteArray("a\r\nb\rc\nd\r\n xy#\r\n") << QByteArray("a|b|c|d| xy#|") << 4 << 3;
        QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\r#") << QByteArray("||||#") << 4 << 0;
        QTest::newRow("FF does not end a line") << QByteArray("ab\fc#") << QByteArray("ab\fc#") << 0 << 4;
        QTest::newRow("NUL, ESC, codes, >127 and NBSP are columns")
            << QByteArray("x\r\n\x1b\0\x0f\x12\x0e\x14\xa0\xff#", 13)
            << QByteArray("x|\x1b\0\x0f\x12\x0e\x14\xa0\xff#", 12) << 1 << 8;
    }

    void positions()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(int, column);
        QTextDocument document;
        PageDocument::setText(&document, QString::fromLatin1(page));
        const QString expected
            = QString::fromLatin1(text).replace(QLatin1Char('|'), QChar(QChar::ParagraphSeparator));
        QCOMPARE(PageDocument::text(&document), expected);
        QCOMPARE(document.characterCount(), expected.size() + 1);
        const int position = int(expected.indexOf(QLatin1Char('#')));
        QCOMPARE(PageDocument::lineFromPosition(&document, position), line);
        QCOMPARE(PageDocument::lineStart(&document, line), position - column);
        const PageDocument::LineColumn where = PageDocument::lineColumn(&document, position);
        QCOMPARE(QPoint(where.column, where.line), QPoint(column, line));
    }
};

QTEST_MAIN(TestPageTable)
#include "tst_pagetable.moc"
