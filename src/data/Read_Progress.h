#pragma once

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

// How a long read is followed and stopped from another thread: the reader adds to `done` as it goes
// (of `total`, both in bytes) and stops at the next block once `cancel` is set.
struct Read_Control {
    std::atomic<bool> cancel { false };
    std::atomic<std::int64_t> done { 0 };
    std::atomic<std::int64_t> total { 0 };
};

// Runs a read of an input of inputBytes. From the GUI thread, a large input is read on a worker thread
// while a progress window with Cancel (which sets control.cancel) keeps the program answering; a small one,
// or a read asked for from another thread, runs in place. Returns when the work has ended.
void runReadWithProgress(
    const QString& text, std::int64_t inputBytes, Read_Control& control, const std::function<void()>& work);

// Inputs from this size on are read off the GUI thread (1 MB unless set; tests lower it).
std::int64_t backgroundReadBytes();
void setBackgroundReadBytes(std::int64_t bytes);
