#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <chrono>
#include <functional>
#include <type_traits>
#include <utility>

namespace platform {

inline bool isGuiThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

// Runs f on the GUI thread and returns its result. On the GUI thread it runs at once, so asking
// from there never deadlocks; from a worker the caller waits until the GUI thread has run it.
template <typename F>
auto runOnGuiThread(F&& f) -> std::invoke_result_t<F>
{
    using Result = std::invoke_result_t<F>;
    if (isGuiThread())
        return std::forward<F>(f)();
    QCoreApplication* app = QCoreApplication::instance();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection);
    } else {
        Result result {};
        QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection, &result);
        return result;
    }
}

// Runs `work` on a thread of its own while the window keeps answering, calls `tick` on the GUI thread every
// `interval` meanwhile, and returns as soon as the work is done: its end wakes the GUI thread rather than
// waiting for the next tick. Events are taken as they come rather than in an event loop of its own, which
// ends at once in an application asked to quit and would leave the window frozen until the work is done.
// GUI thread.
void whileWindowAnswers(
    const std::function<void()>& work, const std::function<void()>& tick, std::chrono::milliseconds interval);

} // namespace platform
