#include "data/Workbook_Reader.h"

#include "data/Spreadsheet_Cells.h"
#include "data/Worksheet_Count.h"
#include "data/Xml_Stream_Scanner.h"
#include "platform/ReadBudget.h"

#include <QHash>
#include <QUrl>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <limits>
#include <string>
#include <thread>

namespace {

// A value may begin with U+FEFF, which the plain conversion takes for a byte-order mark and drops.
QString textOf(const char* data, qsizetype size)
{
    if (size >= 3 && data[0] == '\xEF' && data[1] == '\xBB' && data[2] == '\xBF') {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(data, size));
    }
    return QString::fromUtf8(data, size);
}

// A shared-string cell's number: plain digits as most writers store them, anything else as strtoll reads
// it (blanks, a sign, trailing text); -1 when it names no string.
std::int64_t stringIndex(const std::string& raw)
{
    if (!raw.empty() && raw.size() <= 9) {
        std::int64_t index = 0;
        for (const char c : raw) {
            if (c < '0' || c > '9') {
                index = -1;
                break;
            }
            index = index * 10 + (c - '0');
        }
        if (index >= 0)
            return index;
    }
    char* end = nullptr;
    const long long index = std::strtoll(raw.c_str(), &end, 10);
    return end == raw.c_str() || index < 0 || index > std::numeric_limits<std::uint32_t>::max() ? -1 : index;
}

// What one kept value costs beside its characters: the list slot and the string's header.
constexpr quint64 kValueOverhead = sizeof(QString) + 32;

std::string_view attribute(const std::vector<Xml_Stream_Handler::Attribute>& attributes, std::string_view name)
{
    for (const auto& a : attributes) {
        if (a.name == name)
            return a.value;
    }
    return {};
}

// Text of string items (shared strings, inline strings): "t" elements and the "t" of runs, in order.
class Text_Collector {
public:
    void start(std::string_view name, int depth, int itemDepth)
    {
        if (name == "r" && depth == itemDepth + 1)
            runDepth_ = depth;
        else if (name == "t" && (depth == itemDepth + 1 || (runDepth_ > 0 && depth == runDepth_ + 1)))
            textDepth_ = depth;
    }
    void end(int depth)
    {
        if (depth == textDepth_)
            textDepth_ = 0;
        if (depth == runDepth_)
            runDepth_ = 0;
    }
    void text(std::string_view raw, bool literal, int depth)
    {
        if (depth != textDepth_)
            return;
        if (literal)
            text_.append(raw);
        else
            appendXmlText(text_, raw);
    }
    QString take()
    {
        // Most texts hold no escape: looked for in the bytes, which is cheaper than in the characters.
        QString value = textOf(text_.data(), qsizetype(text_.size()));
        if (text_.find("_x") != std::string::npos)
            value = decodeSpreadsheetEscapes(value);
        text_.clear();
        textDepth_ = runDepth_ = 0;
        return value;
    }

private:
    std::string text_;
    int textDepth_ = 0;
    int runDepth_ = 0;
};

class Shared_Strings_Handler : public Xml_Stream_Handler {
public:
    Shared_Strings_Handler(QStringList& strings, platform::ReadBudget& budget)
        : strings_(strings)
        , budget_(budget)
    {
    }
    // The first string (from 0) the budget could not keep: the read stops there, as every later string
    // would otherwise take its place; -1 while every string is kept.
    qsizetype refused = -1;

    bool startElement(std::string_view name, const std::vector<Attribute>&) override
    {
        ++depth_;
        if (refused >= 0 || !budget_.spend(1, 0))
            return false;
        if (depth_ == 2 && name == "si")
            inItem_ = true;
        else if (inItem_)
            collector_.start(name, depth_, 2);
        return true;
    }
    void endElement(std::string_view) override
    {
        if (inItem_ && depth_ == 2) {
            inItem_ = false;
            QString value = collector_.take();
            if (budget_.spend(0, kValueOverhead + quint64(value.size()) * 2))
                strings_.append(std::move(value));
            else
                refused = strings_.size();
        } else if (inItem_) {
            collector_.end(depth_);
        }
        --depth_;
    }
    void text(std::string_view raw, bool literal) override
    {
        if (inItem_)
            collector_.text(raw, literal, depth_);
    }

private:
    QStringList& strings_;
    platform::ReadBudget& budget_;
    Text_Collector collector_;
    int depth_ = 0;
    bool inItem_ = false;
};

// The workbook part's sheets in tab order: each one's name and relationship id.
class Sheet_List_Handler : public Xml_Stream_Handler {
public:
    Sheet_List_Handler(QList<Workbook_Reader::Sheet_Entry>& sheets, QStringList& ids, platform::ReadBudget& budget)
        : sheets_(sheets)
        , ids_(ids)
        , budget_(budget)
    {
    }
    bool date1904 = false;

