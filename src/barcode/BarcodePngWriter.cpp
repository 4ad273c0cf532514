#include "barcode/BarcodePngWriter.h"

#include "barcode/PngRowDeflater.h"
#include "platform/CheckedSave.h"
#include "platform/PngColourWriter.h"
#include "platform/QuickFileReplace.h"


#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kMaxPalette = 256;

// Colours of a picture in the order met, found again through a small open-addressed table.
class Palette {
public:
    Palette() { slots_.fill(-1); }

    // The colour's index; -1 once a picture has more colours than a palette holds.
    int indexOf(QRgb colour)
    {
        // Runs alternate between two colours (bar and space, ink and paper): both are looked at first.
        if (colour == lastColour_ && lastIndex_ >= 0)
            return lastIndex_;
        if (colour == otherColour_ && otherIndex_ >= 0) {
            std::swap(lastColour_, otherColour_);
            std::swap(lastIndex_, otherIndex_);
            return lastIndex_;
        }
        std::size_t slot = hash(colour);
        while (slots_[slot] >= 0) {
            if (colours_[static_cast<std::size_t>(slots_[slot])] == colour)
                return remember(colour, slots_[slot]);
            slot = (slot + 1) & (kSlots - 1);
        }
        if (colours_.size() >= kMaxPalette)
            return -1;
        slots_[slot] = static_cast<std::int16_t>(colours_.size());
        colours_.push_back(colour);
        return remember(colour, slots_[slot]);
    }

    const std::vector<QRgb>& colours() const { return colours_; }

private:
    static constexpr std::size_t kSlots = 1024;

    static std::size_t hash(QRgb colour) { return (colour * 2654435761u >> 22) & (kSlots - 1); }
    int remember(QRgb colour, int index)
    {
        otherColour_ = lastColour_;
        otherIndex_ = lastIndex_;
        lastColour_ = colour;
        lastIndex_ = index;
        return index;
    }

    std::array<std::int16_t, kSlots> slots_ {};
    std::vector<QRgb> colours_;
    QRgb lastColour_ = 0;
    int lastIndex_ = -1;
    QRgb otherColour_ = 0;
    int otherIndex_ = -1;
};

using platform::png::appendChunk;

QRgb straight(QRgb colour, bool premultiplied)
{
    return premultiplied ? qUnpremultiply(colour) : colour;
}

// The picture's rows: each row the index of the first row equal to it, so that repeated rows are
// looked at once.
std::vector<int> rowOrigins(const QImage& image)
{
    const int height = image.height();
    const auto bytes = (static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.depth()) + 7) / 8;
    std::vector<int> origins(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const bool same = y > 0 && std::memcmp(image.constScanLine(y), image.constScanLine(y - 1), bytes) == 0;
        origins[static_cast<std::size_t>(y)] = same ? origins[static_cast<std::size_t>(y - 1)] : y;
    }
    return origins;
}

struct Indexed {
    Palette palette;
    std::vector<std::uint8_t> indexes; // width per row that starts a run of equal rows
    std::vector<std::size_t> offsets; // where each such row's indexes start
    bool fits = true;
};

// A row of a picture of two colours so far, indexed without looking colours up: false when the row holds
// a third colour, its indexes then to be worked out again.
bool twoColourRow(const QRgb* line, int width, const std::vector<QRgb>& colours, std::uint8_t* target)
{
    const QRgb first = colours[0];
    const QRgb second = colours[1];
    int x = 0;
#if defined(__SSE2__)
    // Four pixels a step: a mask of those of the second colour, spread into four index bytes.
    static constexpr std::array<std::uint32_t, 16> spread = [] {
        std::array<std::uint32_t, 16> table {};
        for (unsigned mask = 0; mask < 16; ++mask)
            for (unsigned bit = 0; bit < 4; ++bit)
                table[mask] |= ((mask >> bit) & 1u) << (8 * bit);
        return table;
    }();
    const __m128i firsts = _mm_set1_epi32(static_cast<int>(first));
    const __m128i seconds = _mm_set1_epi32(static_cast<int>(second));
    __m128i known = _mm_set1_epi32(-1);
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + x));
        const __m128i isSecond = _mm_cmpeq_epi32(pixels, seconds);
        known = _mm_and_si128(known, _mm_or_si128(_mm_cmpeq_epi32(pixels, firsts), isSecond));
        const std::uint32_t indexes = spread[static_cast<std::size_t>(_mm_movemask_ps(_mm_castsi128_ps(isSecond)))];
        std::memcpy(target + x, &indexes, 4);
    }
    if (_mm_movemask_ps(_mm_castsi128_ps(known)) != 0xf)
        return false;
