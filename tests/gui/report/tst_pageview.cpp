// The page view's wiring: caret and selection by mouse and keys as the
// caption reads them, copy in the code page, marks and emphasis on screen.
#include "TestSupport.h"
#include "gui/platform/MessageBox.h"
#include "gui/report/PageView.h"
#include "report/PageText.h"
#include "report/ReportMarkup.h"
#include "report/ReportFont.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

std::shared_ptr<ViewLines> linesOf(const QByteArray &page, CodePage::Id codePage = CodePage::Id::Latin1)
{
    ViewLines::Options options;
    options.codePage = codePage;
    options.formFeedAtEnd = true;
    return ViewLines::of(page, options);
}

// Shows the view at `size` with the lines in `font` (the report's own
// unless given); false when it does not reach the screen.
bool shown(PageView &view, QSize size, std::shared_ptr<ViewLines> lines,
    const QFont &font = reportFont(ReportUnzoomedPoints))
{
    view.resize(size);
    view.setTextFont(font);
    view.setLines(std::move(lines));
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

// The report font's measures where the view draws.
QFontMetricsF metricsOf(PageView &view)
{
    return QFontMetricsF(reportFont(ReportUnzoomedPoints), view.viewport());
}

// Counts the pixels of one colour in what the view shows.
int pixelsOf(PageView &view, const QColor &colour)
{
    const QImage shot = view.viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            count += shot.pixelColor(x, y) == colour ? 1 : 0;
    }
    return count;
}

} // namespace