    bool startElement(std::string_view name, const std::vector<Attribute>& attributes) override
    {
        if (!budget_.spend(1, 0))
            return false;
        if (name == "workbookPr") {
            const std::string_view value = attribute(attributes, "date1904");
            date1904 = value == "1" || value == "true";
        } else if (name == "sheet") {
            sheets_.append({ decoded(attribute(attributes, "name")), QString() });
            ids_.append(decoded(attribute(attributes, "id"))); // r:id: the prefix is dropped
        }
        return true;
    }
    void endElement(std::string_view) override { }
    void text(std::string_view, bool) override { }

    static QString decoded(std::string_view raw)
    {
        std::string text;
        appendXmlText(text, raw);
        return textOf(text.data(), qsizetype(text.size()));
    }

private:
    QList<Workbook_Reader::Sheet_Entry>& sheets_;
    QStringList& ids_;
    platform::ReadBudget& budget_;
};

// A part's relationships: each one's id, the last word of its type ("worksheet", "sharedStrings") and its
// target, internal ones only.
struct Relationship {
    QString id;
    QString type;
    QString target;
};

class Relationships_Handler : public Xml_Stream_Handler {
public:
    Relationships_Handler(QList<Relationship>& links, platform::ReadBudget& budget)
        : links_(links)
        , budget_(budget)
    {
    }
    bool startElement(std::string_view name, const std::vector<Attribute>& attributes) override
    {
        if (!budget_.spend(1, 0))
            return false;
        if (name == "Relationship" && attribute(attributes, "TargetMode") != "External") {
            const QString type = Sheet_List_Handler::decoded(attribute(attributes, "Type"));
            links_.append({ Sheet_List_Handler::decoded(attribute(attributes, "Id")),
                type.section(QLatin1Char('/'), -1), Sheet_List_Handler::decoded(attribute(attributes, "Target")) });
        }
        return true;
    }
    void endElement(std::string_view) override { }
    void text(std::string_view, bool) override { }

private:
    QList<Relationship>& links_;
    platform::ReadBudget& budget_;
};

// Whether a number format shows a date or a time: one of the built-in ones that do, or a format code with a
// day, month, year, hour or second in it outside quoted text, escapes and bracketed colours or conditions.
bool isDateFormat(int id, std::string_view code)
{
    if ((id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58))
        return true;
    bool quoted = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = true;
        } else if (c == '[') {
            // An elapsed time ([h], [mm], [ss]) is a time; a colour, a condition or a locale is not.
            const std::size_t end = std::min(code.find(']', i), code.size());
            const std::string_view inside = code.substr(i + 1, end - i - 1);
            if (!inside.empty() && std::string_view("hHmMsS").find(inside[0]) != std::string_view::npos
                && inside.find_first_not_of(inside[0]) == std::string_view::npos)
                return true;
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i; // the next character is shown as it is, or is padding
        } else if (std::string_view("dDmMyYhHsS").find(c) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// The styles' cell formats in order, each with whether it shows a number as a date.
class Styles_Handler : public Xml_Stream_Handler {
public:
    Styles_Handler(std::vector<bool>& dates, platform::ReadBudget& budget)
        : dates_(dates)
        , budget_(budget)
    {
    }
    bool startElement(std::string_view name, const std::vector<Attribute>& attributes) override
    {
        ++depth_;
        if (!budget_.spend(1, 0))
            return false;
        if (depth_ == 2)
            inFormats_ = name == "cellXfs";
        else if (depth_ == 3 && name == "numFmt") {
            const int id = number(attribute(attributes, "numFmtId"));
            std::string code;
            appendXmlText(code, attribute(attributes, "formatCode"));
            if (id >= 0 && isDateFormat(-1, code)) {
                if (!budget_.spend(0, sizeof(int)))
                    return false;
                dateCodes_.push_back(id);
            }
        } else if (depth_ == 3 && inFormats_ && name == "xf") {
            if (!budget_.spend(0, 1))
                return false;
            const int id = number(attribute(attributes, "numFmtId"));
            dates_.push_back(
                isDateFormat(id, {}) || std::find(dateCodes_.cbegin(), dateCodes_.cend(), id) != dateCodes_.cend());
        }
        return true;
    }
    void endElement(std::string_view) override { --depth_; }
    void text(std::string_view, bool) override { }

    static int number(std::string_view digits)
    {
        int value = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9' || value > 100000000)
                return -1;
            value = value * 10 + (c - '0');
        }
        return digits.empty() ? -1 : value;
    }

private:
    std::vector<bool>& dates_;
    platform::ReadBudget& budget_;
    std::vector<int> dateCodes_; // the format codes of their own that show dates (few in any workbook)
    int depth_ = 0;
    bool inFormats_ = false;
};

