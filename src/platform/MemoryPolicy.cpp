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
    // Fixing it also fixes how much free memory the top of the heap keeps (128 KB): a picture of a few
    // hundred kilobytes made and freed again and again would then be given back and faulted in anew every
    // time. A few megabytes stay for the next one.
    mallopt(M_TRIM_THRESHOLD, 4 * 1024 * 1024);
#endif
}

} // namespace platform