class TestPageView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void caret_data()
    {
        QTest::addColumn<QString>("keys"); // key sequences, comma-separated; "click 3" clicks line 4's start
        QTest::addColumn<QPoint>("lineColumn");
        QTest::addColumn<int>("selected");
        QTest::newRow("click at the start of line 4") << "click 3" << QPoint(3, 0) << 0;
        QTest::newRow("shift+right thrice") << "Shift+Right,Shift+Right,Shift+Right" << QPoint(0, 0) << 3;
        QTest::newRow("down, end, shift+home") << "Down,End,Shift+Home" << QPoint(1, 0) << 3;
        QTest::newRow("up keeps the column") << "click 3,Right,Right,Up,Shift+Right" << QPoint(2, 2) << 1;
        QTest::newRow("shift+up over a line end") << "Ctrl+End,Shift+Up" << QPoint(2, 5) << 1 + 5;
        QTest::newRow("page down stops at the last line") << "PgDown,PgDown" << QPoint(3, 0) << 0;
        QTest::newRow("ctrl+a takes the form feed too") << "Ctrl+A" << QPoint(0, 0) << 18 + 1;
        QTest::newRow("left at the start stays") << "Left" << QPoint(0, 0) << 0;
    }

    void caret()
    {
        QFETCH(QString, keys);
        QFETCH(QPoint, lineColumn);
        QFETCH(int, selected);
        PageView view;
        QVERIFY(shown(view, {400, 300}, linesOf("one\r\ntwo\rthree\nfour")));
        int changes = 0;
        connect(&view, &PageView::selectionChanged, this, [&] { ++changes; });
        for (const QString &key : keys.split(QLatin1Char(','))) {
            if (key.startsWith(QLatin1String("click "))) {
                const QFontMetricsF metrics = metricsOf(view);
                const int y = int(4 + (key.mid(6).toInt() + 0.5) * (metrics.ascent() + metrics.descent()));
                QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(5, y));
            } else {
                QTest::keySequence(&view, QKeySequence(key));
            }
        }
        const PageView::LineColumn at = view.lineColumn();
        QCOMPARE(QPoint(int(at.line), int(at.column)), lineColumn);
        QCOMPARE(view.selectionLength(), qint64(selected));
        QVERIFY(changes > 0);
    }

    // Words and lines as a text editor takes them: Ctrl+Left/Right, a
    // double click on a word, a triple click on a line.
    void words_data()
    {
        QTest::addColumn<QString>("steps"); // key sequences or "double N" / "triple N" (a click on column N of line 1)
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        // A0 C1 M2 E3 _4 L5 t6 d7 .8 _9 _10 S11 ... l23 _24 2025 ... 28, line end 29.
        QTest::newRow("ctrl+right to the next word") << "Ctrl+Right" << 5 << 0;
        QTest::newRow("ctrl+right over signs and spaces") << "Ctrl+Right,Ctrl+Right" << 11 << 0;
        QTest::newRow("ctrl+right at the line end to the next line") << "End,Ctrl+Right" << 30 << 0;
        QTest::newRow("ctrl+left to the word's start") << "End,Ctrl+Left" << 25 << 0;
        QTest::newRow("ctrl+left at a line start to the line end before") << "Down,Home,Ctrl+Left" << 29 << 0;
        QTest::newRow("shift+ctrl+right selects a word and its space") << "Shift+Ctrl+Right" << 0 << 5;
        QTest::newRow("double click on a word") << "double 14" << 11 << 13;
        QTest::newRow("double click on a space") << "double 9" << 9 << 1;
        QTest::newRow("triple click takes the line") << "triple 3" << 0 << 30;
    }

    void words()
    {
        QFETCH(QString, steps);
        QFETCH(int, start);
        QFETCH(int, length);
        PageView view;
        QVERIFY(shown(view, {600, 300}, linesOf("ACME Ltd.  Sales_journal 2025\r\nnext line\r\n")));
        const QFontMetricsF metrics = metricsOf(view);
        for (const QString &step : steps.split(QLatin1Char(','))) {
            const int column = step.section(' ', 1).toInt();
            const QPoint at(int(4 + (column + 0.5) * metrics.horizontalAdvance(QLatin1Char('0'))),
                int(4 + 0.5 * (metrics.ascent() + metrics.descent())));
            if (step.startsWith("double") || step.startsWith("triple")) {
                QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
                if (step.startsWith("triple"))
                    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
            } else {
                QTest::keySequence(&view, QKeySequence(step));
            }
        }
        QCOMPARE(view.selectionStart(), qint64(start));
        QCOMPARE(view.selectionLength(), qint64(length));
    }

    void copyReadsTheCodePage()
    {
        PageView view;
        view.setLines(linesOf("\xb3\xc4\xda\x82\x9c\r\nx", CodePage::Id::Pc437));
        QTest::keySequence(&view, QKeySequence::SelectAll);
        QTest::keySequence(&view, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(u"│─┌é£\nx\f"));
    }

    void copyBound_data()
    {
        // A selection over the bound is refused with a message and leaves the
        // clipboard as it was; at the bound it is copied. (The bound is
        // injected small; the window's own is PageView::DefaultMostCopied.)
        QTest::addColumn<int>("bound");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("messages");
        QTest::newRow("at the bound: copied") << 11 << "0123456789\n" << 0;
        QTest::newRow("one over: refused") << 10 << "before" << 1;
    }

    void copyBound()
    {
        QFETCH(int, bound);
        QFETCH(QString, clipboard);
        QFETCH(int, messages);
        MessageBox::setTestMode(true);
        MessageBox::clearShown();
        QGuiApplication::clipboard()->setText("before");
        PageView view;
        view.setMostCopied(bound);
        view.setLines(linesOf("0123456789\r\n"));
        view.select(0, 11);
        QTest::keySequence(&view, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        QCOMPARE(MessageBox::shown().size(), messages);
        if (messages)
            QVERIFY2(MessageBox::shown().first().text.contains("11 characters"),
                qPrintable(MessageBox::shown().first().text));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    // The page view puts each line where the edit box (a text document with
    // the same markup) puts it, so a page looks the same either way and
    // ticking "Edit" does not move it: a click on the middle of a line of
    // the document lands on that line.
    void lines_whereTheEditBoxHasThem_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("codePage");
        const QByteArray plain = QByteArray("line\r\n").repeated(20);
        QTest::newRow("the zoomed-out size: heights in whole pixels") << plain << 12.0 << 0;
        QTest::newRow("box drawing in its own font") << QByteArray("\xda\xc4\xbf\r\n\xb3 \xb3\r\n").repeated(12) << 11.25 << 2;
        QTest::newRow("a line of a hidden sequence is a sliver")
            << QByteArray("Title\r\n\x0f\r\nsmall\r\n\x12\r\n") + plain << 11.25 << 0;
        QTest::newRow("empty lines in a region take its size")
            << QByteArray("a\r\n\x0e\x1b" "E\x1b" "G\r\n\r\n\r\n\r\nBIG\r\n\r\n\x14\x1b" "F\x1b" "H\r\n\r\n") + plain << 11.25 << 0;
    }

    // Every code page's report font is an installed, fixed-pitch family:
    // Courier New where installed, else Liberation Mono, and DejaVu Sans
    // Mono for a PC code page whose characters it holds.
    void reportFont_installedFamily_data()
    {
        QTest::addColumn<int>("codePage");
        for (int codePage = 0; codePage < 7; ++codePage)
            QTest::addRow("code page %d", codePage) << codePage;
    }

    void reportFont_installedFamily()
    {
        QFETCH(int, codePage);
        const QString family = reportFontFamily(CodePage::Id(codePage));
        QVERIFY2(QFontDatabase::families().contains(family), qPrintable(family));
        QVERIFY(QFontInfo(reportFont(10, false, CodePage::Id(codePage))).fixedPitch());
        if (codePage == int(CodePage::Id::Latin1)) {
            const bool courier = QFontDatabase::families().contains("Courier New");
            QCOMPARE(family, courier ? "Courier New" : "Liberation Mono");
        }
    }

    void lines_whereTheEditBoxHasThem()
    {
        QFETCH(QByteArray, page);
        QFETCH(double, points);
        QFETCH(int, codePage);
        const QFont font = reportFont(points, false, CodePage::Id(codePage));
        const std::shared_ptr<ViewLines> lines = linesOf(page, CodePage::Id(codePage));
        PageView view;
        QVERIFY(shown(view, {600, 700}, lines, font));
        QTextDocument document;
        document.setDefaultFont(font);
        PageText::setText(&document, lines->text(0, lines->positionCount()));
        applyMarkupPasses(&document, MarkupContext(), MarkupOrder::View);
        document.documentLayout(); // lays the document out
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QTextLine line = block.layout()->lineAt(0);
            const qreal middle = document.documentLayout()->blockBoundingRect(block).top() + line.y() + line.height() / 2;
            QVERIFY(middle < view.viewport()->height());
            QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(5, int(middle)));
            QCOMPARE(view.lineColumn().line, qint64(block.blockNumber()));
        }
    }

    // Ctrl+End scrolls the last line (the form feed's) on screen whole, whatever
    // part of a line the window's height leaves over.
    void lastLine_scrolledToWhole_data()
    {
        QTest::addColumn<int>("height");
        for (int height = 200; height < 220; height += 3)
            QTest::newRow(qPrintable(QString::number(height))) << height;
    }

    void lastLine_scrolledToWhole()
    {
        QFETCH(int, height);
        const std::shared_ptr<ViewLines> lines = linesOf(QByteArray("line\r\n").repeated(60));
        PageView view;
        QVERIFY(shown(view, {400, height}, lines));
        QTest::keySequence(&view, QKeySequence(QKeySequence::MoveToEndOfDocument));
        const QFontMetricsF metrics = metricsOf(view);
        const qreal lineHeight = std::ceil(metrics.ascent() + metrics.descent());
        QVERIFY(4 + (lines->lineCount() - view.firstVisibleLine()) * lineHeight <= view.viewport()->height());
    }

    // The scroll bar across reaches the widest line as drawn, however far
    // down it is: control codes (picture data, say) take no room.
    void scrollAcross_widestLineAsDrawn_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("widest"); // characters
        const QByteArray codes = QByteArray("\x1b*\x01").append(QByteArray(300, '\x02'));
        QTest::newRow("codes take no room") << QByteArray("short\r\n").repeated(60) + codes + "x" << 5;
        QTest::newRow("a long line far down") << QByteArray("short\r\n").repeated(60) + QByteArray(120, 'y') << 120;
    }

    void scrollAcross_widestLineAsDrawn()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, widest);
        PageView view;
        QVERIFY(shown(view, {300, 200}, linesOf(page)));
        const qreal advance = metricsOf(view).horizontalAdvance('0');
        QTRY_COMPARE(view.horizontalScrollBar()->maximum(),
            qMax(0, int(widest * advance + 8) - view.viewport()->width()));
    }

    void drawn_data()
    {
        QTest::addColumn<QByteArray>("page");
        QTest::addColumn<int>("markLine"); // -1: none
        QTest::addColumn<QColor>("colour");
        const QByteArray many = QByteArray("line\r\n").repeated(500);
        QTest::newRow("bold region in the Bold colour") << QByteArray("a\x1b" "EBOLD\x1b" "F") << -1
                                                       << MarkupContext().bold;
        QTest::newRow("a search mark far down is scrolled to") << many << 450 << QColor(0xFF, 0x80, 0);
        QTest::newRow("a mark on the first line") << many << 0 << QColor(0xFF, 0x80, 0);
    }

    void drawn()
    {
        QFETCH(QByteArray, page);
        QFETCH(int, markLine);
        QFETCH(QColor, colour);
        PageView view;
        view.resize(400, 300);
        view.setTextFont(reportFont(ReportUnzoomedPoints));
        ViewLines::Options options;
        view.setLines(ViewLines::of(page, options));
        QCOMPARE(pixelsOf(view, colour) > 0, markLine < 0);
        if (markLine >= 0) {
            view.addMark({markLine * 5, 4, colour, 1});
            view.ensureVisible(markLine * 5);
            QVERIFY(view.firstVisibleLine() <= markLine);
            QVERIFY(view.firstVisibleLine() + view.verticalScrollBar()->pageStep() > markLine);
            QVERIFY(pixelsOf(view, colour) > 0);
            view.clearMarks();
            QCOMPARE(pixelsOf(view, colour), 0);
        }
    }
};

QTEST_MAIN(TestPageView)
#include "tst_pageview.moc"
