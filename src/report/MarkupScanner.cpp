#include "report/MarkupScanner.h"

namespace {

// What the passes so far did to a character, one base-5 digit per pass: the
// hidden and the region format merge in the order they were applied.
enum Kind { Untouched = 0, Hidden = 1, Region = 2, HiddenThenRegion = 3, RegionThenHidden = 4 };
constexpr int KindCount = 5;

int afterApplying(int kind, Kind applied)
{
    if (applied == Hidden)
        return kind == Untouched || kind == Hidden ? Hidden : RegionThenHidden;
    return kind == Untouched || kind == Region ? Region : HiddenThenRegion;
}

} // namespace

MarkupScanner::MarkupScanner(const MarkupContext &context, MarkupOrder order)
    : MarkupScanner(context, markupPasses(order))
{ }

MarkupScanner::MarkupScanner(const MarkupContext &context, const QVector<MarkupPass> &passes)
{
    if (context.vsual) {
        for (const MarkupPass &step : passes) {
            // An empty sequence would match everywhere: such a pass does nothing.
            if (step.open.isEmpty() || step.close.isEmpty())
                continue;
            Pass pass;
            pass.open = step.open;
            pass.close = step.close;
            pass.look = markupRegionLook(step.tag, context);
            pass.region = charFormatOf(pass.look);
            m_passes.append(pass);
            for (const QString *sequence : {&step.open, &step.close}) {
                for (QChar c : *sequence)
                    m_inSequence[c.unicode() & 0xFF] = true;
            }
        }
    }
    int styles = 1;
    for (int i = 0; i < m_passes.size(); ++i)
        styles *= KindCount;
    // Made when first asked for: a page uses a few of the thousands.
    m_formats = std::make_shared<Formats>();
    m_formats->formats.resize(styles);
    m_formats->made.resize(styles, false);
}

bool MarkupScanner::settled() const
{
    if (m_closesKnown)
        return true;
    for (const Pass &pass : m_passes) {
        if (pass.inRegion)
            return false;
    }
    return true;
}

MarkupScanner MarkupScanner::rescan() const
{
    MarkupScanner scan = *this;
    scan.m_closesKnown = true;
    scan.m_marked = 0;
    for (Pass &pass : scan.m_passes) {
        pass.inRegion = false;
        pass.ended = false;
    }
    return scan;
}

MarkupScanner MarkupScanner::knowingCloses(
    const std::function<qsizetype(const QString &close)> &lastClose) const
{
    MarkupScanner scan = rescan();
    for (Pass &pass : scan.m_passes)
        pass.lastClose = lastClose(pass.close);
    return scan;
}

const QTextCharFormat &MarkupScanner::format(int style) const
{
    QTextCharFormat &merged = m_formats->formats[style];
    if (m_formats->made.at(style))
        return merged;
    m_formats->made[style] = true;
    const QTextCharFormat hidden = markupHiddenFormat();
    int digits = style;
    for (const Pass &pass : m_passes) {
        const int kind = digits % KindCount;
        if (kind == Hidden || kind == HiddenThenRegion)
            merged.merge(hidden);
        if (kind == Region || kind == HiddenThenRegion || kind == RegionThenHidden)
            merged.merge(pass.region);
        if (kind == RegionThenHidden)
            merged.merge(hidden);
        digits /= KindCount;
    }
    return merged;
}

bool MarkupScanner::inRegion(int style, int pass) const
{
    for (int i = 0; i < pass; ++i)
        style /= KindCount;
    const int kind = style % KindCount;
    return kind == Region || kind == HiddenThenRegion || kind == RegionThenHidden;
}

bool MarkupScanner::hides(int style) const
{
    for (int i = 0; i < m_passes.size(); ++i, style /= KindCount) {
        const int kind = style % KindCount;
        if (kind == Hidden || kind == HiddenThenRegion || kind == RegionThenHidden)
            return true;
    }
    return false;
}

