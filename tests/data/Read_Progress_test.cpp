#include "data/Read_Progress.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

// Clicks Cancel of the progress window as soon as it shows; records whether it ever did.
struct CancelClicker {
    bool shown = false;
    QTimer timer;
    CancelClicker()
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(window);
                if (!progress || !progress->isVisible())
                    continue;
                shown = true;
                if (auto* cancel = progress->findChild<QPushButton*>())
                    QTest::mouseClick(cancel, Qt::LeftButton);
            }
        });
        timer.start();
    }
};

} // namespace

TEST(ReadProgress, LargeReadShowsProgressAndCancelStopsItWhileTheWindowAnswers)
{
    setBackgroundReadBytes(1000);
    CancelClicker clicker;
    Read_Control control;
    control.total.store(100);
    bool onGuiThread = true;
    runReadWithProgress(QStringLiteral("Reading"), 5000, control, [&] {
        onGuiThread = QThread::currentThread() == qApp->thread();
        // Stands for a long read: it ends only when told to stop.
        for (int i = 0; i < 1000 && !control.cancel.load(); ++i) {
            control.done.store(i % 100);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    EXPECT_FALSE(onGuiThread);
    EXPECT_TRUE(clicker.shown);
    EXPECT_TRUE(control.cancel.load());

    // A small read runs in place, with no window.
    CancelClicker quiet;
    runReadWithProgress(
        QStringLiteral("Reading"), 10, control, [&] { onGuiThread = QThread::currentThread() == qApp->thread(); });
    EXPECT_TRUE(onGuiThread);
    EXPECT_FALSE(quiet.shown);
    setBackgroundReadBytes(-1);
}
