#include "output/Sample_Preview.h"

#include <QPainter>

Sample_Preview::Sample_Preview(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PrintView"));
    setMinimumSize(200, 260);
}

void Sample_Preview::setSheet(const Print_Sheet_Layout& layout, QSizeF pictureSize, bool showFrames)
{
    layout_ = layout;
    pictureSize_ = pictureSize;
    showFrames_ = showFrames;
    set_ = true;
    update();
}

QString Sample_Preview::Draw_Label_String(const QString& text, int row, int column, int columns)
{
    if (text == QLatin1String("Front") || text == QLatin1String("Back") || text == QLatin1String("Card"))
        return QStringLiteral("%1 %2").arg(text).arg((row - 1) * columns + column);
    return text;
}

std::vector<Sample_Preview::Caption> Sample_Preview::captions() const
{
    std::vector<Caption> result;
    if (!set_)
        return result;
    const bool back = layout_.Print_Card_Side == QLatin1String("B");
    for (int row = 1; row <= layout_.rows(); ++row) {
        for (int column = 1; column <= layout_.cols(); ++column) {
            const QRectF area = layout_.pageRect(layout_.cardArea(row, column));
            if (pictureSize_.isEmpty()) {
                result.push_back({ QStringLiteral("Invalid Data"), area, true });
                continue;
            }
            const QString first = back ? QStringLiteral("Back") : QStringLiteral("Card");
            result.push_back({ Draw_Label_String(first, row, column, layout_.cols()), area, false });
            if (layout_.bothSides()) {
                const QRectF second = layout_.pageRect(layout_.placement(row, column, pictureSize_).second);
                result.push_back(
                    { Draw_Label_String(QStringLiteral("Back"), row, column, layout_.cols()), second, false });
            }
        }
    }
    return result;
}

std::vector<QRectF> Sample_Preview::frames() const
{
    std::vector<QRectF> result;
    if (!showFrames_)
        return result;
    for (const Caption& caption : captions())
        result.push_back(caption.rect);
    return result;
}

void Sample_Preview::paintSheet(QPainter& painter) const
{
    painter.fillRect(QRectF(0, 0, layout_.paper_width, layout_.paper_hight), Qt::white);
    if (!set_)
        return;
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11); // 11 points: the sheet is drawn in points
    painter.setFont(font);
    for (const Caption& caption : captions()) {
        painter.setPen(caption.invalid ? QColor(Qt::red) : QColor(Qt::gray));
        painter.drawText(caption.rect, Qt::AlignCenter, caption.text);
    }
    painter.setPen(QPen(QColor(Qt::darkGray), 1.0));
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& frame : frames())
        painter.drawRect(frame);
}

QImage Sample_Preview::imageRepresentation() const
{
    QImage image(QSizeF(layout_.paper_width, layout_.paper_hight).toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintSheet(painter);
    return image;
}

QSize Sample_Preview::sizeHint() const
{
    return QSize(420, 560);
}

QRectF Sample_Preview::paperOnScreen() const
{
    const QSizeF paper(layout_.paper_width, layout_.paper_hight);
    if (paper.isEmpty())
        return {};
    const QSizeF room = QSizeF(size()) - QSizeF(16, 16);
    const double scale = std::min(room.width() / paper.width(), room.height() / paper.height());
    const QSizeF shown = paper * std::max(scale, 0.01);
    return QRectF(QPointF((width() - shown.width()) / 2, 8), shown);
}

void Sample_Preview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRectF paper = paperOnScreen();
    if (paper.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 60));
    painter.translate(paper.topLeft());
    painter.scale(paper.width() / layout_.paper_width, paper.height() / layout_.paper_hight);
    paintSheet(painter);
}
