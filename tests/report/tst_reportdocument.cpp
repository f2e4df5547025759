// The report document without a window: the pages a choice takes in both
// looks, and the bytes a print of the page on screen sends.
#include "TestSupport.h"
#include "report/ReportDocument.h"
#include "report/ShownPages.h"

#include <QMetaMethod>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

Q_DECLARE_METATYPE(PageSelection::Kind)
using DocumentStep = std::function<void(ReportDocument &)>;
Q_DECLARE_METATYPE(DocumentStep)

namespace {

// Page 0 runs over two 11-inch sheets (100 lines at 6 to the inch), pages
// 1 and 2 fill one sheet each.
QByteArray threePages()
{
    return QByteArray("line\r\n").repeated(100) + "\fB\r\n\fC\r\n";
}

// Lines of text up to `size` bytes, a form feed after every 66 lines when
// `pages`.
QByteArray reportLines(qsizetype size, bool pages)
{
    QByteArray bytes;
    bytes.reserve(size + 100);
    for (int line = 1; bytes.size() < size; ++line) {
        bytes += "Line " + QByteArray::number(line) + " of the report, with \x1b" "Ebold\x1b" "F text\r\n";
        if (pages && line % 66 == 0)
            bytes += '\f';
    }
    return bytes;
}

// A picture (ESC * 0, 200 columns) whose dots are all 0x0C, starting just
// before `at`: none of them cuts a page.
QByteArray pictureAcross(qsizetype at, QByteArray bytes)
{
    bytes = bytes.left(at - 20);
    bytes += QByteArray("\x1b*\x00\xc8\x00", 5) + QByteArray(200, '\f');
    return bytes;
}

} // namespace

class TestReportDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    // A large file opened for a window is cut on a thread of its own, a
    // stretch of 8 MB at a time: its table, once complete, is the one a
    // whole cut makes, wherever a command or a page crosses a stretch.
    void openCutsAsLoad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const qsizetype stretch = 8 << 20;
        const QByteArray pages = reportLines(3 * stretch + 1000, true);
        QTest::newRow("pages") << pages;
        QTest::newRow("no form feed") << reportLines(stretch + 5000, false);
        QTest::newRow("picture across a stretch")
            << pictureAcross(stretch, pages) + "\r\n\f" + pages.left(stretch + 100);
        QTest::newRow("form feed last in a stretch") << pages.left(stretch - 1) + '\f' + pages.left(1000);
        QTest::newRow("ends in a form feed and set-up") << pages.left(stretch + 200) + "\f\r\n\x1b@\x1b" "E";
        QTest::newRow("text after the last form feed") << pages.left(stretch + 200) + "\fend\r\n";
    }

    void openCutsAsLoad()
    {
        QFETCH(QByteArray, bytes);
        const QString file = TestSupport::writeFile(m_dir.filePath("large.prn"), bytes);
        ReportDocument loaded;
        QString error;
        QVERIFY2(loaded.load(file, &error), qPrintable(error));
        QVERIFY(loaded.pagesComplete());

        ReportDocument opened;
        QSignalSpy progress(&opened, &ReportDocument::cutProgress);
        QVERIFY2(opened.open(file, &error, {}, 0), qPrintable(error));
        QVERIFY(opened.pageCount() >= 1); // the first page is there at once
        QCOMPARE(opened.pages().pageView(0), loaded.pages().pageView(0));
        QVERIFY(opened.finishPages());
        QVERIFY(opened.pagesComplete());
        QCOMPARE(opened.pageCount(), loaded.pageCount());
        for (int i = 0; i <= loaded.pageCount(); ++i)
            QCOMPARE(opened.pages().pageView(i), loaded.pages().pageView(i));
        // Told to the end, unless the opening found the whole cut done.
        if (!progress.isEmpty()) {
            QCOMPARE(progress.constLast().at(0).toLongLong(), qint64(bytes.size()));
            QCOMPARE(progress.constLast().at(1).toLongLong(), qint64(bytes.size()));
        }
    }

    // The pages come in while the event loop runs, counted as they come; a
    // wait's progress may stop the wait, and a document closed while its
    // file is cut stops the cut.
    void openFillsInPages()
    {
        const QByteArray bytes = reportLines(40 << 20, true);
        const QString file = TestSupport::writeFile(m_dir.filePath("large.prn"), bytes);
        auto document = std::make_unique<ReportDocument>();
        QSignalSpy changed(document.get(), &ReportDocument::pagesChanged);
        QString error;
        QVERIFY2(document->open(file, &error, {}, 1 << 20), qPrintable(error));
        QVERIFY(document->pageCount() >= 1);
        // A wait stopped by its progress leaves the cut going on (unless the
        // cut was quicker than the opening).
        if (!document->pagesComplete())
            QVERIFY(!document->finishPages([](qint64, qint64) { return false; }));
        QTRY_VERIFY_WITH_TIMEOUT(document->pagesComplete(), 60000);
        ReportDocument loaded;
        QVERIFY(loaded.load(file, &error));
        QCOMPARE(document->pageCount(), loaded.pageCount());
        QVERIFY(!changed.isEmpty());
        QCOMPARE(document->pageSource().count(), document->pageCount());

        // Closed at once after the opening: the cut stops, nothing is left.
        QVERIFY(document->open(file, &error, {}, 1 << 20));
        document.reset();
        QTest::qWait(50);
    }

    // A file without a form feed is one page, found only at the end of the
    // cut: the opening tells how far the cut is while it waits, and a
    // progress that stops it leaves the document on the file it had.
    void openTellsTheWaitForOnePage_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::newRow("waited for") << false;
        QTest::newRow("given up") << true;
    }

    void openTellsTheWaitForOnePage()
    {
        QFETCH(bool, stopped);
        const QByteArray onePage = reportLines(3 * (8 << 20) + 1000, false);
        const QString file = TestSupport::writeFile(m_dir.filePath("onepage.prn"), onePage);
        const QString before = TestSupport::writeFile(m_dir.filePath("before.prn"), threePages());
        ReportDocument document;
        QString error;
        QVERIFY2(document.load(before, &error), qPrintable(error));
        QList<qint64> told;
        error = QStringLiteral("unchanged");
        const bool opened = document.open(file, &error,
            [&](qint64 done, qint64 total) {
                if (total != onePage.size() || done > total)
                    told.append(-1);
                told.append(done);
                return !stopped;
            },
            1 << 20);
        QCOMPARE(opened, !stopped);
        // Told from the start of the wait, in order.
        QVERIFY(!told.isEmpty());
        QVERIFY(!told.contains(-1));
        QVERIFY(std::is_sorted(told.cbegin(), told.cend()));
        if (stopped) {
            QCOMPARE(told, QList<qint64>{0});
            QVERIFY(error.isEmpty());
            QCOMPARE(document.fileName(), before);
            QCOMPARE(document.pageCount(), 3);
        } else {
            QCOMPARE(document.fileName(), file);
            QCOMPARE(document.pageCount(), 1);
            QVERIFY(document.pagesComplete());
            QCOMPARE(document.pages().pageView(0), QByteArrayView(onePage));
        }
    }

    void chosenPages_data()
    {
        QTest::addColumn<bool>("printed");
        QTest::addColumn<int>("current");
        QTest::addColumn<PageSelection::Kind>("kind");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<QList<int>>("pages");
        const auto row = [](const char *name, bool printed, int current, PageSelection::Kind kind, int first,
                             int last, QList<int> shown, QList<int> pages) {
            QTest::newRow(name) << printed << current << kind << first << last << shown << pages;
        };
        row("pages: all", false, 0, PageSelection::All, 0, 0, {0, 1, 2}, {0, 1, 2});
        row("pages: current", false, 1, PageSelection::Current, 0, 0, {1}, {1});
        row("pages: range kept to the file", false, 0, PageSelection::Range, 2, 9, {1, 2}, {1, 2});
        row("pages: range before the file", false, 0, PageSelection::Range, -3, 0, {}, {});
        row("sheets: all", true, 0, PageSelection::All, 0, 0, {0, 1, 2, 3}, {0, 1, 2});
        row("sheets: the second sheet of page 1", true, 1, PageSelection::Current, 0, 0, {1}, {0});
        row("sheets: range across pages", true, 0, PageSelection::Range, 2, 3, {1, 2}, {0, 1});
        row("sheets: range past the end", true, 0, PageSelection::Range, 4, 7, {3}, {2});
    }

    void chosenPages()
    {
        QFETCH(bool, printed);
        QFETCH(int, current);
        QFETCH(PageSelection::Kind, kind);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QList<int>, shown);
        QFETCH(QList<int>, pages);
        ReportDocument doc;
        load(&doc, threePages());
        doc.setPrintedLook(printed);
        QVERIFY(doc.buildPrinted());
        QCOMPARE(doc.pageCount(), printed ? 4 : 3);
        doc.setCurrentPage(current);
        const PageSelection choice {kind, first, last};
        QCOMPARE(doc.chosenShown(choice), shown);
        QCOMPARE(doc.chosenPages(choice), pages);
    }

    // One page source for the look on screen: every print and export loops
    // over it. The page on screen is one page of it, a sheet in the printed
    // look (no selection of hidden text), else the text as shown.
    void pageSource_data()
    {
        QTest::addColumn<bool>("printed");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("page");           // of the source
        QTest::addColumn<QByteArray>("bytes");   // the page's or the sheet's bytes
        QTest::addColumn<QList<int>>("pagesOf"); // the file's pages of sources 1 and 2
        QTest::addColumn<QString>("selection");  // of the text on screen
        QTest::addColumn<QByteArray>("onScreen"); // the page on screen, selection only; empty: a sheet
        const QByteArray first = QByteArray("line\r\n").repeated(100);
        QTest::newRow("pages") << false << 3 << 1 << QByteArray("B\r\n") << QList<int>{1, 2} << QString()
                               << QByteArray("B\r\n\f");
        QTest::newRow("pages, a selection") << false << 3 << 0 << first << QList<int>{1, 2} << QString("ine")
                                            << QByteArray("ine");
        QTest::newRow("sheets") << true << 4 << 3 << QByteArray("C\r\n") << QList<int>{0, 1} << QString()
                                << QByteArray();
        QTest::newRow("sheets, no selection of hidden text")
            << true << 4 << 2 << QByteArray("B\r\n\f") << QList<int>{0, 1} << QString("ine") << QByteArray();
    }

    void pageSource()
    {
        QFETCH(bool, printed);
        QFETCH(int, count);
        QFETCH(int, page);
        QFETCH(QByteArray, bytes);
        QFETCH(QList<int>, pagesOf);
        QFETCH(QString, selection);
        QFETCH(QByteArray, onScreen);
        ReportDocument doc;
        load(&doc, threePages());
        doc.setPrintedLook(printed);
        QVERIFY(doc.buildPrinted());
        doc.setCurrentPage(1);
        const ShownText view {{}, selection};
        const PageSource source = doc.pageSource();
        QCOMPARE(source.drawsSheets(), printed);
        QCOMPARE(source.count(), count);
        QCOMPARE(source.bytes(page), bytes);
        QCOMPARE(source.bytes(count), QByteArray()); // past the end: nothing
        QCOMPARE(source.filePages({1, 2}), pagesOf);
        const PageSource one = source.only(page);
        QCOMPARE(one.count(), 1);
        QCOMPARE(one.bytes(0), bytes);
        QCOMPARE(one.filePages({0}), source.filePages({page}));

        PageSource shown;
        QString error;
        QVERIFY2(doc.shownSource(view, true, &shown, &error), qPrintable(error));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.drawsSheets(), onScreen.isEmpty());
        if (onScreen.isEmpty())
            QCOMPARE(shown.sheet(0).firstByte, source.sheet(1).firstByte);
        else
            QCOMPARE(shown.bytes(0), onScreen);
    }

    // A page in a DOS code page prints as the file's bytes; an edited one
    // is encoded in that code page, or refused naming what it lacks. A print
    // of the selection alone sends it alike; no selection: the page.
    void printedBytes_data()
    {
        QTest::addColumn<bool>("selection"); // the selection alone, else the page
        QTest::addColumn<QString>("shown");  // the text on screen or the selection; empty: as read, none
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        const QByteArray page("\xb3\xc4\xda\x82\x9c\n", 6);
        const QString asRead = CodePage::decode(CodePage::Id::Pc437, page).replace('\n', QChar::ParagraphSeparator)
            + QChar(0x0C);
        const QString lacking = CodePage::describe(QString::fromUtf8("€"));
        QTest::newRow("as read") << false << QString() << page + '\f' << QString();
        QTest::newRow("shown as read: the bytes unchanged") << false << asRead << page + '\f' << QString();
        QTest::newRow("edited: encoded in cp437") << false << QString::fromUtf8("é│\u2029£\f")
                                                  << QByteArray("\x82\xb3\r\n\x9c\f") << QString();
        QTest::newRow("edited: a character cp437 lacks") << false << QString::fromUtf8("a€") << QByteArray() << lacking;
        QTest::newRow("selection encoded in cp437") << true << QString::fromUtf8("é│") << QByteArray("\x82\xb3")
                                                    << QString();
        QTest::newRow("a paragraph end is a line end")
            << true << QString::fromUtf8("a\u2029b") << QByteArray("a\r\nb") << QString();
        QTest::newRow("a character cp437 lacks") << true << QString::fromUtf8("a€b") << QByteArray() << lacking;
        QTest::newRow("a lacking character last") << true << QString::fromUtf8("ab\u20ac") << QByteArray() << lacking;
        QTest::newRow("no selection: the page") << true << QString() << page + '\f' << QString();
    }

    void printedBytes()
    {
        QFETCH(bool, selection);
        QFETCH(QString, shown);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        ReportDocument doc;
        load(&doc, QByteArray("first\f\xb3\xc4\xda\x82\x9c\n\flast"));
        doc.setCodePage(CodePage::Id::Pc437);
        doc.setCurrentPage(1);
        ShownText onScreen;
        if (selection)
            onScreen.selection = shown;
        else if (!shown.isEmpty())
            onScreen.page = shown;
        QByteArray sent;
        QString why;
        QCOMPARE(selection ? doc.shownPageBytes(onScreen, true, &sent, &why)
                           : doc.chosenBytes({PageSelection::Current, 0, 0}, onScreen, &sent, &why),
            error.isEmpty());
        QCOMPARE(sent, bytes);
        QVERIFY2(why.contains(error), qPrintable(why));
    }

    // The exports take what the view shows: an edited page in place of the
    // one it was read from, in the pages chosen and in the whole file.
    void shownPages_data()
    {
        QTest::addColumn<QString>("edit"); // the page on screen; empty: as read
        QTest::addColumn<bool>("continuous");
        QTest::addColumn<PageSelection::Kind>("kind");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QByteArray>("pages"); // the chosen pages, each with its form feed
        QTest::addColumn<QByteArray>("whole"); // the web page's source; empty: the file
        const auto row = [](const char *name, const QString &edit, bool continuous, PageSelection::Kind kind,
                             int first, int last, const QByteArray &pages, const QByteArray &whole) {
            QTest::newRow(name) << edit << continuous << kind << first << last << pages << whole;
        };
        using K = PageSelection;
        const QString edited = QStringLiteral("B changed\u2029\f");
        row("as read, all pages", {}, false, K::All, 1, 1, "A\r\n\fB\r\n\fC\r\n\f", {});
        row("shown as read is no edit", QStringLiteral("B\u2029\f"), false, K::All, 1, 1,
            "A\r\n\fB\r\n\fC\r\n\f", {});
        row("edited, all pages", edited, false, K::All, 1, 1, "A\r\n\fB changed\r\n\fC\r\n\f",
            "A\r\n\fB changed\r\n\fC\r\n");
        row("edited, the current page", edited, false, K::Current, 1, 1, "B changed\r\n\f",
            "A\r\n\fB changed\r\n\fC\r\n");
        row("edited, a range with it", edited, false, K::Range, 2, 3, "B changed\r\n\fC\r\n\f",
            "A\r\n\fB changed\r\n\fC\r\n");
        row("edited, a range without it", edited, false, K::Range, 3, 3, "C\r\n\f",
            "A\r\n\fB changed\r\n\fC\r\n");
        row("continuous view edited", QStringLiteral("A\u2029\fnew\u2029\f"), true, K::All, 1, 1,
            "A\r\n\fnew\r\n\f", "A\r\n\fnew\r\n\f");
    }

    void shownPages()
    {
        QFETCH(QString, edit);
        QFETCH(bool, continuous);
        QFETCH(PageSelection::Kind, kind);
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QByteArray, pages);
        QFETCH(QByteArray, whole);
        ReportDocument doc;
        load(&doc, "A\r\n\fB\r\n\fC\r\n");
        doc.setCurrentPage(1);
        doc.setContinuous(continuous);
        ShownText onScreen;
        if (!edit.isEmpty())
            onScreen.page = edit;
        ShownPages shown;
        QString error;
        QVERIFY2(ShownPages::of(doc, onScreen, {kind, first, last}, &shown, &error), qPrintable(error));
        QByteArray taken;
        for (int i : shown.chosen)
            taken += shown.source.bytes(i) + '\f';
        QCOMPARE(taken, pages);
        QByteArray source;
        bool edited = true;
        QVERIFY(ShownPages::wholeFile(doc, onScreen, &source, &edited, &error));
        QCOMPARE(source, whole);
        QCOMPARE(edited, !whole.isEmpty());
    }

    // The document tells its views what changed: each setter its signal,
    // and nothing at all when the value is the one it has.
    void changeSignals_data()
    {
        QTest::addColumn<DocumentStep>("before");
        QTest::addColumn<DocumentStep>("change");
        QTest::addColumn<QStringList>("emitted"); // in any order
        QTest::addColumn<bool>("quietAgain");     // the same change again emits nothing
        const DocumentStep none = [](ReportDocument &) {};
        const DocumentStep sheetsShown = [](ReportDocument &doc) {
            doc.setPrintedLook(true);
            doc.buildPrinted();
        };
        const auto row = [](const char *name, const DocumentStep &before, const DocumentStep &change,
                             const QStringList &emitted, bool quietAgain = true) {
            QTest::newRow(name) << before << change << emitted << quietAgain;
        };
        row("code page", none, [](ReportDocument &doc) { doc.setCodePage(CodePage::Id::Pc437); },
            {"codePageChanged"});
        row("code page, sheets shown: read again", sheetsShown,
            [](ReportDocument &doc) { doc.setCodePage(CodePage::Id::Pc437); }, {"codePageChanged", "pagesChanged"});
        row("same code page", none, [](ReportDocument &doc) { doc.setCodePage(CodePage::Id::Latin1); }, {});
        row("visual off", none, [](ReportDocument &doc) { doc.setVisual(false); }, {"markupChanged"});
        row("visual on as it is", none, [](ReportDocument &doc) { doc.setVisual(true); }, {});
        row("emphasis colours", none,
            [](ReportDocument &doc) { doc.setEmphasisColors(Qt::red, Qt::green, Qt::blue); }, {"markupChanged"});
        row("emphasis colours as they are", none,
            [](ReportDocument &doc) {
                const MarkupContext markup;
                doc.setEmphasisColors(markup.doubleWidth, markup.bold, markup.condensed);
            },
            {});
        row("paper", none, [](ReportDocument &doc) { doc.setPaperColor(Qt::yellow); }, {"paperColorChanged"});
        row("paper as it is", none, [](ReportDocument &doc) { doc.setPaperColor(Qt::white); }, {});
        row("search marks bold no more", none,
            [](ReportDocument &doc) { doc.setSearchMark({doc.searchMark().colour, false}); }, {"marksChanged"});
        row("highlight in green", none,
            [](ReportDocument &doc) { doc.setHighlightMark({Qt::green, false}); }, {"marksChanged"});
        row("-1 Line", none, [](ReportDocument &doc) { doc.setExtraLine(true); }, {"marksChanged"});
        row("the stored defaults", none, [](ReportDocument &doc) { doc.setStoredLook(ReportViewSettings()); }, {});
        row("a stored look", none,
            [](ReportDocument &doc) {
                ReportViewSettings stored;
                stored.bold = Qt::green;
                stored.reportBack = Qt::yellow;
                stored.highlightBold = true;
                stored.minusOneLine = true;
                doc.setStoredLook(stored);
                QCOMPARE(doc.markup().bold, QColor(Qt::green));
                QCOMPARE(doc.paperColor(), QColor(Qt::yellow));
                QVERIFY(doc.highlightMark().bold && doc.searchMark().bold && doc.extraLine());
            },
            {"markupChanged", "paperColorChanged", "marksChanged", "marksChanged"});
        row("zoom in", none, [](ReportDocument &doc) { doc.setZoom(true, ReportZoomedPoints); }, {"zoomChanged"});
        row("zoom as it is", none, [](ReportDocument &doc) { doc.setZoom(false, ReportStartPoints); }, {});
        row("printed look, sheets not read", none, [](ReportDocument &doc) { doc.setPrintedLook(true); },
            {"lookChanged"});
        row("sheets read", [](ReportDocument &doc) { doc.setPrintedLook(true); },
            [](ReportDocument &doc) { QVERIFY(doc.buildPrinted()); }, {"pagesChanged"});
        row("printed look left", sheetsShown, [](ReportDocument &doc) { doc.setPrintedLook(false); },
            {"lookChanged", "pagesChanged"});
        row("another form length, sheets shown", sheetsShown,
            [](ReportDocument &doc) {
                PrinterSetup setup;
                setup.formLengthInches = 12;
                doc.setPrinterSetup(setup);
            },
            {"pagesChanged"});
        row("the same printer", sheetsShown, [](ReportDocument &doc) { doc.setPrinterSetup(PrinterSetup()); }, {});
        row("forms", none, [](ReportDocument &doc) { doc.setForms(SheetForms()); }, {"formsChanged"}, false);
        row("page", none, [](ReportDocument &doc) { doc.setCurrentPage(2); }, {"currentPageChanged"});
        row("continuous", none, [](ReportDocument &doc) { doc.setContinuous(true); }, {"continuousChanged"});
        row("marking on", none, [](ReportDocument &doc) { doc.setColumnMarkCount(1); }, {"columnMarksChanged"});
        row("a column marked", [](ReportDocument &doc) { doc.setColumnMarkCount(1); },
            [](ReportDocument &doc) { doc.addColumnMark(7); }, {"columnMarksChanged"}, false);
        row("a column while marking is off", none, [](ReportDocument &doc) { doc.addColumnMark(7); }, {});
        row("loaded again", sheetsShown,
            [this](ReportDocument &doc) { load(&doc, threePages()); },
            {"loaded", "pagesChanged", "currentPageChanged", "continuousChanged", "columnMarksChanged"}, false);
    }

    void changeSignals()
    {
        QFETCH(DocumentStep, before);
        QFETCH(DocumentStep, change);
        QFETCH(QStringList, emitted);
        QFETCH(bool, quietAgain);
        ReportDocument doc;
        load(&doc, threePages());
        before(doc);
        const auto record = [&doc](const DocumentStep &step) {
            std::vector<std::pair<QByteArray, std::unique_ptr<QSignalSpy>>> spies;
            const QMetaObject &meta = ReportDocument::staticMetaObject;
            for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
                const QMetaMethod method = meta.method(i);
                if (method.methodType() == QMetaMethod::Signal)
                    spies.emplace_back(method.name(), std::make_unique<QSignalSpy>(&doc, method));
            }
            step(doc);
            QStringList names;
            for (const auto &[name, spy] : spies) {
                for (int n = 0; n < spy->count(); ++n)
                    names.append(QString::fromLatin1(name));
            }
            names.sort();
            return names;
        };
        emitted.sort();
        QCOMPARE(record(change), emitted);
        if (quietAgain)
            QCOMPARE(record(change), QStringList());
    }

private:
    void load(ReportDocument *doc, const QByteArray &bytes)
    {
        QString error;
        if (!doc->load(TestSupport::writeFile(m_dir.filePath("report.prn"), bytes), &error))
            qFatal("%s", qPrintable(error));
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestReportDocument)
#include "tst_reportdocument.moc"
