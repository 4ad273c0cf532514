#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

// Running the real decoders over many picture files at once: each decoder call takes a batch of files and
// the batches run on parallel threads. Results map a file path to the bytes the decoder read; a file the
// decoder could not read has no entry.
namespace barcode2d_peers {

// ZXingReader, restricted to one format ("QRCode", "PDF417", "DataMatrix", "Code128"), with further options.
QHash<QString, QByteArray> zxingDecode(const QStringList& files, const QString& format, const QStringList& options = {});
// zbarimg (QR Code), bytes taken without character-set conversion. Its raw output does not name the files,
// so a batch is read in one call and compared with the expected bytes joined in file order; only a batch
// that differs is read again file by file to find the files that failed.
QHash<QString, QByteArray> zbarDecode(const QStringList& files, const QHash<QString, QByteArray>& expected);
// dmtxread, one file per call (its output does not name the file), calls in parallel.
QHash<QString, QByteArray> dmtxDecode(const QStringList& files);

// The picture flattened onto white with a quiet zone of the given pixels on every side, as 8-bit grey.
QImage onWhite(const QImage& picture, int quietPixels);
// Saves a picture as PNG into folder under name; returns the path (empty on failure).
QString savePng(const QImage& image, const QString& folder, const QString& name);

// Printable ASCII, digits, or text mixing Latin, Cyrillic and CJK letters; reproducible from the seed.
QByteArray randomAscii(quint32 seed, int length);
QByteArray randomDigits(quint32 seed, int length);
// Exactly byteLength UTF-8 bytes, whole characters only.
QByteArray randomUtf8(quint32 seed, int byteLength);

// Names the files whose decoded bytes differ from the expected ones (or that were not read at all).
QStringList mismatches(const QHash<QString, QByteArray>& expected, const QHash<QString, QByteArray>& decoded);

} // namespace barcode2d_peers
