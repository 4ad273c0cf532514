// The card's size and outline as one undoable step: the card size window and the card page's size
// fields, size list and outline choice all change them through a CardGeometryStep.
#include "editor/TSLWindowController.h"

#include "canvas/TSLGraphicView.h"
#include "common/Common_Functions.h"
#include "common/Globals.h"
#include "model/TSLDocument.h"
#include "output/Record_Fill.h"
#include "platform/StringsTable.h"
#include "platform/UndoManager.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QTabWidget>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Only the fields that say the card's size and outline go back: the rest of a record may have changed
// since, as a step of the other side.
void copyGeometry(Card_Property& to, const Card_Property& from)
{
    to.setCard_Size(from.Card_Size());
    to.setCard_Location(from.Card_Location());
    to.setCard_Shape(from.Card_Shape());
    to.setCard_Preset(from.Card_Preset());
    to.setCard_Category(from.Card_Category());
    to.setCard_Sub_Category(from.Card_Sub_Category());
    to.setCard_Cat_index(from.Card_Cat_index());
}

bool sameGeometry(const TSLWindowController::CardGeometry& a, const TSLWindowController::CardGeometry& b)
{
    return a.points == b.points && a.shape == b.shape && a.front.Card_Size() == b.front.Card_Size()
        && a.front.Card_Shape() == b.front.Card_Shape() && a.back.Card_Size() == b.back.Card_Size()
        && a.back.Card_Shape() == b.back.Card_Shape();
}

// What a change of the card's geometry did, as the Edit menu names it: the outline alone, the sides swapped
// by Orientation, or the size (with or without the outline).
QString geometryStepName(const TSLWindowController::CardGeometry& a, const TSLWindowController::CardGeometry& b)
{
    QString name = QStringLiteral("Card Size");
    if (a.points == b.points)
        name = QStringLiteral("Card Outline");
    else if (a.shape == b.shape && std::abs(a.points.width() - b.points.height()) < 0.5
        && std::abs(a.points.height() - b.points.width()) < 0.5) // the sides pass through millimetres
        name = QStringLiteral("Orientation");
    return platform::localizedString(QStringLiteral("UndoStrings"), name);
}

} // namespace

QSizeF TSLWindowController::cardSizeInMillimetres() const
{
    const QSizeF points = frontCanvasBounds().size();
    return QSizeF(Points_to_MM_Convert(float(points.width())), Points_to_MM_Convert(float(points.height())));
}

QString TSLWindowController::cardShapeCode(int shape)
{
    return shape == 1 ? QStringLiteral("RR") : shape == 2 ? QStringLiteral("E") : QStringLiteral("R");
}

void TSLWindowController::applyCardGeometryToRecords()
{
    const QRectF bounds = frontCanvasBounds();
    const QString shape = cardShapeCode(Card_Shape);
    for (Card_Property* side : { &Front_card_Prop, &Back_card_Prop }) {
        side->setCard_Size(bounds.size());
        side->setCard_Location(bounds.topLeft());
        side->setCard_Shape(shape);
    }
    restoreCardGeometry(cardGeometry());
}

TSLWindowController::CardGeometry TSLWindowController::cardGeometry() const
{
    return { frontCanvasBounds().size(), Card_Shape, Front_card_Prop, Back_card_Prop,
        document_ ? document_->cardDesigns() : Card_Designs {} };
}

void TSLWindowController::restoreCardGeometry(const CardGeometry& geometry)
{
    Card_Shape = geometry.shape;
    copyGeometry(Front_card_Prop, geometry.front);
    copyGeometry(Back_card_Prop, geometry.back);
    SetDocumentCanvasSize(geometry.points);
    // The card page shows what the card now is, without its controls writing back.
    const bool muted = Not_Draw_Only_Prop_Change;
    Not_Draw_Only_Prop_Change = true;
    if (QAbstractButton* row = matrix_card_shape->button(Card_Shape))
        row->setChecked(true);
    Set_Card_Size_In_Control(QSizeF(
        Points_to_MM_Convert(float(geometry.points.width())), Points_to_MM_Convert(float(geometry.points.height()))));
    markSizeListRowOfCard(-1);
    Not_Draw_Only_Prop_Change = muted;
    Refresh_Canvas();
}

TSLWindowController::CardGeometryStep::CardGeometryStep(TSLWindowController& window)
    : window_(window)
    , before_(window.cardGeometry())
    , outermost_(window.cardGeometrySteps_++ == 0)
{
}

TSLWindowController::CardGeometryStep::~CardGeometryStep()
{
    --window_.cardGeometrySteps_;
    if (!outermost_ || sameGeometry(before_, window_.cardGeometry()))
        return;
    bool crowded = false;
    QStringList tooNarrowFor;
    window_.registerCardGeometryUndo(before_, window_.bringBothSidesOntoCard(before_.points, crowded, tooNarrowFor));
    QStringList said;
    if (!tooNarrowFor.isEmpty())
        said << QStringLiteral("The card is too small for %1: a word of it is wider than the card even in the "
                               "smallest letters, so it is broken and counts as cut. Make the card wider, or the "
                               "text shorter.")
                    .arg(tooNarrowFor.join(QStringLiteral(", ")));
    if (crowded)
        said << QStringLiteral("The card is too small to hold all its items apart: some now lie over others. Make "
                               "the card larger, or the items smaller.");
    if (!said.isEmpty())
        Show_MessageBox(said.join(QLatin1Char('\n')));
}

