#pragma once

#include <QtGlobal>

namespace platform {

// What one read may build from its input, shared by every property list inside it (all the item archives
// of a design file, all the items of one clipboard read). A binary property list can name the same
// objects many times over by reference, so the values decoded and the memory they take are both bounded
// by the size of the whole input, never restarted per archive.
class ReadBudget {
public:
    explicit ReadBudget(quint64 inputBytes);

    // Takes the values and bytes from what is left; false, taking nothing, when either would run out.
    bool spend(quint64 values, quint64 bytes);

    bool exhausted() const { return exhausted_; } // a spend was refused
    quint64 valuesLeft() const { return values_; }
    quint64 bytesLeft() const { return bytes_; }

    // Values decoded beyond one per input byte, and memory beyond a few bytes per input byte: room for
    // small inputs whose shared objects are legitimately referenced many times.
    static constexpr quint64 extraValues = 100000;
    static constexpr quint64 bytesPerInputByte = 12;
    static constexpr quint64 extraBytes = quint64(32) * 1024 * 1024;

private:
    quint64 values_;
    quint64 bytes_;
    bool exhausted_ = false;
};

} // namespace platform
