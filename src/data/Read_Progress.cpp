#include "data/Read_Progress.h"

#include "common/Common_Functions.h"
#include "platform/GuiThread.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <thread>

namespace {

std::atomic<std::int64_t> threshold { std::int64_t(1) << 20 };

} // namespace

std::int64_t backgroundReadBytes()
{
    return threshold.load();
}

void setBackgroundReadBytes(std::int64_t bytes)
{
    threshold.store(bytes >= 0 ? bytes : std::int64_t(1) << 20);
}

void runReadWithProgress(
    const QString& text, std::int64_t inputBytes, Read_Control& control, const std::function<void()>& work)
{
    if (inputBytes < backgroundReadBytes() || !qobject_cast<QApplication*>(QCoreApplication::instance())
        || !platform::isGuiThread()) {
        work();
        return;
    }
    QEventLoop loop;
    std::thread worker([&] {
        work();
        // Wakes the loop at once, also when the read ends before the loop has started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QProgressDialog progress(text, QStringLiteral("Cancel"), 0, 1000, QApplication::activeWindow());
    progress.setWindowTitle(QStringLiteral("Reading"));
    Show_Labels_As_Plain_Text(progress); // it names the file and the sheet
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(800); // a read that ends sooner shows no window
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    QObject::connect(&progress, &QProgressDialog::canceled, [&control] { control.cancel.store(true); });
    QTimer tick;
    tick.setInterval(30);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const std::int64_t total = control.total.load();
        if (total > 0 && !progress.wasCanceled())
            progress.setValue(int(std::min<std::int64_t>(999, control.done.load() * 1000 / total)));
    });
    tick.start();
    loop.exec();
    worker.join();
}
