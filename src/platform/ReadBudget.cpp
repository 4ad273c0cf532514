#include "platform/ReadBudget.h"

#include <algorithm>
#include <limits>

namespace platform {

namespace {

quint64 saturatingProduct(quint64 a, quint64 b)
{
    return b != 0 && a > std::numeric_limits<quint64>::max() / b ? std::numeric_limits<quint64>::max() : a * b;
}

quint64 saturatingSum(quint64 a, quint64 b)
{
    return a > std::numeric_limits<quint64>::max() - b ? std::numeric_limits<quint64>::max() : a + b;
}

} // namespace

ReadBudget::ReadBudget(quint64 inputBytes)
    : values_(saturatingSum(inputBytes, extraValues))
    , bytes_(saturatingSum(saturatingProduct(inputBytes, bytesPerInputByte), extraBytes))
{
}

ReadBudget::ReadBudget(quint64 values, quint64 bytes)
    : values_(values)
    , bytes_(bytes)
{
}

ReadBudget::ReadBudget(ReadBudget& parent)
    : parent_(&parent)
{
}

ReadBudget::~ReadBudget()
{
    if (parent_)
        parent_->giveBack(values_, bytes_);
}

bool ReadBudget::spendBeyond(quint64 values, quint64 bytes)
{
    if (!(parent_ && takeFromParent(values, bytes))) {
        markExhausted();
        return false;
    }
    values_ -= values;
    bytes_ -= bytes;
    return true;
}

bool ReadBudget::exhausted() const
{
    std::lock_guard lock(sharing_);
    return exhausted_;
}

void ReadBudget::markExhausted()
{
    {
        std::lock_guard lock(sharing_);
        exhausted_ = true;
    }
    if (parent_)
        parent_->markExhausted();
}

// Takes at least what the spend lacks, and a block more when the parent has it, so that a share goes to
// its parent seldom.
bool ReadBudget::takeFromParent(quint64 values, quint64 bytes)
{
    const quint64 lackingValues = values > values_ ? values - values_ : 0;
    const quint64 lackingBytes = bytes > bytes_ ? bytes - bytes_ : 0;
    const auto granted = parent_->grant(lackingValues, lackingBytes);
    if (!granted)
        return false;
    values_ += granted->first;
    bytes_ += granted->second;
    return true;
}

std::optional<std::pair<quint64, quint64>> ReadBudget::grant(quint64 values, quint64 bytes)
{
    std::lock_guard lock(sharing_);
    if (values > values_ || bytes > bytes_)
        return std::nullopt;
    const quint64 givenValues = values + std::min(shareValues, values_ - values);
    const quint64 givenBytes = bytes + std::min(shareBytes, bytes_ - bytes);
    values_ -= givenValues;
    bytes_ -= givenBytes;
    return std::make_pair(givenValues, givenBytes);
}

void ReadBudget::giveBack(quint64 values, quint64 bytes)
{
    std::lock_guard lock(sharing_);
    values_ = saturatingSum(values_, values);
    bytes_ = saturatingSum(bytes_, bytes);
}

} // namespace platform
