#pragma once

#include "codepage/CodePage.h"
#include "escp/PrintedSheet.h"
#include "escp/PrinterModel.h"
#include "escp/PrinterSetup.h"

#include <QByteArrayView>
#include <QVector>

#include <functional>

class MappedFile;
#include <memory>

// A print file as the printer prints it: one pass over the bytes finds where
// each sheet begins and the printer's state there, so any sheet is made again
// on demand from its own bytes only. The bytes are not copied: they must stay
// valid (the page table's map) while the document is used.
class SheetIndex
{
public:
    SheetIndex();
    ~SheetIndex();
    SheetIndex(SheetIndex &&) noexcept;
    SheetIndex &operator=(SheetIndex &&) noexcept;

    // Reads the bytes once; they must stay where they are while the
    // document is used (its sheets are laid out from them). Progress is
    // told the bytes done and the total now and then; false from it stops
    // the pass (the document then holds the sheets found so far and build
    // returns false).
    // A large file is read in as many parts at once as `parts` says (0: as
    // many as partsFor() gives for its size); the sheets are the same either
    // way. `map`, when the bytes are a map's whole (the page table's), is
    // mapped in by each part as it reads (MapPass) rather than all at once.
    bool build(QByteArrayView bytes, const PrinterSetup &setup,
        const std::function<bool(qint64 done, qint64 total)> &progress = {}, int parts = 0,
        const MappedFile *map = nullptr);
    // One part for a file under 8 MB or a process that may run on one
    // processor only, else one for each processor, four at most.
    static int partsFor(qsizetype size);
    // How the last build read the file: the parts whose reading was kept
    // (1: one pass read it all).
    int passes() const;

    // The printer model the sheets were laid out for: the one chosen, or
    // the one Auto took from the file.
    PrinterModel model() const;

    // At least 1 (an empty file is one blank sheet).
    int sheetCount() const;
    // Sheet i, 0 <= i < sheetCount(), laid out from its bytes.
    Printed::Sheet sheet(int i) const;
    // The sheet whose bytes hold byte `at` (the first sheet before any, the
    // last past the end), read on from the nearest start kept.
    int sheetAt(qsizetype at) const;

private:
    struct Index;
    std::unique_ptr<Index> d;
};
