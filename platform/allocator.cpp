#include "platform/allocator.h"

#include <cstddef>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pixalto {

void keepPictureBuffersInHeap() {
#if defined(__GLIBC__)
    // glibc maps every block above its threshold separately and unmaps it on
    // free; a batch would then fault in and zero tens of megabytes of new pages
    // per picture. 32 MiB is the highest threshold glibc accepts; larger
    // pictures still get their own mapping. Freed memory at the top of the
    // heap is returned only once 256 MiB of it is free.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}

}  // namespace pixalto
