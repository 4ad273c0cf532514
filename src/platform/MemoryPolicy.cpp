#include "platform/MemoryPolicy.h"

#include <cstdlib> // defines __GLIBC__ when the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void returnLargeBlocksToTheSystem()
{
#if defined(__GLIBC__)
    // Setting the threshold also stops the library from raising it as it goes.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

} // namespace platform
