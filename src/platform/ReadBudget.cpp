#include "platform/ReadBudget.h"

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

bool ReadBudget::spend(quint64 values, quint64 bytes)
{
    if (values > values_ || bytes > bytes_) {
        exhausted_ = true;
        return false;
    }
    values_ -= values;
    bytes_ -= bytes;
    return true;
}

} // namespace platform
