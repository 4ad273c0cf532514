#include "editor/Design_File_Format.h"

#include "common/File_Functions.h"
#include "model/TSLDocument.h"
#include "platform/KeyedArchive.h"
#include "platform/ParallelChunks.h"
#include "platform/PropertyList.h"
#include "platform/ReadBudget.h"

#include <QFileInfo>
#include <QIODevice>
#include <QRegularExpression>
#include <QSet>

#include <cmath>
#include <stdexcept>

const QString design_file_EXT = QStringLiteral("dcard");
const QString Design_File_Signature = QStringLiteral("MORVENTALISPRENQUADEX");

namespace {

constexpr int recordFieldCount = 28;
// The signature, both records, the binding flag, path, titles and rows, and the two item counts.
constexpr int fixedElementCount = 1 + 2 * recordFieldCount + 4 + 2;
// Far beyond any real card; a count above it is a damaged or hostile file.
constexpr qint64 maximumItemCount = 1000000;
constexpr double maximumCardExtent = 100000.0; // points, about 35 metres
constexpr double maximumItemExtent = 1000000.0; // points: no item on any card comes near it
// Beside an item's own values: readers that do not know it pass it by.
const QString cardSizeDesignsKey = QStringLiteral("cardSizeDesigns");

QString number(double value)
{
    return QString::number(value, 'g', 17);
}

platform::PlistValue archivedColor(const QColor& color)
{
    platform::KeyedArchive archive(QStringLiteral("NSColor"));
    archive.encodeColor(QStringLiteral("color"), color);
    return archive.toBytes();
}

platform::PlistValue archivedFont(const std::optional<QFont>& font)
{
    platform::KeyedArchive archive(QStringLiteral("NSFont"));
    archive.encodeFont(QStringLiteral("font"), font);
    return archive.toBytes();
}

void appendRecord(platform::PlistArray& out, const Card_Property& side)
{
    auto yesNo = [](bool on) { return on ? QStringLiteral("Y") : QStringLiteral("N"); };
    out.push_back(yesNo(side.Card_border_chk()));
    out.push_back(archivedColor(side.Card_bordr_clr()));
    out.push_back(QString::number(side.Card_bor_Stepper()));
    out.push_back(side.Card_border_style());
    out.push_back(yesNo(side.Card_fill_chk()));
    out.push_back(side.Card_fill_style());
    out.push_back(archivedColor(side.Card_fill_clr()));
    out.push_back(archivedColor(side.Card_fill_Grd_1_clr()));
    out.push_back(archivedColor(side.Card_fill_Grd_2_clr()));
    out.push_back(QString::number(side.Card_grad_Stepper()));
    out.push_back(side.Card_hatch_style());
    out.push_back(archivedColor(side.Card_hatch_bk_clr()));
    out.push_back(QString::asprintf("%0.2f", double(side.Card_alpha_Stepper())));
    out.push_back(side.Card_Side());
    out.push_back(side.Card_Side_Name());
    out.push_back(side.Card_Shape());
    out.push_back(side.Card_Name());
    out.push_back(stringFromPoint(side.Card_Location()));
    out.push_back(stringFromSize(side.Card_Size()));
    out.push_back(side.Card_Preset());
    out.push_back(side.Card_Category());
    out.push_back(side.Card_Sub_Category());
    out.push_back(QString::number(side.Card_Cat_index()));
    out.push_back(side.Card_Create_Mode());
    out.push_back(side.Card_BG_Image_Path());
    out.push_back(side.Card_BG_Image_Layout());
    out.push_back(archivedColor(side.Card_Content_clr()));
    out.push_back(archivedFont(side.Card_Content_font()));
}

// Items are archived side by side: the caller waits, so nothing changes them meanwhile.
void appendItems(platform::PlistArray& out, const TSLGraphicList& items, const Card_Designs& designs)
{
    out.push_back(QString::number(items.size()));
    std::vector<QByteArray> archived(items.size());
    constexpr std::size_t itemsPerThreadAtLeast = 64;
    platform::runInChunks(items.size(), itemsPerThreadAtLeast, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            platform::KeyedArchive archive;
            items[i]->encodeWithCoder(archive);
            if (const Item_Card_Designs* kept = designs.find(*items[i]); kept && *kept != Item_Card_Designs {})
                archive.encodeValue(cardSizeDesignsKey, kept->toPlist());
            archived[i] = std::move(archive).toBytes();
        }
    });
    for (QByteArray& bytes : archived)
        out.push_back(std::move(bytes));
}

