#include "support/Barcode2D_Peers.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace barcode2d_peers {

namespace {

QByteArray runForOutput(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return {};
    process.closeWriteChannel();
    if (!process.waitForFinished(600000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.readAllStandardOutput();
}

int workerCount()
{
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 2, 8);
}

// Runs job over slices of files on parallel threads and merges what each slice found.
template <typename Job> QHash<QString, QByteArray> inParallel(const QStringList& files, int batchSize, Job job)
{
    std::vector<QStringList> batches;
    for (qsizetype i = 0; i < files.size(); i += batchSize)
        batches.push_back(files.mid(i, batchSize));
    QHash<QString, QByteArray> result;
    std::mutex lock;
    std::atomic<size_t> next { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < workerCount(); ++t) {
        threads.emplace_back([&] {
            for (size_t b = next++; b < batches.size(); b = next++) {
                const QHash<QString, QByteArray> found = job(batches[b]);
                const std::lock_guard<std::mutex> guard(lock);
                result.insert(found);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    return result;
}

} // namespace

namespace {

QHash<QString, QByteArray> zxingRun(const QStringList& files, const QStringList& options)
{
    return inParallel(files, 40, [&options](const QStringList& batch) {
        const QByteArray output = runForOutput(QStringLiteral("ZXingReader"), options + batch);
        // Blocks of "Name:  value" lines per file; "Bytes:" holds the content in hexadecimal.
        QHash<QString, QByteArray> found;
        // A call with one file prints no "File:" line.
        QString file = batch.size() == 1 ? batch.front() : QString();
        for (const QByteArray& line : output.split('\n')) {
            if (line.startsWith("File:"))
                file = QString::fromUtf8(line.mid(5).trimmed());
            else if (line.startsWith("Bytes:") && !file.isEmpty() && !found.contains(file))
                found.insert(file, QByteArray::fromHex(line.mid(6).trimmed().replace(' ', "")));
        }
        return found;
    });
}

} // namespace

QHash<QString, QByteArray> zxingDecode(const QStringList& files, const QString& format, const QStringList& options)
{
    return zxingRun(files, QStringList { QStringLiteral("-format"), format } + options);
}

QHash<QString, QByteArray> zbarDecode(const QStringList& files, const QHash<QString, QByteArray>& expected)
{
    const QStringList binary { QStringLiteral("-q"), QStringLiteral("--raw"), QStringLiteral("-Sbinary") };
    return inParallel(files, 20, [&](const QStringList& batch) {
        QHash<QString, QByteArray> found;
        QByteArray joined;
        for (const QString& file : batch)
            joined += expected.value(file);
        if (runForOutput(QStringLiteral("zbarimg"), binary + batch) == joined) {
            for (const QString& file : batch)
                found.insert(file, expected.value(file));
            return found;
        }
        for (const QString& file : batch) {
            const QByteArray output = runForOutput(QStringLiteral("zbarimg"), binary + QStringList { file });
            if (!output.isEmpty())
                found.insert(file, output);
        }
        return found;
    });
}

QHash<QString, QByteArray> dmtxDecode(const QStringList& files)
{
    return inParallel(files, 1, [](const QStringList& batch) {
        QHash<QString, QByteArray> found;
        const QByteArray output = runForOutput(
            QStringLiteral("dmtxread"), QStringList { QStringLiteral("-N1"), QStringLiteral("-m5000") } + batch);
        if (!output.isEmpty())
            found.insert(batch.front(), output);
        return found;
    });
}

QImage onWhite(const QImage& picture, int quietPixels)
{
    QImage canvas(picture.width() + 2 * quietPixels, picture.height() + 2 * quietPixels, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.drawImage(quietPixels, quietPixels, picture);
    }
    return canvas.convertToFormat(QImage::Format_Grayscale8);
}

QString savePng(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return {};
    return path;
}

QByteArray randomAscii(quint32 seed, int length)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> printable(0x20, 0x7E);
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text.append(static_cast<char>(printable(random)));
    return text;
}

QByteArray randomDigits(quint32 seed, int length)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> digit('0', '9');
    QByteArray text;
    for (int i = 0; i < length; ++i)
        text.append(static_cast<char>(digit(random)));
    return text;
}

QByteArray randomUtf8(quint32 seed, int byteLength)
{
    static const QString alphabet = QStringLiteral("Grüße, Привет! Ça déjà vu? Ωμέγα 日本語テキスト €42");
    std::mt19937 random(seed);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    QByteArray text;
    while (text.size() < byteLength) {
        const QByteArray c = QString(alphabet.at(pick(random))).toUtf8();
        if (text.size() + c.size() <= byteLength)
            text += c;
        else
            text += QByteArray(byteLength - text.size(), 'x');
    }
    return text;
}

QStringList mismatches(const QHash<QString, QByteArray>& expected, const QHash<QString, QByteArray>& decoded)
{
    QStringList wrong;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        const auto found = decoded.constFind(it.key());
        if (found == decoded.cend())
            wrong << it.key() + QStringLiteral(": not read");
        else if (*found != it.value())
            wrong << it.key() + QStringLiteral(": read ") + QString::fromUtf8(found->left(60).toHex());
    }
    wrong.sort();
    return wrong;
}

} // namespace barcode2d_peers
