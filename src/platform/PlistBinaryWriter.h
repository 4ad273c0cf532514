#pragma once

#include "platform/PropertyList.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <utility>
#include <vector>

namespace platform {

// Writes the binary property-list format ("bplist00"). Equal strings, numbers, dates and data are
// stored once and shared, which keeps the repeated keys of archives small; containers are written in
// full. Invalid values are written as the null object.
class PlistBinaryWriter {
public:
    static QByteArray write(const PlistValue& root);

private:
    struct Object {
        const PlistValue* value = nullptr; // nullptr: a dict key, in key
        const QString* key = nullptr;
        quint64 firstRef = 0; // containers: their references in refs_
        quint64 refCount = 0;
    };

    quint64 flatten(const PlistValue& value);
    quint64 flattenString(const QString& string, const PlistValue* value);
    quint64 addObject(const PlistValue* value, const QString* key);
    void writeObject(const Object& object);
    void writeString(const QString& string);
    void writeMarker(quint8 type, quint64 count);
    void writeInteger(qint64 value);
    void writeUnsigned(quint64 value, int width);
    void writeDouble(quint8 marker, double value);

    std::vector<Object> objects_;
    std::vector<quint64> refs_;
    using StringData = std::pair<const QChar*, qsizetype>;
    QHash<QString, quint64> strings_;
    QHash<StringData, quint64> stringData_;
    QHash<qint64, quint64> integers_;
    QHash<quint64, quint64> reals_; // by bit pattern, so 0.0 and -0.0 stay apart
    QHash<qint64, quint64> dates_;
    QHash<QByteArray, quint64> datas_;
    qint64 booleans_[2] = { -1, -1 };
    int refWidth_ = 1;
    QByteArray out_;
};

} // namespace platform