// Reads elements in order and refuses the file at the first one that is not what it must be. Every
// archive inside the file draws on one budget of the file's size.
class ElementReader {
public:
    ElementReader(const platform::PlistArray& elements, platform::ReadBudget& budget)
        : elements_(elements)
        , budget_(budget)
    {
    }

    std::size_t position() const { return next_; }

    const platform::PlistValue& take(const char* what)
    {
        if (next_ >= elements_.size())
            fail(QStringLiteral("the file ends before %1").arg(QLatin1String(what)));
        return elements_[next_++];
    }
    QString string(const char* what)
    {
        const platform::PlistValue& value = take(what);
        if (!value.isString())
            fail(QStringLiteral("%1 is not text").arg(QLatin1String(what)));
        return value.toString();
    }
    bool yesNo(const char* what) { return string(what) == QLatin1String("Y"); }
    qint32 integer(const char* what)
    {
        const QString text = string(what).trimmed();
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        if (!ok || value < INT32_MIN || value > INT32_MAX)
            fail(QStringLiteral("%1 is not a whole number").arg(QLatin1String(what)));
        return qint32(value);
    }
    float real(const char* what)
    {
        bool ok = false;
        const double value = string(what).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value) || std::abs(value) > 1e6)
            fail(QStringLiteral("%1 is not a number").arg(QLatin1String(what)));
        return float(value);
    }
    platform::KeyedArchive archive(const char* what, const char* className)
    {
        return archiveOf(take(what), budget_, what, className);
    }
    // An archive element read against a budget: the reader's own, or a share of it on another thread.
    static platform::KeyedArchive archiveOf(
        const platform::PlistValue& value, platform::ReadBudget& budget, const char* what, const char* className)
    {
        std::optional<platform::KeyedArchive> archive;
        if (value.isData())
            archive = platform::KeyedArchive::fromBytes(value.toData(), &budget);
        if (!archive && budget.exhausted())
            fail(QStringLiteral("%1 takes the file beyond what its size allows").arg(QLatin1String(what)));
        if (!archive || (className && archive->className() != QLatin1String(className)))
            fail(QStringLiteral("%1 is not an archive").arg(QLatin1String(what)));
        return *archive;
    }
    QColor color(const char* what) { return archive(what, "NSColor").decodeColor(QStringLiteral("color")); }
    std::optional<QFont> font(const char* what) { return archive(what, "NSFont").decodeFont(QStringLiteral("font")); }

    [[noreturn]] static void fail(const QString& reason) { throw std::runtime_error(reason.toStdString()); }

    platform::ReadBudget& budget() { return budget_; }

private:
    const platform::PlistArray& elements_;
    platform::ReadBudget& budget_;
    std::size_t next_ = 0;
};

Card_Property readRecord(ElementReader& in)
{
    Card_Property side;
    side.setCard_border_chk(in.yesNo("Card_border_chk"));
    side.setCard_bordr_clr(in.color("Card_bordr_clr"));
    side.setCard_bor_Stepper(in.integer("Card_bor_Stepper"));
    side.setCard_border_style(in.string("Card_border_style"));
    side.setCard_fill_chk(in.yesNo("Card_fill_chk"));
    side.setCard_fill_style(in.string("Card_fill_style"));
    side.setCard_fill_clr(in.color("Card_fill_clr"));
    side.setCard_fill_Grd_1_clr(in.color("Card_fill_Grd_1_clr"));
    side.setCard_fill_Grd_2_clr(in.color("Card_fill_Grd_2_clr"));
    side.setCard_grad_Stepper(in.integer("Card_grad_Stepper"));
    side.setCard_hatch_style(in.string("Card_hatch_style"));
    side.setCard_hatch_bk_clr(in.color("Card_hatch_bk_clr"));
    side.setCard_alpha_Stepper(in.real("Card_alpha_Stepper"));
    side.setCard_Side(in.string("Card_Side"));
    side.setCard_Side_Name(in.string("Card_Side_Name"));
    side.setCard_Shape(in.string("Card_Shape"));
    side.setCard_Name(in.string("Card_Name"));
    const auto location = pointFromString(in.string("Card_Location"));
    if (!location)
        ElementReader::fail(QStringLiteral("Card_Location is not a point"));
    side.setCard_Location(*location);
    const auto size = sizeFromString(in.string("Card_Size"));
    if (!size || size->width() < 0 || size->height() < 0 || size->width() > maximumCardExtent
        || size->height() > maximumCardExtent)
        ElementReader::fail(QStringLiteral("Card_Size is not a card size"));
    side.setCard_Size(*size);
    side.setCard_Preset(in.string("Card_Preset"));
    side.setCard_Category(in.string("Card_Category"));
    side.setCard_Sub_Category(in.string("Card_Sub_Category"));
    side.setCard_Cat_index(in.integer("Card_Cat_index"));
    side.setCard_Create_Mode(in.string("Card_Create_Mode"));
    side.setCard_BG_Image_Path(in.string("Card_BG_Image_Path"));
    side.setCard_BG_Image_Layout(in.string("Card_BG_Image_Layout"));
    side.setCard_Content_clr(in.color("Card_Content_clr"));
    side.setCard_Content_font(in.font("Card_Content_font"));
    return side;
}

