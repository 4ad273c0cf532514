#include "platform/SaveLock.h"

#include <QFileInfo>

#include <thread>
#include <utility>

namespace platform {

QString SaveLock::lockPathOf(const QString& path)
{
    const QFileInfo given(path);
    const QString canonical = given.canonicalFilePath();
    const QFileInfo written(canonical.isEmpty() ? given.absoluteFilePath() : canonical);
    return written.absolutePath() + QStringLiteral("/.") + written.fileName() + QStringLiteral(".tessaline-save.lock");
}

std::optional<SaveLock> SaveLock::acquire(const QString& path, std::chrono::milliseconds wait)
{
    const QString lockPath = lockPathOf(path);
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    SaveLock saving;
    for (;;) {
        switch (OwnLock::createOrTake(lockPath, &saving.lock_)) {
        case OwnLock::Outcome::Taken:
        case OwnLock::Outcome::NotOurs:
            return saving;
        case OwnLock::Outcome::HeldElsewhere:
            break;
        }
        if (std::chrono::steady_clock::now() >= giveUp)
            return std::nullopt;
        // Another copy holds it for the few moments its save takes.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

SaveLock& SaveLock::operator=(SaveLock&& other) noexcept
{
    if (this != &other) {
        if (lock_.isHeld())
            lock_.removeAndRelease();
        lock_ = std::move(other.lock_);
    }
    return *this;
}

SaveLock::~SaveLock()
{
    if (lock_.isHeld())
        lock_.removeAndRelease();
}

} // namespace platform
