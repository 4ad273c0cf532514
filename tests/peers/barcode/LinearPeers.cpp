#include "LinearPeers.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <cstring>

namespace linearpeers {

void startZxing(QProcess& process, const QStringList& files, const QString& format, const QString& report)
{
    // Pictures are upright: no need to look for symbols on their side. The reader's pass over downscaled
    // copies stops on an internal assertion for some pictures of 3-pixel modules: full scale only.
    process.setStandardOutputFile(report);
    process.start(QStringLiteral("ZXingReader"),
        QStringList { QStringLiteral("-fast"), QStringLiteral("-norotate"), QStringLiteral("-noscale"),
            QStringLiteral("-format"), format }
            + files);
}

QHash<QString, QByteArray> zxingResults(const QByteArray& report)
{
    // One block per file: "File:" names it and "Bytes:" gives the content in hexadecimal.
    QHash<QString, QByteArray> results;
    QString file;
    const QList<QByteArray> lines = report.split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("File:")) {
            file = QString::fromUtf8(line.mid(5).trimmed());
        } else if (line.startsWith("Bytes:") && !file.isEmpty() && !results.contains(file)) {
            results.insert(file, QByteArray::fromHex(line.mid(6).trimmed().replace(' ', "")));
        }
    }
    return results;
}

void startZbar(QProcess& process, const QStringList& files, const QString& symbology, const QString& report)
{
    // Every fourth row is scanned, the columns not at all: the pictures are upright and many rows tall.
    process.setStandardOutputFile(report);
    process.start(QStringLiteral("zbarimg"),
        QStringList { QStringLiteral("--nodbus"), QStringLiteral("--xml"), QStringLiteral("-Sdisable"),
            QStringLiteral("-S%1.enable").arg(symbology), QStringLiteral("-Sx-density=0"),
            QStringLiteral("-Sy-density=4") }
            + files);
}

QHash<QString, QByteArray> zbarResults(const QByteArray& report)
{
    // One source element per file; its first symbol's data, in base64 when it holds control characters.
    QHash<QString, QByteArray> results;
    const QRegularExpression source(QStringLiteral("<source href='([^']*)'>"));
    const QRegularExpression data(QStringLiteral("<data( format='base64')?[^>]*><!\\[CDATA\\[(.*?)\\]\\]></data>"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString text = QString::fromLatin1(report);
    auto sources = source.globalMatch(text);
    QList<QRegularExpressionMatch> found;
    while (sources.hasNext())
        found.append(sources.next());
    for (qsizetype i = 0; i < found.size(); ++i) {
        const qsizetype begin = found.at(i).capturedEnd();
        const qsizetype end = i + 1 < found.size() ? found.at(i + 1).capturedStart() : text.size();
        const auto match = data.match(text.mid(begin, end - begin));
        if (!match.hasMatch())
            continue;
        const QByteArray bytes = match.captured(2).toLatin1();
        results.insert(
            found.at(i).captured(1), match.captured(1).isEmpty() ? bytes : QByteArray::fromBase64(bytes.trimmed()));
    }
    return results;
}

QList<QStringList> zintRows(
    const QStringList& arguments, const QList<QByteArray>& values, int rowsPerSymbol, QString* error)
{
    const QString folder = testsupport::makeTempFolder(QStringLiteral("zint"));
    const QString input = folder + QStringLiteral("/values.txt");
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write ") + input;
        return {};
    }
    for (const QByteArray& value : values)
        file.write(value + '\n');
    file.close();

    QString out;
    QString err;
    const int code = testsupport::runProgram(QStringLiteral("zint"),
        QStringList { QStringLiteral("--batch"), QStringLiteral("--dump"), QStringLiteral("-i"), input } + arguments,
        &out, &err);
    QDir(folder).removeRecursively();
    if (code != 0) {
        *error = QStringLiteral("zint ended with %1: %2").arg(code).arg(err);
        return {};
    }
    const QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() != values.size() * rowsPerSymbol) {
        *error = QStringLiteral("zint gave %1 rows for %2 values: %3").arg(lines.size()).arg(values.size()).arg(err);
        return {};
    }
    QList<QStringList> symbols;
    for (qsizetype i = 0; i < lines.size(); i += rowsPerSymbol) {
        QStringList rows;
        for (int r = 0; r < rowsPerSymbol; ++r) {
            QString bits;
            for (const QString& group : lines.at(i + r).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                bits += QStringLiteral("%1").arg(group.toUInt(nullptr, 16), group.size() * 4, 2, QLatin1Char('0'));
            rows.append(bits);
        }
        symbols.append(rows);
    }
    return symbols;
}

QImage withQuietZone(const QImage& picture, int pixels)
{
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    QImage padded(grey.width() + 2 * pixels, grey.height() + 2 * pixels, QImage::Format_Grayscale8);
    padded.fill(255);
    for (int row = 0; row < grey.height(); ++row)
        std::memcpy(padded.scanLine(row + pixels) + pixels, grey.constScanLine(row), static_cast<size_t>(grey.width()));
    return padded;
}

} // namespace linearpeers
