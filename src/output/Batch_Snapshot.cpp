#include "output/Batch_Snapshot.h"

#include "common/Common_Functions.h"
#include "model/TSLImage.h"
#include "output/Barcode_Readability.h"

#include "barcode/Barcode_Item_Symbol.h"

#include <QFileInfo>
#include <QHash>
#include <QPainter>

struct Batch_Snapshot::Kept_Symbols {
    struct Kept {
        std::shared_ptr<const TSLBarcode_Drawing> drawing;
        int uses = 0;
    };
    // The symbols kept wait for their cards while the run looks at the rest: a run of many records keeps
    // those of its first cards only, so that what it holds stays flat in its number of records.
    static constexpr qint64 maximumBytes = qint64(16) * 1024 * 1024;
    std::mutex lock;
    QHash<QString, Kept> kept;
    qint64 bytes = 0;

    static QString key(const QString& cardSide, size_t index, const QString& value)
    {
        return QStringLiteral("%1%2\n").arg(cardSide == QLatin1String("F") ? 'F' : 'B').arg(index) + value;
    }
};

TSLGraphicList Batch_Copy_Items(const TSLGraphicList& items)
{
    TSLGraphicList copies;
    copies.reserve(items.size());
    for (const TSLGraphicPtr& item : items) {
        if (TSLGraphicPtr copy = item ? item->detachedCopy() : nullptr)
            copies.push_back(std::move(copy));
    }
    return copies;
}

std::shared_ptr<const Batch_Snapshot> Batch_Snapshot::take(
    const Side& front, const Side& back, bool twoSided, const Record_Source& source, const Barcode_Gen& settings)
{
    auto snapshot = std::make_shared<Batch_Snapshot>();
    snapshot->front_ = { Batch_Copy_Items(front.items), front.rendering };
    snapshot->twoSided_ = twoSided;
    if (twoSided)
        snapshot->back_ = { Batch_Copy_Items(back.items), back.rendering };
    // Copied once here, so every record starts from what the items show: barcodes as drawings.
    TSLGraphic::restoreDerivedStateOfGraphics(snapshot->front_.items);
    TSLGraphic::restoreDerivedStateOfGraphics(snapshot->back_.items);
    snapshot->source_ = source;
    if (source.useSpreadsheet)
        snapshot->log_->setSheetNote(source.recordsNote);
    snapshot->settings_ = settings;
    snapshot->symbols_ = std::make_shared<Kept_Symbols>();
    return snapshot;
}

const Batch_Snapshot::Side& Batch_Snapshot::side(const QString& cardSide) const
{
    return cardSide == QLatin1String("F") ? front_ : back_;
}

TSLGraphicList Batch_Snapshot::filledItems(int record, const QString& cardSide) const
{
    TSLGraphicList items = Batch_Copy_Items(side(cardSide).items);
    // Each call fills with its own settings object, so records rendered at once never share one.
    Barcode_Gen settings = settings_;
    Record_Fill::Assign_Batch_Values_To_Control(items, record, source_, settings, log_.get(), false,
        [this, &cardSide](size_t index, const TSLGraphic&, const QString& value, Barcode_Gen& maker) {
            return symbolFor(cardSide, index, value, maker);
        });
    log_->picturesNotFound(record, Record_Fill::picturesNotFound(items));
    for (const QString& text : Record_Fill::textsCut(items, side(cardSide).rendering.canvasBounds, &source_))
        log_->textCut(record, text);
    log_->blankRow(record, Record_Fill::blankRowColumns({ &front_.items, &back_.items }, record, source_));
    return items;
}

std::shared_ptr<const TSLBarcode_Drawing> Batch_Snapshot::keepSymbol(
    const QString& cardSide, size_t index, const QString& value, int uses, Barcode_Gen& settings) const
{
    std::shared_ptr<const TSLBarcode_Drawing> drawing
        = Item_Barcode_Drawing(settings, *side(cardSide).items.at(index), value);
    // The check runs on a thread that ends before the cards are drawn: a symbol with text is made again there.
    if (!symbols_ || uses <= 0 || (drawing && drawing->holdsTextLayouts()))
        return drawing;
    const qint64 held = drawing ? drawing->heldBytes() : 0;
    const std::lock_guard<std::mutex> hold(symbols_->lock);
    if (symbols_->bytes + held <= Kept_Symbols::maximumBytes) {
        symbols_->bytes += held;
        symbols_->kept.insert(Kept_Symbols::key(cardSide, index, value), { drawing, uses });
    }
    return drawing;
}

std::shared_ptr<const TSLBarcode_Drawing> Batch_Snapshot::symbolFor(
    const QString& cardSide, size_t index, const QString& value, Barcode_Gen& settings) const
{
    if (symbols_) {
        const std::lock_guard<std::mutex> hold(symbols_->lock);
        const auto kept = symbols_->kept.find(Kept_Symbols::key(cardSide, index, value));
        if (kept != symbols_->kept.end()) {
            std::shared_ptr<const TSLBarcode_Drawing> drawing = kept->drawing;
            if (--kept->uses <= 0) {
                symbols_->bytes -= drawing ? drawing->heldBytes() : 0;
                symbols_->kept.erase(kept);
            }
            return drawing;
        }
    }
    const TSLGraphicList& items = side(cardSide).items;
    return index < items.size() ? Item_Barcode_Drawing(settings, *items[index], value) : nullptr;
}

