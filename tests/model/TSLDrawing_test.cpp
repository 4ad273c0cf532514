#include "model/TSLDrawing.h"

#include <QPainter>

#include <gtest/gtest.h>

// A mark names what is missing in whole words and lines where its box has room, and draws what it chose (96 dpi).
TEST(MissingMark, NamesWhatIsMissingInWholeWordsAndWholeLines)
{
    const struct {
        QSizeF box;
        const char* name;
        const char* shown;
    } cases[] = {
        { { 120, 20 }, "Seat", "Column missing: Seat" }, { { 120, 40 }, "Seat", "Column missing:\nSeat" },
        { { 50, 20 }, "Seat", "Seat" }, { { 40, 40 }, "Guest first name", "Guest first name" }, // between its words
        { { 12, 8 }, "Seat", "" }, // no room for a whole word: the frame alone
    };
    const QFont font(QStringLiteral("DejaVu Sans"));
    const QString title = QStringLiteral("Column missing:");
    QImage drawn(200, 100, QImage::Format_ARGB32);
    drawn.setDotsPerMeterX(3780);
    drawn.setDotsPerMeterY(3780);
    QImage chosen = drawn;
    for (const auto& c : cases) {
        const QRectF area(QPointF(10, 10), c.box);
        const MissingMarkText mark = missingMarkText(area, font, &drawn, title, QString::fromUtf8(c.name));
        EXPECT_EQ(mark.text.toStdString(), c.shown) << c.box.width() << " x " << c.box.height();
        drawn.fill(Qt::white);
        chosen.fill(Qt::white);
        QPainter painter(&drawn), expected(&chosen);
        painter.setFont(font);
        drawMissingMark(painter, area, title, QString::fromUtf8(c.name));
        drawMissingMark(expected, area, QString(), QString());
        expected.setFont(mark.font);
        expected.setPen(QColor(160, 0, 0));
        expected.drawText(area.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, mark.text);
        painter.end(), expected.end();
        EXPECT_TRUE(drawn == chosen) << "the chosen lines, none cut at the box's edges: " << c.shown;
    }
}
