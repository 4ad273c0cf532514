#include "data/Worksheet_Count.h"

#include <algorithm>

namespace {

bool endsName(char c)
{
    return c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

Tag_Counter::Tag_Counter(std::int64_t maxCells, Count_Gate* gate)
    : maxCells_(maxCells)
    , gate_(gate)
{
}

bool Tag_Counter::feed(const char* data, std::size_t size)
{
    if (gate_)
        gate_->begun();
    const std::string_view block(data, size);
    if (size < 8) {
        carry_.append(block);
        carry_.erase(0, std::min(count(carry_, std::string::npos), carry_.size()));
    } else {
        // A tag held back from the last block is told by the first bytes of this one; the block itself
        // is counted where it lies.
        const std::size_t held = carry_.size();
        carry_.append(block.substr(0, 4));
        count(carry_, held);
        const std::size_t left = count(block, std::string_view::npos);
        carry_.assign(left < size ? block.substr(left) : std::string_view());
    }
    return cells <= maxCells_;
}

bool Tag_Counter::finish()
{
    if (gate_)
        gate_->begun();
    return true;
}

// Counts the tags that begin before `until`; the place of the first one too near the end of the text to
// be told, or npos.
std::size_t Tag_Counter::count(std::string_view text, std::size_t until)
{
    for (std::size_t lt = findByte(text, 0, '<'); lt < until; lt = findByte(text, lt + 1, '<')) {
        if (lt + 5 > text.size())
            return lt;
        if (text[lt + 1] == 'c' && endsName(text[lt + 2]))
            ++cells;
        else if (text[lt + 1] == 'r' && text[lt + 2] == 'o' && text[lt + 3] == 'w' && endsName(text[lt + 4]))
            ++rows;
    }
    return std::string_view::npos;
}

Count_Gate::Count_Gate(Part_Sink& scanner, std::int64_t aheadBytes)
    : scanner_(scanner)
    , aheadBytes_(aheadBytes)
{
}

void Count_Gate::begun()
{
    if (told_)
        return;
    told_ = true; // only the counting thread comes here
    std::lock_guard lock(mutex_);
    begun_ = true;
    changed_.notify_all();
}

void Count_Gate::counted(bool passed)
{
    std::lock_guard lock(mutex_);
    begun_ = counted_ = true;
    refused_.store(!passed);
    changed_.notify_all();
}

void Count_Gate::waitBegun()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return begun_; });
}

bool Count_Gate::waitCounted()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return counted_; });
    return !refused_.load();
}

bool Count_Gate::feed(const char* data, std::size_t size)
{
    if (refused_.load(std::memory_order_relaxed))
        return false;
    fed_ += std::int64_t(size);
    if (fed_ > aheadBytes_ && !waitCounted())
        return false;
    return scanner_.feed(data, size);
}

bool Count_Gate::finish()
{
    return waitCounted() && scanner_.finish();
}
