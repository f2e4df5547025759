#include "escp/SheetIndex.h"

#include "escp/EscpInterpreter.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <mutex>

namespace {

// Where a sheet begins and the printer's state there.
struct SheetStart
{
    qsizetype offset;
    int sheet;
    PrinterState state;
};

// The printer's state (most of a kilobyte) is kept at a sheet's start only
// now and then: after this many bytes or this many sheets since the last
// one kept. Any sheet is then made again from at most that much reading, and
// a file of a million one-line sheets keeps about a thousand states, not a
// million (a 2 MB file of them took 580 MB; 21 MB ran out of memory).
constexpr qsizetype KeepEveryBytes = 64 * 1024;
constexpr int KeepEverySheets = 1024;

} // namespace

struct SheetIndex::Index
{
    QByteArrayView bytes;
    PrinterSetup setup;
    // In sheet order, the first at sheet 0. (A deque: a start already kept
    // is never moved as more are added, while the pass shows sheets.)
    std::deque<SheetStart> starts;
    int count = 1;
    // The start of the sheet after the last one made, so that sheets made
    // in order each read only their own bytes.
    mutable std::mutex nextLock;
    mutable std::unique_ptr<SheetStart> next;
};

SheetIndex::SheetIndex()
    : d(std::make_unique<Index>())
{
    d->starts.push_back({0, 0, PrinterState::initial(d->setup)});
}

SheetIndex::~SheetIndex() = default;
SheetIndex::SheetIndex(SheetIndex &&) noexcept = default;
SheetIndex &SheetIndex::operator=(SheetIndex &&) noexcept = default;

bool SheetIndex::build(QByteArrayView bytes, const PrinterSetup &setup,
    const std::function<bool(qint64, qint64)> &progress)
{
    d = std::make_unique<Index>();
    d->bytes = bytes;
    d->setup = setup;
    if (setup.model == PrinterModel::Auto)
        d->setup.model = PrinterModels::guess(bytes);
    const PrinterState state = PrinterState::initial(d->setup);
    d->starts.push_back({0, 0, state});
    EscpInterpreter run(bytes, d->setup, state, 0);
    if (progress) {
        run.progress = [&progress, &bytes](qsizetype done) { return progress(done, bytes.size()); };
    }
    // (A sheet count past an int's range ends the counting: the rest of the
    // file is the last sheet's.)
    while (d->count < INT_MAX && run.runSheet(nullptr)) {
        const SheetStart &kept = d->starts.back();
        if (run.position() - kept.offset >= KeepEveryBytes || d->count - kept.sheet >= KeepEverySheets)
            d->starts.push_back({run.position(), d->count, run.state()});
        ++d->count;
    }
    if (run.stopped())
        return false;
    // A sheet begun by the last form feed or line feed that nothing is
    // printed on is not a sheet.
    if (d->count > 1 && d->count < INT_MAX && !run.state().sheetInked) {
        --d->count;
        if (d->starts.back().sheet == d->count)
            d->starts.pop_back();
    }
    if (progress)
        progress(bytes.size(), bytes.size());
    return true;
}

PrinterModel SheetIndex::model() const
{
    return d->setup.model;
}

int SheetIndex::sheetCount() const
{
    return d->count;
}

Printed::Sheet SheetIndex::sheet(int i) const
{
    Printed::Sheet sheet;
    if (i < 0 || i >= sheetCount())
        return sheet;
    // The nearest start kept at or before sheet i, or the sheet after the
    // one made last when that is nearer.
    const auto after = std::upper_bound(d->starts.begin(), d->starts.end(), i,
        [](int wanted, const SheetStart &s) { return wanted < s.sheet; });
    SheetStart from = *std::prev(after);
    {
        const std::lock_guard<std::mutex> hold(d->nextLock);
        if (d->next && d->next->sheet <= i && d->next->sheet > from.sheet)
            from = *d->next;
    }
    EscpInterpreter run(d->bytes, d->setup, from.state, from.offset);
    for (int k = from.sheet; k < i; ++k)
        run.runSheet(nullptr);
    sheet.firstByte = run.position();
    const bool ended = run.runSheet(&sheet);
    sheet.index = i;
    sheet.endByte = i + 1 < d->count ? run.position() : d->bytes.size();
    sheet.width = run.state().rightMargin > 0 ? Printed::inches(d->setup.carriageInches) : sheet.width;
    sheet.height = run.state().formLength;
    if (ended && i + 1 < d->count) {
        const std::lock_guard<std::mutex> hold(d->nextLock);
        d->next = std::make_unique<SheetStart>(SheetStart{run.position(), i + 1, run.state()});
    }
    return sheet;
}
