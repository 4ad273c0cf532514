#pragma once

#include <cstddef>
#include <functional>

namespace platform {

// Runs work(begin, end) over the indexes [0, count) cut into one contiguous chunk per thread, on the
// calling thread and as many more as the machine has cores for, each chunk at least minimumChunk long;
// returns when every chunk is done. A count too small to share runs on the calling thread alone. The
// work must not throw.
void runInChunks(
    std::size_t count, std::size_t minimumChunk, const std::function<void(std::size_t, std::size_t)>& work);

// The number of chunks runInChunks cuts count into.
std::size_t chunkCount(std::size_t count, std::size_t minimumChunk);

} // namespace platform
