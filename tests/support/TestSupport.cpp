#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

#include <zlib.h>

namespace testsupport {

int runProgram(const QString& program, const QStringList& arguments, QString* out, QString* err,
    const QByteArray& input, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return -1;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool havePeer(const QString& program)
{
    if (QFileInfo(program).isAbsolute())
        return QFileInfo(program).isExecutable();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QString makeTempFolder(const QString& name)
{
    const QString base = qEnvironmentVariable("TESSALINE_DATA_DIR", QDir::tempPath());
    const QString path
        = base + QStringLiteral("/tmp-") + name + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QDir().mkpath(path);
    return path;
}

std::vector<std::uint8_t> inflateZlib(const QByteArray& packed, std::size_t limit)
{
    std::vector<std::uint8_t> back(limit + 16);
    uLongf size = static_cast<uLongf>(back.size());
    if (uncompress(
            back.data(), &size, reinterpret_cast<const Bytef*>(packed.constData()), static_cast<uLong>(packed.size()))
        != Z_OK)
        return {};
    back.resize(size);
    return back;
}

} // namespace testsupport
