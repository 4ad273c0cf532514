#include "barcode/QR_Picture_Encoder.h"

#include "barcode/BRC2DResolution.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/QR_Matrix_Encoder.h"
#include "common/Common_Functions.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstring>
#include <exception>

QR_Invalid_Passphrase::QR_Invalid_Passphrase(const QString& reason)
    : std::runtime_error(reason.toStdString())
{
}

namespace {

QByteArray aesKey(const QString& passphrase)
{
    if (passphrase.size() > 32)
        throw QR_Invalid_Passphrase(QStringLiteral("passphrase too long: %1").arg(passphrase.size()));
    QByteArray key = passphrase.toUtf8().left(static_cast<int>(passphrase.size()));
    key.append(QByteArray(32 - key.size(), '\0'));
    return key;
}

std::optional<QByteArray> runCipher(const QByteArray& input, const QByteArray& key, bool encrypt)
{
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (!ctx)
        return std::nullopt;
    const unsigned char iv[16] = {};
    QByteArray output(input.size() + 16, '\0');
    int written = 0;
    int finalWritten = 0;
    const bool ok = EVP_CipherInit_ex(ctx, EVP_aes_256_cbc(), nullptr,
                        reinterpret_cast<const unsigned char*>(key.constData()), iv, encrypt ? 1 : 0)
            == 1
        && EVP_CIPHER_CTX_set_padding(ctx, 1) == 1
        && EVP_CipherUpdate(ctx, reinterpret_cast<unsigned char*>(output.data()), &written,
               reinterpret_cast<const unsigned char*>(input.constData()), static_cast<int>(input.size()))
            == 1
        && EVP_CipherFinal_ex(ctx, reinterpret_cast<unsigned char*>(output.data()) + written, &finalWritten) == 1;
    EVP_CIPHER_CTX_free(ctx);
    if (!ok)
        return std::nullopt;
    output.truncate(written + finalWritten);
    return output;
}

} // namespace

std::unique_ptr<DataMatrix> QR_Picture_Encoder::encodeWithECLevel(int level, int version, const QString& string)
{
    try {
        const QByteArray utf8 = string.toUtf8();
        const bool beyondAscii = std::any_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) != 0; });
        return encodeBytes(level, version, utf8, beyondAscii);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return nullptr;
    }
}

std::unique_ptr<DataMatrix> QR_Picture_Encoder::encodeCStringWithECLevel(int level, int version, const char* cstring)
{
    if (!cstring)
        return nullptr;
    return encodeCStringWithECLevel(level, version, QByteArray(cstring, static_cast<int>(std::strlen(cstring))));
}

std::unique_ptr<DataMatrix> QR_Picture_Encoder::encodeCStringWithECLevel(
    int level, int version, const QByteArray& bytes)
{
    return encodeBytes(level, version, bytes, false);
}

std::unique_ptr<DataMatrix> QR_Picture_Encoder::encodeBytes(
    int level, int version, const QByteArray& bytes, bool utf8Designator)
{
    if (level < 0 || level > 3 || version < 0 || version > QR_VERSION_MAX)
        return nullptr;
    try {
        auto encoder = std::make_unique<QR_Matrix_Encoder>();
        // Text reaches the facade as UTF-8 (or as cipher bytes), never as Shift JIS.
        encoder->setKanjiAllowed(false);
        encoder->setUtf8Designator(utf8Designator);
        const auto* source = reinterpret_cast<const unsigned char*>(bytes.constData());
        const int n = static_cast<int>(bytes.size());
        // The segmented bit stream, digits and capitals in their own modes, must fit the version asked for.
        encoder->m_nLevel = level;
        const int needed = n > 0 ? encoder->GetEncodeVersion(version, source, n) : 1;
        const int checkVersion = version == 0 ? QR_VERSION_MAX : version;
        if (needed == 0 || needed > checkVersion)
            return nullptr;
        auto matrix = std::make_unique<DataMatrix>(0);
        if (n > 0 && encoder->EncodeData(level, version, true, -1, source, n)) {
            const int size = encoder->m_nSymbolSize;
            matrix->initWith(size);
            for (int x = 0; x < size; ++x)
                for (int y = 0; y < size; ++y)
                    matrix->set(encoder->m_byModuleData[x][y] == 1 ? 1 : 0, x, y);
        }
        return matrix;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        return nullptr;
    }
}

QImage QR_Picture_Encoder::renderModules(const DataMatrix& matrix, int imageDimension)
{
    const int n = static_cast<int>(matrix.dimension());
    if (n <= 0)
        return {};
    // A side below the module count would give modules of no pixels: draw one pixel per module instead.
    const int side = std::max(imageDimension, n);
    if (!Barcode_Pixel_Area_Fits(side, side))
        return {};
    // One byte a pixel, an index into light and dark: a quarter of the memory of 32-bit colours, and
    // written to PNG files as it is.
    QImage image(side, side, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable({ qRgba(255, 255, 255, 255), qRgba(0, 0, 0, 255) });
    const int s = side / n;
    const int margin = (side - s * n) / 2;
    // The margin is quiet zone: light like the light modules, or saved pictures would not read.
    image.fill(0);
    for (int y = 0; y < n; ++y) {
        uchar* line = image.scanLine(margin + y * s);
        for (int x = 0; x < n; ++x)
            std::memset(line + margin + x * s, matrix.valueAt(x, y) != 0 ? 1 : 0, static_cast<size_t>(s));
        for (int k = 1; k < s; ++k)
            std::memcpy(image.scanLine(margin + y * s + k), line, static_cast<size_t>(image.bytesPerLine()));
    }
    return image;
}

BarcodePicture QR_Picture_Encoder::renderDataMatrix(const DataMatrix& matrix, int imageDimension, int dpi)
{
    try {
        const QImage image = renderModules(matrix, imageDimension);
        if (image.isNull())
            return {};
        BarcodePicture picture { image, QSizeF(image.width(), image.height()) };
        Barcode_Gen& settings = Barcode_Settings();
        settings.Save_Barcode_gen_image(picture, QStringLiteral("QR.bmp"));
        return settings.Increase_DPI(picture, BRC2D_Clamped_DPI(dpi));
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
        return {};
    }
}

std::optional<QByteArray> QR_Picture_Encoder::AESEncryptString(const QString& string, const QString& passphrase)
{
    return runCipher(string.toUtf8(), aesKey(passphrase), true);
}

std::optional<QString> QR_Picture_Encoder::AESDecryptString(const QByteArray& data, const QString& passphrase)
{
    const auto plain = runCipher(data, aesKey(passphrase), false);
    if (!plain)
        return std::nullopt;
    return QString::fromUtf8(*plain);
}

std::unique_ptr<DataMatrix> QR_Picture_Encoder::encodeWithECLevel(
    int level, int version, const QString& string, const QString& AESPassphrase)
{
    const auto cipher = AESEncryptString(string, AESPassphrase);
    if (!cipher)
        return nullptr;
    return encodeCStringWithECLevel(level, version, *cipher);
}

quint32 QR_Picture_Encoder::hexadecimalValueOfAnNSColor(const QColor& color)
{
    auto component = [](double value) { return static_cast<quint32>(static_cast<int>(value * 255.0)) & 0xFF; };
    return (component(color.alphaF()) << 24) | (component(color.redF()) << 16) | (component(color.greenF()) << 8)
        | component(color.blueF());
}
