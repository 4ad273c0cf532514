#pragma once

#include <QString>
#include <QStringList>

#include <pugixml.hpp>

#include <memory>

// One XML part of an unpacked workbook, read whole and parsed in place (the document keeps the buffer).
struct Spreadsheet_Part {
    pugi::xml_document doc;
    std::unique_ptr<char[]> buffer;
    std::size_t size = 0;
    std::int64_t rowTags = 0; // "<row" elements in the raw text, counted before parsing

    // Loads and parses the part. False with a reason for the user; a part larger than maxBytes is not read.
    bool load(const QString& path, std::int64_t maxBytes, QString* error);
    // Stops before parsing when the raw text holds more row elements than this (rowTags tells how many).
    std::int64_t maxRows = -1;

private:
    std::int64_t countRowTags() const;
};

// The text of a cell: a shared string for t="s" (none when the index is outside the table), else the text
// of its children other than the formula, inline-string runs included.
QString spreadsheetCellValue(const pugi::xml_node& cell, const QStringList& sharedStrings);

// The text of a string item: its own text element, or its runs' text elements in order.
QString spreadsheetStringItem(const pugi::xml_node& item);

// Drops the worksheet that the header step keeps for the row step; every new workbook or write calls it.
void forgetLoadedWorksheet();