qint64 readCount(ElementReader& in, const char* what, std::size_t elementsLeft)
{
    const QString text = in.string(what).trimmed();
    bool ok = false;
    const qint64 count = text.toLongLong(&ok);
    if (!ok || count < 0 || count > maximumItemCount || std::size_t(count) > elementsLeft)
        ElementReader::fail(QStringLiteral("%1 is not a usable count").arg(QLatin1String(what)));
    return count;
}

// One item from its archive element, checked; throws with the reason when it cannot be one.
TSLGraphicPtr readItem(
    const platform::PlistValue& element, platform::ReadBudget& budget, qint64 i, Item_Card_Designs& designs)
{
    const platform::KeyedArchive archive = ElementReader::archiveOf(element, budget, "an item", nullptr);
    if (archive.containsValueForKey(cardSizeDesignsKey)) {
        std::optional<Item_Card_Designs> kept = Item_Card_Designs::fromPlist(archive.decodeValue(cardSizeDesignsKey));
        if (!kept)
            ElementReader::fail(QStringLiteral("item %1 has a damaged design for its card sizes").arg(i));
        designs = std::move(*kept);
    }
    TSLGraphicPtr item = TSLGraphic::initWithCoder(archive);
    if (!item)
        ElementReader::fail(QStringLiteral("item %1 is of an unknown kind").arg(i));
    const QRectF bounds = item->bounds();
    if (!std::isfinite(bounds.x()) || !std::isfinite(bounds.y()) || !std::isfinite(bounds.width())
        || !std::isfinite(bounds.height()))
        ElementReader::fail(QStringLiteral("item %1 has no finite bounds").arg(i));
    if (bounds.width() < 0 || bounds.height() < 0 || bounds.width() > maximumItemExtent
        || bounds.height() > maximumItemExtent)
        ElementReader::fail(QStringLiteral("item %1 has a width or height no card item can have").arg(i));
    if (item->className() == QLatin1String("TSLBarcode") && !item->barcodeSizesArePositive())
        ElementReader::fail(QStringLiteral("item %1 is a barcode with a size of 0").arg(i));
    return item;
}

