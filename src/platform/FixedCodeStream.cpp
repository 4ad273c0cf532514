#include "platform/FixedCodeStream.h"

namespace platform::deflate {

FixedCodeStream::FixedCodeStream(std::size_t expectedBytes)
    : tables_(fixedTables())
    , out_(expectedBytes)
{
    putBits(1, 1); // the last block
    putBits(1, 2); // fixed codes
}

QByteArray FixedCodeStream::finish(unsigned long adler)
{
    putCode(tables_.end);
    return out_.finish(adler);
}

} // namespace platform::deflate
