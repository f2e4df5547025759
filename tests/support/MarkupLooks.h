#pragma once

#include "report/ReportMarkup.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QTest>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include <optional>
#include <tuple>

Q_DECLARE_METATYPE(MarkupOrder)

// The look the markup passes give each character of a page, one letter a
// character, and the one table of pages and the looks expected: the engine's
// test runs it on a bare document and the page view's lines, the window's on
// an edit box.
namespace MarkupLooks {

// Swatch colours unlike the defaults, so the test sees that they are read.
inline MarkupContext testContext(bool zoomedIn = false)
{
    MarkupContext context;
    context.zoomedIn = zoomedIn;
    context.doubleWidth = QColor(10, 20, 200);
    context.bold = QColor(150, 10, 20);
    context.condensed = QColor(120, 30, 140);
    return context;
}

// The format of the character at a document position. Paragraph breaks have
// no character format of their own to ask for: nullopt.
inline std::optional<QTextCharFormat> formatAt(QTextDocument *document, int position)
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
//   .  untouched  u  underlined only  h  hidden sequence: 1 point, white (bold or not)
//   |  paragraph break (a line end of the page)
//   c  "cond": Condence colour, 7 / 9.25 points
//   b  "bold": Bold colour, bold, normal size
//   B  "bbold": Dubble colour, bold, 20 / 29 points
//   P  bbold text restyled by a later bold pass: Bold colour, bold, 20 / 29
//   k  hidden sequence restyled by a later bold pass: 1 point, Bold colour, bold
//   ?  anything else
inline QChar look(const QTextCharFormat &format, const MarkupContext &context)
{
    const double size = format.fontPointSize();
    const QColor colour = format.foreground().style() != Qt::NoBrush ? format.foreground().color() : QColor();
    const bool bold = format.fontWeight() == QFont::Bold;
    const double cond = context.zoomedIn ? 9.25 : 7.0, bbold = context.zoomedIn ? 29.0 : 20.0;
    const QList<std::tuple<char, double, QColor, bool>> looks {{'.', 0, QColor(), false},
        {'c', cond, context.condensed, false}, {'b', 0, context.bold, true},
        {'B', bbold, context.doubleWidth, true}, {'P', bbold, context.bold, true}, {'k', 1, context.bold, true}};
    if (size == 1 && colour == QColor(Qt::white))
        return QLatin1Char('h');
    for (const auto &[letter, points, shade, heavy] : looks) {
        if (size == points && colour == shade && bold == heavy)
            return QLatin1Char(letter == '.' && format.fontUnderline() ? 'u' : letter);
    }
    return QLatin1Char('?');
}

inline QString looks(QTextDocument *document, const MarkupContext &context)
{
    QString result;
    for (int i = 0; i + 1 < document->characterCount(); ++i) {
        const auto format = formatAt(document, i);
        result += format ? look(*format, context) : QLatin1Char('|');
    }
    return result;
}

// The context a row of the table names.
inline MarkupContext rowContext(const QString &view)
{
    MarkupContext context = testContext(view == QLatin1String("zoomed"));
    context.vsual = view != QLatin1String("Vsual clear");
    return context;
}

// A page, the order of the passes, the view ("zoomed", "Vsual clear" or
// normal) and the letters expected.
inline void addPassesRows()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<MarkupOrder>("order");
    QTest::addColumn<QString>("context"); // "zoomed", "Vsual clear" or normal
    QTest::addColumn<QString>("expected");
    const auto view = MarkupOrder::View;
    const auto print = MarkupOrder::Print;
    // clang-format off
    const QByteArray bbold("\x0e\x1b" "E\x1bGt\x14\x1b" "F\x1bH");
    const QByteArray mixed("\x0f" "a\x12\x1b" "Eb\x1b" "F\x0e\x1b" "E\x1bGc\x14\x1b" "F\x1bH");
    QTest::newRow("SI word DC2") << QByteArray("\x0fword\x12\f") << view << "" << "hcccch.";
    QTest::newRow("SI word DC2, zoomed") << QByteArray("\x0fword\x12") << view << "zoomed" << "hcccch";
    QTest::newRow("open without close ends the pass")
        << QByteArray("\x0f" "ab\x12x\x0fyz") << view << "" << "hcch.h..";
    QTest::newRow("SI inside a region takes its format")
        << QByteArray("\x0f" "a\x0f" "b\x12") << view << "" << "hccch";
    QTest::newRow("close before open stays visible")
        << QByteArray("a\x12" "b\x0f" "c\x12") << view << "" << "...hch";
    QTest::newRow("bbold, view order") << bbold << view << "" << "hhhhhBhhhhh";
    QTest::newRow("bbold, print order: bold pass recolours") << bbold << print << "" << "hhhkkPkhhhh";
    QTest::newRow("c96 hides, and its DC2 closes a cond region")
        << QByteArray("\x0f" "a\x12\x1bW \x1bMb\x1bP") << view << "" << "hchhhhhh.hh";
    QTest::newRow("c96 is not a print pass")
        << QByteArray("\x12\x1bW \x1bMx\x1bP") << print << "" << ".........";
    QTest::newRow("ESC SI: only the SI opens") << QByteArray("\x1b\x0f" "a\x12") << view << "" << ".hch";
    QTest::newRow("regions after CR LF, lone CR and lone LF")
        << QByteArray("l\r\nm\rn\n\x1b" "Ez\x1b" "F\r\n\f") << view << "" << ".|.|.|hhbhh|.";
    QTest::newRow("uline") << QByteArray("\x1b-1ab\x1b-0c") << view << "" << "hhhuuhhh.";
    QTest::newRow("region spans lines") << QByteArray("\x0f" "a\r\nb\x12") << view << "" << "hc|ch";
    QTest::newRow("NUL and high bytes are characters")
        << QByteArray("\0\xff\x0f" "a\x12\xa0", 6) << view << "" << "..hch.";
    QTest::newRow("Vsual clear, view order") << mixed << view << "Vsual clear" << QString(mixed.size(), '.');
    QTest::newRow("empty page") << QByteArray() << view << "" << "";
    QTest::newRow("region over hundreds of lines")
        << "\x0f" + QByteArray("abcdefghijklmn\r\n").repeated(300) + "\x12" << view << ""
        << "h" + QString("cccccccccccccc|").repeated(300) + "h";
    QTest::newRow("open without close hundreds of lines on")
        << "\x0f" "a\x12" + QByteArray("x\r\n").repeated(300) + "\x0f" "b" << view << ""
        << "hch" + QString(".|").repeated(300) + "h.";
    QTest::newRow("a line too long to lay out whole is cut outside its sequences")
        << QByteArray(65530, 'a') + "\x1b" "Ebold\x1b" "F" + QByteArray(10, 'a') << view << ""
        << QString(65530, '.') + "hhbbbbhh" + QString(10, '.');
    // clang-format on
}

} // namespace MarkupLooks