// Items are decoded side by side, each thread against its share of the file's budget; the file is
// refused for the first item, in file order, that cannot be read, as a reading one by one would.
TSLGraphicList readItems(ElementReader& in, qint64 count, Card_Designs& designs)
{
    std::vector<const platform::PlistValue*> elements;
    elements.reserve(std::size_t(count));
    for (qint64 i = 0; i < count; ++i)
        elements.push_back(&in.take("an item"));

    TSLGraphicList items(elements.size());
    std::vector<Item_Card_Designs> kept(elements.size());
    std::vector<QString> failures(elements.size());
    constexpr std::size_t itemsPerThreadAtLeast = 64;
    platform::runInChunks(elements.size(), itemsPerThreadAtLeast, [&](std::size_t begin, std::size_t end) {
        platform::ReadBudget share(in.budget());
        for (std::size_t i = begin; i < end; ++i) {
            try {
                items[i] = readItem(*elements[i], share, qint64(i), kept[i]);
            } catch (const std::exception& e) {
                failures[i] = QString::fromUtf8(e.what());
                return;
            }
        }
    });
    for (const QString& failure : failures) {
        if (!failure.isEmpty())
            ElementReader::fail(failure);
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        if (kept[i] != Item_Card_Designs {})
            designs.set(items[i], std::move(kept[i]));
    TSLGraphic::restoreDerivedStateOfGraphics(items);
    return items;
}

// The keys a binding row may hold for a table of the given column titles: the row number under
// "Extension" and one "Column%d" per data column (title 0 is the table's own first column).
QSet<QString> bindingRowKeys(const QStringList& columnTitles)
{
    QSet<QString> keys { QStringLiteral("Extension") };
    for (qsizetype column = 1; column < columnTitles.size(); ++column)
        keys.insert(QStringLiteral("Column%1").arg(column));
    return keys;
}

QList<Spreadsheet_Binding_Table::Row> readRows(const platform::PlistValue& value, const QStringList& columnTitles)
{
    const QSet<QString> knownKeys = bindingRowKeys(columnTitles);
    if (!value.isArray())
        ElementReader::fail(QStringLiteral("the binding rows are not a list"));
    QList<Spreadsheet_Binding_Table::Row> rows;
    for (const platform::PlistValue& element : value.toArray()) {
        if (!element.isDict())
            ElementReader::fail(QStringLiteral("a binding row is not a record"));
        Spreadsheet_Binding_Table::Row row;
        for (const auto& [key, cell] : element.toDict()) {
            if (!cell.isString())
                ElementReader::fail(QStringLiteral("a binding cell is not text"));
            if (!knownKeys.contains(key))
                ElementReader::fail(QStringLiteral("a binding row names no column of the table: %1").arg(key.left(40)));
            row.insert(key, cell.toString());
        }
        rows.append(row);
    }
    return rows;
}

// The worksheet rides in the title of the row-number column, which every reader of the file passes over (the
// table keeps a first title of its own): "#" alone, or "#[Sunday]". No sheet name can hold a bracket, and a
// file written before the sheet was kept simply has none.
QString titleWithSheet(const QString& title, const QString& sheet)
{
    return sheet.isEmpty() ? title : QStringLiteral("%1[%2]").arg(title, sheet);
}

void takeSheetFromTitle(QStringList& titles, QString& sheet)
{
    if (titles.isEmpty() || !titles.first().endsWith(QLatin1Char(']')))
        return;
    const qsizetype open = titles.first().indexOf(QLatin1Char('['));
    if (open < 0)
        return;
    sheet = titles.first().mid(open + 1, titles.first().size() - open - 2);
    titles.first().truncate(open);
}

// The design's identity rides at the very start of the row-number column's title, "(5f0c...)#", which every
// reader of the file passes over as it passes the title; whatever else the title carries follows it unchanged.
QString titleWithIdentity(const QString& title, const QString& identity)
{
    return identity.isEmpty() ? title : QStringLiteral("(%1)%2").arg(identity, title);
}

void takeIdentityFromTitle(QStringList& titles, QString& identity)
{
    if (titles.isEmpty() || !titles.first().startsWith(QLatin1Char('(')))
        return;
    const qsizetype close = titles.first().indexOf(QLatin1Char(')'));
    const QString found = titles.first().mid(1, close - 1);
    if (close < 0 || !TSLDocument::isDesignIdentity(found))
        return;
    identity = found;
    titles.first().remove(0, close + 1);
}

} // namespace

QString stringFromPoint(const QPointF& point)
{
    return QStringLiteral("{%1, %2}").arg(number(point.x()), number(point.y()));
}

QString stringFromSize(const QSizeF& size)
{
    return QStringLiteral("{%1, %2}").arg(number(size.width()), number(size.height()));
}

namespace {

std::optional<std::pair<double, double>> pairFromString(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*\{\s*([^,{}\s]+)\s*,\s*([^,{}\s]+)\s*\}\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool okA = false, okB = false;
    const double a = match.captured(1).toDouble(&okA);
    const double b = match.captured(2).toDouble(&okB);
    if (!okA || !okB || !std::isfinite(a) || !std::isfinite(b))
        return std::nullopt;
    return std::make_pair(a, b);
}

} // namespace

