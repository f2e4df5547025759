#include "TestSupport.h"
#include "report/PageDocument.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace
{

// Latin-1 text with '|' standing for the document's paragraph break.
QString withBreaks(const QByteArray &latin1)
{
    return QString::fromLatin1(latin1).replace(QLatin1Char('|'), QChar(QChar::ParagraphSeparator));
}

// Finds a marker character in the document text: its document position.
int positionOf(const QTextDocument *document, QChar marker)
{
    return int(PageDocument::text(document).indexOf(marker));
}

} // namespace

class TestPageDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void text_data();
    void text();
    void lineColumn_data();
    void lineColumn();
    void lineQueriesOutOfRange();
};

void TestPageDocument::text_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF is one break") << QByteArray("ab\r\ncd") << withBreaks("ab|cd");
    QTest::newRow("lone CR and lone LF") << QByteArray("a\rb\nc") << withBreaks("a|b|c");
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << withBreaks("a||b");
    QTest::newRow("control bytes stay")
        << QByteArray("\f\x1b\x0e\x0f\x12\x14\0z", 8) << QString::fromLatin1("\f\x1b\x0e\x0f\x12\x14\0z", 8);
    QTest::newRow("high bytes and NBSP stay")
        << QByteArray("\xa0\xff\x80 ") << QString::fromLatin1("\xa0\xff\x80 ");
}

void TestPageDocument::text()
{
    QFETCH(QByteArray, page);
    QFETCH(QString, expected);
    QTextDocument document;
    PageDocument::setText(&document, QString::fromLatin1(page));
    QCOMPARE(PageDocument::text(&document), expected);
    QCOMPARE(document.characterCount(), expected.size() + 1);
}

void TestPageDocument::lineColumn_data()
{
    // '#' marks the character asked about.
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("first character") << QByteArray("#bc\r\n") << 0 << 0;
    QTest::newRow("start of the fourth CR LF line") << QByteArray("l1\r\nl2\r\nl3\r\n#4\r\n") << 3 << 0;
    QTest::newRow("inside a CR LF line") << QByteArray("l1\r\nl2\r\nab#\r\n") << 2 << 2;
    QTest::newRow("lone CR lines") << QByteArray("a\rb\rcd#") << 2 << 2;
    QTest::newRow("lone LF lines") << QByteArray("a\nb\n#") << 2 << 0;
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\rc\nd\r\n xy#") << 4 << 3;
    QTest::newRow("FF does not end a line") << QByteArray("ab\fc#") << 0 << 4;
    QTest::newRow("codes count as columns")
        << QByteArray("x\r\n\x1b\0\x0f\x12\x0e\x14\xa0\xff#", 13) << 1 << 8;
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\r#") << 4 << 0;
}

void TestPageDocument::lineColumn()
{
    QFETCH(QByteArray, page);
    QFETCH(int, line);
    QFETCH(int, column);
    QTextDocument document;
    PageDocument::setText(&document, QString::fromLatin1(page));
    const int position = positionOf(&document, QLatin1Char('#'));
    QVERIFY(position >= 0);
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
    QTextDocument empty;
    QCOMPARE(PageDocument::lineColumn(&empty, 0).line, 0);
    QCOMPARE(PageDocument::lineColumn(&empty, 0).column, 0);
}

QTEST_MAIN(TestPageDocument)
#include "tst_pagedocument.moc"
