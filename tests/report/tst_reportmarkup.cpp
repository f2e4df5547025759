#include "TestSupport.h"
#include "report/PageDocument.h"
#include "report/ReportMarkup.h"
#include "startup/MainModule.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <optional>

Q_DECLARE_METATYPE(MarkupOrder)

namespace
{

// Swatch colours unlike the defaults, so the test sees that they are read.
MarkupContext testContext(bool zoomedIn = false)
{
    MarkupContext context;
    context.zoomedIn = zoomedIn;
    context.dubble = QColor(10, 20, 200);
    context.bold = QColor(150, 10, 20);
    context.condence = QColor(120, 30, 140);
    return context;
}

// The format of the character at a document position. Paragraph breaks have
// no character format of their own to ask for: nullopt.
std::optional<QTextCharFormat> formatAt(QTextDocument *document, int position)
{
    const QTextBlock block = document->findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat();
    }
    return std::nullopt;
}

// One letter per document position for the look a character ends with:
//   .  untouched             h  hidden sequence: 1 point, white (bold or not)
//   |  paragraph break (a line end of the page)
//   c  "cond": Condence colour, 7 / 9.25 points
//   b  "bold": Bold colour, bold, normal size
//   B  "bbold": Dubble colour, bold, 20 / 29 points
//   P  bbold text restyled by a later bold pass: Bold colour, bold, 20 / 29
//   k  hidden sequence restyled by a later bold pass: 1 point, Bold colour, bold
//   ?  anything else
QChar look(const QTextCharFormat &format, const MarkupContext &context)
{
    const double size = format.fontPointSize();
    const bool coloured = format.foreground().style() != Qt::NoBrush;
    const QColor colour = format.foreground().color();
    const bool bold = format.fontWeight() == QFont::Bold;
    const double condSize = context.zoomedIn ? 9.25 : 7.0;
    const double bboldSize = context.zoomedIn ? 29.0 : 20.0;
    if (size == 0 && !coloured && !bold)
        return QLatin1Char('.');
    if (size == 1 && colour == QColor(Qt::white))
        return QLatin1Char('h');
    if (size == 1 && colour == context.bold && bold)
        return QLatin1Char('k');
    if (size == condSize && colour == context.condence && !bold)
        return QLatin1Char('c');
    if (size == 0 && colour == context.bold && bold)
        return QLatin1Char('b');
    if (size == bboldSize && colour == context.dubble && bold)
        return QLatin1Char('B');
    if (size == bboldSize && colour == context.bold && bold)
        return QLatin1Char('P');
    return QLatin1Char('?');
}

QString looks(QTextDocument *document, const MarkupContext &context)
{
    QString result;
    for (int i = 0; i + 1 < document->characterCount(); ++i) {
        const auto format = formatAt(document, i);
        result += format ? look(*format, context) : QLatin1Char('|');
    }
    return result;
}

QString underlines(QTextDocument *document)
{
    QString result;
    for (int i = 0; i + 1 < document->characterCount(); ++i) {
        const auto format = formatAt(document, i);
        result += QLatin1Char(!format ? '|' : format->fontUnderline() ? 'u' : '.');
    }
    return result;
}

} // namespace

class TestReportMarkup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::init(); }

    void passes_data();
    void passes();
    void underlineRegions_data();
    void underlineRegions();
    void vsualClearLeavesTextAndSelection();
    void unknownTagOnlyHides();
    void emptySequenceEndsAtOnce();
    void newPageStartsUnformatted();
};

