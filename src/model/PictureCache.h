#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QSet>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <vector>

// The pictures that picture items draw, held once for the whole program under one memory budget: the
// decoded picture files, the adjusted pictures made from them and the copies scaled for the screen. When
// the budget is exceeded the least recently used pictures are dropped; they are made again when next
// needed. Safe on any thread: pictures are made outside the lock, and one key is made by one thread at a
// time while the others wait for its result.
class PictureCache {
public:
    enum class Kind { Source, Adjusted, Display };
    static constexpr int kKinds = 3;

    static constexpr qint64 kDefaultBudget = qint64(256) * 1024 * 1024;

    static PictureCache& instance();

    PictureCache() = default;
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The picture stored under the key, or the one that make() gives, which is then stored. A null
    // picture is stored too, so that a file that cannot be read is not read again at every paint. A
    // picture larger than the whole budget is handed back without being kept.
    QImage obtain(Kind kind, const QByteArray& key, const std::function<QImage()>& make);
    // The picture stored under the key without making it; null when it is not held.
    QImage peek(Kind kind, const QByteArray& key);
    // True when a picture is held under the key; it does not count as a use.
    bool holds(Kind kind, const QByteArray& key) const;

    // Bytes of pixels held at most. Lowering it drops pictures at once.
    void setBudget(qint64 bytes);
    qint64 budget() const;

    struct Counts {
        int held[kKinds] = {}; // pictures held now, per kind
        quint64 made[kKinds] = {}; // pictures made since the last clear, per kind
        qint64 bytes = 0; // bytes of pixels held now
    };
    Counts counts() const;

    // Drops every picture and sets the counts of pictures made back to zero.
    void clear();

private:
    struct Entry {
        Kind kind;
        QImage image;
        qint64 bytes;
    };
    using Order = std::list<QByteArray>; // most recently used first

    static QByteArray fullKey(Kind kind, const QByteArray& key);
    // Pictures dropped go into `dropped`, to be released after the lock.
    void storeLocked(Kind kind, const QByteArray& key, const QImage& image, std::vector<QImage>& dropped);
    void touchLocked(const QByteArray& key);
    void trimLocked(std::vector<QImage>& dropped);

    mutable std::mutex mutex_;
    std::condition_variable made_;
    QHash<QByteArray, std::pair<Entry, Order::iterator>> entries_;
    Order order_;
    QSet<QByteArray> inFlight_;
    qint64 budget_ = kDefaultBudget;
    qint64 bytes_ = 0;
    quint64 madeCount_[kKinds] = {};
};
