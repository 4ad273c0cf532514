#pragma once

#include "barcode/Barcode_Gen.h"
#include "canvas/TSLRenderingView.h"
#include "output/Record_Fill.h"
#include "output/Record_Source.h"

#include <QImage>
#include <QPicture>
#include <QRectF>
#include <QString>

#include <memory>
#include <mutex>

class Batch_Card_Bases;
class QPainter;

// One card per record: the one path export, printing and e-mail make their cards through.
//
// Take a snapshot on the GUI thread (deep copies of each side's items with the side's record, the record
// source as plain data and a copy of the barcode settings); then, on any thread and any number of threads
// at once, render record i of a side: the snapshot's items are copied again, the copies filled with the
// record's values and drawn. Nothing here touches a widget, the canvas or the live items.
class Batch_Snapshot {
public:
    struct Side {
        TSLGraphicList items; // detached copies, never changed after the snapshot is taken
        TSLRenderingSide rendering;
    };

    Batch_Snapshot() = default;

    // GUI thread. The back is kept only for a two-sided card; the settings are copied as they are now.
    static std::shared_ptr<const Batch_Snapshot> take(
        const Side& front, const Side& back, bool twoSided, const Record_Source& source, const Barcode_Gen& settings);

    int recordCount() const { return source_.recordCount(); }
    bool twoSided() const { return twoSided_; }
    const Record_Source& source() const { return source_; }
    const Barcode_Gen& settings() const { return settings_; }
    const Side& side(const QString& cardSide) const; // "F" the front, anything else the back

    // The side's items for a record: fresh copies of the snapshot's items, filled with the record's values.
    TSLGraphicList filledItems(int record, const QString& cardSide) const;

    // Record i of side "F" or "B" as a picture at dpi dots per inch (pixels counted, ratio 1); null when
    // it cannot be made. Thread-safe.
    QImage renderImage(int record, const QString& cardSide, int dpi) const;
    // The same picture drawn into `image`, whose pixels are used again when its size fits (one picture
    // per worker for a whole run); false when it cannot be made. Thread-safe for different pictures.
    // `bases`, a run's own, holds the sides' card bases drawn once for every record.
    bool renderInto(
        QImage& image, int record, const QString& cardSide, int dpi, Batch_Card_Bases* bases = nullptr) const;
    // Record i of a side (record -1: the side's own items, not filled) drawn as vectors into `place`, a
    // rectangle in the painter's points that the card is scaled into, for printing: its pictures and background
    // photo are read again from their files at pixelsPerInch over the place they take. Thread-safe.
    void drawCard(QPainter& painter, int record, const QString& cardSide, const QRectF& place,
        double pixelsPerInch = kPrintPixelsPerInch) const;
    // Record i of a side as a vector recording in points over the canvas bounds, drawn as drawCard draws it.
    QPicture renderPicture(int record, const QString& cardSide) const;
    // The most pixels per inch a print reads its pictures at, over the place each takes on the sheet.
    static constexpr double kPrintPixelsPerInch = TSLRenderingView::printPixelsPerPoint * 72.0;

    // The symbol of the side's item at `index` for a value, made now and kept for the `uses` cards that
    // show it: each of them takes it instead of making it again, and the last one lets it go. The barcode
    // check before a run makes every symbol of the run so; a card with no symbol kept makes its own, as
    // does one whose symbol shows text (laid out with the fonts of the thread that made it) and, past the
    // memory a snapshot keeps symbols in, one of a later record. Thread-safe.
    std::shared_ptr<const TSLBarcode_Drawing> keepSymbol(
        const QString& cardSide, size_t index, const QString& value, int uses, Barcode_Gen& settings) const;

    // Missing spreadsheet values are logged once per snapshot, whatever the number of records or threads.
    const Record_Fill_Log& fillLog() const { return *log_; }
    // What a run tells before it starts: the items bound to columns the spreadsheet does not have; empty
    // when there are none.
    QString columnsNotFoundNotice() const;
    // Shows that notice, when there is one (GUI thread).
    void tellColumnsNotFound() const;
    // The shown texts of the sides in use that their box or the card cuts, as the snapshot's items show
    // them without a record, named by Record_Fill::itemName.
    QStringList textsCut() const;

private:
    struct Kept_Symbols;
    // The side's items for record i (-1: its own) made ready for an output that draws the card at
    // pixelsPerPoint: filled with the record's values, their pictures read again from their files at that
    // resolution once for the run, and a picture whose file cannot be read again noted as drawn from its copy.
    TSLGraphicList itemsToDraw(int record, const QString& cardSide, double pixelsPerPoint) const;
    std::shared_ptr<const TSLBarcode_Drawing> symbolFor(
        const QString& cardSide, size_t index, const QString& value, Barcode_Gen& settings) const;

    Side front_;
    Side back_;
    bool twoSided_ = false;
    Record_Source source_;
    Barcode_Gen settings_;
    std::shared_ptr<Record_Fill_Log> log_ = std::make_shared<Record_Fill_Log>();
    std::shared_ptr<Kept_Symbols> symbols_;
};

// Detached copies of a list of items (GUI thread, for a snapshot).
TSLGraphicList Batch_Copy_Items(const TSLGraphicList& items);

// A run's card bases: each side's ground, background picture or gradient and border, drawn by the first
// record that needs it and copied under every record's items after that, instead of being drawn again
// for each card. For one resolution; shared by the run's workers without a lock once drawn.
class Batch_Card_Bases {
public:
    explicit Batch_Card_Bases(int dpi)
        : dpi_(dpi)
    {
    }

    // The side's base at dpi; null when it is another resolution or a base of one colour.
    const QImage* base(const Batch_Snapshot& snapshot, const QString& cardSide, int dpi);

private:
    struct Drawn {
        std::once_flag once;
        QImage picture;
    };
    const int dpi_;
    Drawn sides_[2];
};