#endif
    unsigned stray = 0;
    for (; x < width; ++x) {
        const QRgb pixel = line[x];
        target[x] = static_cast<std::uint8_t>(pixel == second);
        stray |= static_cast<unsigned>(pixel != first) & static_cast<unsigned>(pixel != second);
    }
    return stray == 0;
}

void indexRows(const QImage& image, const std::vector<int>& origins, Indexed* out)
{
    const int width = image.width();
    std::size_t distinct = 0;
    for (std::size_t y = 0; y < origins.size(); ++y)
        distinct += origins[y] == static_cast<int>(y) ? 1 : 0;
    out->indexes.resize(distinct * static_cast<std::size_t>(width));
    out->offsets.assign(static_cast<std::size_t>(image.height()), 0);
    std::size_t next = 0;
    for (int y = 0; y < image.height() && out->fits; ++y) {
        if (origins[static_cast<std::size_t>(y)] != y)
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        out->offsets[static_cast<std::size_t>(y)] = next;
        std::uint8_t* target = out->indexes.data() + next;
        next += static_cast<std::size_t>(width);
        if (out->palette.colours().size() == 2 && twoColourRow(line, width, out->palette.colours(), target))
            continue;
        // Rows are runs of one colour: look each run's colour up once.
        int x = 0;
        while (x < width) {
            const QRgb colour = line[x];
            int end = x + 1;
            // Four pixels a step while the run lasts, then one by one.
            const std::uint64_t two = static_cast<std::uint64_t>(colour) << 32 | colour;
            while (end + 4 <= width) {
                std::uint64_t first = 0;
                std::uint64_t second = 0;
                std::memcpy(&first, line + end, 8);
                std::memcpy(&second, line + end + 2, 8);
                if (((first ^ two) | (second ^ two)) != 0)
                    break;
                end += 4;
            }
            while (end < width && line[end] == colour)
                ++end;
            const int index = out->palette.indexOf(colour);
            if (index < 0) {
                out->fits = false;
                break;
            }
            std::memset(target + x, index, static_cast<std::size_t>(end - x));
            x = end;
        }
    }
}

int bitDepthFor(std::size_t colours)
{
    return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
}

// Rows unfiltered; a row equal to the one above is passed on as a repeat without being looked at.
// indexesOf(y) gives the palette indexes of a row that starts a run of equal rows.
template <typename RowIndexes>
QByteArray paletteRows(const QImage& image, const std::vector<int>& origins, const RowIndexes& indexesOf, int depth)
{
    const int width = image.width();
    const int height = image.height();
    const auto rowBytes = (static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) + 7) / 8;
    PngRowDeflater deflater(rowBytes + 1);
    std::vector<std::uint8_t> row(rowBytes + 1, 0);
    const int perByte = 8 / depth;
    for (int y = 0; y < height; ++y) {
        const int origin = origins[static_cast<std::size_t>(y)];
        if (origin != y && deflater.repeatRow())
            continue;
        const std::uint8_t* source = indexesOf(origin);
        std::uint8_t* target = row.data() + 1;
        if (depth == 8) {
            std::memcpy(target, source, static_cast<std::size_t>(width));
            deflater.addRow(row.data());
            continue;
        }
        std::size_t b = 0;
        if constexpr (std::endian::native == std::endian::little) {
            // One bit a pixel: eight indexes (each 0 or 1) gathered by one multiplication, the first in
            // the highest bit.
            if (depth == 1) {
                for (; (b + 1) * 8 <= static_cast<std::size_t>(width); ++b) {
                    std::uint64_t eight = 0;
                    std::memcpy(&eight, source + b * 8, 8);
                    target[b] = static_cast<std::uint8_t>((eight * 0x8040201008040201ULL) >> 56);
                }
            }
        }
        // Each byte gathered in a register, first pixel in the highest bits.
        for (; b < rowBytes; ++b) {
            const int first = static_cast<int>(b) * perByte;
            const int last = std::min(width, first + perByte);
            unsigned byte = 0;
            for (int x = first; x < last; ++x)
                byte = byte << depth | source[x];
            target[b] = static_cast<std::uint8_t>(byte << depth * (first + perByte - last));
        }
        deflater.addRow(row.data());
    }
    return deflater.finish();
}

