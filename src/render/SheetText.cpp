#include "render/SheetText.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>

namespace Printed {

// A look's hash, so that the strikes of one look in one cell are counted
// (SheetText::overstruck).
static size_t qHash(const TextStyle &s, size_t seed = 0)
{
    return qHashMulti(seed, s.advance, s.height, s.proportional, s.condensed, s.doubleWidth, s.doubleHeight,
        s.bold, s.doubleStrike, s.italic, s.underline, s.underlineBroken, s.underlineDouble, s.superscript,
        s.subscript, s.strike, s.overscore, s.outline, s.shadow, s.color, s.typeface, s.letterQuality);
}

} // namespace Printed

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

// What a character printed in a cell says of it: a blank nothing, an
// underscore only that the cell is underlined (a letter printed over it is
// the text), any other character the most.
int weight(QChar c)
{
    return c == QLatin1Char(' ') ? 0 : c == QLatin1Char('_') ? 1 : 2;
}

// One line of the sheet as a reader takes it: its text, and for each of its
// characters the cell it stands in (none for the spaces of a gap).
struct Line
{
    QString text;
    QVector<QRectF> cells;
};

// The sheet's lines of the characters `keep` takes (run, index), overstruck
// ones never; the left margin and the gaps between runs kept as spaces.
QVector<QBitArray> overstruckIn(
    const Printed::Sheet &sheet, const QVector<int> &order, QVector<QBitArray> *repeated = nullptr);

template <typename Keep> QVector<Line> linesOf(const Printed::Sheet &sheet, Keep keep)
{
    constexpr Printed::Unit Column = Printed::UnitsPerInch / 10;
    const QVector<int> order = readingOrder(sheet);
    const QVector<QBitArray> hidden = overstruckIn(sheet, order);
    QVector<Line> lines;
    Printed::Unit baseline = 0;
    Printed::Unit lineEnd = 0;
    const auto space = [&lines](int count) {
        lines.last().text += QString(count, QLatin1Char(' '));
        lines.last().cells.resize(lines.last().text.size());
    };
    for (int i : order) {
        const Printed::TextRun &run = sheet.runs.at(i);
        const QBitArray *over = hidden.isEmpty() || hidden.at(i).isEmpty() ? nullptr : &hidden.at(i);
        for (int c = 0; c < run.text.size(); ++c) {
            if ((over && over->testBit(c)) || !keep(run, c))
                continue;
            const Printed::Unit x = run.x + Printed::Unit(c) * run.style.advance;
            if (lines.isEmpty() || run.baseline != baseline) {
                lines.append(Line());
                baseline = run.baseline;
                space(qMax(0, int(x / Column))); // the left margin
            } else if (x > lineEnd) {
                space(qMax(1, int((x - lineEnd + Column / 2) / Column)));
            }
            lines.last().text += run.text.at(c);
            lines.last().cells.append(cell(run, c, 1));
            lineEnd = qMax(lineEnd, x + run.style.advance);
        }
    }
    return lines;
}

QString joined(const QVector<Line> &lines)
{
    QString out;
    for (const Line &line : lines)
        out += line.text + QLatin1Char('\n');
    return out;
}

// The overstruck characters, the runs given in reading order.
QVector<QBitArray> overstruckIn(const Printed::Sheet &sheet, const QVector<int> &order, QVector<QBitArray> *repeated)
{
    QVector<QBitArray> hidden;
    if (repeated)
        repeated->clear();
    for (qsizetype first = 0; first < order.size();) {
        // The runs of one baseline, and whether any begins before another ends.
        const Printed::Unit baseline = sheet.runs.at(order.at(first)).baseline;
        qsizetype end = first;
        Printed::Unit reach = std::numeric_limits<Printed::Unit>::min();
        bool overlap = false;
        for (; end < order.size() && sheet.runs.at(order.at(end)).baseline == baseline; ++end) {
            const Printed::TextRun &run = sheet.runs.at(order.at(end));
            overlap = overlap || run.x < reach;
            reach = qMax(reach, Printed::Unit(run.x + run.text.size() * run.style.advance));
        }
        if (overlap) {
            // Each cell's text, in the order the characters were printed.
            QVector<int> printed(order.begin() + first, order.begin() + end);
            std::sort(printed.begin(), printed.end());
            struct Holder
            {
                int run;
                int index;
            };
            QHash<Printed::Unit, Holder> cells;
            // How often each character was struck in each cell in each look:
            // by (cell, look and character); the looks numbered as met.
            QHash<Printed::TextStyle, qint64> looks;
            QHash<std::pair<qint64, qint64>, int> strikes;
            for (int r : std::as_const(printed)) {
                const Printed::TextRun &run = sheet.runs.at(r);
                qint64 look = -1;
                if (repeated) {
                    look = looks.value(run.style, qint64(looks.size()));
                    if (look == looks.size())
                        looks.insert(run.style, look);
                }
                for (int c = 0; c < run.text.size(); ++c) {
                    const Printed::Unit x = run.x + Printed::Unit(c) * run.style.advance;
                    int struck = 0; // the same strikes before this one
                    if (repeated)
                        struck = strikes[{qint64(x), (look << 16) | qint64(run.text.at(c).unicode())}]++;
                    const auto held = cells.constFind(x);
                    if (held == cells.constEnd()) {
                        cells.insert(x, {r, c});
                        continue;
                    }
                    const Holder before = held.value();
                    const bool replaces = weight(run.text.at(c)) > weight(sheet.runs.at(before.run).text.at(before.index));
                    if (hidden.isEmpty())
                        hidden.resize(sheet.runs.size());
                    // A strike as earlier ones never takes the cell's text
                    // (it is no more telling than the first of them).
                    if (!replaces && struck >= MostStrikes) {
                        if (repeated->isEmpty())
                            repeated->resize(sheet.runs.size());
                        QBitArray &same = (*repeated)[r];
                        if (same.isEmpty())
                            same.resize(int(run.text.size()));
                        same.setBit(c);
                    }
                    const Holder out = replaces ? before : Holder{r, c};
                    QBitArray &bits = hidden[out.run];
                    if (bits.isEmpty())
                        bits.resize(int(sheet.runs.at(out.run).text.size()));
                    bits.setBit(out.index);
                    if (replaces)
                        cells.insert(x, {r, c});
                }
            }
        }
        first = end;
    }
    return hidden;
}

} // namespace

QVector<QBitArray> overstruck(const Printed::Sheet &sheet, QVector<QBitArray> *repeated)
{
    return overstruckIn(sheet, readingOrder(sheet), repeated);
}

QString text(const Printed::Sheet &sheet)
{
    return joined(linesOf(sheet, [](const Printed::TextRun &, int) { return true; }));
}

QVector<QRectF> find(const Printed::Sheet &sheet, const QString &needle)
{
    QVector<QRectF> found;
    if (needle.isEmpty())
        return found;
    for (const Line &line : linesOf(sheet, [](const Printed::TextRun &, int) { return true; })) {
        for (qsizetype at = line.text.indexOf(needle, 0, Qt::CaseInsensitive); at >= 0;
             at = line.text.indexOf(needle, at + 1, Qt::CaseInsensitive)) {
            QRectF area;
            for (qsizetype c = at; c < at + needle.size(); ++c)
                area = area.united(line.cells.at(c));
            found.append(area);
        }
    }
    return found;
}

QString textIn(const Printed::Sheet &sheet, const QRectF &area)
{
    return joined(linesOf(
        sheet, [&area](const Printed::TextRun &run, int c) { return cell(run, c, 1).intersects(area); }));
}

} // namespace SheetText
