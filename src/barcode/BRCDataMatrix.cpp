#include "barcode/BRCDataMatrix.h"

#include "barcode/BRC2DResolution.h"
#include "barcode/Barcode_Gen.h"
#include "barcode/DataMatrix_Encodation.h"
#include "barcode/DataMatrix_Symbol_Builder.h"
#include "common/Common_Functions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

extern "C" {
#include <iec16022ecc200.h>
}

namespace {

// The library is not documented as reentrant; roads on several threads take turns.
std::mutex& libraryLock()
{
    return DataMatrix_Symbol_Builder::libraryLock();
}

// Data codewords of the 132 x 132 size, the largest the library makes readable.
constexpr int kLargestReadableCapacity = 1304;

// Codewords of ASCII encodation: digit pairs share one, bytes above 127 take two.
int asciiCodewords(const QByteArray& data)
{
    int count = 0;
    for (qsizetype k = 0; k < data.size(); ++k) {
        const auto c = static_cast<unsigned char>(data[k]);
        if (c >= '0' && c <= '9' && k + 1 < data.size() && data[k + 1] >= '0' && data[k + 1] <= '9')
            ++k;
        count += c >= 128 ? 2 : 1;
    }
    return count;
}

} // namespace

QByteArray BRCDataMatrix::validLetters(const QByteArray& data, const QByteArray& encoding)
{
    QByteArray result = encoding;
    // Bytes above 127 go in ASCII, which carries them in fewer codewords than C40's upper shift, as does
    // every byte the letter's encodation has no value for.
    for (qsizetype k = 0; k < result.size() && k < data.size(); ++k) {
        const char letter = result[k];
        const bool known = QByteArrayView("ACTXEB").contains(letter);
        if (!known || !DataMatrix_Encodation::carries(letter, static_cast<unsigned char>(data[k])))
            result[k] = 'A';
    }
    return result;
}

void BRCDataMatrix::sizeFromFormat(const QString& format, int* W, int* H)
{
    *W = 0;
    *H = 0;
    if (format.isEmpty() || format == QLatin1String("Auto"))
        return;
    const QString rest = format.mid(1);
    const qsizetype x = rest.indexOf(QLatin1Char('X'));
    if (x < 0)
        return;
    *H = Trim_Str(rest.left(x)).toInt();
    *W = Trim_Str(rest.mid(x + 1)).toInt();
}

QByteArray BRCDataMatrix::encodingString(const QString& choice, int length)
{
    char letter = 0;
    if (choice == QLatin1String("Ascii"))
        letter = 'A';
    else if (choice == QLatin1String("C40"))
        letter = 'C';
    else if (choice == QLatin1String("Text"))
        letter = 'T';
    else if (choice == QLatin1String("Base256"))
        letter = 'B';
    return letter ? QByteArray(length, letter) : QByteArray();
}

namespace {

// One library call; the grid is copied out and the library's buffers released.
bool callLibrary(const QByteArray& data, const QByteArray& encoding, BRCDataMatrix::Symbol* symbol)
{
    QByteArray bytes = data;
    QByteArray givenEncoding = encoding;
    char* encodingPtr = givenEncoding.isEmpty() ? nullptr : givenEncoding.data();
    unsigned char* grid = nullptr;
    {
        const std::lock_guard<std::mutex> guard(libraryLock());
        grid = iec16022ecc200(&symbol->W, &symbol->H, &encodingPtr, static_cast<int>(bytes.size()),
            reinterpret_cast<unsigned char*>(bytes.data()), &symbol->dataCodewords, &symbol->capacity,
            &symbol->eccCodewords);
    }
    if (encodingPtr) {
        symbol->encoding = QByteArray(encodingPtr);
        if (encodingPtr != givenEncoding.data())
            std::free(encodingPtr);
    }
    if (!grid || symbol->W <= 0 || symbol->H <= 0) {
        std::free(grid);
        return false;
    }
    symbol->grid.assign(grid, grid + static_cast<size_t>(symbol->W) * symbol->H);
    std::free(grid);
    return true;
}

} // namespace

BRCDataMatrix::Symbol BRCDataMatrix::fromGrid(const DataMatrix_Symbol_Builder::Grid& grid, const QByteArray& encoding)
{
    Symbol symbol;
    symbol.W = grid.columns;
    symbol.H = grid.rows;
    symbol.encoding = encoding;
    symbol.dataCodewords = grid.dataCodewords;
    symbol.capacity = grid.capacity;
    symbol.eccCodewords = grid.eccCodewords;
    symbol.grid.resize(grid.modules.size());
    // The grid's row 0 is the top row; the symbol's the bottom one.
    for (int y = 0; y < grid.rows; ++y)
        for (int x = 0; x < grid.columns; ++x)
            symbol.grid[static_cast<size_t>(grid.rows - 1 - y) * grid.columns + x]
                = grid.modules[static_cast<size_t>(y) * grid.columns + x];
    return symbol;
}

QByteArray BRCDataMatrix::chosenLetters(const QByteArray& data)
{
    const QByteArray ascii(data.size(), 'A');
    // The library's choice takes Base256 for bytes above 127 (any UTF-8 text beyond ASCII), and a value too
    // long for every readable size leaves its work buffer unreleased: ASCII carries both.
    const bool highBytes = std::any_of(data.begin(), data.end(), [](char c) { return (c & 0x80) != 0; });
    if (highBytes || asciiCodewords(data) > kLargestReadableCapacity)
        return ascii;
    Symbol chosen;
    if (!callLibrary(data, {}, &chosen) || chosen.encoding.size() != data.size())
        return ascii;
    return validLetters(data, chosen.encoding);
}