QByteArray header(const QImage& image, int depth, int colourType)
{
    return platform::png::imageHeader(image.width(), image.height(), depth, colourType);
}

QByteArray physicalSize(const QImage& image)
{
    return platform::png::physicalSize(image.dotsPerMeterX(), image.dotsPerMeterY());
}

QByteArray pngFile(const QImage& image, int depth, int colourType, const QByteArray& palette,
    const QByteArray& transparency, const QByteArray& packed)
{
    QByteArray png = platform::png::signature();
    appendChunk(png, "IHDR", header(image, depth, colourType));
    if (!palette.isEmpty())
        appendChunk(png, "PLTE", palette);
    if (!transparency.isEmpty())
        appendChunk(png, "tRNS", transparency);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        appendChunk(png, "pHYs", physicalSize(image));
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", {});
    return png;
}

// The palette entries and their transparency, the latter empty when every colour is opaque.
void paletteChunks(const std::vector<QRgb>& colours, QByteArray* palette, QByteArray* transparency)
{
    bool translucent = false;
    for (const QRgb colour : colours) {
        palette->append(static_cast<char>(qRed(colour)));
        palette->append(static_cast<char>(qGreen(colour)));
        palette->append(static_cast<char>(qBlue(colour)));
        transparency->append(static_cast<char>(qAlpha(colour)));
        translucent = translucent || qAlpha(colour) != 255;
    }
    if (!translucent)
        transparency->clear();
}

// Every index of the rows that start a run of equal rows is below count.
bool indexesWithin(const QImage& image, const std::vector<int>& origins, unsigned count)
{
    const auto width = static_cast<std::size_t>(image.width());
    // The bits of all indexes together, eight indexes at a time: no index is above them, so below the
    // count they settle it; otherwise the largest index is looked for.
    std::uint64_t any = 0;
    std::uint8_t highest = 0;
    for (int y = 0; y < image.height(); ++y) {
        if (origins[static_cast<std::size_t>(y)] != y)
            continue;
        const std::uint8_t* line = image.constScanLine(y);
        std::size_t x = 0;
        for (; x + 8 <= width; x += 8) {
            std::uint64_t eight = 0;
            std::memcpy(&eight, line + x, 8);
            any |= eight;
        }
        for (; x < width; ++x)
            highest = std::max(highest, line[x]);
    }
    unsigned bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<unsigned>(any >> (8 * i)) & 0xffu;
    bits |= highest;
    if (bits < count)
        return true;
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* line = image.constScanLine(y);
        if (origins[static_cast<std::size_t>(y)] == y && *std::max_element(line, line + width) >= count)
            return false;
    }
    return true;
}

