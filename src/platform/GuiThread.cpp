#include "platform/GuiThread.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <thread>

void platform::whileWindowAnswers(
    const std::function<void()>& work, const std::function<void()>& tick, std::chrono::milliseconds interval)
{
    std::atomic<bool> finished { false };
    QAbstractEventDispatcher* const window = QAbstractEventDispatcher::instance();
    std::thread runner([&] {
        work();
        finished = true;
        // The window's thread may be waiting for its next event: the work ends now, not at the next tick.
        window->wakeUp();
    });
    QTimer ticks;
    ticks.setInterval(interval);
    QObject::connect(&ticks, &QTimer::timeout, tick);
    ticks.start();
    while (!finished.load())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    runner.join();
}
