#include "report/ReportMarkup.h"

#include "escp/EscpCommands.h"
#include "report/PageText.h"

#include <QFont>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <exception>

namespace
{

void formatRange(QTextCursor &cursor, int start, int length, const QTextCharFormat &format)
{
    if (length <= 0 || format.properties().isEmpty())
        return;
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

// The pass itself, on document positions (0-based): hides the sequences and
// formats the regions that findMarkupRanges finds.
void markRegions(QTextDocument *document, const QString &open, const QString &close, const QString &tag,
    const MarkupContext &context)
{
    // Searched in document positions, whatever the page's line ends.
    const QString text = PageText::text(document);
    const QTextCharFormat hidden = markupHiddenFormat();
    const QTextCharFormat region = markupRegionFormat(tag, context);

    QTextCursor cursor(document);
    cursor.beginEditBlock();
    findMarkupRanges(text, open, close, [&](qsizetype start, qsizetype length, bool hide) {
        formatRange(cursor, int(start), int(length), hide ? hidden : region);
    });
    cursor.endEditBlock();
}

void runPass(QTextDocument *document, const QString &open, const QString &close, const QString &tag,
    const MarkupContext &context)
{
    if (!document || !context.vsual)
        return;
    // A failing pass ends quietly: the formatting done so far stays.
    try {
        markRegions(document, open, close, tag, context);
    } catch (const std::exception &) {
    }
}

} // namespace

QTextCharFormat markupHiddenFormat()
{
    QTextCharFormat hidden;
    hidden.setFontPointSize(1.0);
    hidden.setForeground(QColor(0xFF, 0xFF, 0xFF));
    return hidden;
}

RegionLook markupRegionLook(const QString &tag, const MarkupContext &context)
{
    RegionLook look;
    if (tag == QLatin1String("bold")) {
        look.colour = context.bold;
        look.bold = true;
    } else if (tag == QLatin1String("cond")) {
        look.colour = context.condensed;
        look.points = context.zoomedIn ? 9.25 : 7.0;
    } else if (tag == QLatin1String("uline")) {
        look.underline = true;
    } else if (tag == QLatin1String("bbold")) {
        look.colour = context.doubleWidth;
        look.bold = true;
        look.points = context.zoomedIn ? 29.0 : 20.0;
    }
    return look;
}

QTextCharFormat charFormatOf(const RegionLook &look)
{
    QTextCharFormat format;
    if (look.colour)
        format.setForeground(*look.colour);
    if (look.bold)
        format.setFontWeight(QFont::Bold);
    if (look.points)
        format.setFontPointSize(*look.points);
    if (look.underline)
        format.setFontUnderline(true);
    return format;
}

QTextCharFormat markupRegionFormat(const QString &tag, const MarkupContext &context)
{
    return charFormatOf(markupRegionLook(tag, context));
}

// An open sequence hides itself and looks for the next close sequence; the
// text between them is the region, and the search for the next open sequence
// goes on from that close sequence. An open sequence with no close after it
// ends the pass.
void findMarkupRanges(const QString &text, const QString &open, const QString &close,
    const std::function<void(qsizetype start, qsizetype length, bool hidden)> &take)
{
    // An empty sequence would match everywhere and never move the search on.
    if (open.isEmpty() || close.isEmpty())
        return;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype o = text.indexOf(open, from);
        if (o < 0)
            break;
        take(o, open.size(), true);
        const qsizetype k = o + open.size();
        // The close is looked for after the whole open sequence, so a close
        // that overlaps its own open cannot stall the search.
        const qsizetype c = text.indexOf(close, k);
        if (c < 0)
            break;
        take(c, close.size(), true);
        if (c > k)
            take(k, c - k, false);
        from = c;
    }
}

QVector<MarkupPass> markupPasses(MarkupOrder order)
{
    using namespace Escp;
    const MarkupPass cond{text(CondOn), text(CondOff), QStringLiteral("cond")};
    const MarkupPass uline{text(ULineOn), text(ULineOff), QStringLiteral("uline")};
    const MarkupPass bold{text(BoldOn), text(BoldOff), QStringLiteral("bold")};
    const MarkupPass bbold{text(BBoldOn), text(BBoldOff), QStringLiteral("bbold")};
    if (order == MarkupOrder::View)
        return {cond, uline, bold, bbold, {text(C96On), text(C96Off), QStringLiteral("c96")}};
    return {cond, uline, bbold, bold};
}

void ReportSetting(QTextDocument *document, const QString &Search, const QString &Search1,
    const QString &seting, const MarkupContext &context)
{
    runPass(document, Search, Search1, seting, context);
}

void applyMarkupPasses(QTextDocument *document, const MarkupContext &context, MarkupOrder order)
{
    if (!document)
        return;
    QTextCursor series(document);
    series.beginEditBlock();
    for (const MarkupPass &pass : markupPasses(order))
        ReportSetting(document, pass.open, pass.close, pass.tag, context);
    series.endEditBlock();
}