// A picture of one byte a pixel, indexes into its own colour table, written with that table as its
// palette and its rows as they are; empty when an index lies beyond the table, for the caller to write
// the picture's colours instead.
QByteArray tablePng(const QImage& image)
{
    const QList<QRgb> table = image.colorTable();
    const std::vector<int> origins = rowOrigins(image);
    if (!indexesWithin(image, origins, static_cast<unsigned>(table.size())))
        return {};
    QByteArray palette;
    QByteArray transparency;
    paletteChunks(std::vector<QRgb>(table.begin(), table.end()), &palette, &transparency);
    const int depth = bitDepthFor(static_cast<std::size_t>(table.size()));
    const QByteArray packed = paletteRows(
        image, origins, [&image](int y) { return image.constScanLine(y); }, depth);
    return pngFile(image, depth, 3, palette, transparency, packed);
}

// A picture of one bit a pixel, the first pixel in the highest bit as in a PNG file, with its two
// colours as the palette: its rows go into the file as they are.
QByteArray monoPng(const QImage& image)
{
    const QList<QRgb> table = image.colorTable();
    const std::vector<int> origins = rowOrigins(image);
    const auto rowBytes = (static_cast<std::size_t>(image.width()) + 7) / 8;
    PngRowDeflater deflater(rowBytes + 1);
    std::vector<std::uint8_t> row(rowBytes + 1, 0);
    for (int y = 0; y < image.height(); ++y) {
        if (origins[static_cast<std::size_t>(y)] != y && deflater.repeatRow())
            continue;
        std::memcpy(row.data() + 1, image.constScanLine(y), rowBytes);
        deflater.addRow(row.data());
    }
    QByteArray palette;
    QByteArray transparency;
    paletteChunks(std::vector<QRgb>(table.begin(), table.end()), &palette, &transparency);
    return pngFile(image, 1, 3, palette, transparency, deflater.finish());
}

} // namespace

QByteArray BarcodePngWriter::pngData(const QImage& picture)
{
    if (picture.isNull())
        return {};
    if (picture.format() == QImage::Format_Mono && picture.colorTable().size() == 2)
        return monoPng(picture);
    if (picture.format() == QImage::Format_Indexed8 && !picture.colorTable().isEmpty()
        && picture.colorTable().size() <= kMaxPalette) {
        const QByteArray png = tablePng(picture);
        if (!png.isEmpty())
            return png;
    }
    const QImage::Format format = picture.format();
    const bool direct = format == QImage::Format_ARGB32 || format == QImage::Format_ARGB32_Premultiplied
        || format == QImage::Format_RGB32;
    const QImage image = direct ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    const std::vector<int> origins = rowOrigins(image);

    Indexed indexed;
    indexRows(image, origins, &indexed);
    QByteArray packed;
    QByteArray palette;
    QByteArray transparency;
    int depth = 8;
    int colourType = 0;
    if (indexed.fits) {
        std::vector<QRgb> colours;
        for (const QRgb stored : indexed.palette.colours()) {
            const QRgb colour = straight(stored, premultiplied);
            colours.push_back(
                format == QImage::Format_RGB32 ? qRgba(qRed(colour), qGreen(colour), qBlue(colour), 255) : colour);
        }
        depth = bitDepthFor(colours.size());
        colourType = 3;
        paletteChunks(colours, &palette, &transparency);
        packed = paletteRows(
            image, origins,
            [&indexed](int y) { return indexed.indexes.data() + indexed.offsets[static_cast<std::size_t>(y)]; }, depth);
    } else {
        const bool alpha = format != QImage::Format_RGB32 && platform::PngColourWriter::needsAlpha(image);
        colourType = alpha ? 6 : 2;
        packed = platform::PngColourWriter::compressedRows(image, alpha);
    }
    return pngFile(image, depth, colourType, palette, transparency, packed);
}

bool BarcodePngWriter::write(const QImage& image, const QString& path, QString* error)
{
    const QByteArray png = pngData(image);
    if (png.isEmpty()) {
        if (error)
            *error = QStringLiteral("the picture could not be encoded");
        return false;
    }
    return platform::saveFileAtomically(path, [&png](QIODevice& file) { return platform::writeAll(file, png); }, error);
}

bool BarcodePngWriter::writeBatch(const QImage& image, const QString& path, QString* error)
{
    return platform::png::writeUnsynced(pngData(image), path, error);
}