std::optional<QPointF> pointFromString(const QString& text)
{
    const auto pair = pairFromString(text);
    return pair ? std::optional<QPointF>(QPointF(pair->first, pair->second)) : std::nullopt;
}

std::optional<QSizeF> sizeFromString(const QString& text)
{
    const auto pair = pairFromString(text);
    return pair ? std::optional<QSizeF>(QSizeF(pair->first, pair->second)) : std::nullopt;
}

void clearUnusedBackgroundPath(Card_Property& side)
{
    if (side.Card_fill_style() != QLatin1String("I"))
        side.setCard_BG_Image_Path(QStringLiteral(""));
}

QByteArray encodeDesignFile(const DesignFileContent& content)
{
    platform::PlistArray out;
    out.reserve(fixedElementCount + content.frontItems.size() + content.backItems.size());
    out.push_back(Design_File_Signature);
    appendRecord(out, content.front);
    appendRecord(out, content.back);
    out.push_back(content.excelBindingUse ? QStringLiteral("Y") : QStringLiteral("N"));
    out.push_back(content.excelSourcePath.isNull() ? QStringLiteral("") : content.excelSourcePath);
    platform::PlistArray titles;
    for (qsizetype i = 0; i < content.columnTitles.size(); ++i)
        titles.push_back(i == 0 ? titleWithIdentity(
                             titleWithSheet(content.columnTitles.at(i), content.workbookSheet), content.designIdentity)
                                : content.columnTitles.at(i));
    out.push_back(titles);
    platform::PlistArray rows;
    for (const Spreadsheet_Binding_Table::Row& row : content.rows) {
        platform::PlistDict dict;
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            dict.insert(it.key(), it.value());
        rows.push_back(dict);
    }
    out.push_back(rows);
    appendItems(out, content.frontItems, content.designs);
    appendItems(out, content.backItems, content.designs);
    return platform::PropertyList::toXml(out);
}

std::optional<DesignFileContent> decodeDesignFile(const QByteArray& bytes, QString* reason)
{
    QString parseError;
    const std::optional<platform::PlistValue> root = platform::PropertyList::fromBytes(bytes, &parseError);
    if (!root || !root->isArray()) {
        if (reason)
            *reason = root ? QStringLiteral("the file is not a list") : parseError;
        return std::nullopt;
    }
    const platform::PlistArray& elements = root->toArray();
    try {
        platform::ReadBudget budget(quint64(bytes.size()));
        ElementReader in(elements, budget);
        if (in.string("the signature") != Design_File_Signature)
            ElementReader::fail(QStringLiteral("the signature is wrong"));
        DesignFileContent content;
        content.front = readRecord(in);
        content.back = readRecord(in);
        content.excelBindingUse = in.yesNo("the spreadsheet flag");
        content.excelSourcePath = in.string("the spreadsheet path");
        const platform::PlistValue& titles = in.take("the column titles");
        if (!titles.isArray())
            ElementReader::fail(QStringLiteral("the column titles are not a list"));
        for (const platform::PlistValue& title : titles.toArray()) {
            if (!title.isString())
                ElementReader::fail(QStringLiteral("a column title is not text"));
            content.columnTitles << title.toString();
        }
        takeIdentityFromTitle(content.columnTitles, content.designIdentity);
        takeSheetFromTitle(content.columnTitles, content.workbookSheet);
        content.rows = readRows(in.take("the binding rows"), content.columnTitles);
        const qint64 frontCount = readCount(in, "the front count", elements.size() - in.position());
        content.frontItems = readItems(in, frontCount, content.designs);
        const qint64 backCount = readCount(in, "the back count", elements.size() - in.position());
        content.backItems = readItems(in, backCount, content.designs);
        if (in.position() != elements.size())
            ElementReader::fail(
                QStringLiteral("the file has %1 elements after its items").arg(elements.size() - in.position()));
        return content;
    } catch (const std::exception& e) {
        if (reason)
            *reason = QString::fromUtf8(e.what());
        return std::nullopt;
    }
}

bool writeDesignFile(const QString& path, const QByteArray& bytes, QString* error)
{
    return saveFileAtomically(
        path, [&bytes](QIODevice& file) { return writeAll(file, bytes); }, error);
}
