#pragma once

// What every fuzz target shares: a GUI application for the item code (fonts, pictures), and the
// comparison of values read back, which treats a NaN as equal to itself.
#include "platform/PropertyList.h"

#include <QFile>
#include <QGuiApplication>
#include <QList>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzzsupport {

inline void startApplication()
{
    static int argc = 1;
    static char name[] = "tessaline-fuzz";
    static char* argv[] = { name, nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*=false");
    static QGuiApplication application(argc, argv);
}

inline bool same(const platform::PlistValue& a, const platform::PlistValue& b)
{
    using Type = platform::PlistValue::Type;
    if (a.type() != b.type())
        return false;
    switch (a.type()) {
    case Type::Real: {
        const double x = a.toReal();
        const double y = b.toReal();
        return (std::isnan(x) && std::isnan(y)) || std::memcmp(&x, &y, sizeof x) == 0;
    }
    case Type::Array: {
        const auto& x = a.toArray();
        const auto& y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (!same(x[i], y[i]))
                return false;
        }
        return true;
    }
    case Type::Dict: {
        const auto& x = a.toDict();
        const auto& y = b.toDict();
        if (x.size() != y.size())
            return false;
        for (auto i = x.begin(), j = y.begin(); i != x.end(); ++i, ++j) {
            if (i->first != j->first || !same(i->second, j->second))
                return false;
        }
        return true;
    }
    default:
        return a == b;
    }
}

// The first value of two archive dicts that differs, as XML, for the log of a finding.
inline QByteArray firstDifference(const platform::PlistValue& a, const platform::PlistValue& b)
{
    const auto& x = a.toDict();
    const auto& y = b.toDict();
    for (const auto& [key, value] : x) {
        const platform::PlistValue* other = y.find(key);
        if (!other || !same(value, *other)) {
            platform::PlistDict pair;
            pair.insert(QStringLiteral("first"), value);
            if (other)
                pair.insert(QStringLiteral("again"), *other);
            if (value.isDict() && other && other->isDict())
                return key.toUtf8() + " > " + firstDifference(value, *other);
            return key.toUtf8() + ": " + platform::PropertyList::toXml(pair);
        }
    }
    return x.size() != y.size() ? QByteArray("keys added") : QByteArray("nothing");
}

// A finding: the message goes to the fuzzer's log and the run stops with the input saved.
[[noreturn]] inline void finding(const char* what)
{
    std::fprintf(stderr, "FINDING: %s\n", what);
    std::abort();
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A file of the given bytes; false when it cannot be written (the input is then skipped).
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Cuts an input into pieces at a two-byte mark, so that one input can hold several parts or values.
inline QList<QByteArray> pieces(const QByteArray& input, int most)
{
    QList<QByteArray> parts;
    qsizetype from = 0;
    while (parts.size() + 1 < most) {
        const qsizetype at = input.indexOf("\x1e\x1e", from);
        if (at < 0)
            break;
        parts.append(input.mid(from, at - from));
        from = at + 2;
    }
    parts.append(input.mid(from));
    return parts;
}

} // namespace fuzzsupport

// Every target starts the application once, before its first input: item code needs fonts and pictures.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::startApplication();
    return 0;
}
