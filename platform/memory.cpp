#include "platform/memory.h"

#include <malloc.h>

namespace Memory {

void keepHeapSmall()
{
    // A fixed threshold: the C library would otherwise raise it to the size of
    // the largest block freed so far, and pictures would end up in the heap.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_ARENA_MAX, 2);
}

} // namespace Memory