// A relationship target as a part name: absolute from the package root, otherwise relative to the folder
// of the part that holds the relationship; empty when it climbs out of the package.
QString partOfTarget(const QString& source, const QString& target)
{
    QStringList parts;
    if (!target.startsWith(QLatin1Char('/')))
        parts = source.split(QLatin1Char('/'), Qt::SkipEmptyParts).mid(0, source.count(QLatin1Char('/')));
    for (const QString& piece : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (piece == QLatin1String("..")) {
            if (parts.isEmpty())
                return {};
            parts.removeLast();
        } else if (piece != QLatin1String(".")) {
            parts.append(QUrl::fromPercentEncoding(piece.toUtf8()));
        }
    }
    return parts.join(QLatin1Char('/'));
}

// A part's relationships, read from "_rels/<name>.rels" in the part's folder (the package's own for an
// empty name); none when that part is missing or unreadable.
QList<Relationship> relationshipsOf(
    Workbook_Archive& archive, const QString& part, platform::ReadBudget& budget, Read_Control* control)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    const QString name
        = part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
    QList<Relationship> links;
    Relationships_Handler handler(links, budget);
    Xml_Stream_Scanner scanner(handler);
    QString reason;
    if (archive.read(name, scanner, budget, control, &reason) != Workbook_Archive::Outcome::Read)
        links.clear();
    return links;
}

