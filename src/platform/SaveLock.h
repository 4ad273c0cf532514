#pragma once

#include "platform/OwnLock.h"

#include <QString>

#include <chrono>
#include <optional>

namespace platform {

// The lock every copy of the program holds while it checks a file for changes made elsewhere and replaces
// it, so that of two saves at the same moment the second sees what the first wrote. It lives beside the
// file that is really written (links followed) as ".<name>.tessaline-save.lock", and its holder removes it
// while still holding it. A folder where no lock of ours can be made (another person's lock file there)
// saves as before, without one.
class SaveLock {
public:
    // Waits up to `wait` while another copy saves; nothing when it is still saving after that.
    static std::optional<SaveLock> acquire(const QString& path, std::chrono::milliseconds wait);
    static QString lockPathOf(const QString& path);

    SaveLock(SaveLock&&) noexcept = default;
    SaveLock& operator=(SaveLock&& other) noexcept;
    ~SaveLock();
    bool isHeld() const { return lock_.isHeld(); }

private:
    SaveLock() = default;
    OwnLock lock_;
};

} // namespace platform
