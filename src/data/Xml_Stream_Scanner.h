#pragma once

#include <QString>
#include <QStringDecoder>

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a streamed XML part tells its reader, element by element, without building a document tree.
// Names are local names (a prefix is dropped); attribute values and text are raw: decode them with
// appendXmlText. One text run may arrive in several pieces.
class Xml_Stream_Handler {
public:
    struct Attribute {
        std::string_view name;
        std::string_view value;
    };
    virtual ~Xml_Stream_Handler() = default;
    // False stops the scan; the handler keeps its own reason.
    virtual bool startElement(std::string_view name, const std::vector<Attribute>& attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    // literal: CDATA, whose references are not decoded.
    virtual void text(std::string_view raw, bool literal) = 0;
};

// What a part is inflated into, block by block.
class Part_Sink {
public:
    virtual ~Part_Sink() = default;
    // False stops the read; error() says why (empty when the reader stopped it for its own reason).
    virtual bool feed(const char* data, std::size_t size) = 0;
    virtual bool finish() = 0;
    virtual QString error() const = 0;
};

// A pull scanner fed with blocks as they are inflated: it reports each complete tag and text, keeps an
// unfinished tag for the next block, and checks that elements nest. A part in UTF-16 (told by its
// byte-order mark or by how its declaration begins) is turned into UTF-8 block by block before it is
// scanned. Document type declarations are refused (no entity can expand), and no tag, comment or element
// depth may grow without bound.
class Xml_Stream_Scanner : public Part_Sink {
public:
    explicit Xml_Stream_Scanner(Xml_Stream_Handler& handler);

    // Scans what this block completes. False, with error(), when the text is not well-formed or the
    // handler stopped (error() is then empty).
    bool feed(const char* data, std::size_t size) override;
    // False when the document ended inside an element or had none.
    bool finish() override;
    QString error() const override { return error_; }

    static constexpr std::size_t kMaxTagBytes = std::size_t(1) << 20;
    static constexpr std::size_t kMaxDepth = 256;

private:
    enum class Step { Done, NeedMore, Failed };
    std::size_t scan(std::string_view text, bool last, bool& failed);
    Step markup(std::string_view text, std::size_t& at, bool last);
    Step tagAt(std::string_view rest, std::size_t& at, bool last);
    bool quickTag(std::string_view text, std::size_t& at, Step& step);
    Step startTag(std::string_view tag);
    Step openElement(std::string_view name, bool empty);
    Step endTag(std::string_view tag);
    std::size_t textRun(std::string_view text, std::size_t at, bool last);
    bool fail(const QString& reason);
    void takeEncoding();

    bool anyOpen() const { return !openStarts_.empty(); }
    std::string_view innermost() const { return std::string_view(openNames_).substr(openStarts_.back()); }

    Xml_Stream_Handler& handler_;
    std::string pending_;
    // The open elements' names one after another, and where each begins: no string per element.
    std::string openNames_;
    std::vector<std::uint32_t> openStarts_;
    std::vector<Xml_Stream_Handler::Attribute> attributes_;
    std::optional<QStringDecoder> utf16_;
    QByteArray transcoded_;
    bool bomChecked_ = false;
    bool rootSeen_ = false;
    bool failed_ = false;
    QString error_;
};

// The place of the first `byte` in text at or after `from`, or npos. The runs between tags are short, so
// the first bytes are looked at eight at a time here, where a library call would cost more than the search.
inline std::size_t findByte(std::string_view text, std::size_t from, char byte)
{
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t ones = 0x0101010101010101ull;
        const std::uint64_t pattern = ones * static_cast<unsigned char>(byte);
        for (const std::size_t near = from + 64; from + 8 <= text.size() && from < near; from += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + from, 8);
            word ^= pattern;
            // The lowest marked byte is the first equal one (a borrow only marks bytes above it).
            const std::uint64_t equal = (word - ones) & ~word & (ones << 7);
            if (equal)
                return from + std::size_t(std::countr_zero(equal)) / 8;
        }
    }
    return text.find(byte, from);
}

// The longest reference appendXmlText decodes, from its "&" to its ";" ("&#x0010FFFF;" and the like).
inline constexpr std::size_t kMaxReferenceBytes = 13;

// Appends raw XML text with its entities and character references decoded and line ends made "\n";
// an unknown reference stays as written.
void appendXmlText(std::string& out, std::string_view raw);

// Decodes the "_xHHHH_" escapes spreadsheet programs use for characters XML cannot carry ("_x005F_"
// keeps a literal underscore before such a pattern).
QString decodeSpreadsheetEscapes(const QString& text);
// The inverse: control characters, NUL, CR and lone surrogates become "_xHHHH_", and an underscore that
// would start such a pattern becomes "_x005F_".
QString encodeSpreadsheetEscapes(const QString& text);
