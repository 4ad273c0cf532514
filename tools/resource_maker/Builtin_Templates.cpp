#include "Builtin_Templates.h"

#include "canvas/TSLRenderingView.h"
#include "editor/Design_File_Format.h"
#include "model/TSLTextStorage.h"

#include <QDir>
#include <QPainter>
#include <QSaveFile>

namespace {

// A credit-card-sized side, in points, landscape.
const QSizeF kCard(242.65, 153.07);

struct TextLayout {
    QRectF bounds;
    const char* text;
    const char* family;
    double size;
    bool bold;
    bool italic;
    QColor colour;
    int alignment; // 0 left, 1 right, 2 centred
};

struct ShapeLayout {
    QRectF bounds;
    const char* kind; // "R", "C", "RR", "T", "D", "S", "DS"
    QColor fill;
};

struct TemplateLayout {
    const char* name;
    QColor gradientTop;
    QColor gradientBottom;
    std::vector<ShapeLayout> shapes;
    std::vector<TextLayout> front;
    std::vector<TextLayout> back;
};

TSLGraphicPtr textItem(const TextLayout& layout)
{
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("TSLText"));
    item->setBounds(layout.bounds);
    QFont font(QLatin1String(layout.family));
    font.setPointSizeF(layout.size);
    font.setBold(layout.bold);
    font.setItalic(layout.italic);
    item->text_ctrl_font = font;
    item->txt_clr = layout.colour;
    item->text_alignmnet = layout.alignment;
    item->Text_Value = QString::fromUtf8(layout.text);
    item->_Text_contents = std::make_shared<TSLTextStorage>(TSLTextStorage { item->Text_Value, font, layout.colour });
    item->_isDrawingFill = false;
    item->_isDrawingStroke = false;
    item->ctrl_is_visible = true;
    return item;
}

TSLGraphicPtr shapeItem(const ShapeLayout& layout)
{
    TSLGraphicPtr item = TSLGraphic::newGraphicOfClass(QStringLiteral("Shape_Control"));
    item->setBounds(layout.bounds);
    item->_shape_type = QLatin1String(layout.kind);
    item->_isDrawingFill = true;
    item->setFillColor(layout.fill);
    item->_isDrawingStroke = false;
    item->ctrl_is_visible = true;
    return item;
}

Card_Property side(const TemplateLayout& layout)
{
    Card_Property property;
    property.setCard_Size(kCard);
    property.setCard_fill_chk(true);
    property.setCard_fill_style(QStringLiteral("G"));
    property.setCard_fill_Grd_1_clr(layout.gradientTop);
    property.setCard_fill_Grd_2_clr(layout.gradientBottom);
    property.setCard_grad_Stepper(90);
    return property;
}

// The items of a side, front-most first as the design file keeps them.
TSLGraphicList items(const std::vector<TextLayout>& texts, const std::vector<ShapeLayout>& shapes)
{
    TSLGraphicList list;
    for (const TextLayout& text : texts)
        list.push_back(textItem(text));
    for (const ShapeLayout& shape : shapes)
        list.push_back(shapeItem(shape));
    return list;
}

QImage render(const TSLGraphicList& list, const Card_Property& property, int frontOrBack)
{
    TSLRenderingSide renderSide;
    renderSide.property = property;
    renderSide.frontOrBack = frontOrBack;
    renderSide.cardShape = 0;
    renderSide.canvasBounds = QRectF(QPointF(0, 0), kCard);
    return TSLRenderingView::image_From_Card_Graphics(list, renderSide, 1.0);
}

bool writeTemplate(const QDir& folder, const TemplateLayout& layout)
{
    DesignFileContent content;
    content.front = side(layout);
    content.back = side(layout);
    content.frontItems = items(layout.front, layout.shapes);
    content.backItems = items(layout.back, {});
    const QString base = folder.filePath(QLatin1String(layout.name));
    if (!writeDesignFile(base + QStringLiteral(".dcard"), encodeDesignFile(content)))
        return false;

    const QImage front = render(content.frontItems, content.front, 0);
    const QImage back = render(content.backItems, content.back, 1);
    if (front.isNull() || back.isNull())
        return false;
    QImage preview(front.width(), front.height() * 2, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    {
        QPainter painter(&preview);
        painter.drawImage(0, 0, front);
        painter.drawImage(0, front.height(), back);
    }
    QSaveFile file(base + QStringLiteral(".png"));
    return file.open(QIODevice::WriteOnly) && preview.save(&file, "PNG") && file.commit();
}

} // namespace

bool writeBuiltinTemplates(const QString& folder)
{
    const QColor ink(60, 40, 70);
    const std::vector<TemplateLayout> templates = {
        { "Birthday Party", QColor(255, 236, 200), QColor(250, 180, 200),
            { { { 16, 14, 26, 26 }, "S", QColor(250, 190, 40) }, { { 200, 112, 26, 26 }, "S", QColor(250, 190, 40) },
                { { 206, 12, 18, 18 }, "C", QColor(230, 60, 70) } },
            { { { 20, 22, 202, 30 }, "You're invited!", "DejaVu Serif", 18, true, true, QColor(170, 30, 80), 2 },
                { { 20, 60, 202, 40 }, "Join us for a birthday party with cake, games and music.", "DejaVu Sans", 9,
                    false, false, ink, 2 },
                { { 20, 108, 202, 18 }, "Saturday at 3 pm", "DejaVu Sans", 10, true, false, ink, 2 } },
            { { { 20, 60, 202, 30 }, "Please let us know if you can come.", "DejaVu Sans", 10, false, true, ink,
                2 } } },
        { "Thank You", QColor(225, 245, 230), QColor(170, 215, 190),
            { { { 110, 100, 24, 24 }, "D", QColor(60, 150, 90) } },
            { { { 16, 30, 210, 36 }, "Thank You", "DejaVu Serif", 22, true, true, QColor(30, 100, 60), 2 },
                { { 20, 70, 202, 26 }, "for being part of our special day", "DejaVu Sans", 9, false, false, ink, 2 } },
            { { { 20, 60, 202, 30 }, "With love and gratitude", "DejaVu Serif", 11, false, true, ink, 2 } } },
        { "Season's Greetings", QColor(215, 230, 250), QColor(120, 150, 210),
            { { { 24, 20, 22, 22 }, "DS", QColor(255, 255, 255) },
                { { 196, 104, 22, 22 }, "DS", QColor(255, 255, 255) } },
            { { { 20, 40, 202, 30 }, "Season's Greetings", "DejaVu Serif", 17, true, false, QColor(20, 40, 110), 2 },
                { { 20, 80, 202, 30 }, "Warm wishes for a peaceful new year", "DejaVu Sans", 9, false, true, ink, 2 } },
            { { { 20, 60, 202, 30 }, "From all of us", "DejaVu Sans", 10, false, false, ink, 2 } } },
    };
    const QDir target(folder);
    if (!QDir().mkpath(target.path()))
        return false;
    for (const TemplateLayout& layout : templates) {
        if (!writeTemplate(target, layout))
            return false;
    }
    return true;
}
