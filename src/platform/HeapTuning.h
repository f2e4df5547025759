#pragma once

// Called once at start-up, with ignoreFileSizeSignal(). Qt's PDF writer
// compresses every page through buffers of 16 MB that it takes and frees
// again page by page; glibc's own thresholds then hand the freed top of the
// heap back to the kernel at every page and fault it in anew at the next,
// a quarter of a 100 MB PDF's time. Buffers up to 32 MB are kept on the heap
// and up to 64 MB of its free top is kept for the next one (the bounds
// glibc's adaptive thresholds reach at most, fixed from the start).
void keepLargeBuffersOnHeap();
