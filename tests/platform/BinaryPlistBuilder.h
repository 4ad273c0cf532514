#pragma once

// Hand-made binary property lists for tests: objects given as their encoded bytes, so that files can
// share objects by reference, overlap, or declare what the program's own writer never would.
#include <QByteArray>

#include <initializer_list>
#include <vector>

namespace plistbuilder {

inline void appendBigEndian(QByteArray& out, quint64 value, int width)
{
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

// A binary property list made of the given encoded objects, with offset table and trailer computed.
inline QByteArray assemble(const std::vector<QByteArray>& objects, quint64 top = 0, int refWidth = 1)
{
    QByteArray out("bplist00");
    std::vector<quint64> offsets;
    for (const QByteArray& object : objects) {
        offsets.push_back(static_cast<quint64>(out.size()));
        out.append(object);
    }
    const auto table = static_cast<quint64>(out.size());
    for (const quint64 offset : offsets)
        appendBigEndian(out, offset, 4);
    out.append(6, '\0');
    out.append('\x04');
    out.append(static_cast<char>(refWidth));
    appendBigEndian(out, objects.size(), 8);
    appendBigEndian(out, top, 8);
    appendBigEndian(out, table, 8);
    return out;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// An array or dict marker with its count, in the long form when the count needs it.
inline QByteArray marker(int kind, quint64 count)
{
    QByteArray out;
    if (count < 15) {
        out.append(static_cast<char>(kind | int(count)));
        return out;
    }
    out.append(static_cast<char>(kind | 0x0F));
    out.append('\x13');
    appendBigEndian(out, count, 8);
    return out;
}

// An array of `count` references, every one to `ref`.
inline QByteArray arrayOf(quint64 count, quint64 ref, int refWidth = 1)
{
    QByteArray out = marker(0xA0, count);
    for (quint64 i = 0; i < count; ++i)
        appendBigEndian(out, ref, refWidth);
    return out;
}

// A short ASCII string object.
inline QByteArray ascii(const QByteArray& text)
{
    return marker(0x50, quint64(text.size())) + text;
}

// Two arrays of `fanout` references, the first to the second and the second to one string: a few hundred
// bytes that read as fanout * fanout values.
inline QByteArray sharedExpansion(int fanout)
{
    return assemble({ arrayOf(quint64(fanout), 1), arrayOf(quint64(fanout), 2), ascii("x") });
}

} // namespace plistbuilder