std::optional<BRCDataMatrix::Symbol> BRCDataMatrix::encodeIn(
    const QByteArray& data, int W, int H, const QByteArray& letters)
{
    std::vector<DataMatrix_Symbol_Builder::Size> sizes;
    if (W > 0 || H > 0) {
        if (const auto size = DataMatrix_Symbol_Builder::sizeOf(H, W))
            sizes.push_back(*size);
    } else {
        sizes = DataMatrix_Symbol_Builder::sizesByCapacity();
    }
    for (const auto& size : sizes) {
        // The end of the data depends on the room the size leaves, so each size gets its own codewords.
        const auto codewords = DataMatrix_Encodation::codewords(data, letters, size.dataCodewords);
        if (!codewords)
            continue;
        if (const auto grid = DataMatrix_Symbol_Builder::build(*codewords, size))
            return fromGrid(*grid, letters);
    }
    return std::nullopt;
}

std::optional<BRCDataMatrix::Symbol> BRCDataMatrix::encode(
    const QByteArray& data, int W, int H, const QByteArray& encoding)
{
    if (!data.isEmpty() && data.size() <= MAXBARCODE) {
        const QByteArray letters = encoding.isEmpty() ? chosenLetters(data) : validLetters(data, encoding);
        if (auto symbol = encodeIn(data, W, H, letters))
            return symbol;
        // When the chosen encodation does not fit, ASCII is tried before giving up.
        const QByteArray ascii(data.size(), 'A');
        if (letters != ascii) {
            if (auto symbol = encodeIn(data, W, H, ascii))
                return symbol;
        }
    }
    std::fprintf(stderr, "No barcode produced\n");
    std::fflush(stderr);
    std::printf("Size    : %dx%d\n", W, H);
    std::printf("Barcode : %s\n", data.constData());
    std::printf("Encoding: %s\n", encoding.constData());
    std::fflush(stdout);
    return std::nullopt;
}

QByteArray BRCDataMatrix::makeEPS(const QByteArray& data, const Symbol& symbol)
{
    const int W = symbol.W;
    const int H = symbol.H;
    QByteArray eps;
    eps += "%!PS-Adobe-3.0 EPSF-3.0\n";
    eps += "%%Creator: IEC16022 barcode/stamp generator\n";
    eps += "%%BarcodeData: " + data + '\n';
    eps += "%%BarcodeSize: " + QByteArray::number(W) + 'x' + QByteArray::number(H) + '\n';
    eps += "%%BarcodeFormat: ECC200\n";
    eps += "%%DocumentData: Clean7Bit\n";
    eps += "%%LanguageLevel: 1\n";
    eps += "%%Pages: 1\n";
    eps += "%%BoundingBox: 0 0 " + QByteArray::number(W + 2) + ' ' + QByteArray::number(H + 2) + '\n';
    eps += "%%EndComments\n";
    eps += "%%Page: 1 1\n";
    eps += QByteArray::number(W) + ' ' + QByteArray::number(H) + " 1[1 0 0 1 -1 -1]{<\n";
    int counter = 0;
    for (int y = 0; y < H; ++y) {
        int byte = 0;
        int bits = 0;
        for (int x = 0; x < W; ++x) {
            byte = (byte << 1) | (symbol.dark(x, y) ? 1 : 0);
            if (++bits == 8 || x == W - 1) {
                byte <<= 8 - bits;
                eps += QByteArray::number(byte ^ 0xFF, 16).rightJustified(2, '0').toUpper();
                ++counter;
                byte = 0;
                bits = 0;
            }
        }
        eps += ' ';
        ++counter;
        if (counter >= 80) {
            eps += '\n';
            counter = 0;
        }
    }
    if (counter != 0)
        eps += '\n';
    eps += "\n>}image\n";
    return eps;
}

BarcodePicture BRCDataMatrix::makePicture(const Symbol& symbol, int moduleSize, int dpi)
{
    const int W = symbol.W;
    const int H = symbol.H;
    // One byte a pixel, an index into light and dark, kept so through re-sampling and into PNG files.
    QImage image(W + 2, H + 2, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.setColorTable({ qRgba(255, 255, 255, 255), qRgba(0, 0, 0, 255) });
    // The margin is quiet zone, light like the light modules.
    image.fill(0);
    // Grid row 0 is the bottom row of the symbol; picture rows count from the top.
    for (int y = 0; y < H; ++y) {
        uchar* line = image.scanLine(H - y);
        for (int x = 0; x < W; ++x)
            line[x + 1] = symbol.dark(x, y) ? 1 : 0;
    }
    const BarcodePicture natural { image, QSizeF(W + 2, H + 2) };
    Barcode_Gen& settings = Barcode_Settings();
    settings.Save_Barcode_gen_image(natural, QStringLiteral("dm.bmp"));
    BarcodePicture picture = settings.Increase_DPI(natural, BRC2D_Clamped_DPI(dpi));
    if (picture.isNull())
        return {};
    picture.size = QSizeF(static_cast<double>(W) * moduleSize, static_cast<double>(H) * moduleSize);
    return picture;
}