// Whether a formula sums, counts or averages over the column of its cell, as a total row's formulas do.
bool totalOfColumn(std::string_view formula, int column)
{
    static const QRegularExpression aggregate(
        QStringLiteral("^\\s*=?\\s*(_xlfn\\.)?(SUM|COUNTA|COUNT|AVERAGE|SUBTOTAL|AGGREGATE|MIN|MAX)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromUtf8(formula.data(), qsizetype(std::min<std::size_t>(formula.size(), 512)));
    if (!aggregate.match(text).hasMatch())
        return false;
    static const QRegularExpression reference(QStringLiteral("\\$?([A-Za-z]{1,3})\\$?[0-9]+"));
    for (auto match = reference.globalMatch(text); match.hasNext();) {
        if (columnIndexOfReference(match.next().captured(1).toUpper()) == column)
            return true;
    }
    return false;
}

// Worksheet cells as they come: each row is kept as it closes, each cell's text as the cell closes.
class Sheet_Handler : public Xml_Stream_Handler {
public:
    // keep false: the cells are only counted. deferred: shared-string cells are noted there, to be filled
    // once the strings are read.
    // dateFormats: which cell formats show a date; date1904: the workbook counts its dates from 1904.
    Sheet_Handler(Workbook_Sheet& sheet, const QStringList& shared, platform::ReadBudget& budget, bool keep,
        std::vector<Workbook_Reader::Deferred_Cell>* deferred, const std::vector<bool>& dateFormats, bool date1904)
        : sheet_(sheet)
        , shared_(shared)
        , budget_(budget)
        , deferred_(deferred)
        , dateFormats_(dateFormats)
        , date_(date1904 ? Cell_Kind::Date1904 : Cell_Kind::Date)
        , keep_(keep)
    {
    }

    QString reason; // why the handler stopped, for the user; empty when the budget ran out
    std::int64_t rowCount = 0; // rows seen, kept or not
    int widest = 0;
    int dimension = 0;
    std::int64_t formulasWithoutResult = 0;

    bool startElement(std::string_view name, const std::vector<Attribute>& attributes) override
    {
        ++depth_;
        // A limit found as an element ended stops the scan at the next one.
        if (stopped() || !budget_.spend(1, 0))
            return false;
        switch (depth_) {
        case 1:
            if (name != "worksheet")
                return stop(QStringLiteral("The part is not a worksheet."));
            break;
        case 2:
            if (name == "dimension") {
                const std::string_view ref = attribute(attributes, "ref");
                const std::size_t colon = ref.find(':');
                dimension = std::max(dimension,
                    columnIndexOfReference(colon == std::string_view::npos ? ref : ref.substr(colon + 1)) + 1);
            }
            inData_ = name == "sheetData";
            inMerges_ = name == "mergeCells";
            break;
        case 3:
            inRow_ = inData_ && name == "row";
            previous_ = -1;
            if (inRow_)
                startRow(attributes);
            else if (inMerges_ && name == "mergeCell")
                return noteMerge(attribute(attributes, "ref"));
            break;
        case 4:
            if (inRow_ && name == "c")
                startCell(attributes);
            break;
        case 5:
            if (inCell_)
                startCellChild(name);
            break;
        default:
            if (inInline_)
                inline_.start(name, depth_, 5);
            break;
        }
        return true;
    }

    void endElement(std::string_view) override
    {
        if (depth_ == 1)
            applyMerges();
        else if (depth_ == 3 && inRow_)
            endRow();
        else if (depth_ == 4 && inCell_)
            endCell();
        else if (depth_ == 5 && inCell_) {
            collecting_ = false;
            inFormula_ = false;
            if (inInline_) {
                value_ += inline_.take();
                inInline_ = false;
            }
        } else if (depth_ > 5 && inInline_)
            inline_.end(depth_);
        --depth_;
    }

    void text(std::string_view raw, bool literal) override
    {
        if (inInline_) {
            inline_.text(raw, literal, depth_);
        } else if (inFormula_ && depth_ == 5) {
            if (formulaText_.size() < 512)
                formulaText_.append(raw.substr(0, 512 - formulaText_.size()));
        } else if (collecting_ && depth_ == 5) {
            if (literal)
                raw_.append(raw);
            else
                appendXmlText(raw_, raw);
        }
    }

    bool stopped() const { return !reason.isEmpty(); }

private:
    bool stop(const QString& why)
    {
        reason = why;
        return false;
    }

    void startRow(const std::vector<Attribute>& attributes)
    {
        const std::string_view number = attribute(attributes, "r");
        int read = 0;
        for (const char c : number) {
            if (c < '0' || c > '9' || read > Workbook_Reader::kMaxRows * 20) {
                read = 0;
                break;
            }
            read = read * 10 + (c - '0');
        }
        rowFacts_.number = read > rowFacts_.number ? read : rowFacts_.number + 1;
        const std::string_view hidden = attribute(attributes, "hidden");
        rowFacts_.hidden = hidden == "1" || hidden == "true";
        rowValues_ = 0;
        rowTotals_ = 0;
        rowTexts_ = 0;
        rowKinds_.clear();
    }

    void startCell(const std::vector<Attribute>& attributes)
    {
        inCell_ = true;
        formula_ = false;
        inFormula_ = false;
        formulaText_.clear();
        children_ = 0;
        raw_.clear();
        value_.clear();
        // One look through the attributes for the cell's type and reference; the first of each name counts.
        std::string_view type, style;
        const std::string_view* reference = nullptr;
        for (const Attribute& a : attributes) {
            if (a.name.size() != 1)
                continue;
            if (a.name[0] == 't' && type.data() == nullptr)
                type = a.value;
            else if (a.name[0] == 'r' && !reference)
                reference = &a.value;
            else if (a.name[0] == 's' && style.data() == nullptr)
                style = a.value;
        }
        shared_index_ = type == "s";
        numeric_ = type.empty() || type == "n";
        type_ = type.empty() ? 'n' : type.front();
        const int format = style.empty() ? 0 : Styles_Handler::number(style);
        dated_ = format >= 0 && std::size_t(format) < dateFormats_.size() && dateFormats_[std::size_t(format)];
        column_
            = reference ? columnIndexOfReference(*reference) : (previous_ + 1 < kMaxSheetColumns ? previous_ + 1 : -1);
        if (column_ >= 0)
            previous_ = column_;
    }

    void startCellChild(std::string_view name)
    {
        ++children_;
        if (name == "f") {
            formula_ = true;
            inFormula_ = true;
            return;
        }
        if (name == "is") {
            inInline_ = true;
            return;
        }
        // A shared string's index is the text of the cell's first child.
        collecting_ = !shared_index_ || children_ == 1;
    }

    void endCell()
    {
        inCell_ = false;
        if (column_ < 0)
            return;
        // Writers that do not calculate store a formula without its result: the cell reads empty.
        if (formula_ && raw_.empty() && value_.isEmpty())
            ++formulasWithoutResult;
        else
            countValue();
        widest = std::max(widest, column_ + 1);
        if (!keeping())
            return;
        QString value;
        if (shared_index_) {
            const std::int64_t index = stringIndex(raw_);
            if (index < 0)
                return;
            if (deferred_) {
                if (!budget_.spend(0, sizeof(Workbook_Reader::Deferred_Cell)) || !place(QString()))
                    return;
                deferred_->push_back(
                    { std::uint32_t(sheet_.rows.size()), std::uint32_t(column_), std::uint32_t(index) });
                return;
            }
            if (index < shared_.size())
                value = shared_.at(qsizetype(index)); // shares the table's characters
        } else {
            // A number reads as a spreadsheet shows it: 0.28000000000000003 as 0.28, 100.000 as 100, -0 as 0.
            if (numeric_ && !isShownAsStored(raw_))
                raw_ = shownNumber(raw_);
            value = textOf(raw_.data(), qsizetype(raw_.size()));
            if (!value_.isEmpty())
                value += value_;
            if (!budget_.spend(0, quint64(value.size()) * 2) || (!value.isEmpty() && !markKind(kindOfValue())))
                return;
        }
        if (!value.isEmpty())
            place(std::move(value));
    }

    // Puts a value at the cell's column of the row, widening the row; false when the budget is spent.
    bool place(QString value)
    {
        if (column_ >= row_.size()) {
            if (!budget_.spend(0, quint64(column_ + 1 - row_.size()) * kValueOverhead))
                return false;
            row_.resize(column_ + 1);
        }
        row_[column_] = std::move(value);
        return true;
    }

    bool keeping() const { return keep_ && rowCount < Workbook_Reader::kMaxRows; }

    // What a cell other than a shared string holds, by its type, format and formula.
    Cell_Kind kindOfValue() const
    {
        switch (type_) {
        case 'b':
            return Cell_Kind::Boolean;
        case 'd': // a date written as ISO 8601 text
            return date_;
        case 'i': // an inline string
            return formula_ ? Cell_Kind::Formula : Cell_Kind::Text;
        case 'n':
            return dated_ ? date_ : formula_ ? Cell_Kind::Formula : Cell_Kind::Number;
        default: // a formula's text or an error
            return formula_ ? Cell_Kind::Formula : Cell_Kind::Text;
        }
    }

    // Notes the kind of the cell's value at its column of the row; false when the budget is spent. Text, the
    // kind of most values, is what the row's kinds give where they say nothing.
    bool markKind(Cell_Kind kind)
    {
        if (kind == Cell_Kind::Text)
            return true;
        if (std::size_t(column_) >= rowKinds_.size()) {
            if (!budget_.spend(0, quint64(column_) + 1 - rowKinds_.size()))
                return false;
            rowKinds_.resize(std::size_t(column_) + 1, char(Cell_Kind::Text));
        }
        rowKinds_[std::size_t(column_)] = char(kind);
        return true;
    }

    // A cell merged across columns, kept until the rows are read: mergeCells follow sheetData.
    bool noteMerge(std::string_view ref)
    {
        const std::size_t colon = ref.find(':');
        if (colon == std::string_view::npos)
            return true;
        const int first = columnIndexOfReference(ref.substr(0, colon));
        const int last = columnIndexOfReference(ref.substr(colon + 1));
        const int row = rowOfReference(ref.substr(0, colon));
        if (first < 0 || last <= first || row <= 0)
            return true;
        if (!budget_.spend(0, sizeof(Merge)))
            return false;
        merges_.push_back({ row, first, last });
        return true;
    }

    static int rowOfReference(std::string_view ref)
    {
        const std::size_t digits = ref.find_first_of("0123456789");
        return digits == std::string_view::npos ? 0 : Styles_Handler::number(ref.substr(digits));
    }

    // Each row that begins a merged cell notes the widest of them.
    void applyMerges()
    {
        for (const Merge& merge : merges_) {
            const auto found = std::lower_bound(sheet_.facts.begin(), sheet_.facts.end(), merge.row,
                [](const Workbook_Row& fact, int number) { return fact.number < number; });
            if (found == sheet_.facts.end() || found->number != merge.row)
                continue;
            if (merge.last - merge.first > found->mergedLast - found->mergedFirst) {
                found->mergedFirst = merge.first;
                found->mergedLast = merge.last;
            }
        }
        merges_.clear();
    }

    // A total row's formulas may be shared: the cells after the first of them carry no text of their own.
    void countValue()
    {
        if (shared_index_ ? stringIndex(raw_) < 0 : raw_.empty() && value_.isEmpty())
            return;
        ++rowValues_;
        if (formula_ && (formulaText_.empty() ? rowTotals_ > 0 : totalOfColumn(formulaText_, column_)))
            ++rowTotals_;
        else if (!formula_ && (type_ == 's' || type_ == 'i'))
            ++rowTexts_;
    }

    void endRow()
    {
        inRow_ = false;
        const bool kept = keeping(); // asked of the row that ends, before it is counted
        ++rowCount;
        if (!kept) {
            sheet_.rows = {}; // too tall or only counting: the kept rows go back
            sheet_.facts = {};
            row_.clear();
            if (deferred_)
                deferred_->clear();
        }
        const std::int64_t width = std::max({ dimension, widest, 1 });
        if (rowCount * width > Workbook_Reader::kMaxCells) {
            stop(QStringLiteral("The worksheet has at least %1 rows of %2 columns; at most %3 cells can be read.")
                     .arg(rowCount)
                     .arg(width)
                     .arg(Workbook_Reader::kMaxCells));
            return;
        }
        if (!kept)
            return;
        budget_.spend(0, 64);
        const qsizetype columns = row_.size();
        rowFacts_.total = rowValues_ > 0 && rowTotals_ == rowValues_;
        rowFacts_.labelledTotal = rowTotals_ > 0 && rowTexts_ > 0 && rowTotals_ + rowTexts_ == rowValues_;
        rowFacts_.kinds = rowKinds_.empty() ? QByteArray() : QByteArray(rowKinds_.data(), qsizetype(rowKinds_.size()));
        sheet_.facts.append(rowFacts_);
        sheet_.rows.append(std::move(row_));
        row_ = QStringList();
        row_.reserve(columns); // rows are mostly as wide as the one before
    }

    Workbook_Sheet& sheet_;
    const QStringList& shared_;
    platform::ReadBudget& budget_;
    std::vector<Workbook_Reader::Deferred_Cell>* deferred_ = nullptr;
    QStringList row_;
    std::string raw_;
    std::string formulaText_;
    QString value_;
    Text_Collector inline_;
    const std::vector<bool>& dateFormats_;
    const Cell_Kind date_;
    struct Merge {
        int row;
        int first;
        int last;
    };
    std::vector<Merge> merges_;
    Workbook_Row rowFacts_;
    std::string rowKinds_; // kept from row to row, so that a row's kinds cost one allocation
    int rowValues_ = 0;
    int rowTotals_ = 0;
    int rowTexts_ = 0;
    int depth_ = 0;
    int previous_ = -1;
    int column_ = -1;
    int children_ = 0;
    bool inData_ = false;
    bool inRow_ = false;
    bool inCell_ = false;
    bool inInline_ = false;
    bool collecting_ = false;
    bool inFormula_ = false;
    bool inMerges_ = false;
    bool dated_ = false;
    char type_ = 'n';
    bool shared_index_ = false;
    bool numeric_ = false;
    bool formula_ = false;
    bool keep_ = true;
};

// A last row that holds one text of a label and a number ("Total: 40", "Guests in all: 52") is a total typed
// under the names.
void markTypedTotal(Workbook_Sheet& sheet)
{
    static const QRegularExpression typed(QStringLiteral("^\\s*\\p{L}[\\p{L}\\p{M} .'-]*:\\s*[+-]?\\d[\\d ,.']*$"));
    for (qsizetype r = sheet.rows.size() - 1; r >= 0 && r < sheet.facts.size(); --r) {
        const QStringList& row = sheet.rows.at(r);
        qsizetype filled = 0, at = -1;
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (!row.at(c).trimmed().isEmpty()) {
                ++filled;
                at = c;
            }
        }
        if (filled == 0)
            continue;
        Workbook_Row& fact = sheet.facts[r];
        if (filled == 1 && fact.kindAt(at) == Cell_Kind::Text && row.at(at).size() <= 200
            && typed.match(row.at(at).trimmed()).hasMatch())
            fact.labelledTotal = true;
        return;
    }
}

QString worksheetPart(int number)
{
    return QStringLiteral("xl/worksheets/sheet%1.xml").arg(number);
}

} // namespace

