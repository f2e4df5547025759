// The page table (a print file cut at its form feeds), the page document
// (a page's text with its lines and columns) and the markup passes over it.
#include "MarkupLooks.h"
#include "PageCuts.h"
#include "TestSupport.h"
#include "render/ViewLines.h"
#include "report/LineIndex.h"
#include "report/PageText.h"
#include "report/PageTable.h"
#include "report/ReportMarkup.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

using ByteList = QList<QByteArray>;

using namespace MarkupLooks;

class TestPageMarkup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void cut_data() { PageCuts::addRows(); }

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

    // Another program cuts the mapped file short, writes it anew in place or
    // replaces it under its name while the table holds it: reading every page
    // never crashes, and the table knows whether it still reads one file.
    void changedOnDisk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("changed");
        QTest::newRow("cut to nothing") << "truncate" << true;
        QTest::newRow("written anew, shorter") << "rewrite" << true;
        QTest::newRow("replaced under its name") << "replace" << false;
    }

    void changedOnDisk()
    {
        QFETCH(QString, how);
        QFETCH(bool, changed);
        QTemporaryDir folder;
        const QByteArray page = QByteArray("a line of the page\r\n").repeated(400) + '\f'; // two memory pages
        const QString path = TestSupport::writeFile(folder.filePath("REPORT.PRN"), page.repeated(50));
        PageTable table;
        QString error;
        QVERIFY2(table.load(path, &error), qPrintable(error));
        QVERIFY(!table.changed());
        if (how == "truncate") {
            QVERIFY(QFile::resize(path, 0));
        } else if (how == "rewrite") {
            TestSupport::writeFile(path, page);
        } else {
            TestSupport::replaceFile(path, page);
        }
        qsizetype read = 0;
        for (int i = 0; i < table.PageCount(); ++i)
            read += table.pageView(i).count('\n');
        QCOMPARE(table.PageCount(), 50);
        QCOMPARE(table.changed(), changed);
        if (!changed)
            QCOMPARE(read, 50 * 400); // the file it loaded, whole
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
        QTest::newRow("far into a long page")
            << QByteArray("ab\r\n").repeated(3000) + "c\rx#" << QByteArray("ab|").repeated(3000) + "c|x#" << 3001 << 1;
    }

    void positions()
    {
        QFETCH(QByteArray, page);
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(int, column);
        QTextDocument document;
        PageText::setText(&document, QString::fromLatin1(page));
        const QString expected
            = QString::fromLatin1(text).replace(QLatin1Char('|'), QChar(QChar::ParagraphSeparator));
        QCOMPARE(PageText::text(&document), expected);
        QCOMPARE(document.characterCount(), expected.size() + 1);
        const int position = int(expected.indexOf(QLatin1Char('#')));
        QCOMPARE(PageText::lineFromPosition(&document, position), line);
        QCOMPARE(PageText::lineStart(&document, line), position - column);
        const PageText::LineColumn where = PageText::lineColumn(&document, position);
        QCOMPARE(QPoint(where.column, where.line), QPoint(column, line));
        // The page view's line index counts the same lines and columns.
        const LineIndex index(page);
        QCOMPARE(index.positionCount(), qint64(expected.size()));
        QCOMPARE(index.lineCount(), qint64(expected.count(QChar(QChar::ParagraphSeparator)) + 1));
        const LineIndex::Line at = index.lineAt(position);
        QCOMPARE(QPoint(int(position - at.position), int(at.number)), QPoint(column, line));
        QCOMPARE(index.line(line).position, at.position);
        QCOMPARE(index.positionOf(page.indexOf('#')), qint64(position));
    }

    void printBytes_data()
    {
        // A page taken back out of the view for printing: the file's bytes
        // while the text is theirs, an edited text in the page's code page.
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("typed"); // appended to the shown text
        QTest::addColumn<QByteArray>("bytes"); // "!": refused
        const QByteArray box("\xb3\xc4\xda\x82\x9c\n\rx\f");
        const auto cp437 = int(CodePage::Id::Pc437);
        QTest::newRow("cp437 as read: the file's bytes, line ends too") << box << cp437 << "" << box;
        QTest::newRow("cp437 edited: encoded, CR LF") << box << cp437 << QString::fromUtf8("\u2502")
                                                      << QByteArray("\xb3\xc4\xda\x82\x9c\r\n\r\nx\f\xb3");
        QTest::newRow("a letter the code page lacks") << box << cp437 << QString::fromUtf8("\u0141") << QByteArray("!");
        QTest::newRow("Latin-1 as read") << QByteArray("a\rb\xe9\f") << int(CodePage::Id::Latin1) << ""
                                         << QByteArray("a\rb\xe9\f");
    }

    void printBytes()
    {
        QFETCH(QByteArray, source);
        QFETCH(int, codePage);
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        const auto id = CodePage::Id(codePage);
        QTextDocument document;
        PageText::setText(&document, CodePage::decode(id, source));
        QByteArray out;
        QString error;
        const bool ok = PageText::printBytes(PageText::text(&document) + typed, source, id, &out, &error);
        QCOMPARE(ok, bytes != "!");
        QCOMPARE(out, ok ? bytes : QByteArray());
        QVERIFY2(ok || error.contains("U+0141"), qPrintable(error));
    }

    void passes_data() { addPassesRows(); }

    void passes()
    {
        QFETCH(QByteArray, page);
        QFETCH(MarkupOrder, order);
        QFETCH(QString, context);
        QFETCH(QString, expected);
        const MarkupContext markup = rowContext(context);
        QTextDocument document;
        PageText::setText(&document, QString::fromLatin1(page));
        applyMarkupPasses(&document, markup, order);
        QCOMPARE(looks(&document, markup), expected);
        if (order == MarkupOrder::View) {
            // The page view's lines, styled one at a time from the last up, look the same.
            ViewLines::Options options;
            options.context = markup;
            ViewLines lines(page, options);
            QString shown;
            for (qint64 i = lines.lineCount() - 1; i >= 0; --i) {
                const ViewLine line = lines.lines(i, 1).constFirst();
                QCOMPARE(line.text, QString::fromLatin1(page.mid(line.line.begin, line.line.length())));
                QString letters;
                for (const MarkupRun &run : line.runs)
                    letters += QString(run.length, look(lines.format(run.style), markup));
                shown.prepend(letters + (line.line.ended() ? QStringLiteral("|") : QString()));
            }
            QCOMPARE(shown, expected);
        }
    }

    void find_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QList<qint64>>("found"); // every match, overlapping ones too
        QTest::newRow("any case, from the first character")
            << QByteArray("Word word WORD") << "word" << QList<qint64>{0, 5, 10};
        QTest::newRow("overlapping") << QByteArray("xaaa") << "aa" << QList<qint64>{1, 2};
        QTest::newRow("line ends are one position")
            << QByteArray("ab\r\ncab\rab\nab") << "ab" << QList<qint64>{0, 4, 7, 10};
        QTest::newRow("in the code page, any case")
            << QByteArray("\x82t\x90") << QStringLiteral(u"É") << QList<qint64>{0, 2};
        QTest::newRow("the form feed is the last character")
            << QByteArray("a\r\nb") << "b\f" << QList<qint64>{2};
        QTest::newRow("not there") << QByteArray("abc") << "abd" << QList<qint64>{};
        QTest::newRow("across a megabyte, read a piece at a time")
            << QByteArray((1 << 20) - 1, 'x') + "\r\nab" << "x\nA" << QList<qint64>{(1 << 20) - 2};
    }

    void find()
    {
        QFETCH(QByteArray, page);
        QFETCH(QString, needle);
        QFETCH(QList<qint64>, found);
        ViewLines::Options options;
        options.codePage = CodePage::Id::Pc437;
        options.formFeedAtEnd = true;
        const auto lines = ViewLines::of(page, options);
        QList<qint64> matches;
        // In steps (of three positions on a short page), as the window searches.
        const qint64 step = page.size() < 100 ? 3 : page.size() + 1;
        for (qint64 from = 0; from < lines->positionCount(); from += step) {
            for (qint64 at = from; (at = lines->find(needle, at, from + step)) >= 0; ++at)
                matches.append(at);
        }
        QCOMPARE(matches, found);
        QCOMPARE(lines->findAll(needle, 0, lines->positionCount(), 1000), found);
    }

    void linesEndingAtAnUnreadablePage()
    {
        // A mapped file whose size is a multiple of the page size: the page
        // after it cannot be read, and nothing may read it.
        const long page = sysconf(_SC_PAGESIZE);
        void *map = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        QVERIFY(map != MAP_FAILED);
        const auto unmap = qScopeGuard([&] { munmap(map, 2 * page); });
        auto *bytes = static_cast<char *>(map);
        memset(bytes, 'x', page);
        memcpy(bytes + page - 3, "\x0fy\x12", 3);
        QVERIFY(mprotect(bytes + page, page, PROT_NONE) == 0);
        ViewLines::Options options;
        options.context.vsual = true;
        ViewLines lines(QByteArrayView(bytes, page), options);
        QCOMPARE(lines.lines(0, 1).constFirst().runs.size(), 4); // plain, hidden SI, condensed, hidden DC2
        QCOMPARE(lines.findAll(QStringLiteral("xx"), 0, page, 1 << 20).size(), page - 4);
    }
};

QTEST_MAIN(TestPageMarkup)
#include "tst_pagemarkup.moc"