void TestReportMarkup::passes_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<MarkupOrder>("order");
    QTest::addColumn<bool>("zoomedIn");
    QTest::addColumn<QString>("expected");

    const auto view = MarkupOrder::View;
    const auto print = MarkupOrder::Print;
    // clang-format off
    QTest::newRow("SI word DC2") << QByteArray("\x0fword\x12\f") << view << false << "hcccch.";
    QTest::newRow("SI word DC2, zoomed") << QByteArray("\x0fword\x12") << view << true << "hcccch";
    QTest::newRow("SI word DC2, print order") << QByteArray("\x0fword\x12") << print << false << "hcccch";
    QTest::newRow("open without close ends the pass")
        << QByteArray("\x0f" "ab\x12x\x0fyz") << view << false << "hcch.h..";
    QTest::newRow("SI inside a region takes its format")
        << QByteArray("\x0f" "a\x0f" "b\x12") << view << false << "hccch";
    QTest::newRow("close before open stays visible")
        << QByteArray("a\x12" "b\x0f" "c\x12") << view << false << "...hch";
    QTest::newRow("two bold regions")
        << QByteArray("\x1b" "Ea\x1b" "Fb\x1b" "Ec\x1b" "F") << view << false << "hhbhh.hhbhh";
    QTest::newRow("bbold, view order")
        << QByteArray("\x0e\x1b" "E\x1bGt\x14\x1b" "F\x1bH") << view << false << "hhhhhBhhhhh";
    QTest::newRow("bbold, view order, zoomed")
        << QByteArray("\x0e\x1b" "E\x1bGt\x14\x1b" "F\x1bH") << view << true << "hhhhhBhhhhh";
    QTest::newRow("bbold, print order: bold pass recolours")
        << QByteArray("\x0e\x1b" "E\x1bGt\x14\x1b" "F\x1bH") << print << false << "hhhkkPkhhhh";
    QTest::newRow("c96 hides and keeps the normal font")
        << QByteArray("\x12\x1bW \x1bMx\x1bP") << view << false << "hhhhhh.hh";
    QTest::newRow("c96 open closes a cond region")
        << QByteArray("\x0f" "a\x12\x1bW \x1bMb\x1bP") << view << false << "hchhhhhh.hh";
    QTest::newRow("c96 is not a print pass")
        << QByteArray("\x12\x1bW \x1bMx\x1bP") << print << false << ".........";
    QTest::newRow("ESC SI: only the SI opens")
        << QByteArray("\x1b\x0f" "a\x12") << view << false << ".hch";
    QTest::newRow("ESC E inside a longer escape opens bold")
        << QByteArray("\x1b\x1b" "Ea\x1b" "F") << view << false << ".hhbhh";
    QTest::newRow("regions after CR LF lines")
        << QByteArray("l1\r\nl2\r\n\x1b" "Ez\x1b" "F\r\n\f") << view << false << "..|..|hhbhh|.";
    QTest::newRow("regions after lone CR and LF")
        << QByteArray("a\rb\n\x0fz\x12") << view << false << ".|.|hch";
    QTest::newRow("region spans lines")
        << QByteArray("\x0f" "a\r\nb\x12") << view << false << "hc|ch";
    QTest::newRow("NBSP is not the space of c96")
        << QByteArray("\x12\x1bW\xa0\x1bMx\x1bP") << view << false << ".........";
    QTest::newRow("NUL and high bytes are characters")
        << QByteArray("\0\xff\x0f" "a\x12\xa0", 6) << view << false << "..hch.";
    QTest::newRow("no sequences") << QByteArray("plain\r\ntext\f") << view << false << ".....|.....";
    QTest::newRow("empty page") << QByteArray() << view << false << "";
    // clang-format on
}

void TestReportMarkup::passes()
{
    QFETCH(QByteArray, page);
    QFETCH(MarkupOrder, order);
    QFETCH(bool, zoomedIn);
    QFETCH(QString, expected);

    const MarkupContext context = testContext(zoomedIn);
    QTextDocument document;
    PageDocument::setText(&document, QString::fromLatin1(page));
    applyMarkupPasses(&document, context, order);
    QCOMPARE(looks(&document, context), expected);

    // The same passes on an edit box give the same result.
    QTextEdit edit;
    PageDocument::setText(&edit, QString::fromLatin1(page));
    applyMarkupPasses(&edit, context, order);
    QCOMPARE(looks(edit.document(), context), expected);
    QCOMPARE(edit.textCursor().selectionStart(), 0);
    QCOMPARE(edit.textCursor().selectionEnd(), page.isEmpty() ? 0 : 1);
}

