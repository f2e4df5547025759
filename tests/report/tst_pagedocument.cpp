#include "TestSupport.h"
#include "report/PageDocument.h"

#include <QTest>
#include <QTextDocument>

class TestPageDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void positions_data();
    void positions();
    void lineQueriesOutOfRange();
};

void TestPageDocument::positions_data()
{
    // '#' marks the character asked about; '|' in the text is a paragraph break.
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("CR LF") << QByteArray("l1\r\nl2\r\nab#\r\n") << QByteArray("l1|l2|ab#|") << 2 << 2;
    QTest::newRow("lone CR") << QByteArray("a\rb\rcd#") << QByteArray("a|b|cd#") << 2 << 2;
    QTest::newRow("lone LF") << QByteArray("a\nb\n#") << QByteArray("a|b|#") << 2 << 0;
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb#") << QByteArray("a||b#") << 2 << 1;
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\rc\nd\r\n xy#") << QByteArray("a|b|c|d| xy#") << 4
                                     << 3;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\r#") << QByteArray("||||#") << 4 << 0;
    QTest::newRow("FF does not end a line") << QByteArray("ab\fc#") << QByteArray("ab\fc#") << 0 << 4;
    QTest::newRow("NUL, ESC, codes, >127 and NBSP are columns")
        << QByteArray("x\r\n\x1b\0\x0f\x12\x0e\x14\xa0\xff#", 13)
        << QByteArray("x|\x1b\0\x0f\x12\x0e\x14\xa0\xff#", 12) << 1 << 8;
}

void TestPageDocument::positions()
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
    QCOMPARE(where.line, line);
    QCOMPARE(where.column, column);
}

void TestPageDocument::lineQueriesOutOfRange()
{
    QTextDocument document;
    PageDocument::setText(&document, QStringLiteral("a\r\nbc"));
    QCOMPARE(PageDocument::lineFromPosition(&document, 100), 1);
    QCOMPARE(PageDocument::lineFromPosition(&document, -3), 0);
    QCOMPARE(PageDocument::lineStart(&document, 2), -1);
    QCOMPARE(PageDocument::lineStart(&document, -1), -1);
}

QTEST_MAIN(TestPageDocument)
#include "tst_pagedocument.moc"
