#pragma once

#include "data/Xml_Stream_Scanner.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

class Count_Gate;

// Counts a worksheet's row and cell tags in the raw text, without parsing it: fast enough to refuse a
// sheet past the limits before much of it is kept. Stops once the cells pass `maxCells`; rows are counted
// to the end, so that the user learns how tall the sheet is.
class Tag_Counter : public Part_Sink {
public:
    // gate, when given, learns when the first block comes (the part's budget is then taken).
    explicit Tag_Counter(std::int64_t maxCells, Count_Gate* gate = nullptr);

    std::int64_t rows = 0;
    std::int64_t cells = 0;

    bool feed(const char* data, std::size_t size) override;
    bool finish() override;
    QString error() const override { return {}; }

private:
    std::size_t count(std::string_view text, std::size_t until);

    std::int64_t maxCells_;
    Count_Gate* gate_;
    std::string carry_;
};

// Stands between a worksheet part and its scanner while the same part is counted on another thread: the
// scanner may go `aheadBytes` into the part, then waits for the count, and stops as soon as the count
// refuses the sheet. The cells kept before a refusal are thus those of that much of the part at most.
class Count_Gate : public Part_Sink {
public:
    Count_Gate(Part_Sink& scanner, std::int64_t aheadBytes);

    // The counting thread's side: its budget is taken (the scanner waits for that, so that the two take
    // from the budget in the order of a count followed by a read), then the count is done.
    void begun();
    void counted(bool passed);
    // The scanning thread's side.
    void waitBegun();

    bool feed(const char* data, std::size_t size) override;
    bool finish() override;
    QString error() const override { return scanner_.error(); }

private:
    bool waitCounted();

    Part_Sink& scanner_;
    const std::int64_t aheadBytes_;
    std::int64_t fed_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool told_ = false; // the counting thread's own note that begun() was told
    bool begun_ = false;
    bool counted_ = false;
    std::atomic<bool> refused_ { false };
};
