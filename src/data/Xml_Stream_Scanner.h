#pragma once

#include <QString>
#include <QStringDecoder>

#include <cstdint>
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
    Step startTag(std::string_view tag);
    Step endTag(std::string_view tag);
    std::size_t textRun(std::string_view text, std::size_t at, bool last);
    bool fail(const QString& reason);
    void takeEncoding();

    Xml_Stream_Handler& handler_;
    std::string pending_;
    std::vector<std::string> open_;
    std::vector<Xml_Stream_Handler::Attribute> attributes_;
    std::optional<QStringDecoder> utf16_;
    QByteArray transcoded_;
    bool bomChecked_ = false;
    bool rootSeen_ = false;
    bool failed_ = false;
    QString error_;
};

// Appends raw XML text with its entities and character references decoded and line ends made "\n";
// an unknown reference stays as written.
void appendXmlText(std::string& out, std::string_view raw);

// Decodes the "_xHHHH_" escapes spreadsheet programs use for characters XML cannot carry ("_x005F_"
// keeps a literal underscore before such a pattern).
QString decodeSpreadsheetEscapes(const QString& text);
// The inverse: control characters, NUL, CR and lone surrogates become "_xHHHH_", and an underscore that
// would start such a pattern becomes "_x005F_".
QString encodeSpreadsheetEscapes(const QString& text);