Workbook_Reader::Workbook_Reader(Read_Control* control)
    : control_(control)
{
}

bool Workbook_Reader::finishRead(Workbook_Archive::Outcome outcome, const QString& reason)
{
    switch (outcome) {
    case Workbook_Archive::Outcome::Read:
    case Workbook_Archive::Outcome::Missing:
        return true;
    case Workbook_Archive::Outcome::Cancelled:
        cancelled_ = true;
        error_.clear();
        return false;
    case Workbook_Archive::Outcome::Refused:
        error_ = reason;
        return false;
    }
    return false;
}

bool Workbook_Reader::open(const QString& path)
{
    path_ = path;
    shared_.clear();
    sharedRead_ = false;
    dateFormats_.clear();
    stylesRead_ = false;
    date1904_ = false;
    error_.clear();
    cancelled_ = false;
    sheets_.clear();
    platform::ReadBudget budget(1); // the directory is bounded by its entry count
    if (!archive_.open(path, budget, &error_))
        return false;
    listSheets();
    return true;
}

Workbook_Reader::Part_Read Workbook_Reader::readSharedStrings(platform::ReadBudget& budget)
{
    Part_Read result;
    Workbook_Archive archive;
    platform::ReadBudget listing(1);
    if (!archive.open(path_, listing, &result.reason)) {
        result.outcome = Workbook_Archive::Outcome::Refused;
        return result;
    }
    Shared_Strings_Handler handler(shared_, budget);
    Xml_Stream_Scanner scanner(handler);
    result.outcome = archive.read(sharedStringsPart_, scanner, budget, control_, &result.reason);
    if (handler.refused >= 0 && result.outcome != Workbook_Archive::Outcome::Cancelled) {
        result.outcome = Workbook_Archive::Outcome::Refused;
        result.reason
            = QStringLiteral("The shared string %1 of \"%2\" needs more memory than a workbook of %3 KB can use.")
                  .arg(handler.refused + 1)
                  .arg(path_)
                  .arg(archive_.fileSize() >> 10);
    } else if (result.outcome == Workbook_Archive::Outcome::Refused && result.reason.isEmpty())
        result.reason
            = QStringLiteral("The shared strings of \"%1\" need more memory than a workbook of %2 KB can use.")
                  .arg(path_)
                  .arg(archive_.fileSize() >> 10);
    return result;
}

