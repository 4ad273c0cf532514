#pragma once

#include "barcode/BarcodePicture.h"
#include "barcode/DataMatrix.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>

// Raised when an AES passphrase is longer than the 32-byte key.
class QR_Invalid_Passphrase : public std::runtime_error {
public:
    explicit QR_Invalid_Passphrase(const QString& reason);
    static const char* name() { return "invalid passphrase exception"; }
};

// The QR Code facade: text to module matrix (one encoder per symbol), matrix to picture, and an AES variant
// that encodes the ciphertext of a text. Keeps no state between calls; any thread may use it.
class QR_Picture_Encoder {
public:
    // Null when the text's segmented bit stream exceeds the requested version's capacity (version 40 for
    // automatic, 0), when the level or version is out of range, or on a failure; a matrix of dimension 0
    // when the encoder could not make a symbol. Text beyond ASCII carries the UTF-8 designator.
    static std::unique_ptr<DataMatrix> encodeWithECLevel(int level, int version, const QString& string);
    // Zero-terminated bytes, and bytes with an explicit length (zero bytes included).
    static std::unique_ptr<DataMatrix> encodeCStringWithECLevel(int level, int version, const char* cstring);
    static std::unique_ptr<DataMatrix> encodeCStringWithECLevel(int level, int version, const QByteArray& bytes);

    // The matrix drawn into a side of imageDimension pixels (kept as points), modules of side / modules
    // pixels centred in a white margin; never smaller than one pixel per module. The picture is then
    // re-sampled to dpi (clamped to the accepted range). Null for an empty matrix or when the picture cannot
    // be allocated.
    static BarcodePicture renderDataMatrix(const DataMatrix& matrix, int imageDimension, int dpi);
    // The same picture before re-sampling: side x side pixels and points.
    static QImage renderModules(const DataMatrix& matrix, int imageDimension);

    // AES-256-CBC, zero IV, PKCS#7; key = the passphrase's UTF-8 bytes, zero-filled to 32. Throw
    // QR_Invalid_Passphrase for a passphrase of more than 32 UTF-16 units.
    static std::optional<QByteArray> AESEncryptString(const QString& string, const QString& passphrase);
    static std::optional<QString> AESDecryptString(const QByteArray& data, const QString& passphrase);
    // The whole ciphertext is carried, zero bytes included.
    static std::unique_ptr<DataMatrix> encodeWithECLevel(
        int level, int version, const QString& string, const QString& AESPassphrase);

    static quint32 hexadecimalValueOfAnNSColor(const QColor& color);

private:
    static std::unique_ptr<DataMatrix> encodeBytes(
        int level, int version, const QByteArray& bytes, bool utf8Designator);
};
