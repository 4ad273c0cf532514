#pragma once

namespace platform {

// Has the C library hand every block of a megabyte or more straight back to the system when it is freed.
// Pictures are decoded into such blocks and mostly freed again at once (only their working copies are
// kept); by default the library learns from those frees to keep blocks of their size in its heaps, where a
// few dozen megabytes of freed pixels then stay with the program. Smaller blocks freed at the top of the heap
// are kept up to a few megabytes, for the next picture of their size. Call once at start, before threads run.
void returnLargeBlocksToTheSystem();

} // namespace platform
