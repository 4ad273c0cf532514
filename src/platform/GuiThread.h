#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

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

} // namespace platform