bool Workbook_Reader::readStyles(platform::ReadBudget& budget)
{
    dateFormats_.clear();
    Styles_Handler handler(dateFormats_, budget);
    Xml_Stream_Scanner scanner(handler);
    QString reason;
    const auto outcome = archive_.read(stylesPart_, scanner, budget, control_, &reason);
    if (outcome == Workbook_Archive::Outcome::Cancelled || budget.exhausted()) {
        dateFormats_.clear();
        if (outcome != Workbook_Archive::Outcome::Cancelled)
            reason = QStringLiteral("The styles of \"%1\" need more memory than a workbook of %2 KB can use.")
                         .arg(path_)
                         .arg(archive_.fileSize() >> 10);
        return finishRead(
            outcome == Workbook_Archive::Outcome::Cancelled ? outcome : Workbook_Archive::Outcome::Refused, reason);
    }
    // Styles that cannot be read show no dates, as a workbook without styles: the cells keep their values.
    if (outcome != Workbook_Archive::Outcome::Read)
        dateFormats_.clear();
    stylesRead_ = true;
    return true;
}

void Workbook_Reader::listSheets()
{
    sheets_.clear();
    platform::ReadBudget budget(quint64(archive_.fileSize()) * kBudgetScale);
    // The package's relationships name the workbook part; its own name the parts its relationships name.
    workbookPart_ = QStringLiteral("xl/workbook.xml");
    for (const Relationship& link : relationshipsOf(archive_, QString(), budget, control_)) {
        const QString part = partOfTarget(QString(), link.target);
        if (link.type == QLatin1String("officeDocument") && archive_.indexOf(part) >= 0) {
            workbookPart_ = part;
            break;
        }
    }
    sharedStringsPart_ = QStringLiteral("xl/sharedStrings.xml");
    stylesPart_ = QStringLiteral("xl/styles.xml");
    QHash<QString, QString> worksheets;
    for (const Relationship& link : relationshipsOf(archive_, workbookPart_, budget, control_)) {
        const QString part = partOfTarget(workbookPart_, link.target);
        if (link.type == QLatin1String("worksheet"))
            worksheets.insert(link.id, part);
        else if (link.type == QLatin1String("sharedStrings") && archive_.indexOf(part) >= 0)
            sharedStringsPart_ = part;
        else if (link.type == QLatin1String("styles") && archive_.indexOf(part) >= 0)
            stylesPart_ = part;
    }
    QStringList ids;
    Sheet_List_Handler sheetList(sheets_, ids, budget);
    Xml_Stream_Scanner sheetScanner(sheetList);
    QString reason;
    if (!worksheets.isEmpty()
        && archive_.read(workbookPart_, sheetScanner, budget, control_, &reason) == Workbook_Archive::Outcome::Read) {
        // Chart sheets and other tabs without cells have no worksheet relationship and are not listed.
        QList<Sheet_Entry> listed;
        for (qsizetype i = 0; i < sheets_.size(); ++i) {
            if (worksheets.contains(ids[i]))
                listed.append({ sheets_[i].name, worksheets.value(ids[i]) });
        }
        sheets_ = listed;
        date1904_ = sheetList.date1904;
    } else {
        sheets_.clear();
    }
    if (!sheets_.isEmpty())
        return;
    // A package without the workbook's own list: its worksheet parts by their number, named after them.
    static const QRegularExpression partName(
        QStringLiteral("^xl/worksheets/sheet([1-9][0-9]{0,5})\\.xml$"), QRegularExpression::CaseInsensitiveOption);
    QList<int> numbers;
    for (const QString& name : archive_.entryNames()) {
        const QRegularExpressionMatch match = partName.match(name);
        if (match.hasMatch())
            numbers.append(match.captured(1).toInt());
    }
    std::sort(numbers.begin(), numbers.end());
    for (int number : numbers)
        sheets_.append({ QStringLiteral("sheet%1").arg(number), worksheetPart(number) });
}

