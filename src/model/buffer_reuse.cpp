#include "model/buffer_reuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void keepLargeBuffersForReuse()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}
