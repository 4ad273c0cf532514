#pragma once

#include "platform/PropertyList.h"
#include "platform/ReadBudget.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace platform {

// Reads the binary property-list format ("bplist00"). Every offset, reference, count and size taken
// from the file is checked against the file before it is used; a reference back to an object that is
// still being read (a cycle), nesting deeper than a fixed limit, or more values than the file could
// plausibly describe ends the read with a reason instead of recursing or allocating without bound.
// The values decoded and the memory they take are charged to a budget: the caller's, when the property
// list is one of several inside a larger input, else one of the list's own size. Null and fill objects
// read as invalid values; UIDs read as integers.
class PlistBinaryReader {
public:
    static std::optional<PlistValue> read(const QByteArray& bytes, QString* error, ReadBudget* budget = nullptr);

private:
    PlistBinaryReader(const QByteArray& bytes, ReadBudget* budget);

    bool readTrailer();
    std::optional<PlistValue> readObject(quint64 ref, int depth);
    std::optional<PlistValue> readScalar(quint8 marker, quint64 pos);
    std::optional<PlistValue> readArray(quint64 count, quint64 pos, int depth);
    std::optional<PlistValue> readDict(quint64 count, quint64 pos, int depth);
    std::optional<quint64> readCount(quint8 marker, quint64& pos);
    std::optional<QString> readUtf16(quint64 pos, quint64 count);

    std::optional<quint64> objectOffset(quint64 ref);
    bool charge(quint64 values, quint64 bytes);
    bool fits(quint64 pos, quint64 length) const;
    quint64 readUnsigned(quint64 pos, int width) const;
    std::nullopt_t fail(const QString& reason);

    const uchar* data_;
    quint64 size_;
    int offsetWidth_ = 0;
    int refWidth_ = 0;
    quint64 objectCount_ = 0;
    quint64 topObject_ = 0;
    quint64 objectsEnd_ = 0; // the offset table follows the objects
    std::vector<bool> onPath_;
    std::vector<qint32> scalarSlots_; // per object: its place in sharedScalars_, or -1
    std::vector<PlistValue> sharedScalars_; // strings and data, decoded once
    std::optional<ReadBudget> ownBudget_;
    ReadBudget* budget_;
    QString error_;
};

} // namespace platform
