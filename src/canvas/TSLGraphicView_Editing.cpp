// Typing a text straight onto the card: the box that opens over a new or double-clicked text item, and
// writing what was typed back into the item.
#include "canvas/TSLGraphicView.h"

#include "canvas/TSLTextEditingView.h"
#include "model/TSLText.h"
#include "platform/UndoManager.h"

#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>

QPlainTextEdit* TSLGraphicView::editingView() const
{
    return editingView_.data();
}

void TSLGraphicView::startEditingGraphic(const TSLGraphicPtr& graphic)
{
    auto* text = dynamic_cast<TSLText*>(graphic.get());
    if (editingView_ || !text || !graphic->ctrl_is_visible || graphic->ctrl_is_locked || graphic->data_source_type != 0
        || !isVisible())
        return;
    const QString stored = graphic->_Text_contents ? graphic->_Text_contents->string : graphic->Text_Value;
    const double zoom = zoomFactor();
    auto* view = new TSLTextEditingView(stored, text->displayedFont(), graphic->Text_Color_Value(), zoom, this);
    const QRectF area = graphic->bounds();
    view->placeAt(QRect(int(std::floor(area.left() * zoom)), int(std::floor(area.top() * zoom)),
                      int(std::ceil(area.width() * zoom)), int(std::ceil(area.height() * zoom))),
        int(canvasSize_.width() * zoom) - 1);
    editingView_ = view;
    editingGraphic_ = graphic;
    QTextOption option = view->document()->defaultTextOption();
    option.setAlignment(graphic->text_alignmnet == 2 ? Qt::AlignHCenter
            : graphic->text_alignmnet == 1           ? Qt::AlignRight
                                                     : Qt::AlignLeft);
    view->document()->setDefaultTextOption(option);
    connect(view, &TSLTextEditingView::editingFinished, this, &TSLGraphicView::stopEditing);
    // What is typed is in the item at once, so a save or an export in the middle of typing keeps it; the
    // undo step is recorded once, when the edit ends.
    connect(view, &QPlainTextEdit::textChanged, this, [this, view] {
        auto* typedInto = dynamic_cast<TSLText*>(editingGraphic().get());
        if (!typedInto || !document_ || view != editingView_.data())
            return;
        platform::UndoManager& undo = document_->undoManager();
        undo.disableUndoRegistration();
        typedInto->setScriptingContents(view->toPlainText());
        undo.enableUndoRegistration();
    });
    view->show();
    view->setFocus(Qt::OtherFocusReason);
    updatePointsRect(graphic->drawingBounds());
}

void TSLGraphicView::stopEditing()
{
    if (!editingView_)
        return;
    TSLTextEditingView* view = editingView_.data();
    const TSLGraphicPtr graphic = editingGraphic_.lock();
    editingView_.clear();
    editingGraphic_.reset();
    const bool hadFocus = view->hasFocus();
    const QString typed = view->toPlainText();
    view->hide();
    view->deleteLater();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    // The item may have left the list while it was typed into (undo, delete by a script).
    auto* text = dynamic_cast<TSLText*>(graphic.get());
    if (!text || !document_ || indexOfGraphic(graphic.get()) < 0)
        return;
    updatePointsRect(graphic->drawingBounds());
    const QString original = view->originalText();
    if (typed == original)
        return;
    // Back to the text the edit began with, unrecorded, then the typed text as one recorded change.
    platform::UndoManager& undo = document_->undoManager();
    undo.disableUndoRegistration();
    text->setScriptingContents(original);
    undo.enableUndoRegistration();
    text->setScriptingContents(typed);
    text->growToFitText(bounds());
    updatePointsRect(graphic->drawingBounds());
    // The inspector and the commands follow the selection, which the click that ended the typing may have
    // emptied before the box went (a click on the desk around the card): then the card stays shown.
    const TSLGraphicList selected = selectedGraphics();
    if (std::find(selected.begin(), selected.end(), graphic) != selected.end())
        showProperties(graphic);
}
