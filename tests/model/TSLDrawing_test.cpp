#include "model/TSLDrawing.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The dark red letters of a mark, over its pale fill and inside its frame.
QRect letters(const QImage& image, const QRect& within)
{
    QRect found;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (image.pixelColor(x, y).green() < 150)
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

} // namespace

// A mark says what is missing where its box has room, in whole words and whole lines: the name before the
// reason, on a 96 dpi canvas as the screen shows it.
TEST(MissingMark, NamesWhatIsMissingInWholeWordsAndWholeLines)
{
    const struct {
        QSizeF box;
        const char* name;
        const char* shown;
    } cases[] = {
        { { 120, 20 }, "Seat", "Column missing: Seat" }, // an ordinary one-line text box
        { { 120, 40 }, "Seat", "Column missing:\nSeat" }, { { 50, 20 }, "Seat", "Seat" },
        { { 90, 60 }, "Guest first name", "Column missing:\nGuest first name" },
        { { 40, 40 }, "Guest first name", "Guest first name" }, // wrapped between its words
        { { 12, 8 }, "Seat", "" }, // no room for a whole word: the frame alone
    };
    QImage image(200, 100, QImage::Format_ARGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QFont font(QStringLiteral("DejaVu Sans"));
    for (const auto& c : cases) {
        const QRectF area(QPointF(10, 10), c.box);
        const QString name = QString::fromUtf8(c.name);
        const MissingMarkText mark = missingMarkText(area, font, &image, QStringLiteral("Column missing:"), name);
        EXPECT_EQ(mark.text.toStdString(), c.shown) << c.name << " in " << c.box.width() << "x" << c.box.height();
        // Drawn as chosen: its letters where the chosen text's own lines put them, none cut off.
        QImage reference = image;
        reference.fill(Qt::white);
        QPainter chosen(&reference);
        chosen.fillRect(area, QColor(255, 235, 235, 200));
        chosen.setFont(mark.font);
        chosen.setPen(QColor(160, 0, 0));
        chosen.drawText(area.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, mark.text);
        chosen.end();
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        drawMissingMark(painter, area, QStringLiteral("Column missing:"), name);
        painter.end();
        const QRect within = area.toRect().adjusted(1, 1, -1, -1);
        EXPECT_EQ(letters(image, within), letters(reference, within)) << c.name;
    }
}