QString Workbook_Reader::sheetPart(int number) const
{
    return number >= 1 && number <= sheets_.size() ? sheets_[number - 1].part : QString();
}

std::int64_t Workbook_Reader::sheetBytes(int number) const
{
    const QString part = sheetPart(number);
    return part.isEmpty() ? -1 : archive_.declaredSize(part);
}

bool Workbook_Reader::readSheet(int number, Workbook_Sheet& sheet)
{
    error_.clear();
    cancelled_ = false;
    sheet = Workbook_Sheet();
    const QString part = sheetPart(number);
    if (part.isEmpty()) {
        error_ = sheets_.isEmpty() ? QStringLiteral("The workbook has no worksheet.")
                                   : QStringLiteral("The workbook has no worksheet %1.").arg(number);
        return false;
    }
    const std::int64_t bytes = archive_.declaredSize(part);
    if (bytes < 0) {
        error_ = QStringLiteral("The part %1 is missing from the workbook.").arg(part.section(QLatin1Char('/'), -1));
        return false;
    }
    // A large part is also counted, so that a sheet past the limits is refused before its cells take much
    // memory.
    const bool countFirst = bytes > kCountFirstBytes;
    const bool withStrings = !sharedRead_;
    if (control_) {
        control_->done.store(0);
        control_->total.store((countFirst ? 2 * bytes : bytes)
            + (withStrings ? std::max<std::int64_t>(archive_.declaredSize(sharedStringsPart_), 0) : 0));
    }
    platform::ReadBudget budget(quint64(archive_.fileSize()) * kBudgetScale);
    // The cell formats tell dates from numbers as the cells are read; their part is small beside the sheet's.
    if (!stylesRead_ && !readStyles(budget)) {
        sheet = Workbook_Sheet();
        return false;
    }
    // The shared strings are read beside the sheet, whose cells keep their string numbers until both end.
    Part_Read strings;
    std::thread stringsReader;
    if (withStrings) {
        shared_.clear();
        stringsReader = std::thread([&] {
            platform::ReadBudget share(budget);
            strings = readSharedStrings(share);
        });
    }
    std::vector<Deferred_Cell> deferred;
    bool read = readPass(part, sheet, budget, countFirst, withStrings ? &deferred : nullptr);
    if (stringsReader.joinable())
        stringsReader.join();
    if (withStrings && read) {
        read = finishRead(strings.outcome, strings.reason);
        sharedRead_ = read;
    }
    if (!read) {
        if (withStrings)
            shared_.clear();
        sheet = Workbook_Sheet();
        return false;
    }
    for (const Deferred_Cell& cell : deferred) {
        if (cell.index < std::uint32_t(shared_.size()))
            sheet.rows[qsizetype(cell.row)][cell.column] = shared_.at(qsizetype(cell.index));
    }
    markTypedTotal(sheet);
    return true;
}

