#include "model/PictureCache.h"

#include <algorithm>

namespace {

// A null picture costs its bookkeeping only; counting a little keeps a flood of them bounded too.
constexpr qint64 kEntryOverhead = 256;

qint64 bytesOf(const QImage& image)
{
    return image.isNull() ? kEntryOverhead : qint64(image.sizeInBytes()) + kEntryOverhead;
}

} // namespace

PictureCache& PictureCache::instance()
{
    static PictureCache cache;
    return cache;
}

QByteArray PictureCache::fullKey(Kind kind, const QByteArray& key)
{
    QByteArray full;
    full.reserve(key.size() + 2);
    full.append(char('0' + int(kind))).append(':').append(key);
    return full;
}

QImage PictureCache::obtain(Kind kind, const QByteArray& key, const std::function<QImage()>& make)
{
    const QByteArray full = fullKey(kind, key);
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const auto found = entries_.find(full);
        if (found != entries_.end()) {
            touchLocked(full);
            return found->first.image;
        }
        if (!inFlight_.contains(full))
            break;
        made_.wait(lock);
    }
    inFlight_.insert(full);
    lock.unlock();

    QImage image;
    try {
        image = make();
    } catch (...) {
        lock.lock();
        inFlight_.remove(full);
        made_.notify_all();
        throw;
    }

    std::vector<QImage> dropped;
    lock.lock();
    inFlight_.remove(full);
    ++madeCount_[int(kind)];
    storeLocked(kind, full, image, dropped);
    made_.notify_all();
    lock.unlock();
    dropped.clear(); // their pixels are given back outside the lock every drawing thread looks pictures up under
    return image;
}

QImage PictureCache::peek(Kind kind, const QByteArray& key)
{
    const QByteArray full = fullKey(kind, key);
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = entries_.find(full);
    if (found == entries_.end())
        return {};
    touchLocked(full);
    return found->first.image;
}

bool PictureCache::holds(Kind kind, const QByteArray& key) const
{
    const QByteArray full = fullKey(kind, key);
    const std::lock_guard<std::mutex> lock(mutex_);
    return entries_.contains(full);
}

void PictureCache::storeLocked(Kind kind, const QByteArray& key, const QImage& image, std::vector<QImage>& dropped)
{
    const qint64 bytes = bytesOf(image);
    if (bytes > budget_)
        return;
    order_.push_front(key);
    entries_.insert(key, { Entry { kind, image, bytes }, order_.begin() });
    bytes_ += bytes;
    trimLocked(dropped);
}

void PictureCache::touchLocked(const QByteArray& key)
{
    const auto found = entries_.find(key);
    if (found != entries_.end() && found->second != order_.begin())
        order_.splice(order_.begin(), order_, found->second);
}

void PictureCache::trimLocked(std::vector<QImage>& dropped)
{
    while (bytes_ > budget_ && !order_.empty()) {
        const auto found = entries_.find(order_.back());
        if (found != entries_.end()) {
            bytes_ -= found->first.bytes;
            dropped.push_back(std::move(found->first.image));
            entries_.erase(found);
        }
        order_.pop_back();
    }
}

void PictureCache::setBudget(qint64 bytes)
{
    std::vector<QImage> dropped;
    const std::lock_guard<std::mutex> lock(mutex_);
    budget_ = std::max<qint64>(bytes, 0);
    trimLocked(dropped);
}

qint64 PictureCache::budget() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return budget_;
}

PictureCache::Counts PictureCache::counts() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    Counts counts;
    for (const auto& held : entries_)
        ++counts.held[int(held.first.kind)];
    std::copy(std::begin(madeCount_), std::end(madeCount_), std::begin(counts.made));
    counts.bytes = bytes_;
    return counts;
}

void PictureCache::clear()
{
    decltype(entries_) dropped;
    const std::lock_guard<std::mutex> lock(mutex_);
    dropped.swap(entries_);
    order_.clear();
    bytes_ = 0;
    std::fill(std::begin(madeCount_), std::end(madeCount_), 0);
}
