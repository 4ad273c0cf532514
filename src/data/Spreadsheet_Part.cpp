#include "data/Spreadsheet_Part.h"

#include <QFile>

#include <cstring>
#include <string_view>

bool Spreadsheet_Part::load(const QString& path, std::int64_t maxBytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error
                = QStringLiteral("The part %1 is missing from the workbook.").arg(path.section(QLatin1Char('/'), -1));
        return false;
    }
    const qint64 length = file.size();
    if (length > maxBytes) {
        if (error)
            *error = QStringLiteral("The worksheet is too large to read (%1 MB of XML).").arg(length >> 20);
        return false;
    }
    buffer.reset(new char[std::size_t(length) + 1]);
    if (file.read(buffer.get(), length) != length) {
        if (error)
            *error = QStringLiteral("The part %1 cannot be read.").arg(path.section(QLatin1Char('/'), -1));
        return false;
    }
    size = std::size_t(length);
    buffer[size] = '\0';
    if (maxRows >= 0) {
        // Counted on the raw text: parsing in place rewrites it, and a huge sheet is refused before it costs memory.
        rowTags = countRowTags();
        if (rowTags > maxRows)
            return false;
    }
    // Whitespace-only text is kept when it is an element's only content: a cell of blanks is a value.
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        buffer.get(), size, pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
    if (!parsed) {
        if (error)
            *error = QStringLiteral("The part %1 is damaged: %2 at byte %3.")
                         .arg(path.section(QLatin1Char('/'), -1), QString::fromUtf8(parsed.description()))
                         .arg(qint64(parsed.offset));
        return false;
    }
    return true;
}

std::int64_t Spreadsheet_Part::countRowTags() const
{
    const std::string_view text(buffer.get(), size);
    std::int64_t count = 0;
    for (std::size_t at = text.find("<row"); at != std::string_view::npos; at = text.find("<row", at + 4)) {
        const char next = at + 4 < text.size() ? text[at + 4] : '\0';
        if (next == ' ' || next == '>' || next == '/' || next == '\t' || next == '\n' || next == '\r')
            ++count;
    }
    return count;
}

namespace {

void appendRunsText(const pugi::xml_node& holder, QString& out)
{
    for (pugi::xml_node child = holder.first_child(); child; child = child.next_sibling()) {
        const char* name = child.name();
        if (std::strcmp(name, "t") == 0) {
            out += QString::fromUtf8(child.child_value());
        } else if (std::strcmp(name, "r") == 0) {
            for (pugi::xml_node t = child.child("t"); t; t = t.next_sibling("t"))
                out += QString::fromUtf8(t.child_value());
        }
    }
}

} // namespace

QString spreadsheetStringItem(const pugi::xml_node& item)
{
    const pugi::xml_node t = item.child("t");
    if (t && !item.child("r"))
        return QString::fromUtf8(t.child_value());
    QString text;
    appendRunsText(item, text);
    return text;
}

QString spreadsheetCellValue(const pugi::xml_node& cell, const QStringList& sharedStrings)
{
    const char* type = cell.attribute("t").value();
    if (std::strcmp(type, "s") == 0) {
        const pugi::xml_node first = cell.first_child();
        const char* digits = first.child_value();
        char* end = nullptr;
        const long long index = std::strtoll(digits, &end, 10);
        if (end == digits || index < 0 || index >= sharedStrings.size())
            return {};
        return sharedStrings.at(qsizetype(index));
    }
    QString text;
    for (pugi::xml_node child = cell.first_child(); child; child = child.next_sibling()) {
        const char* name = child.name();
        if (std::strcmp(name, "f") == 0)
            continue;
        if (std::strcmp(name, "is") == 0)
            appendRunsText(child, text);
        else
            text += QString::fromUtf8(child.child_value());
    }
    return text;
}
