#include "platform/MemoryReuse.h"

#include <climits>  // also tells which C library this is

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // One heap grown by brk holds buffers of any size; the other arenas are
    // bounded heaps that would map the largest pages apart again. Workers
    // allocate a few large buffers per page, so sharing one arena costs little.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_MAX, 0);              // no buffer mapped and unmapped on its own
    mallopt(M_TRIM_THRESHOLD, INT_MAX);  // the heap's top is not shrunk after each page
#endif
}

void ReleaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
