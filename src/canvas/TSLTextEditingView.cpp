#include "canvas/TSLTextEditingView.h"

#include "common/Text_Length_Limit.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <cmath>

TSLTextEditingView::TSLTextEditingView(
    const QString& text, const QFont& font, const QColor& colour, double pointsToPixels, QWidget* parent)
    : QPlainTextEdit(parent)
    , original_(text)
{
    QFont shown(font);
    const double points = font.pointSizeF() > 0.0 ? font.pointSizeF() : std::max(font.pixelSize(), 1);
    shown.setPixelSize(std::max(1, int(std::lround(points * pointsToPixels))));
    setFont(shown);
    // The card shows through, so the text is seen on its own background while it is typed.
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_TranslucentBackground);
    viewport()->setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    colours.setColor(QPalette::Text, colour.isValid() ? colour : QColor(Qt::black));
    setPalette(colours);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    document()->setDocumentMargin(0);
    setPlainText(text);
    selectAll();
    // What is typed or pasted here comes in under the inspector's limit, with its notice.
    new Text_Length_Limit(*this);
    connect(this, &QPlainTextEdit::textChanged, this, &TSLTextEditingView::fitToText);
}

void TSLTextEditingView::placeAt(const QRect& area, int maxRight)
{
    minimum_ = area;
    maxRight_ = std::max(maxRight, area.right());
    fitToText();
}

void TSLTextEditingView::fitToText()
{
    const QFontMetricsF metrics(font());
    double widest = 0;
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next(), ++lines)
        widest = std::max(widest, metrics.horizontalAdvance(block.text()));
    const int width = std::min(std::max(minimum_.width(), int(std::ceil(widest + metrics.averageCharWidth()))),
        maxRight_ - minimum_.left() + 1);
    const int height = std::max(minimum_.height(), int(std::ceil(std::max(lines, 1) * metrics.lineSpacing())) + 2);
    setGeometry(minimum_.left(), minimum_.top(), width, height);
}

void TSLTextEditingView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        emit editingFinished();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TSLTextEditingView::focusOutEvent(QFocusEvent* event)
{
    QPlainTextEdit::focusOutEvent(event);
    // A menu or another window taking the keys for a moment does not end the edit; a click elsewhere does.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason || finishing_)
        return;
    finishing_ = true;
    // Not from inside the focus change: the canvas deletes this box when the edit ends.
    QTimer::singleShot(0, this, &TSLTextEditingView::editingFinished);
}