void TestReportMarkup::underlineRegions_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("expected");
    QTest::newRow("uline") << QByteArray("\x1b-1ab\x1b-0c") << "...uu....";
    QTest::newRow("bold inside uline keeps the underline") << QByteArray("\x1b-1a\x1b"
                                                                         "Eb\x1b"
                                                                         "Fc\x1b-0")
                                                           << "...uuuuuuu...";
    QTest::newRow("ESC -0 without an open") << QByteArray("a\x1b-0") << "....";
}

void TestReportMarkup::underlineRegions()
{
    QFETCH(QByteArray, page);
    QFETCH(QString, expected);
    QTextDocument document;
    PageDocument::setText(&document, QString::fromLatin1(page));
    applyMarkupPasses(&document, testContext(), MarkupOrder::View);
    QCOMPARE(underlines(&document), expected);
}

void TestReportMarkup::vsualClearLeavesTextAndSelection()
{
    MarkupContext context = testContext();
    context.vsual = false;
    const QString page = QString::fromLatin1("\x0f"
                                             "a\x12\x1b"
                                             "Eb\x1b"
                                             "F\x0e\x1b"
                                             "E\x1bGc\x14\x1b"
                                             "F\x1bH\f");
    QTextEdit edit;
    PageDocument::setText(&edit, page);
    QTextCursor caret(edit.document());
    caret.setPosition(4);
    edit.setTextCursor(caret);

    applyMarkupPasses(&edit, context, MarkupOrder::View);
    QCOMPARE(looks(edit.document(), context), QString(page.size(), QLatin1Char('.')));
    QCOMPARE(edit.textCursor().position(), 4);
    QVERIFY(!edit.textCursor().hasSelection());

    QTextDocument document;
    PageDocument::setText(&document, page);
    applyMarkupPasses(&document, context, MarkupOrder::Print);
    QCOMPARE(looks(&document, context), QString(page.size(), QLatin1Char('.')));
    QCOMPARE(document.toRawText(), page);
}

void TestReportMarkup::unknownTagOnlyHides()
{
    const MarkupContext context = testContext();
    QTextDocument document;
    PageDocument::setText(&document, QStringLiteral("<a>x</a>y"));
    ReportSetting(&document, QStringLiteral("<a>"), QStringLiteral("</a>"), QStringLiteral("other"), context);
    QCOMPARE(looks(&document, context), QStringLiteral("hhh.hhhh."));
}

void TestReportMarkup::emptySequenceEndsAtOnce()
{
    const MarkupContext context = testContext();
    QTextEdit edit;
    PageDocument::setText(&edit, QStringLiteral("abc\x12"));
    ReportSetting(&edit, QString(), CondOff, QStringLiteral("cond"), context);
    ReportSetting(&edit, CondOn, QString(), QStringLiteral("cond"), context);
    QCOMPARE(looks(edit.document(), context), QStringLiteral("...."));
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("a"));
}

void TestReportMarkup::newPageStartsUnformatted()
{
    // The first character of a page is often a hidden sequence, and the
    // passes leave the selection on it; the next page must not inherit it.
    const MarkupContext context = testContext();
    QTextEdit edit;
    PageDocument::setText(&edit,
        QStringLiteral("\x0e\x1b"
                       "E\x1bGt\x14\x1b"
                       "F\x1bH\f"));
    applyMarkupPasses(&edit, context, MarkupOrder::View);
    PageDocument::setText(&edit, QStringLiteral("next\f"));
    QCOMPARE(looks(edit.document(), context), QStringLiteral("....."));
    QTest::keyClicks(&edit, QStringLiteral("z"));
    QCOMPARE(edit.toPlainText().left(1), QStringLiteral("z"));
    QCOMPARE(looks(edit.document(), context), QStringLiteral("......"));
}

QTEST_MAIN(TestReportMarkup)
#include "tst_reportmarkup.moc"