void MarkupScanner::mark(QStringView piece, QVector<MarkupRun> *runs)
{
    runs->clear();
    if (piece.isEmpty())
        return;
    if (m_passes.isEmpty()) {
        runs->append({piece.size(), 0});
        return;
    }
    if (!m_closesKnown) {
        for (Pass &pass : m_passes) {
            const qsizetype last = piece.lastIndexOf(QStringView(pass.close));
            if (last >= 0)
                pass.lastClose = m_marked + last;
        }
    }
    m_styles.fill(0, piece.size());
    for (int i = 0; i < m_passes.size(); ++i)
        markPass(i, piece, m_styles.data());
    // Equal neighbours make one run.
    const quint16 *styles = m_styles.constData();
    qsizetype start = 0;
    for (qsizetype i = 1; i <= piece.size(); ++i) {
        if (i == piece.size() || styles[i] != styles[start]) {
            runs->append({i - start, styles[start]});
            start = i;
        }
    }
    m_marked += piece.size();
}

// One pass over a piece, carrying an open region over from the piece before.
void MarkupScanner::markPass(int index, QStringView piece, quint16 *styles)
{
    Pass &pass = m_passes[index];
    int weight = 1;
    for (int i = 0; i < index; ++i)
        weight *= KindCount;
    const auto apply = [&](qsizetype from, qsizetype to, Kind applied) {
        for (qsizetype q = from; q < to; ++q) {
            const int kind = (styles[q] / weight) % KindCount;
            styles[q] = quint16(styles[q] + (afterApplying(kind, applied) - kind) * weight);
        }
    };
    const QStringView open(pass.open);
    const QStringView close(pass.close);
    qsizetype at = 0;
    while (!pass.ended) {
        if (pass.inRegion) {
            const qsizetype c = piece.indexOf(close, at);
            if (c < 0) {
                apply(at, piece.size(), Region);
                break;
            }
            apply(c, c + close.size(), Hidden);
            apply(at, c, Region);
            pass.inRegion = false;
            at = c; // the next open is looked for from the close
            continue;
        }
        const qsizetype o = piece.indexOf(open, at);
        if (o < 0)
            break;
        apply(o, o + open.size(), Hidden);
        at = o + open.size();
        // The close is looked for after the whole open sequence; an open
        // with none after it ends the pass.
        if (m_closesKnown && pass.lastClose < m_marked + at) {
            pass.ended = true;
            break;
        }
        pass.inRegion = true;
    }
}

qsizetype MarkupScanner::cutPoint(QByteArrayView bytes, qsizetype limit) const
{
    if (bytes.size() <= limit)
        return bytes.size();
    const char *data = bytes.data();
    for (qsizetype p = limit; p > limit / 2; --p) {
        if (data[p - 1] == '\n')
            return p;
    }
    const auto cuttable = [&](qsizetype p) {
        const uchar c = uchar(data[p - 1]);
        return c != '\r' && !m_inSequence.at(c);
    };
    for (qsizetype p = limit; p > 0; --p) {
        if (cuttable(p))
            return p;
    }
    // Every byte is one some sequence holds (a run of ESC): a place that no
    // sequence's bytes straddle still cuts none. Without it such a page was
    // one piece, held whole several times over.
    const auto straddled = [&](qsizetype p) {
        for (const Pass &pass : m_passes) {
            for (const QString *sequence : {&pass.open, &pass.close}) {
                const qsizetype length = sequence->size();
                for (qsizetype k = 1; k < length; ++k) {
                    if (p - k < 0 || p - k + length > bytes.size())
                        continue;
                    bool same = true;
                    for (qsizetype j = 0; j < length && same; ++j)
                        same = uchar(data[p - k + j]) == (sequence->at(j).unicode() & 0xFF);
                    if (same)
                        return true;
                }
            }
        }
        return false;
    };
    for (qsizetype p = limit; p > limit / 2; --p) {
        if (data[p - 1] != '\r' && !straddled(p))
            return p;
    }
    for (qsizetype p = limit + 1; p < bytes.size(); ++p) {
        if (cuttable(p))
            return p;
    }
    return bytes.size();
}
