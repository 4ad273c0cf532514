// Creating items on the canvas: for the current tool by dragging, or for a caller that gives a rectangle.
#include "canvas/TSLGraphicView.h"

#include "canvas/TSLGrid.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/CardEditorServices.h"
#include "model/TSLBarcode.h"
#include "model/TSLDocument.h"
#include "model/TSLImage.h"
#include "model/TSLSignature.h"
#include "model/TSLText.h"
#include "platform/UndoManager.h"

#include <QFileInfo>
#include <QMouseEvent>

namespace {

constexpr int hexagonPolygonType = 3; // the polygon variant traced with six corners

QImage samplePicture(CardEditorServices::SamplePicture which)
{
    const CardEditorServices* services = editorServices();
    return services ? services->samplePicture(which) : QImage();
}

QString shapeCodeForTool(int tool)
{
    switch (tool) {
    case 3:
        return QStringLiteral("R");
    case 4:
        return QStringLiteral("C");
    case 5:
        return QStringLiteral("RR");
    case 6:
        return QStringLiteral("T");
    case 7:
        return QStringLiteral("D");
    case 13:
        return QStringLiteral("S");
    case 14:
        return QStringLiteral("DS");
    case 15:
        return QStringLiteral("P");
    default:
        return {};
    }
}

} // namespace

void TSLGraphicView::createGraphicOfClass(const QString& graphicClass, const QMouseEvent* event, bool use_rect,
    const QRectF& bound_rect, const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID)
{
    requireBoundList();
    if (creation_)
        return; // one creation at a time: a press during a creation drag belongs to that drag
    std::optional<QPointF> press;
    if (event)
        press = pointForEvent(event);
    if (!beginCreation(graphicClass, press, use_rect, bound_rect, card_side, ctrl_value, ctrl_ID))
        return;
    if (!event) {
        finishCreation();
        return;
    }
    // The new item grows with the drag; the creation ends when the button goes up.
    startDrag(Drag::Create, *press, false);
    drag_.item = creation_->item;
    drag_.handle = creation_->item->creationSizingHandleOfInstance();
}

TSLGraphicPtr TSLGraphicView::makeGraphicForTool(
    const QString& graphicClass, const QPointF& origin, const QString& ctrl_value, const QString& ctrl_ID) const
{
    const CardEditorServices* services = editorServices();
    const int tool = services ? services->Selected_Control_Tool() : 0;
    using Sample = CardEditorServices::SamplePicture;
    // The tool decides the kind of item before the class does.
    switch (tool) {
    case 8:
        if (QFileInfo::exists(Library_Selected_Image))
            return TSLImage::initWithPath(origin, Library_Selected_Image);
        return TSLImage::initWithPosition(origin, samplePicture(Sample::no_image));
    case 9:
        return TSLImage::initWithPath(origin, Library_Selected_Image);
    case 10: {
        const std::shared_ptr<TSLBarcode> barcode
            = TSLBarcode::initWithPosition(origin, samplePicture(Sample::barcode_sample_img));
        if (services) {
            services->makeBarcodeSymbol(*barcode);
            barcode->barcode_image_var_assign();
        }
        return barcode;
    }
    case 11:
        return TSLSignature::initWithPosition(origin, samplePicture(Sample::sign_sample_img), QStringLiteral("S"));
    case 12:
        return TSLSignature::initWithPosition(origin, samplePicture(Sample::fp_sample_img), QStringLiteral("F"));
    default:
        break;
    }
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(graphicClass);
    if (!item)
        return nullptr;
    if (graphicClass == QLatin1String("TSLText")) {
        if (!ctrl_value.isEmpty())
            applyInvitationTextRules(*item, ctrl_value, ctrl_ID);
    } else if (const QString code = shapeCodeForTool(tool); !code.isEmpty()) {
        item->Set_Shape_Type(code);
        // The Polygon tool's button shows a hexagon, and that is what it draws; the shape page offers the rest.
        if (code == QLatin1String("P"))
            item->polygon_type = hexagonPolygonType;
    }
    return item;
}

bool TSLGraphicView::beginCreation(const QString& graphicClass, const std::optional<QPointF>& pressPoint, bool use_rect,
    const QRectF& bound_rect, const QString& card_side, const QString& ctrl_value, const QString& ctrl_ID)
{
    // The whole creation, the drag included, is one undo group of its own.
    platform::UndoManager& undo = document_->undoManagerForKey(graphicsKey_);
    Creation creation;
    creation.groupsByEvent = undo.groupsByEvent();
    undo.setGroupsByEvent(false);
    undo.beginUndoGrouping();
    changeSelectionIndexes({});

    QPointF origin;
    QSizeF size(0, 0);
    if (pressPoint) {
        origin = grid_ ? grid_->constrainedPoint(*pressPoint) : *pressPoint;
    } else {
        if (use_rect) {
            origin = bound_rect.topLeft();
            size = bound_rect.size();
            if (ctrl_ID.isEmpty())
                origin = nextPoint(card_side);
        } else {
            origin = nextPoint(card_side);
            size = QSizeF(50, 50);
        }
        if (grid_) {
            const QPointF snapped = grid_->constrainedPoint(origin);
            const QPointF far = grid_->constrainedPoint(snapped + QPointF(size.width(), size.height()));
            origin = snapped;
            size = QSizeF(far.x() - snapped.x(), far.y() - snapped.y());
        }
    }

    creation.item = makeGraphicForTool(graphicClass, origin, ctrl_value, ctrl_ID);
    if (!creation.item) {
        undo.endUndoGrouping();
        undo.setGroupsByEvent(creation.groupsByEvent);
        return false;
    }
    creation.item->control_ID = ctrl_ID;
    // Pictures take their own size in their initialisers; the size asked for replaces it.
    creation.item->setBounds(QRectF(origin, size));
    creation_ = creation;
    insertGraphics({ creation.item }, { 0 });
    nameUndo(QStringLiteral("Create %@"), kindName({ creation.item }));
    return true;
}

void TSLGraphicView::finishCreation()
{
    if (!creation_)
        return;
    const Creation creation = *creation_;
    platform::UndoManager& undo = document_->undoManagerForKey(graphicsKey_);
    const TSLGraphicPtr& item = creation.item;
    if (item->width() == 0.0 && item->height() == 0.0) {
        // A click without a drag: the item goes and leaves no undo step. The list recorded its insertion,
        // so undoing the closed group with registration off takes it out without a redo; with registration
        // off nothing was recorded, so the item is taken out directly and no earlier step is undone.
        if (undo.isUndoRegistrationEnabled()) {
            undo.endUndoGrouping();
            undo.disableUndoRegistration();
            undo.undo();
            undo.enableUndoRegistration();
        } else {
            if (const int index = indexOfGraphic(item.get()); index >= 0)
                removeGraphicsAtIndexes({ index });
            undo.endUndoGrouping();
        }
        selectedGraphic_.reset();
    } else {
        if (const int index = indexOfGraphic(item.get()); index >= 0)
            changeSelectionIndexes({ index });
        // What the person makes opens for typing; texts the program places under an ID do not.
        if (item->control_ID.isEmpty())
            startEditingGraphic(item);
        undo.endUndoGrouping();
        if (indexOfGraphic(item.get()) >= 0)
            selectedGraphic_ = item;
    }
    undo.setGroupsByEvent(creation.groupsByEvent);
    creation_.reset();
    update();
}
