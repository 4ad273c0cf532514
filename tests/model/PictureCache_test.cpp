#include "model/PictureCache.h"

#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// A picture of exactly `bytes` bytes of pixels (one byte per pixel, one row).
QImage ofBytes(int bytes, int shade = 0)
{
    QImage image(bytes, 1, QImage::Format_Grayscale8);
    image.fill(shade);
    return image;
}

QImage make(PictureCache& cache, const char* key, int bytes, int* calls = nullptr)
{
    return cache.obtain(PictureCache::Kind::Source, key, [&] {
        if (calls)
            ++*calls;
        return ofBytes(bytes, int(qstrlen(key)));
    });
}

} // namespace

TEST(PictureCache, EachKeyIsMadeOnceAndServedAfterwards)
{
    PictureCache cache;
    int calls = 0;
    const QImage first = make(cache, "a", 1000, &calls);
    const QImage again = make(cache, "a", 1000, &calls);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(first.cacheKey(), again.cacheKey());
    // The same key under another kind is another picture.
    cache.obtain(PictureCache::Kind::Adjusted, "a", [&] {
        ++calls;
        return ofBytes(10);
    });
    EXPECT_EQ(calls, 2);
    const PictureCache::Counts counts = cache.counts();
    EXPECT_EQ(counts.held[int(PictureCache::Kind::Source)], 1);
    EXPECT_EQ(counts.held[int(PictureCache::Kind::Adjusted)], 1);
    EXPECT_EQ(counts.made[int(PictureCache::Kind::Source)], 1u);
}

TEST(PictureCache, OverBudgetTheLeastRecentlyUsedGoFirstAndAreMadeAgain)
{
    PictureCache cache;
    cache.setBudget(3 * 10'000);
    int callsA = 0, callsB = 0, callsC = 0, callsD = 0;
    make(cache, "a", 9'000, &callsA);
    make(cache, "b", 9'000, &callsB);
    make(cache, "c", 9'000, &callsC);
    make(cache, "a", 9'000, &callsA); // a is now the most recently used
    make(cache, "d", 9'000, &callsD); // over budget: b, the least recently used, goes
    EXPECT_LE(cache.counts().bytes, cache.budget());
    EXPECT_TRUE(cache.peek(PictureCache::Kind::Source, "b").isNull());
    EXPECT_FALSE(cache.peek(PictureCache::Kind::Source, "a").isNull());
    EXPECT_FALSE(cache.peek(PictureCache::Kind::Source, "c").isNull());
    make(cache, "b", 9'000, &callsB);
    EXPECT_EQ(callsA, 1);
    EXPECT_EQ(callsB, 2); // dropped, then made again when asked for
    EXPECT_EQ(callsC, 1);

    cache.setBudget(10'000); // lowering the budget drops at once
    EXPECT_LE(cache.counts().bytes, 10'000);
    EXPECT_EQ(cache.counts().held[int(PictureCache::Kind::Source)], 1);
}

TEST(PictureCache, APictureLargerThanTheWholeBudgetIsHandedBackButNotKept)
{
    PictureCache cache;
    cache.setBudget(5'000);
    int calls = 0;
    make(cache, "small", 1'000, &calls);
    const QImage huge = make(cache, "huge", 50'000, &calls);
    EXPECT_EQ(huge.width(), 50'000);
    EXPECT_EQ(cache.counts().held[int(PictureCache::Kind::Source)], 1); // the small one stays
    EXPECT_TRUE(cache.peek(PictureCache::Kind::Source, "huge").isNull());
}

TEST(PictureCache, ANullResultIsKeptSoAnUnreadableFileIsNotReadAtEveryPaint)
{
    PictureCache cache;
    int calls = 0;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(cache
                        .obtain(PictureCache::Kind::Source, "missing",
                            [&] {
                                ++calls;
                                return QImage();
                            })
                        .isNull());
    EXPECT_EQ(calls, 1);
}

TEST(PictureCache, ThreadsAskingForOneKeyTogetherWaitForASingleMaker)
{
    PictureCache cache;
    std::atomic<int> calls { 0 };
    std::atomic<bool> go { false };
    std::vector<qint64> keys(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            while (!go.load())
                std::this_thread::yield();
            const QImage image = cache.obtain(PictureCache::Kind::Source, "shared", [&] {
                ++calls;
                std::this_thread::sleep_for(std::chrono::milliseconds(50)); // a slow decode
                return ofBytes(4096);
            });
            keys[std::size_t(t)] = image.cacheKey();
        });
    }
    go = true;
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(calls.load(), 1);
    for (qint64 key : keys)
        EXPECT_EQ(key, keys.front());
}

TEST(PictureCache, AMakerThatThrowsLeavesTheKeyFreeForTheNextTry)
{
    PictureCache cache;
    EXPECT_THROW(cache.obtain(PictureCache::Kind::Source, "k", []() -> QImage { throw std::runtime_error("x"); }),
        std::runtime_error);
    int calls = 0;
    EXPECT_FALSE(make(cache, "k", 10, &calls).isNull());
    EXPECT_EQ(calls, 1);
}

TEST(PictureCache, ClearDropsEverythingAndResetsTheCounts)
{
    PictureCache cache;
    make(cache, "a", 100);
    make(cache, "b", 100);
    cache.clear();
    const PictureCache::Counts counts = cache.counts();
    EXPECT_EQ(counts.held[int(PictureCache::Kind::Source)], 0);
    EXPECT_EQ(counts.made[int(PictureCache::Kind::Source)], 0u);
    EXPECT_EQ(counts.bytes, 0);
}