QString Batch_Snapshot::columnsNotFoundNotice() const
{
    QStringList titles = Record_Fill::columnsNotFound(front_.items, source_);
    if (twoSided_)
        titles += Record_Fill::columnsNotFound(back_.items, source_);
    return Record_Fill::columnsNotFoundNotice(titles);
}

QStringList Batch_Snapshot::textsCut() const
{
    QStringList texts = Record_Fill::textsCut(front_.items, front_.rendering.canvasBounds, nullptr);
    if (twoSided_)
        texts += Record_Fill::textsCut(back_.items, back_.rendering.canvasBounds, nullptr);
    return texts;
}

void Batch_Snapshot::tellColumnsNotFound() const
{
    const QString notice = columnsNotFoundNotice();
    if (!notice.isEmpty())
        Show_MessageBox(notice);
}

QImage Batch_Snapshot::renderImage(int record, const QString& cardSide, int dpi) const
{
    QImage image;
    return renderInto(image, record, cardSide, dpi) ? image : QImage();
}

TSLGraphicList Batch_Snapshot::itemsToDraw(int record, const QString& cardSide, double pixelsPerPoint) const
{
    TSLGraphicList items = record >= 0 ? filledItems(record, cardSide) : side(cardSide).items;
    for (const TSLGraphicPtr& item : items) {
        const auto* picture = dynamic_cast<const TSLImage*>(item.get());
        if (!picture || !picture->ctrl_is_visible || picture->print_object != 0 || picture->_file_path.isEmpty()
            || picture->pictureSource().isNull() || !(picture->img_trnsp_val > 0.0f))
            continue;
        // Made here, before the drawing takes it from the picture cache: once for every card that shows it.
        const picturerenditions::Output output = picture->outputPicture(pixelsPerPoint);
        if (!output.fellBack || record < 0)
            continue;
        // Without a copy held, the card goes without the picture: its file is gone, or is there and gives none.
        if (output.picture.isNull() && QFileInfo(picture->pictureSource().filePath()).isFile())
            log_->pictureUnreadable(record, picture->_file_path);
        else if (output.picture.isNull())
            log_->picturesNotFound(record, { picture->_file_path });
        else
            log_->pictureFromWorkingCopy(record, picture->_file_path, output.tooLarge);
    }
    return items;
}

bool Batch_Snapshot::renderInto(
    QImage& image, int record, const QString& cardSide, int dpi, Batch_Card_Bases* bases) const
{
    const TSLGraphicList items = itemsToDraw(record, cardSide, dpi / 72.0);
    const TSLRenderingSide& rendering = side(cardSide).rendering;
    const QImage* base = bases ? bases->base(*this, cardSide, dpi) : nullptr;
    if (!TSLRenderingView::draw_Card_Graphics_Into(image, items, rendering, dpi / 72.0, base))
        return false;
    for (const Unreadable_Barcode& barcode : Barcode_Readability::unreadable(items, dpi, source_))
        log_->barcodeTooSmall(record, barcode.item);
    // Its writer need not look for transparency where there is none.
    if (TSLRenderingView::coversWholePicture(rendering))
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return true;
}

void Batch_Snapshot::drawCard(
    QPainter& painter, int record, const QString& cardSide, const QRectF& place, double pixelsPerInch) const
{
    const Side& chosen = side(cardSide);
    const QRectF bounds(QPointF(0, 0), chosen.rendering.canvasBounds.size());
    if (bounds.isEmpty() || place.isEmpty())
        return;
    // Every card of the job reads its pictures at the same resolution over the same place, so that one
    // picture serves them all and the file holds it once.
    const double pixelsPerPoint = pixelsPerInch / 72.0 * place.width() / bounds.width();
    const TSLGraphicList items = itemsToDraw(record, cardSide, pixelsPerPoint);
    painter.save();
    painter.setClipRect(place, Qt::IntersectClip);
    painter.translate(place.topLeft());
    painter.scale(place.width() / bounds.width(), place.height() / bounds.height());
    TSLRenderingView view(bounds, items, chosen.rendering);
    view.setOutputPixelsPerPoint(pixelsPerPoint);
    view.drawRect(painter, bounds);
    painter.restore();
}

QPicture Batch_Snapshot::renderPicture(int record, const QString& cardSide) const
{
    const QRectF bounds(QPointF(0, 0), side(cardSide).rendering.canvasBounds.size());
    QPicture picture;
    picture.setBoundingRect(bounds.toAlignedRect());
    QPainter painter(&picture);
    drawCard(painter, record, cardSide, bounds);
    painter.end();
    return picture;
}

const QImage* Batch_Card_Bases::base(const Batch_Snapshot& snapshot, const QString& cardSide, int dpi)
{
    if (dpi != dpi_)
        return nullptr;
    const bool front = cardSide == QLatin1String("F");
    Drawn& drawn = sides_[front ? 0 : 1];
    std::call_once(
        drawn.once, [&] { drawn.picture = TSLRenderingView::cardBase(snapshot.side(cardSide).rendering, dpi / 72.0); });
    return drawn.picture.isNull() ? nullptr : &drawn.picture;
}
