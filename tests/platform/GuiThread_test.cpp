#include "platform/GuiThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(GuiThread, RunsAtOnceOnTheGuiThread)
{
    EXPECT_TRUE(platform::isGuiThread());
    EXPECT_EQ(platform::runOnGuiThread([] { return 42; }), 42);
}

TEST(GuiThread, WorkerWaitsForTheResultComputedOnTheGuiThread)
{
    std::atomic<bool> done { false };
    bool ranOnGui = false;
    int result = 0;
    std::thread worker([&] {
        result = platform::runOnGuiThread([&] {
            ranOnGui = platform::isGuiThread();
            return 7;
        });
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_TRUE(ranOnGui);
    EXPECT_EQ(result, 7);
}
