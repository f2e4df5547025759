#include "render/SheetText.h"

#include <algorithm>
#include <numeric>

namespace SheetText {

namespace {

// The runs in reading order: by baseline, then from the left.
QVector<int> readingOrder(const Printed::Sheet &sheet)
{
    QVector<int> order(sheet.runs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Printed::TextRun &ra = sheet.runs.at(a);
        const Printed::TextRun &rb = sheet.runs.at(b);
        return ra.baseline != rb.baseline ? ra.baseline < rb.baseline : ra.x < rb.x;
    });
    return order;
}

QRectF cell(const Printed::TextRun &run, int from, int length)
{
    const double height = run.style.height * (run.style.doubleHeight ? 2 : 1);
    return QRectF(run.x + double(from) * run.style.advance, run.baseline - height * 2 / 3,
        double(length) * run.style.advance, height);
}

// The runs' text joined in lines; `keep` chooses the characters of a run.
template <typename Keep> QString joined(const Printed::Sheet &sheet, Keep keep)
{
    constexpr Printed::Unit Column = Printed::UnitsPerInch / 10;
    QString out;
    bool first = true;
    Printed::Unit baseline = 0;
    Printed::Unit lineEnd = 0;
    for (int i : readingOrder(sheet)) {
        const Printed::TextRun &run = sheet.runs.at(i);
        const QString part = keep(run);
        if (part.isEmpty())
            continue;
        if (first || run.baseline != baseline) {
            if (!first)
                out += QLatin1Char('\n');
            first = false;
            baseline = run.baseline;
            lineEnd = 0;
            out += QString(qMax(0, int(run.x / Column)), QLatin1Char(' ')); // the left margin as spaces
        } else if (run.x > lineEnd) {
            out += QString(qMax(1, int((run.x - lineEnd + Column / 2) / Column)), QLatin1Char(' '));
        }
        out += part;
        lineEnd = qMax(lineEnd, Printed::Unit(run.x + part.size() * run.style.advance));
    }
    if (!first)
        out += QLatin1Char('\n');
    return out;
}

} // namespace

QString text(const Printed::Sheet &sheet)
{
    return joined(sheet, [](const Printed::TextRun &run) { return run.text; });
}

QVector<Match> find(const Printed::Sheet &sheet, const QString &needle)
{
    QVector<Match> found;
    if (needle.isEmpty())
        return found;
    for (int i : readingOrder(sheet)) {
        const QString &text = sheet.runs.at(i).text;
        for (qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(needle, at + 1, Qt::CaseInsensitive))
            found.append({i, int(at), int(needle.size())});
    }
    return found;
}

QRectF area(const Printed::Sheet &sheet, const Match &match)
{
    if (match.run < 0 || match.run >= sheet.runs.size())
        return {};
    return cell(sheet.runs.at(match.run), match.from, match.length);
}

QString textIn(const Printed::Sheet &sheet, const QRectF &area)
{
    return joined(sheet, [&area](const Printed::TextRun &run) {
        QString part;
        for (int c = 0; c < run.text.size(); ++c) {
            if (cell(run, c, 1).intersects(area))
                part += run.text.at(c);
        }
        return part;
    });
}

} // namespace SheetText
