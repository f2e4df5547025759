#include "escp/SheetIndex.h"

#include "escp/EscpInterpreter.h"
#include "platform/MapPass.h"
#include "platform/MappedFile.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <limits>
#include <climits>
#include <deque>
#include <mutex>
#include <system_error>
#include <vector>

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
    int passes = 1; // the parts whose reading was kept, this pass's own included
};

SheetIndex::SheetIndex()
    : d(std::make_unique<Index>())
{
    d->starts.push_back({0, 0, PrinterState::initial(d->setup)});
}

SheetIndex::~SheetIndex() = default;
SheetIndex::SheetIndex(SheetIndex &&) noexcept = default;
SheetIndex &SheetIndex::operator=(SheetIndex &&) noexcept = default;

namespace {

// Counts the sheets `run` begins from where it stands, keeping a state now
// and then, until the bytes end, a sheet begins at or past `until`, or the
// count reaches an int's range (the rest of the file is then the last
// sheet's). `count` is the sheets begun so far.
void countSheets(EscpInterpreter &run, std::deque<SheetStart> &starts, int &count,
    qsizetype until = std::numeric_limits<qsizetype>::max())
{
    while (count < INT_MAX && !run.stopped() && run.position() < until && run.runSheet(nullptr)) {
        const SheetStart &kept = starts.back();
        if (run.position() - kept.offset >= KeepEveryBytes || count - kept.sheet >= KeepEverySheets)
            starts.push_back({run.position(), count, run.state()});
        ++count;
    }
}

// A part of a large file read on a thread of its own, from just past a
// form feed to the first sheet that begins at or past the next part's
// start, with a guessed printer state at its start: the state at the first
// sheet a form feed began. Reports set the printer up once and begin every
// page alike, so the guess is mostly right; the pass over the part before
// checks it, and the part's work is thrown away when it was wrong.
struct Part
{
    qsizetype from = 0;
    qsizetype until = std::numeric_limits<qsizetype>::max();
    PrinterState guess;
    // What the pass found: the states kept (the first at `from`), the sheets
    // begun (the one at `from` included), and where it stopped: the start
    // of a sheet, or the end of the bytes, in the state `last`.
    std::deque<SheetStart> starts;
    int count = 1;
    qsizetype end = 0;
    PrinterState last;
    bool stopped = false;
    std::atomic<qsizetype> done{0};
    std::atomic<bool> stop{false};
    std::future<void> pass;

    // (Whatever ends the build early, the pass stops with it.)
    ~Part() { stop = true; }

    void start(QByteArrayView bytes, const PrinterSetup &setup, const MappedFile *map)
    {
        starts.push_back({from, 0, guess});
        pass = std::async(std::launch::async, [this, bytes, setup, map] {
            MapPass mapped(map, from, until == std::numeric_limits<qsizetype>::max() ? -1 : until);
            EscpInterpreter run(bytes, setup, guess, from);
            run.progress = [this, &mapped](qsizetype at) {
                mapped.reached(at);
                done.store(at - from, std::memory_order_relaxed);
                return !stop.load(std::memory_order_relaxed);
            };
            countSheets(run, starts, count, until);
            end = run.position();
            last = run.state();
            stopped = run.stopped();
        });
    }
    // Waits for the pass to end, telling progress meanwhile; false from
    // progress stops it.
    void finish(const std::function<bool()> &progress)
    {
        using namespace std::chrono_literals;
        while (pass.wait_for(100ms) != std::future_status::ready) {
            if (!progress())
                stop = true;
        }
        pass.get();
    }
};

// Files smaller than this are read in one pass, and at most this many
// parts are read at once.
constexpr qsizetype SplitFrom = 8 << 20;
constexpr int MostParts = 4;

} // namespace

int SheetIndex::partsFor(qsizetype size)
{
    // (The processors this process may run on, not all the machine has.)
    return size < SplitFrom ? 1 : qBound(1, QThread::idealThreadCount(), MostParts);
}

