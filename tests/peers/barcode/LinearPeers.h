#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

class QProcess;

// The real decoders and the independent encoder, each run once over a whole batch: many picture files
// for the decoders, many values for the encoder.
namespace linearpeers {

// Starts ZXingReader over the files, restricted to one format ("Code39", "Code128", "Codabar", "ITF"),
// its report going into a file (so that it never waits for the caller to read it).
void startZxing(QProcess& process, const QStringList& files, const QString& format, const QString& report);
// Path -> bytes read, from ZXingReader's report; files it could not read have no entry.
QHash<QString, QByteArray> zxingResults(const QByteArray& report);

// Starts zbarimg over the files with only one symbology enabled ("code39", "code128", "codabar", "i25"),
// its report going into a file.
void startZbar(QProcess& process, const QStringList& files, const QString& symbology, const QString& report);
// Path -> bytes read, from zbarimg's XML report.
QHash<QString, QByteArray> zbarResults(const QByteArray& report);

// zint --dump of every value (one symbol per value, rowsPerSymbol rows each) as rows of '1' and '0';
// empty with the reason in error when zint fails or its output does not match the values.
QList<QStringList> zintRows(
    const QStringList& arguments, const QList<QByteArray>& values, int rowsPerSymbol, QString* error);

// A picture on white with a quiet zone of the given pixels on every side, in shades of grey.
QImage withQuietZone(const QImage& picture, int pixels);

} // namespace linearpeers
