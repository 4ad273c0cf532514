#pragma once

#include "data/Spreadsheet_Binding_Table.h"
#include "model/Card_Designs.h"
#include "model/Card_Property.h"
#include "model/TSLGraphic.h"

#include <QByteArray>
#include <QString>

#include <optional>

extern const QString design_file_EXT; // "dcard"
extern const QString Design_File_Signature; // "MORVENTALISPRENQUADEX"

// Everything a design file holds: both card-side records, the spreadsheet binding and the items of the
// front and back sides (index 0 front-most).
struct DesignFileContent {
    Card_Property front;
    Card_Property back;
    bool excelBindingUse = false;
    QString excelSourcePath;
    QStringList columnTitles; // every column, column 0's first
    QString workbookSheet; // the worksheet the rows were read from; empty in files written before it was kept
    QList<Spreadsheet_Binding_Table::Row> rows;
    TSLGraphicList frontItems;
    TSLGraphicList backItems;
    // The person's design of the items on each card size they worked on, kept in each item's archive.
    Card_Designs designs;
    // What the design is known by (TSLDocument::designIdentity); empty in files written before it was kept.
    QString designIdentity;
};

// The XML property-list bytes of a design: an array of 63 + F + B elements.
QByteArray encodeDesignFile(const DesignFileContent& content);

// Reads and checks a whole design file before anything of it is used: element kinds, the length
// 63 + F + B, counts, item kinds, sizes and the binding table's shape. Nothing on a bad file, with a
// reason for the log. Picture items are given their stored path again, which reads their picture.
std::optional<DesignFileContent> decodeDesignFile(const QByteArray& bytes, QString* reason = nullptr);

// Writes the bytes through a checked save: a failed write leaves the old file whole.
bool writeDesignFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A record keeps its background picture path only while the picture fill is chosen; the writer clears
// it in memory as well as in the file.
void clearUnusedBackgroundPath(Card_Property& side);

// Text forms of points and sizes in the file: "{x, y}" and "{width, height}".
QString stringFromPoint(const QPointF& point);
QString stringFromSize(const QSizeF& size);
std::optional<QPointF> pointFromString(const QString& text);
std::optional<QSizeF> sizeFromString(const QString& text);
