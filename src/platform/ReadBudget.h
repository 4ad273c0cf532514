#pragma once

#include <QtGlobal>

#include <mutex>
#include <optional>
#include <utility>

namespace platform {

// What one read may build from its input, shared by every property list inside it (all the item archives
// of a design file, all the items of one clipboard read). A binary property list can name the same
// objects many times over by reference, so the values decoded and the memory they take are both bounded
// by the size of the whole input, never restarted per archive.
//
// Threads that read parts of one input side by side each take a share of the input's budget: a share
// draws from its parent in blocks, so that the threads together never spend more than the parent holds,
// and gives back what it did not spend when it ends.
class ReadBudget {
public:
    explicit ReadBudget(quint64 inputBytes);
    // Exactly these values and bytes, for a reader that bounds its memory otherwise than by the above.
    ReadBudget(quint64 values, quint64 bytes);
    // A share of the parent, for one thread; the parent is not spent directly while shares of it live.
    explicit ReadBudget(ReadBudget& parent);
    ~ReadBudget();
    ReadBudget(const ReadBudget&) = delete;
    ReadBudget& operator=(const ReadBudget&) = delete;

    // Takes the values and bytes from what is left; false, taking nothing, when either would run out.
    // Called for every element read, so the common case stays inline.
    bool spend(quint64 values, quint64 bytes)
    {
        if (values > values_ || bytes > bytes_) [[unlikely]]
            return spendBeyond(values, bytes);
        values_ -= values;
        bytes_ -= bytes;
        return true;
    }

    bool exhausted() const; // a spend was refused, here or in a share
    quint64 valuesLeft() const { return values_; }
    quint64 bytesLeft() const { return bytes_; }

    // Values decoded beyond one per input byte, and memory beyond a few bytes per input byte: room for
    // small inputs whose shared objects are legitimately referenced many times.
    static constexpr quint64 extraValues = 100000;
    static constexpr quint64 bytesPerInputByte = 12;
    static constexpr quint64 extraBytes = quint64(32) * 1024 * 1024;

    // What a share takes from its parent at a time.
    static constexpr quint64 shareValues = 4096;
    static constexpr quint64 shareBytes = quint64(256) * 1024;

private:
    bool spendBeyond(quint64 values, quint64 bytes);
    bool takeFromParent(quint64 values, quint64 bytes);
    // The parent's side: what is asked and a block more where there is one; nothing when even what is
    // asked is not there.
    std::optional<std::pair<quint64, quint64>> grant(quint64 values, quint64 bytes);
    void giveBack(quint64 values, quint64 bytes);
    void markExhausted();

    ReadBudget* parent_ = nullptr;
    quint64 values_ = 0;
    quint64 bytes_ = 0;
    bool exhausted_ = false;
    mutable std::mutex sharing_; // guards a parent's counts and flag while shares draw on them
};

} // namespace platform