// Counts the part on the thread it is called on, through a package of its own, and tells the gate.
bool Workbook_Reader::countPass(const QString& part, platform::ReadBudget& parent, Count_Gate& gate)
{
    Tag_Counter counter(kMaxCells, &gate);
    Workbook_Archive archive;
    platform::ReadBudget listing(1);
    QString reason;
    auto outcome = Workbook_Archive::Outcome::Refused;
    if (archive.open(path_, listing, &reason)) {
        platform::ReadBudget budget(parent);
        outcome = archive.read(part, counter, budget, control_, &reason);
    }
    bool passed = false;
    if (counter.cells > kMaxCells)
        error_ = QStringLiteral("The worksheet has more than %1 cells; at most %1 cells can be read.").arg(kMaxCells);
    else if (counter.rows > kMaxRows)
        error_
            = QStringLiteral("The worksheet has %1 rows; at most %2 rows can be read.").arg(counter.rows).arg(kMaxRows);
    else
        passed = finishRead(outcome, reason);
    gate.counted(passed);
    return passed;
}

bool Workbook_Reader::readPass(const QString& part, Workbook_Sheet& sheet, platform::ReadBudget& parent,
    bool countFirst, std::vector<Deferred_Cell>* deferred)
{
    platform::ReadBudget budget(parent);
    Sheet_Handler handler(sheet, shared_, budget, true, deferred, dateFormats_, date1904_);
    Xml_Stream_Scanner scanner(handler);
    // A large part is counted beside the scan, which keeps no more than kCountAheadBytes of it before the
    // count is done; the count's refusal stands before anything the scan found.
    Count_Gate gate(scanner, kCountAheadBytes);
    bool counted = true;
    std::thread counter;
    if (countFirst) {
        counter = std::thread([&] { counted = countPass(part, parent, gate); });
        gate.waitBegun();
    }
    QString reason;
    const auto outcome = archive_.read(
        part, countFirst ? static_cast<Part_Sink&>(gate) : static_cast<Part_Sink&>(scanner), budget, control_, &reason);
    if (counter.joinable())
        counter.join();
    bool read = false;
    if (!counted)
        ; // as the count found
    else if (handler.stopped())
        error_ = handler.reason;
    else if (handler.rowCount > kMaxRows && (outcome == Workbook_Archive::Outcome::Read || budget.exhausted()))
        error_ = QStringLiteral("The worksheet has %1 rows; at most %2 rows can be read.")
                     .arg(handler.rowCount)
                     .arg(kMaxRows);
    else if ((outcome == Workbook_Archive::Outcome::Refused && reason.isEmpty())
        || (outcome == Workbook_Archive::Outcome::Read && budget.exhausted())) // a value it could not keep
        error_ = QStringLiteral("The worksheet needs more memory than a workbook of %1 KB can use.")
                     .arg(archive_.fileSize() >> 10);
    else
        read = finishRead(outcome, reason);
    if (!read || !error_.isEmpty()) {
        sheet = Workbook_Sheet();
        return false;
    }
    sheet.width = std::max({ handler.dimension, handler.widest, 1 });
    sheet.formulasWithoutResult = handler.formulasWithoutResult;
    if (handler.rowCount * sheet.width > kMaxCells) {
        error_ = QStringLiteral("The worksheet has %1 rows of %2 columns; at most %3 cells can be read.")
                     .arg(handler.rowCount)
                     .arg(sheet.width)
                     .arg(kMaxCells);
        sheet = Workbook_Sheet();
        return false;
    }
    for (QStringList& row : sheet.rows) {
        if (row.size() < sheet.width && !budget.spend(0, quint64(sheet.width - row.size()) * sizeof(QString))) {
            error_ = QStringLiteral("The worksheet needs more memory than a workbook of %1 KB can use.")
                         .arg(archive_.fileSize() >> 10);
            sheet = Workbook_Sheet();
            return false;
        }
        row.resize(sheet.width);
    }
    return true;
}
