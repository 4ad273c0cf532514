#include "editor/Save_Lock_Wait.h"

#include "common/Common_Functions.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

std::optional<platform::SaveLock> waitForSaveLock(
    QWidget* parent, const QString& path, const QString& appName, std::chrono::milliseconds wait, bool* cancelled)
{
    *cancelled = false;
    std::optional<platform::SaveLock> saving = platform::SaveLock::acquire(path, std::chrono::milliseconds(0));
    if (saving)
        return saving;
    QProgressDialog waiting(QStringLiteral("Waiting for another copy of %1 to finish saving \"%2\"...")
                                .arg(appName, QFileInfo(path).fileName()),
        QStringLiteral("Cancel"), 0, 0, parent);
    waiting.setObjectName(QStringLiteral("Save_Wait_Window"));
    Show_Labels_As_Plain_Text(waiting); // a file's name may hold any character, '<' too
    waiting.setWindowTitle(appName);
    waiting.setWindowModality(Qt::WindowModal);
    waiting.setMinimumDuration(0);
    waiting.setAutoReset(false);
    waiting.setAutoClose(false);
    QEventLoop loop;
    QTimer poll;
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        saving = platform::SaveLock::acquire(path, std::chrono::milliseconds(0));
        if (saving || std::chrono::steady_clock::now() >= giveUp)
            loop.quit();
    });
    QObject::connect(&waiting, &QProgressDialog::canceled, &loop, [&] {
        *cancelled = true;
        loop.quit();
    });
    waiting.show();
    poll.start(20);
    loop.exec();
    return saving;
}
