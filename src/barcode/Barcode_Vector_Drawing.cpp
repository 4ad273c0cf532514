#include "barcode/Barcode_Vector_Drawing.h"

#include "barcode/Barcode_Text.h"
#include "model/TSLTextLayout.h"

#include <QPainter>
#include <QTextLayout>

void Barcode_Vector_Drawing::draw(QPainter& painter) const
{
    painter.save();
    // Hard edges: each edge falls on the output's pixel grid, and neighbouring bars meet exactly.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(QPointF(0.0, 0.0), size_), background);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawRects(rects.data(), static_cast<int>(rects.size()));
    // Texts are laid out as the card's own texts are, so they draw at the output's resolution (and stay
    // text in a printed file) whatever the device.
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Text& text : texts) {
        const auto layout = tsltextlayout::layoutText(text.text, Barcode_Text_Font(text.font), text.kern, 0, 1e6);
        if (!layout || layout->lineCount() == 0)
            continue;
        painter.setPen(text.color);
        layout->draw(&painter, text.baseline - QPointF(0.0, layout->lineAt(0).ascent()));
    }
    painter.restore();
}
