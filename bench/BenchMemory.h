#pragma once

#include <QByteArray>
#include <QFile>

// Resident memory of the benchmark process (Linux), for benchmarks that must stay flat in their input size.
namespace benchmemory {

// A field of /proc/self/status in kilobytes: "VmRSS:" now, "VmHWM:" the peak since the last reset.
inline qint64 statusField(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Starts a new peak.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace benchmemory
