#pragma once

#include <QVector>

// The page indexes first to last (0-based), kept to the pages that exist
// (0 to pageCount - 1), so a range typed beyond the report never reads
// outside the page table. Empty when nothing of the range exists.
QVector<int> pageIndexes(int first, int last, int pageCount);
