#include "platform/ParallelChunks.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace platform {

namespace {

// More threads than this gain little on reads that end up allocating from one heap.
constexpr std::size_t kMostThreads = 8;

} // namespace

std::size_t chunkCount(std::size_t count, std::size_t minimumChunk)
{
    const std::size_t cores = std::max<std::size_t>(1, std::thread::hardware_concurrency());
    const std::size_t byLength = count / std::max<std::size_t>(1, minimumChunk);
    return std::max<std::size_t>(1, std::min({ cores, kMostThreads, byLength }));
}

void runInChunks(std::size_t count, std::size_t minimumChunk, const std::function<void(std::size_t, std::size_t)>& work)
{
    const std::size_t chunks = chunkCount(count, minimumChunk);
    auto bounds = [&](std::size_t chunk) { return count * chunk / chunks; };
    std::vector<std::thread> helpers;
    helpers.reserve(chunks - 1);
    for (std::size_t chunk = 1; chunk < chunks; ++chunk)
        helpers.emplace_back(work, bounds(chunk), bounds(chunk + 1));
    work(0, bounds(1)); // the calling thread takes the first chunk
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace platform
