#include "platform/HeapTuning.h"

#include <cstdlib> // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void keepLargeBuffersOnHeap()
{
#if defined(__GLIBC__)
    constexpr int LargestOnHeap = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, LargestOnHeap);
    mallopt(M_TRIM_THRESHOLD, 2 * LargestOnHeap);
#endif
}