bool SheetIndex::build(QByteArrayView bytes, const PrinterSetup &setup,
    const std::function<bool(qint64, qint64)> &progress, int parts, const MappedFile *map)
{
    if (parts <= 0)
        parts = partsFor(bytes.size());
    if (map && (map->data() != bytes.data() || map->size() != bytes.size()))
        map = nullptr; // (offsets in the bytes must be offsets in the map)
    // The first pass maps in its first stretch before the model is guessed
    // from the file's first megabytes.
    auto mapped = std::make_unique<MapPass>(map, 0);
    d = std::make_unique<Index>();
    d->bytes = bytes;
    d->setup = setup;
    if (setup.model == PrinterModel::Auto) {
        mapped->mapTo(PrinterModels::GuessReads);
        d->setup.model = PrinterModels::guess(bytes);
    }
    const PrinterState state = PrinterState::initial(d->setup);
    d->starts.push_back({0, 0, state});
    auto run = std::make_unique<EscpInterpreter>(bytes, d->setup, state, 0);
    // A sheet begun by the last form feed or line feed that nothing is
    // printed on is not a sheet.
    const auto finishCount = [this](const PrinterState &last) {
        if (d->count > 1 && d->count < INT_MAX && !last.sheetInked) {
            --d->count;
            if (d->starts.back().sheet == d->count)
                d->starts.pop_back();
        }
    };
    // The parts read at once, and the progress of all: the bytes this pass
    // has read, and those of the parts ahead of it.
    std::vector<std::unique_ptr<Part>> ahead;
    const auto tell = [&](qsizetype at) {
        qint64 done = at;
        for (const auto &part : ahead) {
            if (part->from >= at && !part->stop.load(std::memory_order_relaxed))
                done += part->done.load(std::memory_order_relaxed);
        }
        return !progress || progress(qMin<qint64>(done, bytes.size()), bytes.size());
    };
    const auto follow = [&tell, &mapped](EscpInterpreter &runner) {
        runner.progress = [&tell, &mapped](qsizetype at) {
            mapped->reached(at);
            return tell(at);
        };
    };
    follow(*run);

    // A large file is read in parts at once, each from a form feed on.
    const qsizetype size = bytes.size();
    const uchar *data = reinterpret_cast<const uchar *>(bytes.data());
    if (parts > 1 && size > 1) {
        // The guess is the state at the first sheet a form feed began (a
        // sheet that a line feed began may begin amid a line's emphasis).
        const qsizetype firstPart = size / parts;
        bool formFed = false;
        for (bool more = true; more && !formFed && run->position() < firstPart;) {
            const int before = d->count;
            countSheets(*run, d->starts, d->count, run->position() + 1);
            more = d->count > before && !run->stopped();
            formFed = more && !run->state().fedToTop;
        }
        PrinterState guess = run->state();
        guess.fedToTop = false; // a form feed began the sheet
        for (int k = 1; formFed && k < parts; ++k) {
            const qsizetype after = qMax(size / parts * k, ahead.empty() ? run->position() : ahead.back()->from);
            const void *formFeed = std::memchr(data + after, '\f', size_t(size - after));
            const qsizetype from = formFeed ? static_cast<const uchar *>(formFeed) - data + 1 : size;
            if (from >= size)
                break;
            if (!ahead.empty())
                ahead.back()->until = from;
            ahead.push_back(std::make_unique<Part>());
            ahead.back()->from = from;
            ahead.back()->guess = guess;
        }
        try {
            for (const auto &part : ahead)
                part->start(bytes, d->setup, map);
        } catch (const std::system_error &) {
            // (No thread to be had: the parts begun are used, the rest read
            // by the passes before them.)
            while (!ahead.empty() && !ahead.back()->pass.valid())
                ahead.pop_back();
        }
        if (!ahead.empty())
            mapped->setUntil(ahead.front()->from); // the parts map in their own
    }
    // Read on up to each part's start; where the part's guess holds there,
    // its sheets are taken and the reading goes on from where it stopped.
    for (size_t k = 0; k < ahead.size(); ++k) {
        const auto &part = ahead[k];
        const qsizetype nextPart = k + 1 < ahead.size() ? ahead[k + 1]->from : -1;
        countSheets(*run, d->starts, d->count, part->from);
        if (run->stopped())
            return false; // (the parts stop as they go)
        const bool held = d->count < INT_MAX && run->position() == part->from && run->state() == part->guess;
        if (!held) {
            part->stop = true;
            mapped->setUntil(nextPart); // this pass reads the part itself
            continue;
        }
        part->finish([&] { return tell(part->from); });
        if (part->stopped) {
            for (const auto &other : ahead)
                other->stop = true;
        }
        // Its sheets follow (as far as an int counts).
        const int first = d->count - 1; // the sheet that begins where it began
        if (d->starts.back().sheet == first)
            d->starts.pop_back();
        for (const SheetStart &s : part->starts) {
            if (qint64(first) + s.sheet >= INT_MAX)
                break;
            d->starts.push_back({s.offset, first + s.sheet, s.state});
        }
        d->count = int(qMin<qint64>(qint64(first) + part->count, INT_MAX));
        ++d->passes;
        if (part->stopped)
            return false;
        mapped = std::make_unique<MapPass>(map, part->end, nextPart);
        run = std::make_unique<EscpInterpreter>(bytes, d->setup, part->last, part->end);
        follow(*run);
    }
    countSheets(*run, d->starts, d->count);
    if (run->stopped())
        return false;
    finishCount(run->state());
    if (progress)
        progress(bytes.size(), bytes.size());
    return true;
}

int SheetIndex::passes() const
{
    return d->passes;
}

PrinterModel SheetIndex::model() const
{
    return d->setup.model;
}

int SheetIndex::sheetCount() const
{
    return d->count;
}

int SheetIndex::sheetAt(qsizetype at) const
{
    const auto after = std::upper_bound(d->starts.begin(), d->starts.end(), at,
        [](qsizetype wanted, const SheetStart &s) { return wanted < s.offset; });
    const SheetStart &from = after == d->starts.begin() ? d->starts.front() : *std::prev(after);
    EscpInterpreter run(d->bytes, d->setup, from.state, from.offset);
    int sheet = from.sheet;
    while (sheet + 1 < d->count && run.runSheet(nullptr) && run.position() <= at)
        ++sheet;
    return sheet;
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
    sheet.height = run.sheetLength();
    if (ended && i + 1 < d->count) {
        const std::lock_guard<std::mutex> hold(d->nextLock);
        d->next = std::make_unique<SheetStart>(SheetStart{run.position(), i + 1, run.state()});
    }
    return sheet;
}
