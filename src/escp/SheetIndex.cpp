#include "escp/SheetIndex.h"

#include "escp/EscpInterpreter.h"

#include <deque>

namespace {

struct SheetStart
{
    qsizetype offset;
    PrinterState state;
};

} // namespace

struct SheetIndex::Index
{
    QByteArrayView bytes;
    PrinterSetup setup;
    std::deque<SheetStart> starts; // (a deque: a sheet's start is never moved as more are added)
};

SheetIndex::SheetIndex()
    : d(std::make_unique<Index>())
{
    d->starts.push_back({0, PrinterState::initial(d->setup)});
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
    d->starts.push_back({0, state});
    EscpInterpreter run(bytes, d->setup, state, 0);
    if (progress) {
        run.progress = [&progress, &bytes](qsizetype done) { return progress(done, bytes.size()); };
    }
    while (run.runSheet(nullptr))
        d->starts.push_back({run.position(), run.state()});
    if (run.stopped())
        return false;
    // A sheet begun by the last form feed or line feed that nothing is
    // printed on is not a sheet.
    if (d->starts.size() > 1 && !run.state().sheetInked)
        d->starts.pop_back();
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
    return int(d->starts.size());
}

Printed::Sheet SheetIndex::sheet(int i) const
{
    Printed::Sheet sheet;
    if (i < 0 || i >= sheetCount())
        return sheet;
    const SheetStart &start = d->starts[size_t(i)];
    EscpInterpreter run(d->bytes, d->setup, start.state, start.offset);
    run.runSheet(&sheet);
    sheet.firstByte = start.offset;
    sheet.index = i;
    sheet.endByte = size_t(i + 1) < d->starts.size() ? d->starts[size_t(i + 1)].offset : d->bytes.size();
    sheet.width = run.state().rightMargin > 0 ? Printed::inches(d->setup.carriageInches) : sheet.width;
    sheet.height = run.state().formLength;
    return sheet;
}
