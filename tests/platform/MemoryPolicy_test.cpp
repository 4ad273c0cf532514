#include "platform/MemoryPolicy.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Resident memory of the process in megabytes.
double residentMB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1.0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : -1.0;
}

void touchAndFree(std::size_t bytes)
{
    void* block = std::malloc(bytes);
    ASSERT_NE(block, nullptr);
    std::memset(block, 0x5a, bytes);
    std::free(block);
}

// Allocates, touches and frees blocks the size of decoded photos, as a side of pictures being read does,
// after one large picture (whose free teaches the library to keep blocks of up to its size).
void decodeLikeAllocations()
{
    touchAndFree(30 * 1024 * 1024);
    std::vector<void*> blocks;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 12; ++i) {
            void* block = std::malloc(4 * 1024 * 1024);
            ASSERT_NE(block, nullptr);
            std::memset(block, 0x5a, 4 * 1024 * 1024);
            blocks.push_back(block);
        }
        for (void* block : blocks)
            std::free(block);
        blocks.clear();
    }
}

} // namespace

#if defined(__SANITIZE_ADDRESS__)
#define TESSALINE_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSALINE_OWN_ALLOCATOR 1
#endif
#endif

TEST(MemoryPolicy, FreedPictureSizedBlocksGoBackToTheSystem)
{
#ifdef TESSALINE_OWN_ALLOCATOR
    GTEST_SKIP() << "the address sanitizer's allocator holds freed blocks back on purpose";
#endif
    platform::returnLargeBlocksToTheSystem();
    const double before = residentMB();
    ASSERT_GT(before, 0.0);
    decodeLikeAllocations();
    // 48 MB were touched; what stays resident afterwards is the program's own, not the freed blocks.
    EXPECT_LT(residentMB() - before, 8.0);
}

TEST(MemoryPolicy, PicturesBelowAMegabyteMadeOneAfterAnotherReuseTheirPages)
{
#ifdef TESSALINE_OWN_ALLOCATOR
    GTEST_SKIP() << "the address sanitizer's allocator holds freed blocks back on purpose";
#endif
    platform::returnLargeBlocksToTheSystem();
    touchAndFree(600 * 1024); // the heap grows to the picture's size once
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    for (int i = 0; i < 50; ++i)
        touchAndFree(600 * 1024);
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    // Handed back each time, every picture would fault in its 150 pages anew: 7,500 faults.
    EXPECT_LT(after.ru_minflt - before.ru_minflt, 500);
}