std::vector<TSLWindowController::ItemMove> TSLWindowController::bringBothSidesOntoCard(
    const QSizeF& cardBefore, bool& crowded, QStringList& tooNarrowFor)
{
    std::vector<ItemMove> moves;
    if (!document_)
        return moves;
    // What a smaller or turned card would cut off comes inside it, so nothing is lost from sight or print.
    document_->Enable_Disable_Undo_Registraion(false);
    for (TSLGraphicView* canvas : { _graphicView, _graphicView_BACK }) {
        const TSLGraphicView::CardFit fit = canvas->fitItemsOnCard(cardBefore);
        crowded = crowded || fit.crowded;
        for (const TSLGraphicPtr& text : fit.tooNarrowFor)
            tooNarrowFor << Record_Fill::itemName(*text, nullptr);
        for (const auto& [item, from, font] : fit.changed)
            moves.push_back({ item, from, item->bounds(), font, item->text_ctrl_font });
    }
    document_->Enable_Disable_Undo_Registraion(true);
    return moves;
}

TSLGraphicList TSLWindowController::moveItemsBack(const std::vector<ItemMove>& moves)
{
    TSLGraphicList changedSince;
    if (!document_)
        return changedSince;
    document_->Enable_Disable_Undo_Registraion(false);
    for (const ItemMove& move : moves) {
        if (move.item->bounds() == move.to)
            move.item->setBounds(move.from);
        else
            changedSince.push_back(move.item);
        // Only the letter size is the card's: a face chosen since stays.
        std::optional<QFont>& font = move.item->text_ctrl_font;
        if (font == move.fontTo)
            font = move.fontFrom;
        else if (font && move.fontFrom && move.fontTo && font->pointSizeF() == move.fontTo->pointSizeF())
            font->setPointSizeF(move.fontFrom->pointSizeF());
    }
    document_->Enable_Disable_Undo_Registraion(true);
    return changedSince;
}

void TSLWindowController::registerCardGeometryUndo(const CardGeometry& before, const std::vector<ItemMove>& moves)
{
    if (!document_)
        return;
    // The card's size belongs to the printable sides: the step stays with the side being edited even when
    // it was made on the scratch side, whose steps go with its copies. When it moved the other printable
    // side's items too, it is a step of that side as well, through every undo and redo: whichever side undoes
    // or redoes it does so for both.
    const bool onBack = Card_Front_Or_Back != 0;
    platform::UndoManager& home
        = document_->undoManagerForKey(onBack ? TSLDocumentGraphicsKey_back : TSLDocumentGraphicsKey);
    platform::UndoManager& other
        = document_->undoManagerForKey(onBack ? TSLDocumentGraphicsKey : TSLDocumentGraphicsKey_back);
    const TSLGraphicList& otherItems = (onBack ? _graphicView : _graphicView_BACK)->graphics();
    const bool otherMoved = std::any_of(moves.begin(), moves.end(), [&otherItems](const ItemMove& move) {
        return std::find(otherItems.begin(), otherItems.end(), move.item) != otherItems.end();
    });
    std::vector<platform::UndoManager*> sides { &home };
    if (otherMoved)
        sides.push_back(&other);
    const QString name = geometryStepName(before, cardGeometry());
    auto recorded = std::make_shared<RecordedSteps>();
    for (platform::UndoManager* undo : sides) {
        undo->registerUndo(cardGeometryUndo(undo, before, moves, recorded));
        undo->setActionName(name);
        recorded->push_back({ undo, undo->currentStateId() });
    }
}

std::function<void()> TSLWindowController::cardGeometryUndo(platform::UndoManager* side, const CardGeometry& before,
    const std::vector<ItemMove>& moves, std::shared_ptr<RecordedSteps> recorded)
{
    return [this, side, before, moves, recorded] {
        const CardGeometry now = cardGeometry();
        std::vector<ItemMove> reversed;
        for (const ItemMove& move : moves)
            reversed.push_back({ move.item, move.item->bounds(), {}, move.item->text_ctrl_font, {} });
        restoreCardGeometry(before);
        if (document_)
            document_->cardDesigns() = before.designs;
        // An item changed since the step (on the other side, while this one had undone it) is fitted to the
        // card from where it was changed, rather than left where the card no longer holds it.
        const TSLGraphicList changedSince = moveItemsBack(moves);
        if (document_ && !changedSince.empty()) {
            document_->Enable_Disable_Undo_Registraion(false);
            for (TSLGraphicView* canvas : { _graphicView, _graphicView_BACK }) {
                TSLGraphicList mine;
                for (const TSLGraphicPtr& item : changedSince)
                    if (std::ranges::count(canvas->graphics(), item))
                        mine.push_back(item);
                if (!mine.empty())
                    canvas->fitItemsOnCard(now.points, mine);
            }
            document_->Enable_Disable_Undo_Registraion(true);
        }
        for (TSLGraphicView* canvas : { _graphicView, _graphicView_BACK, _graphicView_TEMP })
            canvas->keepSelectionThroughUndo();
        // Undoing it again is the redo, with every item back where this left it: here, and on the other side
        // as its next redo (or undo) too, unless that side has done other steps since.
        for (ItemMove& move : reversed) {
            move.to = move.item->bounds();
            move.fontTo = move.item->text_ctrl_font;
        }
        auto next = std::make_shared<RecordedSteps>();
        for (const auto& [undo, step] : *recorded) {
            if (undo == side) {
                undo->registerUndo(cardGeometryUndo(undo, now, reversed, next));
                next->push_back({ undo, step });
            } else if (undo->turnStep(step, cardGeometryUndo(undo, now, reversed, next))) {
                next->push_back({ undo, step });
            }
        }
    };
}
