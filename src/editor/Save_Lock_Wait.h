#pragma once

#include "platform/SaveLock.h"

#include <QString>

#include <chrono>
#include <optional>

class QWidget;

// The save lock of `path`, taken at once or, while another copy of the program saves the file, after waiting
// up to `wait` with a window over `parent` that says so and offers Cancel; the window goes on painting
// meanwhile. Nothing when the wait ran out or was cancelled (`cancelled` tells which).
std::optional<platform::SaveLock> waitForSaveLock(
    QWidget* parent, const QString& path, const QString& appName, std::chrono::milliseconds wait, bool* cancelled);
