// Shares of one read's budget, spent on several threads at once, never spend more than the read allows
// and give back what they did not use.
#include "platform/ReadBudget.h"

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using platform::ReadBudget;

namespace {

constexpr quint64 inputBytes = 1000; // 101,000 values, 32 MB and 12,000 bytes

} // namespace

TEST(ReadBudgetShares, ThreadsTogetherSpendExactlyWhatTheParentHolds)
{
    ReadBudget parent(inputBytes);
    const quint64 values = parent.valuesLeft();
    std::atomic<quint64> granted { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&] {
            ReadBudget share(parent);
            while (share.spend(1, 8))
                ++granted;
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(granted.load(), values); // not one value more, and none lost in a share's unspent block
    EXPECT_TRUE(parent.exhausted());
    EXPECT_EQ(parent.valuesLeft(), 0u);
}

TEST(ReadBudgetShares, UnspentPartGoesBackToTheParent)
{
    ReadBudget parent(inputBytes);
    const quint64 values = parent.valuesLeft();
    const quint64 bytes = parent.bytesLeft();
    {
        ReadBudget share(parent);
        ASSERT_TRUE(share.spend(10, 100));
        EXPECT_LT(parent.valuesLeft(), values - 10); // it took a block at once
    }
    EXPECT_EQ(parent.valuesLeft(), values - 10);
    EXPECT_EQ(parent.bytesLeft(), bytes - 100);
    EXPECT_FALSE(parent.exhausted());
}

TEST(ReadBudgetShares, ARefusalInAShareIsSeenOnTheParent)
{
    const struct {
        const char* what;
        quint64 values;
        quint64 bytes;
    } cases[] = {
        { "too many values", 200000, 0 },
        { "too much memory", 1, quint64(64) * 1024 * 1024 },
    };
    for (const auto& entry : cases) {
        ReadBudget parent(inputBytes);
        const quint64 values = parent.valuesLeft();
        {
            ReadBudget share(parent);
            EXPECT_FALSE(share.spend(entry.values, entry.bytes)) << entry.what;
            EXPECT_TRUE(share.exhausted()) << entry.what;
            EXPECT_TRUE(share.spend(1, 1)) << entry.what << ": a small spend still fits";
        }
        EXPECT_TRUE(parent.exhausted()) << entry.what;
        EXPECT_EQ(parent.valuesLeft(), values - 1) << entry.what << ": the refused spend took nothing";
    }
}
