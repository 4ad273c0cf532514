#pragma once

#include <QByteArray>
#include <QFile>

#include <sys/resource.h>

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

// Processor time of the whole process so far, user and system, in seconds.
inline double processCpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace benchmemory
